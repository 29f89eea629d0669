// 调用记录: every card call Kestrune makes, live, with failures in red,
// filters, and the calls copied or saved as trace lines.
#pragma once

#include <QWidget>

#include <deque>
#include <functional>
#include <utility>

class CallLogModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;
namespace cardlib::calllog {
struct Record;
}

class CallLogForm : public QWidget {
    Q_OBJECT

public:
    explicit CallLogForm(QWidget* parent = nullptr);

    // Takes in the newest calls (at most ten times a second, from the timer)
    // and updates the counters.
    void Refresh();
    void ApplyFilter();
    // What a double click on a row does with the call's moment, in seconds of
    // the program's time base (the scope shows it).
    void SetShowMomentAction(std::function<void(double seconds)> action) { showMoment_ = std::move(action); }
    // Shows only the failed calls, the other filters cleared.
    void ShowFailuresOnly();
    void Pause(bool paused);
    void ClearLog();
    void CopySelection();
    // The selected rows as calls, without time or result, as typed:
    // "tvn_t_pmove(0, 1000, 0)".
    void CopySelectionAsCalls();
    // Shows only the calls of the function in `row`.
    void ShowOnlyFunctionOf(int row);
    // What the table's 在控制台中再次执行 does with a row's call, as typed
    // ("tvn_t_pmove(0, 1000, 0)"); without it the menu has no such entry.
    void SetRunAgainAction(std::function<void(const QString& call)> action);
    // The call of `row`, made again through that action.
    void RunAgain(int row);
    void Save();
    // Writes the rows shown, one trace line each, into `path`: 0, or the
    // errno of the failure.
    int SaveTo(const QString& path) const;

    CallLogModel* Model() const { return model_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowEmptyState();
    void ShowTableMenu(const QPoint& at);
    QStringList SelectedLines(QString (*line)(const cardlib::calllog::Record&)) const;

    CallLogModel* model_;
    QLineEdit* filterText_;
    QCheckBox* failuresOnly_;
    QCheckBox* hideTimerTicks_;
    QPushButton* pause_;
    QTableView* table_;
    QLabel* empty_;
    QLabel* counters_;
    QTimer* timer_;
    std::function<void(double)> showMoment_;
    QTimer* filterDelay_;
    std::function<void(const QString&)> runAgain_;
    std::deque<std::pair<qint64, quint64>> rateSamples_; // (ms, calls) over the last second
    qint64 countersShown_ = 0;                           // when the counter line was last set, ms
    uint64_t countedFailures_ = 0;                       // the failures it counted
    bool countersPaused_ = false;
    bool countersRecording_ = false;
};

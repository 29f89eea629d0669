// 调用记录: every card call Kestrune makes, live, with failures in red,
// filters, and the calls copied or saved as trace lines.
#pragma once

#include <QWidget>

#include <deque>
#include <utility>

class CallLogModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

class CallLogForm : public QWidget {
    Q_OBJECT

public:
    explicit CallLogForm(QWidget* parent = nullptr);

    // Takes in the newest calls (at most ten times a second, from the timer)
    // and updates the counters.
    void Refresh();
    void ApplyFilter();
    void Pause(bool paused);
    void ClearLog();
    void CopySelection();
    void Save();
    // Writes the rows shown, one trace line each, into `path`: 0, or the
    // errno of the failure.
    int SaveTo(const QString& path) const;

    CallLogModel* Model() const { return model_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowEmptyState();

    CallLogModel* model_;
    QLineEdit* filterText_;
    QCheckBox* failuresOnly_;
    QCheckBox* hideTimerTicks_;
    QPushButton* pause_;
    QTableView* table_;
    QLabel* empty_;
    QLabel* counters_;
    QTimer* timer_;
    QTimer* filterDelay_;
    std::deque<std::pair<qint64, quint64>> rateSamples_; // (ms, calls) over the last second
};

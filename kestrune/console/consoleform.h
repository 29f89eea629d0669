// 控制台: card calls typed as the call log writes them, made through the
// run-time binding, each with its result and out values; completion of the
// function names, the parameters of the call being typed, a history kept
// between runs, and Esc, which stops both window axes from anywhere in the
// window.
#pragma once

#include <QWidget>

#include "consolehistory.h"

class QColor;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

class ConsoleForm : public QWidget {
    Q_OBJECT

public:
    explicit ConsoleForm(QWidget* parent = nullptr);

    // Reads and makes the call in `line` as if it had been typed and entered;
    // the line goes into the history.
    void RunLine(const QString& line);
    // Stops both window axes of the card in use (Esc).
    void StopAxes();
    void ClearOutput();
    // The parameters of the call being typed, the one at the cursor in bold.
    void ShowHint();

    const ConsoleHistory& History() const { return history_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Append(const QString& text, const QColor& colour);
    void SaveHistory();

    QPlainTextEdit* output_;
    QLabel* hint_;
    QLineEdit* input_;
    ConsoleHistory history_;
    bool historyFailed_ = false;
};

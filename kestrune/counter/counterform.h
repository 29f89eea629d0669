// 计数功能测试: counters and latched values of the two axes of the card in
// use, the latch and clear lamps, and the log of latch events.
#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

#include "counterreads.h"
#include "latchlog.h"

class Lamp;
class OptionGroup;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

class FormCounter : public QWidget {
    Q_OBJECT

public:
    explicit FormCounter(QWidget* parent = nullptr);

    // How the configuration button opens the parameter window on its
    // counting tab (the main window knows the windows).
    void SetConfigureAction(std::function<void()> action) { configure_ = std::move(action); }

    void Form_Load();
    void Timer1_Timer();

    void commandClearCounter_Click();
    void commandResetClsCounter_Click();
    void commandResetTriggerFlag_Click();
    void CommandCLS_Click();
    void CommandConfigureCounter_Click();
    void CommandEZmdoe_Click();
    void CommandLeclogic_Click();
    void CommandCh_Click();
    void CommandPLDsetReg_Click();

    // The latch log as kept: its newest records, each ending in CR LF, under
    // a line that counts the dropped ones.
    QString LatchLogText() const { return latchLog_.Text(); }
    int16_t LatchRecordHeld = 0;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildDisplays();
    void BuildButtons();
    void BuildEngineeringControls();

    QPlainTextEdit* TextLatchResult;
    std::array<QLineEdit*, 4> T_PosAxis{};
    std::array<QLineEdit*, 4> T_LatchAxis{};
    std::array<Lamp*, 4> S_Trigger{};
    std::array<Lamp*, 4> S_ClsCounter{};
    std::array<Lamp*, 4> S_TriggerState{};
    std::array<Lamp*, 4> S_ClsCounterState{};
    std::array<QRadioButton*, 2> OptionAutoLatch{};
    OptionGroup* readingGroup_;
    QLineEdit* TextEZmode;
    QLineEdit* TextLTCmode;
    QPushButton* CommandLeclogic;
    QPushButton* CommandCh;
    QLineEdit* TextCMR;
    QLineEdit* TextSEL;
    QLineEdit* TextELL;
    std::array<QLabel*, kPldReadBack.size()> readBack_{}; // LabelCMR … LabelELL, in the order they are read
    QTimer* Timer1;

    void ShowRecord(const QString& record);

    LatchLog latchLog_;
    std::function<void()> configure_;
};

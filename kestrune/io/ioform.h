// I/O状态检测: every signal of the card in use as a lamp, refreshed every
// 24 ms, with the output, servo-on, compare and ERC commands.
#pragma once

#include <QWidget>

#include <array>

#include "cardlib/brevak.h"

class Lamp;
class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTimer;

class IoFormControl : public QWidget {
    Q_OBJECT

public:
    // The dedicated-signal columns, left to right.
    enum Column { PEL, NEL, SD, RDY, INDEX, ORG, EXPP, EXPM, INP, ALM, LTC, SEVON, ERC, CMP, ColumnCount };

    explicit IoFormControl(QWidget* parent = nullptr);

    void Form_Load();
    void Timer1_Timer();

    void CB_OutNo_Click(int k);
    void Command_SEVON_Click(int k);
    void Command_CMP_Click(int k);
    void CommandERC_Click();
    void CmdOFF_Click();
    void CommandOn_Click();
    void CommandWop_Click();

    Lamp* SignalLamp(Column column, int axisIndex) const { return signals_[column][axisIndex]; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildSignalFrame();
    void BuildInputFrame();
    void BuildOutputFrame();
    void BuildLegend();
    void BuildEngineeringControls();

    std::array<std::array<Lamp*, 4>, ColumnCount> signals_{};
    Lamp* S_CSTA;
    Lamp* S_CSTP;
    Lamp* S_CSD;
    Lamp* S_CEMG;
    std::array<Lamp*, brevak::kGeneralInputs> S_InputNo{};
    std::array<Lamp*, brevak::kGeneralOutputs> S_OutputNo{};
    QButtonGroup* CB_OutNo;
    std::array<QLineEdit*, 3> TextOption{};
    std::array<QLineEdit*, 2> TextRenv2{};
    QLineEdit* TextState;
    QLineEdit* TextOutState;
    QLineEdit* TextSetOut;
    QTimer* Timer1;
};

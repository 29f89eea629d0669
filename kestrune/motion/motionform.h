// 运动操作测试: motion tests on the two axes of the card in use, with a live
// position and speed display.
#pragma once

#include <QWidget>

#include <array>

#include "motionfields.h"

class OptionGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

class MotionForm : public QWidget {
    Q_OBJECT

public:
    explicit MotionForm(QWidget* parent = nullptr);

    void Form_Load();
    void Timer1_Timer();
    void OptionScale_Click(int index);
    void CommandCloseTimer_Click();

    void OB_HomeMove_Click();
    void OB_ContiMove_Click();
    void OB_FixedMove_Click();
    void OB_LinearInte_Click();
    void OB_ArcInte_Click();

    void CB_Start_Click();
    void CB_Stop_Click();
    void CB_DynaAcc_MouseDown();
    void CB_DynaDec_Click();
    void CB_ClrPos_Click();
    void CommandCstart_Click();
    void CommandCstop_Click();
    void commandIntP45_Click();
    void CB_LoadMotPara_Click();
    void CB_SaveMotPara_Click();

    void LoadMotionSettings();
    void SaveMotionSettings();

    // What the window shows, as the commands and the settings file see it.
    MotionFields Fields() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildParameterFrames();
    void BuildOptionFrames();
    void BuildStatusFrame();
    void BuildButtons();
    void EnableSCurve(bool enable);
    std::array<bool, 4> Checked() const;

    std::array<QCheckBox*, 4> ChB_MotionAxis{};
    QRadioButton* OB_HomeMove;
    QRadioButton* OB_ContiMove;
    QRadioButton* OB_FixedMove;
    QRadioButton* OB_LinearInte;
    QRadioButton* OB_ArcInte;
    QRadioButton* OB_ContraPosMove;
    QRadioButton* OB_RealPosMotion;
    QRadioButton* OB_DecelStop;
    QRadioButton* OB_EmgStop;
    QRadioButton* OB_TCurveSelect;
    QRadioButton* OB_SCurveSlect;
    QRadioButton* OB_ClockArc;
    QRadioButton* OB_CClockArc;
    QRadioButton* OB_ComCounter;
    QRadioButton* OB_EncCounter;
    std::array<QRadioButton*, 2> OptionScale{};

    std::array<QLineEdit*, 4> T_StrVelAxis{};
    std::array<QLineEdit*, 4> T_MaxVelAxis{};
    std::array<QLineEdit*, 4> T_TaccAxis{};
    std::array<QLineEdit*, 4> T_TsaccAxis{};
    std::array<QLineEdit*, 4> T_EndPosAxis{};
    std::array<QComboBox*, 4> CoB_DirAxis{};
    std::array<QLineEdit*, 4> T_ArcEndPos{};
    std::array<QLineEdit*, 4> T_ArcCenter{};
    std::array<QLineEdit*, 4> T_PosAxis{};
    std::array<QLineEdit*, 4> T_SpeedAxis{};
    QLabel* L_ArcEnd;
    QLabel* L_ArcCenter;
    QLabel* LabelScale;
    QLineEdit* T_InterStrVel;
    QLineEdit* T_InterMaxVel;
    QLineEdit* T_Tacc;
    QLineEdit* T_Tsacc;

    QPushButton* CB_LoadMotPara;
    QPushButton* CB_SaveMotPara;
    QPushButton* CB_Start;
    QPushButton* CB_Stop;
    QPushButton* CB_ClrPos;
    QPushButton* CB_DynaAcc;
    QPushButton* CB_DynaDec;
    QPushButton* CommandCstart;
    QPushButton* CommandCstop;
    QPushButton* commandIntP45;
    QPushButton* CommandCloseTimer;

    OptionGroup* modeGroup_;
    OptionGroup* positionGroup_;
    OptionGroup* stopGroup_;
    OptionGroup* curveGroup_;
    OptionGroup* arcGroup_;
    OptionGroup* counterGroup_;
    OptionGroup* scaleGroup_;

    QTimer* Timer1;
};

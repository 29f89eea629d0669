#include "motionform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "cardlib/binding.h"
#include "cardlib/brevak.h"
#include "cardlib/calllog.h"
#include "common/message.h"
#include "motioncommands.h"
#include "motiondisplay.h"
#include "motionparameters.h"
#include "motionsettings.h"
#include "settings/apply.h"
#include "settings/state.h"
#include "common/wholefile.h"
#include "widgets/controls.h"
#include "widgets/optiongroup.h"

namespace {

constexpr int kTimerInterval = 15; // ms

// Option buttons and command buttons of the window, in twips.
constexpr int kOptionWidth = 1800, kOptionHeight = 300;
constexpr int kButtonWidth = 1215, kButtonHeight = 495;

QString AxisCaption(int slot) { return QStringLiteral("第%1轴").arg(slot); }

} // namespace

MotionForm::MotionForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MotionForm"));
    setWindowTitle(QStringLiteral("运动操作测试"));
    setFont(SongTi(9));
    SizeTwips(this, 10065, 8070);
    // The column headings of the interpolation frame stand between its top
    // edge and its first row: the border runs through the caption.
    DrawFramesAsLaidOut(this);

    BuildParameterFrames();
    BuildOptionFrames();
    BuildStatusFrame();
    BuildButtons();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerInterval);
    connect(Timer1, &QTimer::timeout, this, &MotionForm::Timer1_Timer);
}

void MotionForm::BuildParameterFrames()
{
    auto* frame1 = AddFrame(this, "Frame1", QStringLiteral("运动轴选择"), 240, 360, 2175, 975);
    for (int s = 0; s < 4; ++s) {
        ChB_MotionAxis[s] =
            Place<QCheckBox>(frame1, Indexed("ChB_MotionAxis", s), 240 + (s % 2) * 960, 360 + (s / 2) * 360, 900, 300);
        ChB_MotionAxis[s]->setText(AxisCaption(s));
        if (s >= 2) {
            ChB_MotionAxis[s]->hide();
            ChB_MotionAxis[s]->setEnabled(false);
        }
    }

    // Single-axis parameters: one row per slot, the slot-3 row below the edge.
    auto* frame5 = AddFrame(this, "Frame5", QStringLiteral("单轴运动参数设置"), 2520, 360, 7095, 1695);
    const int columns[] = {840, 1920, 3000, 4080, 5160, 6240};
    const char* headings[] = {"初速度", "驱动速度", "总加速时间", "S段时间", "终点位置", "运行方向"};
    const char* headingNames[] = {"Label2", "Label1(0)", "Label9", "Label10", "Label1(1)", "Label1(2)"};
    for (int c = 0; c < 6; ++c)
        AddLabel(frame5, QLatin1String(headingNames[c]), QString::fromUtf8(headings[c]), columns[c], 360, 1000, 300);
    const QFont large = SongTi(10.5);
    for (int s = 0; s < 4; ++s) {
        const int top = 720 + s * 360;
        auto* rowHeading = AddLabel(frame5, Indexed("Label1", 3 + s), AxisCaption(s), 120, top + 40, 700, 300);
        T_StrVelAxis[s] = AddText(frame5, Indexed("T_StrVelAxis", s), QStringLiteral("400"), columns[0], top, 855, 375);
        T_MaxVelAxis[s] =
            AddText(frame5, Indexed("T_MaxVelAxis", s), QStringLiteral("2000"), columns[1], top, 855, 375);
        T_TaccAxis[s] = AddText(frame5, Indexed("T_TaccAxis", s), QStringLiteral("0.1"), columns[2], top, 855, 375);
        T_TsaccAxis[s] = AddText(frame5, Indexed("T_TsaccAxis", s), QStringLiteral("0.05"), columns[3], top, 855, 375);
        T_EndPosAxis[s] =
            AddText(frame5, Indexed("T_EndPosAxis", s), QStringLiteral("4000"), columns[4], top, 855, 375);
        CoB_DirAxis[s] = Place<QComboBox>(frame5, Indexed("CoB_DirAxis", s), columns[5], top, 855, 375);
        CoB_DirAxis[s]->setEditable(true);
        CoB_DirAxis[s]->setInsertPolicy(QComboBox::NoInsert);
        CoB_DirAxis[s]->setEditText(kPositive);
        for (QLineEdit* edit : {T_StrVelAxis[s], T_MaxVelAxis[s], T_EndPosAxis[s]})
            edit->setFont(large);
        if (s == 2) {
            for (QWidget* w :
                 std::initializer_list<QWidget*>{rowHeading, T_StrVelAxis[s], T_MaxVelAxis[s], T_TaccAxis[s],
                                                 T_TsaccAxis[s], T_EndPosAxis[s], CoB_DirAxis[s]})
                w->hide();
        }
    }

    auto* frame6 = AddFrame(this, "Frame6", QStringLiteral("直线/圆弧插补参数"), 2520, 2280, 3015, 1455);
    L_ArcEnd = AddLabel(frame6, QStringLiteral("L_ArcEnd"), QStringLiteral("插补终点"), 720, 200, 1150, 280);
    L_ArcCenter = AddLabel(frame6, QStringLiteral("L_ArcCenter"), QStringLiteral("圆心位置"), 1920, 200, 1000, 280);
    for (int s = 0; s < 4; ++s) {
        const int top = 480 + s * 480;
        auto* heading = AddLabel(frame6, Indexed("Label1", 13 + s), AxisCaption(s), 120, top + 40, 600, 300);
        T_ArcEndPos[s] = AddText(frame6, Indexed("T_ArcEndPos", s), QStringLiteral("0"), 720, top, 855, 375);
        T_ArcCenter[s] = AddText(frame6, Indexed("T_ArcCenter", s), QStringLiteral("1000"), 1920, top, 855, 375);
        if (s >= 2) {
            heading->hide();
            T_ArcEndPos[s]->hide();
            T_ArcCenter[s]->hide();
        }
    }

    auto* frame12 = AddFrame(this, "Frame12", QStringLiteral("插补速度设置"), 5760, 2280, 2052, 2775);
    const char* interpHeadings[] = {"初速度", "驱动速度", "总加速时间", "S段时间"};
    QLineEdit** interpTexts[] = {&T_InterStrVel, &T_InterMaxVel, &T_Tacc, &T_Tsacc};
    const char* interpNames[] = {"T_InterStrVel", "T_InterMaxVel", "T_Tacc", "T_Tsacc"};
    const char* interpInitial[] = {"500", "2000", "0.1", "0.05"};
    for (int r = 0; r < 4; ++r) {
        const int top = 360 + r * 600;
        AddLabel(frame12, QStringLiteral("Label%1").arg(5 + r), QString::fromUtf8(interpHeadings[r]), 120, top + 40,
                 1000, 300);
        *interpTexts[r] =
            AddText(frame12, QLatin1String(interpNames[r]), QLatin1String(interpInitial[r]), 1080, top, 855, 375);
    }
}

void MotionForm::BuildOptionFrames()
{
    auto* frame2 = AddFrame(this, "Frame2", QStringLiteral("运动方式选择"), 240, 1560, 2175, 2172);
    OB_HomeMove = AddOption(frame2, "OB_HomeMove", QStringLiteral("回原点"), 360, 330, kOptionWidth, kOptionHeight);
    OB_ContiMove = AddOption(frame2, "OB_ContiMove", QStringLiteral("连续运动"), 360, 690, kOptionWidth, kOptionHeight);
    OB_FixedMove =
        AddOption(frame2, "OB_FixedMove", QStringLiteral("定长运动"), 360, 1050, kOptionWidth, kOptionHeight);
    OB_LinearInte =
        AddOption(frame2, "OB_LinearInte", QStringLiteral("线性插补"), 360, 1410, kOptionWidth, kOptionHeight);
    OB_ArcInte = AddOption(frame2, "OB_ArcInte", QStringLiteral("圆弧插补"), 360, 1770, kOptionWidth, kOptionHeight);
    modeGroup_ = new OptionGroup(this);
    modeGroup_->Add(OB_HomeMove, [this] { OB_HomeMove_Click(); });
    modeGroup_->Add(OB_ContiMove, [this] { OB_ContiMove_Click(); });
    modeGroup_->Add(OB_FixedMove, [this] { OB_FixedMove_Click(); });
    modeGroup_->Add(OB_LinearInte, [this] { OB_LinearInte_Click(); });
    modeGroup_->Add(OB_ArcInte, [this] { OB_ArcInte_Click(); });

    const auto pair = [this](OptionGroup*& group, QRadioButton*& first, QRadioButton*& second, const char* frameName,
                             const QString& caption, int l, int t, int h, const char* firstName,
                             const QString& firstCaption, const char* secondName, const QString& secondCaption) {
        auto* frame = AddFrame(this, frameName, caption, l, t, 2175, h);
        first = AddOption(frame, firstName, firstCaption, 360, h > 1100 ? 360 : 330, kOptionWidth, kOptionHeight);
        second = AddOption(frame, secondName, secondCaption, 360, h > 1100 ? 750 : 690, kOptionWidth, kOptionHeight);
        group = new OptionGroup(this);
        group->Add(first);
        group->Add(second);
        return frame;
    };
    pair(positionGroup_, OB_ContraPosMove, OB_RealPosMotion, "Frame3", QStringLiteral("位移方式选择"), 240, 3840, 1215,
         "OB_ContraPosMove", QStringLiteral("相对位移运动"), "OB_RealPosMotion", QStringLiteral("绝对位移运动"));
    pair(stopGroup_, OB_DecelStop, OB_EmgStop, "Frame4", QStringLiteral("制运方式选择"), 240, 5280, 1095,
         "OB_DecelStop", QStringLiteral("减速停止"), "OB_EmgStop", QStringLiteral("立即停止"));
    pair(curveGroup_, OB_TCurveSelect, OB_SCurveSlect, "Frame7", QStringLiteral("加速曲线选择"), 3000, 3840, 1215,
         "OB_TCurveSelect", QStringLiteral("梯形曲线加速"), "OB_SCurveSlect", QStringLiteral("S 形曲线加速"));
    auto* frame8 =
        pair(arcGroup_, OB_ClockArc, OB_CClockArc, "Frame8", QStringLiteral("圆弧方向选择"), 5760, 5280, 1095,
             "OB_ClockArc", QStringLiteral("顺时针圆弧"), "OB_CClockArc", QStringLiteral("逆时针圆弧"));
    frame8->resize(Px(2055), frame8->height());
    pair(counterGroup_, OB_ComCounter, OB_EncCounter, "Frame10", QStringLiteral("位置计数器选择"), 3000, 5280, 1095,
         "OB_ComCounter", QStringLiteral("命令位置计数器"), "OB_EncCounter", QStringLiteral("反馈位置计数器"));
    counterGroup_->Check(OB_ComCounter);

    // The position unit: hidden, but its choice decides the display and the
    // arc call.
    auto* frame11 = AddFrame(this, "Frame11", QStringLiteral("Scale选择"), 1320, 7920, 1455, 975);
    scaleGroup_ = new OptionGroup(this);
    for (int k = 0; k < 2; ++k) {
        OptionScale[k] = AddOption(frame11, "", k == 0 ? QStringLiteral("pulse") : QStringLiteral("mm"), 240,
                                   300 + k * 330, 1000, kOptionHeight);
        OptionScale[k]->setObjectName(Indexed("OptionScale", k));
        scaleGroup_->Add(OptionScale[k], [this, k] { OptionScale_Click(k); });
    }
    scaleGroup_->Check(OptionScale[0]);
    frame11->hide();
}

void MotionForm::BuildStatusFrame()
{
    auto* frame9 = AddFrame(this, "Frame9", QString(), 240, 6480, 6615, 1335);
    AddLabel(frame9, QStringLiteral("Label3"), QStringLiteral("当前位置"), 240, 520, 1000, 300);
    AddLabel(frame9, QStringLiteral("Label4"), QStringLiteral("当前速度"), 240, 880, 1000, 300);
    for (int s = 0; s < 4; ++s) {
        const int left = 1320 + s * 2640;
        auto* heading = AddLabel(frame9, Indexed("Label1", 18 + s), AxisCaption(s), left + 700, 180, 700, 280);
        T_PosAxis[s] = AddText(frame9, Indexed("T_PosAxis", s), QStringLiteral("0"), left, 480, 1935, 330);
        T_SpeedAxis[s] = AddText(frame9, Indexed("T_SpeedAxis", s), QStringLiteral("0"), left, 840, 1935, 330);
        MakeDisplayOnly(T_PosAxis[s]);
        MakeDisplayOnly(T_SpeedAxis[s]);
        if (s >= 2) {
            heading->hide();
            T_PosAxis[s]->hide();
            T_SpeedAxis[s]->hide();
        }
    }
}

void MotionForm::BuildButtons()
{
    CB_LoadMotPara =
        AddButton(this, "CB_LoadMotPara", QStringLiteral("加载参数"), 8400, 2400, kButtonWidth, kButtonHeight);
    CB_SaveMotPara =
        AddButton(this, "CB_SaveMotPara", QStringLiteral("保存参数"), 8400, 3270, kButtonWidth, kButtonHeight);
    CB_Start = AddButton(this, "CB_Start", QStringLiteral("启    动"), 8400, 4140, kButtonWidth, kButtonHeight);
    CB_Stop = AddButton(this, "CB_Stop", QStringLiteral("停    止"), 8400, 5010, kButtonWidth, kButtonHeight);
    CB_ClrPos = AddButton(this, "CB_ClrPos", QStringLiteral("位置清零"), 8400, 5880, kButtonWidth, kButtonHeight);

    // Engineering buttons: part of the window, never shown.
    CB_DynaAcc = AddButton(this, "CB_DynaAcc", QStringLiteral("动态加速"), 8400, 6600, kButtonWidth, kButtonHeight);
    CB_DynaDec = AddButton(this, "CB_DynaDec", QStringLiteral("动态减速"), 8400, 7200, kButtonWidth, kButtonHeight);
    CommandCstart = AddButton(this, "CommandCstart", QStringLiteral("Cstart"), 7080, 6600, kButtonWidth, kButtonHeight);
    CommandCstop = AddButton(this, "CommandCstop", QStringLiteral("Cstop"), 7080, 7200, kButtonWidth, kButtonHeight);
    commandIntP45 = AddButton(this, "commandIntP45", QStringLiteral("插补45"), 7080, 7800, kButtonWidth, kButtonHeight);
    CommandCloseTimer =
        AddButton(this, "CommandCloseTimer", QStringLiteral("定时器为开"), 8400, 7800, kButtonWidth, kButtonHeight);
    LabelScale = AddLabel(this, QStringLiteral("LabelScale"), QStringLiteral("LabelScale"), 2880, 7920, 2400, 300);
    for (QWidget* hidden : std::initializer_list<QWidget*>{CB_DynaAcc, CB_DynaDec, CommandCstart, CommandCstop,
                                                           commandIntP45, CommandCloseTimer, LabelScale})
        hidden->hide();

    const QFont large = SongTi(10.5);
    for (QPushButton* b : {CB_Start, CB_Stop, CB_ClrPos, CB_LoadMotPara, CB_SaveMotPara, CB_DynaAcc, CB_DynaDec})
        b->setFont(large);

    connect(CB_LoadMotPara, &QPushButton::clicked, this, &MotionForm::CB_LoadMotPara_Click);
    connect(CB_SaveMotPara, &QPushButton::clicked, this, &MotionForm::CB_SaveMotPara_Click);
    connect(CB_Start, &QPushButton::clicked, this, &MotionForm::CB_Start_Click);
    connect(CB_Stop, &QPushButton::clicked, this, &MotionForm::CB_Stop_Click);
    connect(CB_ClrPos, &QPushButton::clicked, this, &MotionForm::CB_ClrPos_Click);
    connect(CB_DynaDec, &QPushButton::clicked, this, &MotionForm::CB_DynaDec_Click);
    connect(CommandCstart, &QPushButton::clicked, this, &MotionForm::CommandCstart_Click);
    connect(CommandCstop, &QPushButton::clicked, this, &MotionForm::CommandCstop_Click);
    connect(commandIntP45, &QPushButton::clicked, this, &MotionForm::commandIntP45_Click);
    connect(CommandCloseTimer, &QPushButton::clicked, this, &MotionForm::CommandCloseTimer_Click);
    // The raise reacts to the press of any mouse button, not to a click, so
    // the keyboard cannot trigger it.
    CB_DynaAcc->installEventFilter(this);
}

bool MotionForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == CB_DynaAcc && event->type() == QEvent::MouseButtonPress && CB_DynaAcc->isEnabled())
        CB_DynaAcc_MouseDown();
    return QWidget::eventFilter(watched, event);
}

void MotionForm::Form_Load()
{
    for (QComboBox* box : CoB_DirAxis)
        box->addItems({kPositive, kNegative});
    LoadMotionSettings();
    EnableSCurve(!OB_ArcInte->isChecked());
    ChB_MotionAxis[0]->setChecked(true);
    modeGroup_->Select(OB_FixedMove);
    positionGroup_->Select(OB_ContraPosMove);
    stopGroup_->Select(OB_DecelStop);
    curveGroup_->Select(OB_TCurveSelect);
    arcGroup_->Select(OB_ClockArc);
    ApplyHardwareSettings(CurrentCardNo);
    Timer1->start();
}

void MotionForm::closeEvent(QCloseEvent* event)
{
    // Form_Unload: the display stops; a running motion goes on.
    Timer1->stop();
    event->accept();
}

void MotionForm::Timer1_Timer()
{
    const cardlib::calllog::TimerTick tick; // the call log can hide the refresh
    double equiv = 0;
    cardlib::tvn_get_equiv(0, &equiv); // library axis 0 itself, whatever the card
    LabelScale->setText(QStringLiteral("Scale0 = ") + FormatThreeDecimals(equiv));

    const bool command = OB_ComCounter->isChecked();
    for (int s = 0; s < 2; ++s) {
        const int16_t axis = brevak::WindowAxis(CurrentCardNo, s);
        QString position;
        if (!command) {
            position = QString::number(cardlib::tvn_get_encoder(axis));
        } else if (OptionScale[0]->isChecked()) {
            position = QString::number(cardlib::tvn_get_position(axis));
        } else {
            double mm = 0;
            cardlib::tvn_get_position_unitmm(axis, &mm);
            position = FormatThreeDecimals(mm);
        }
        const QString speed = FormatSpeed(cardlib::tvn_read_current_speed(axis));
        SetTextIfChanged(T_PosAxis[s], position);
        SetTextIfChanged(T_SpeedAxis[s], speed);
    }
}

void MotionForm::OptionScale_Click(int index)
{
    // Library axes 0 and 1 themselves, with different equivalents so that the
    // two axes can be told apart in millimetres.
    for (int16_t a = 0; a < 2; ++a)
        cardlib::tvn_set_equiv(a, index == 0 ? 1.0 : 100.0 + 10.0 * a);
}

void MotionForm::CommandCloseTimer_Click()
{
    if (Timer1->isActive()) {
        Timer1->stop();
        CommandCloseTimer->setText(QStringLiteral("关"));
    } else {
        Timer1->start();
        CommandCloseTimer->setText(QStringLiteral("开"));
    }
}

void MotionForm::EnableSCurve(bool enable)
{
    OB_SCurveSlect->setEnabled(enable);
    T_Tsacc->setEnabled(enable);
}

void MotionForm::OB_HomeMove_Click() { EnableSCurve(true); }
void MotionForm::OB_ContiMove_Click() { EnableSCurve(true); }
void MotionForm::OB_FixedMove_Click() { EnableSCurve(true); }

void MotionForm::OB_LinearInte_Click()
{
    L_ArcEnd->setText(QStringLiteral("线性插补终点"));
    curveGroup_->Select(OB_TCurveSelect);
    EnableSCurve(false);
}

void MotionForm::OB_ArcInte_Click()
{
    L_ArcEnd->setText(QStringLiteral("圆弧插补终点"));
    curveGroup_->Select(OB_TCurveSelect);
    EnableSCurve(false);
}

MotionFields MotionForm::Fields() const
{
    MotionFields f;
    for (int s = 0; s < 4; ++s) {
        f.axisChecked[s] = ChB_MotionAxis[s]->isChecked();
        f.startSpeed[s] = T_StrVelAxis[s]->text();
        f.driveSpeed[s] = T_MaxVelAxis[s]->text();
        f.endPosition[s] = T_EndPosAxis[s]->text();
        f.accelTime[s] = T_TaccAxis[s]->text();
        f.sCurveTime[s] = T_TsaccAxis[s]->text();
        f.direction[s] = CoB_DirAxis[s]->currentText();
        f.interpEnd[s] = T_ArcEndPos[s]->text();
        f.arcCenter[s] = T_ArcCenter[s]->text();
    }
    f.mode = OB_HomeMove->isChecked()     ? MotionFields::Home
             : OB_ContiMove->isChecked()  ? MotionFields::Continuous
             : OB_FixedMove->isChecked()  ? MotionFields::Fixed
             : OB_LinearInte->isChecked() ? MotionFields::Linear
                                          : MotionFields::Arc;
    f.relative = OB_ContraPosMove->isChecked();
    f.decelStop = OB_DecelStop->isChecked();
    f.trapezoid = OB_TCurveSelect->isChecked();
    f.clockwise = OB_ClockArc->isChecked();
    f.interpStartSpeed = T_InterStrVel->text();
    f.interpDriveSpeed = T_InterMaxVel->text();
    f.interpAccelTime = T_Tacc->text();
    f.interpSCurveTime = T_Tsacc->text();
    return f;
}

std::array<bool, 4> MotionForm::Checked() const
{
    std::array<bool, 4> checked{};
    for (int s = 0; s < 4; ++s)
        checked[s] = ChB_MotionAxis[s]->isChecked();
    return checked;
}

void MotionForm::LoadMotionSettings()
{
    MotionFields f = Fields();
    if (!ReadMotionSettings(MotionSetPath, f))
        return;
    for (int n = 0; n < 2; ++n) {
        T_StrVelAxis[n]->setText(f.startSpeed[n]);
        T_MaxVelAxis[n]->setText(f.driveSpeed[n]);
        T_EndPosAxis[n]->setText(f.endPosition[n]);
        CoB_DirAxis[n]->setEditText(f.direction[n]);
        T_TaccAxis[n]->setText(f.accelTime[n]);
        T_TsaccAxis[n]->setText(f.sCurveTime[n]);
    }
    QRadioButton* modes[] = {OB_HomeMove, OB_ContiMove, OB_FixedMove, OB_LinearInte, OB_ArcInte};
    modeGroup_->Select(modes[f.mode]);
    L_ArcEnd->setText(f.mode == MotionFields::Arc ? QStringLiteral("圆弧插补终点") : QStringLiteral("线性插补终点"));
    for (int n = 0; n < 4; ++n) {
        T_ArcEndPos[n]->setText(f.interpEnd[n]);
        T_ArcCenter[n]->setText(f.arcCenter[n]);
    }
    positionGroup_->Select(f.relative ? OB_ContraPosMove : OB_RealPosMotion);
    stopGroup_->Select(f.decelStop ? OB_DecelStop : OB_EmgStop);
    curveGroup_->Select(f.trapezoid ? OB_TCurveSelect : OB_SCurveSlect);
    arcGroup_->Select(f.clockwise ? OB_ClockArc : OB_CClockArc);
    T_InterStrVel->setText(f.interpStartSpeed);
    T_InterMaxVel->setText(f.interpDriveSpeed);
    T_Tacc->setText(f.interpAccelTime);
    T_Tsacc->setText(f.interpSCurveTime);
}

void MotionForm::SaveMotionSettings()
{
    if (const int error = WriteMotionSettings(Fields(), MotionSetPath))
        ShowMessage(SaveFailedMessage(QDir::toNativeSeparators(MotionSetPath), error), this);
}

void MotionForm::CB_Start_Click()
{
    StartMotion(CurrentCardNo, Fields(), MotionParameters, OptionScale[0]->isChecked());
}
void MotionForm::CB_Stop_Click() { StopMotion(CurrentCardNo, Fields(), MotionParameters); }
void MotionForm::CB_DynaAcc_MouseDown() { RaiseDriveSpeed(CurrentCardNo, MotionParameters, Checked()); }
void MotionForm::CB_DynaDec_Click() { LowerDriveSpeed(CurrentCardNo, MotionParameters, Checked()); }
void MotionForm::CB_ClrPos_Click() { ClearPositions(CurrentCardNo, Checked()); }
void MotionForm::CommandCstart_Click() { SynchronisedStart(); }
void MotionForm::CommandCstop_Click() { SimultaneousStop(); }
void MotionForm::commandIntP45_Click() { InterpolationTest(Fields(), MotionParameters); }
void MotionForm::CB_LoadMotPara_Click() { LoadMotionSettings(); }
void MotionForm::CB_SaveMotPara_Click() { SaveMotionSettings(); }

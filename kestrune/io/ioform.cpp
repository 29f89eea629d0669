#include "ioform.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "cardlib/calllog.h"
#include "iosignals.h"
#include "settings/apply.h"
#include "settings/numbertext.h"
#include "settings/state.h"
#include "widgets/controls.h"
#include "widgets/lamp.h"

namespace {

constexpr int kTimerInterval = 24; // ms
constexpr int kLampSize = 14;      // pixels

// Column titles and object names of the dedicated signals.
const char* const kColumnTitles[] = {"EL+ 状态", "EL- 状态",    " SD 状态",    "RDY 状态", " EZ  状态",
                                     "ORG 状态", "PA/J+  状态", "PB/J-  状态", "INP 状态", "ALM 状态",
                                     "LTC 状态", "SEVON 状态",  "ERC 状态",    "CMP 状态"};
const char* const kColumnNames[] = {"S_PEL",  "S_NEL", "S_SD",  "S_RDY", "S_INDEX", "S_ORG", "S_EXPP",
                                    "S_EXPM", "S_INP", "S_ALM", "S_LTC", "S_SEVON", "S_ERC", "S_cmp"};

Lamp* MakeLamp(QWidget* parent, const QString& name, int x, int y, const QColor& colour = Lamp::kInitial)
{
    auto* lamp = new Lamp(parent, colour);
    lamp->setObjectName(name);
    lamp->setGeometry(x, y, kLampSize, kLampSize);
    return lamp;
}

// "第 1位" … "第 9位", "第10位" … "第20位".
QString BitCaption(int bit) { return QStringLiteral("第%1位").arg(bit, 2); }

} // namespace

IoFormControl::IoFormControl(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("IoFormControl"));
    setWindowTitle(QStringLiteral("I/O状态检测"));
    setFont(SongTi(9));
    setFixedSize(667, 515);

    BuildSignalFrame();
    BuildInputFrame();
    BuildOutputFrame();
    BuildLegend();
    BuildEngineeringControls();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerInterval);
    connect(Timer1, &QTimer::timeout, this, &IoFormControl::Timer1_Timer);
}

void IoFormControl::BuildSignalFrame()
{
    auto* frame = AddFrame(this, QStringLiteral("Frame1"), QStringLiteral("专用输入信号"), QRect(6, 6, 655, 150));
    constexpr int kRowTop = 62, kRowStep = 30, kColumnWidth = 33;
    for (int i = 0; i < 4; ++i) {
        auto* title = AddLabel(frame, Indexed("Label1", 14 + i), QStringLiteral("第%1轴").arg(i),
                               QRect(6, kRowTop + i * kRowStep - 2, 40, 18));
        title->setVisible(i != 2); // the row of axis 3 lies below the frame's edge
    }
    int x = 48;
    for (int c = 0; c < ColumnCount; ++c) {
        AddStackedLabel(frame, Indexed("Label1", c), QString::fromUtf8(kColumnTitles[c]),
                        QRect(x - 6, 18, kColumnWidth + 12, 36))
            ->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        for (int i = 0; i < 4; ++i) {
            signals_[c][i] = MakeLamp(frame, Indexed(kColumnNames[c], i), x + (kColumnWidth - kLampSize) / 2,
                                      kRowTop + i * kRowStep);
            signals_[c][i]->setVisible(i != 2);
        }
        x += kColumnWidth;
        const auto pairOfButtons = [&](const char* name, const char* first, const char* second, auto handler) {
            for (int k = 0; k < 2; ++k) {
                auto* b = AddButton(frame, Indexed(name, k), QLatin1String(k == 0 ? first : second),
                                    QRect(x, kRowTop - 4 + k * kRowStep, 26, 22));
                connect(b, &QPushButton::clicked, this, [this, handler, k] { (this->*handler)(k); });
            }
            x += 28;
        };
        if (c == SEVON)
            pairOfButtons("Command_SEVON", "S0", "S1", &IoFormControl::Command_SEVON_Click);
        if (c == CMP)
            pairOfButtons("Command_CMP", "C0", "C1", &IoFormControl::Command_CMP_Click);
        if (c == ERC) {
            auto* rst =
                AddButton(frame, QStringLiteral("CommandERC"), QStringLiteral("Rst"), QRect(x, kRowTop + 10, 30, 22));
            connect(rst, &QPushButton::clicked, this, &IoFormControl::CommandERC_Click);
            x += 32;
            // The card-wide lamps, each with its label to the left.
            const struct {
                Lamp** lamp;
                const char* name;
                const char* label;
                const char* text;
            } cardLamps[] = {{&S_CSTA, "S_CSTA", "Label11", "STA"},
                             {&S_CSTP, "S_CSTP", "Label12", "STP"},
                             {&S_CSD, "S_CSD", "Label14", "CSD"},
                             {&S_CEMG, "S_CEMG", "Label13", "EMG"}};
            for (int r = 0; r < 4; ++r) {
                AddLabel(frame, QLatin1String(cardLamps[r].label), QLatin1String(cardLamps[r].text),
                         QRect(x, 46 + r * 20, 28, 16));
                *cardLamps[r].lamp = MakeLamp(frame, QLatin1String(cardLamps[r].name), x + 30, 47 + r * 20);
            }
            x += 50;
        }
    }
}

void IoFormControl::BuildInputFrame()
{
    auto* frame = AddFrame(this, QStringLiteral("Frame2"), QStringLiteral("通用输入信号电平"), QRect(6, 166, 320, 230));
    for (int k = 0; k < brevak::kGeneralInputs; ++k) {
        const int x = 10 + (k % 4) * 77, y = 30 + (k / 4) * 40;
        AddLabel(frame, Indexed("Label2", k), QStringLiteral("第%1位").arg(k + 1), QRect(x, y, 44, 16))
            ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        S_InputNo[k] = MakeLamp(frame, Indexed("S_InputNo", k), x + 48, y + 1);
    }
}

void IoFormControl::BuildOutputFrame()
{
    auto* frame =
        AddFrame(this, QStringLiteral("Frame3"), QStringLiteral("通用输出信号控制及电平"), QRect(334, 166, 327, 230));
    CB_OutNo = new QButtonGroup(this);
    for (int k = 0; k < brevak::kGeneralOutputs; ++k) {
        const int x = 8 + (k % 4) * 80, y = 26 + (k / 4) * 40;
        auto* button = AddButton(frame, Indexed("CB_OutNo", k), BitCaption(k + 1), QRect(x, y, 54, 24));
        CB_OutNo->addButton(button, k);
        S_OutputNo[k] = MakeLamp(frame, Indexed("S_OutputNo", k), x + 58, y + 5, Lamp::kClear);
    }
    connect(CB_OutNo, &QButtonGroup::idClicked, this, &IoFormControl::CB_OutNo_Click);
}

void IoFormControl::BuildLegend()
{
    auto* frame = AddFrame(this, QStringLiteral("Frame4"), QString(), QRect(334, 404, 327, 70));
    AddLabel(frame, QStringLiteral("Label5"), QStringLiteral("注："), QRect(8, 8, 30, 18));
    const struct {
        const char* label;
        const char* text;
        int x;
        int row;
    } labels[] = {{"Label6", "电平显示：", 38, 0}, {"Label3", "低电平", 140, 0},    {"Label4", "高电平", 210, 0},
                  {"Label10", "无效", 280, 0},     {"Label7", "状态显示：", 38, 1}, {"Label8", "无效", 140, 1},
                  {"Label9", "有效", 210, 1}};
    for (const auto& l : labels)
        AddLabel(frame, QLatin1String(l.label), QString::fromUtf8(l.text), QRect(l.x, 8 + l.row * 26, 70, 18));
    MakeLamp(frame, QStringLiteral("Shape1"), 122, 10, Lamp::kClear);
    MakeLamp(frame, QStringLiteral("Shape2"), 192, 10, Lamp::kSet);
    MakeLamp(frame, QStringLiteral("Shape5"), 262, 10, Lamp::kInitial);
    MakeLamp(frame, QStringLiteral("Shape6"), 122, 36, Lamp::kClear);
    MakeLamp(frame, QStringLiteral("Shape4"), 192, 36, Lamp::kSet);
}

void IoFormControl::BuildEngineeringControls()
{
    // Present and refreshed, never shown.
    auto* hidden = new QWidget(this);
    hidden->setObjectName(QStringLiteral("EngineeringControls"));
    hidden->setGeometry(6, 480, 655, 30);
    hidden->hide();
    const char* optionTexts[] = {"TextMsts", "Textout", "0"};
    for (int i = 0; i < 3; ++i) {
        TextOption[i] = new QLineEdit(QLatin1String(optionTexts[i]), hidden);
        TextOption[i]->setObjectName(Indexed("TextOption", i));
    }
    AddLabel(hidden, QStringLiteral("Label15"), QStringLiteral("msts"), QRect(0, 0, 30, 16));
    for (int i = 0; i < 2; ++i) {
        TextRenv2[i] = new QLineEdit(QStringLiteral("REnv2"), hidden);
        TextRenv2[i]->setObjectName(Indexed("TextRenv2", i));
    }
    auto* wop = AddButton(hidden, QStringLiteral("CommandWop"), QStringLiteral("Wop"), QRect(0, 0, 40, 20));
    connect(wop, &QPushButton::clicked, this, &IoFormControl::CommandWop_Click);

    auto* portTest = AddFrame(hidden, QStringLiteral("Frame5"), QStringLiteral("端口测试"), QRect(0, 0, 300, 30));
    TextState = new QLineEdit(QStringLiteral("Textin"), portTest);
    TextState->setObjectName(QStringLiteral("TextState"));
    TextOutState = new QLineEdit(QStringLiteral("Textout"), portTest);
    TextOutState->setObjectName(QStringLiteral("TextOutState"));
    TextSetOut = new QLineEdit(QStringLiteral("Setout"), portTest);
    TextSetOut->setObjectName(QStringLiteral("TextSetOut"));
    auto* off = AddButton(portTest, QStringLiteral("CmdOFF"), QStringLiteral("Coff"), QRect(0, 0, 40, 20));
    auto* on = AddButton(portTest, QStringLiteral("CommandOn"), QStringLiteral("Con"), QRect(0, 0, 40, 20));
    AddButton(portTest, QStringLiteral("CommandInOutport"), QStringLiteral("COutport"), QRect(0, 0, 60, 20)); // inert
    connect(off, &QPushButton::clicked, this, &IoFormControl::CmdOFF_Click);
    connect(on, &QPushButton::clicked, this, &IoFormControl::CommandOn_Click);
}

void IoFormControl::Form_Load()
{
    ConfigureIoSignals(CurrentCardNo);
    ApplyHardwareSettings(CurrentCardNo);
    Timer1->start();
}

void IoFormControl::closeEvent(QCloseEvent* event)
{
    Timer1->stop();
    event->accept();
}

void IoFormControl::Timer1_Timer()
{
    const cardlib::calllog::TimerTick tick; // the call log can hide the refresh
    const IoSignals s = ReadIoSignals(CurrentCardNo);
    for (int i = 0; i < 2; ++i) {
        SetTextIfChanged(TextOption[i], HexText(s.status[i]));
        SetTextIfChanged(TextRenv2[i], HexText(static_cast<uint32_t>(s.register221[i])));
    }
    SetTextIfChanged(TextState, HexText(static_cast<uint32_t>(s.inport)));
    SetTextIfChanged(TextOutState, HexText(static_cast<uint32_t>(s.outport)));

    using brevak::Bit;
    namespace io = brevak::io;
    namespace rsts = brevak::rsts;
    for (int i = 0; i < 2; ++i) {
        const AxisSignals& a = s.axes[i];
        signals_[RDY][i]->SetState(a.ready);
        signals_[SEVON][i]->SetState(a.servoOn);
        signals_[CMP][i]->SetState(a.compare);
        signals_[ALM][i]->SetState(Bit(a.io, io::kAlarm));
        signals_[PEL][i]->SetState(Bit(a.io, io::kLimitPlus));
        signals_[NEL][i]->SetState(Bit(a.io, io::kLimitMinus));
        signals_[ORG][i]->SetState(Bit(a.io, io::kHome));
        // Card-wide lamps, written for both axes: they end on axis 1's word.
        S_CSD->SetState(Bit(a.rsts, rsts::kCardSlowDown));
        S_CSTA->SetState(Bit(a.rsts, rsts::kStart));
        S_CSTP->SetState(Bit(a.rsts, rsts::kStop));
        S_CEMG->SetState(Bit(a.rsts, rsts::kEmergency));
        signals_[ERC][i]->SetState(Bit(a.rsts, rsts::kErcOutput));
        signals_[EXPP][i]->SetState(Bit(a.rsts, rsts::kJogPlus));
        signals_[EXPM][i]->SetState(Bit(a.rsts, rsts::kJogMinus));
        signals_[SD][i]->SetState(Bit(a.rsts, rsts::kSlowDown));
        signals_[INP][i]->SetState(Bit(a.rsts, rsts::kInPosition));
        signals_[INDEX][i]->SetState(Bit(a.rsts, rsts::kIndex));
        signals_[LTC][i]->SetState((s.latchFlags & brevak::latch::TriggerInput(i)) != 0);
    }
    for (int k = 0; k < brevak::kGeneralInputs; ++k)
        S_InputNo[k]->SetState(s.inputs[k]);
    for (int k = 0; k < brevak::kGeneralOutputs; ++k)
        S_OutputNo[k]->SetState(s.outputs[k]);
}

void IoFormControl::CB_OutNo_Click(int k) { ToggleOutput(CurrentCardNo, k); }
void IoFormControl::Command_SEVON_Click(int k) { WriteServoOn(CurrentCardNo, k == 0 ? 0 : 1); }
void IoFormControl::Command_CMP_Click(int k) { WriteCompare(CurrentCardNo, k == 0 ? 0 : 1); }
void IoFormControl::CommandERC_Click() { ToggleErc(CurrentCardNo); }
void IoFormControl::CmdOFF_Click() { WriteAllOutputs(CurrentCardNo, false); }
void IoFormControl::CommandOn_Click() { WriteAllOutputs(CurrentCardNo, true); }
void IoFormControl::CommandWop_Click() { WriteRegisterWord(TextOption[2]->text()); }

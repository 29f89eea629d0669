#include "counterform.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include "cardlib/binding.h"
#include "cardlib/calllog.h"
#include "counterreads.h"
#include "settings/numbertext.h"
#include "settings/state.h"
#include "widgets/controls.h"
#include "widgets/lamp.h"
#include "widgets/optiongroup.h"

namespace {

constexpr int kTimerInterval = 30; // ms

} // namespace

FormCounter::FormCounter(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormCounter"));
    setWindowTitle(QStringLiteral("计数功能测试"));
    setFont(SongTi(9));
    setFixedSize(623, 539);

    BuildDisplays();
    BuildButtons();
    BuildEngineeringControls();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerInterval);
    connect(Timer1, &QTimer::timeout, this, &FormCounter::Timer1_Timer);
}

void FormCounter::BuildDisplays()
{
    TextLatchResult = new QPlainTextEdit(this);
    TextLatchResult->setObjectName(QStringLiteral("TextLatchResult"));
    TextLatchResult->setGeometry(12, 12, 380, 330);
    TextLatchResult->setReadOnly(true); // a log: records are only appended
    // Nothing here is ever undone: an undo history would keep every record
    // the log has dropped.
    TextLatchResult->setUndoRedoEnabled(false);

    auto* values = new QGroupBox(this);
    values->setObjectName(QStringLiteral("Frame9"));
    values->setGeometry(12, 352, 380, 96);
    AddLabel(values, QStringLiteral("Label3"), QStringLiteral("计数器"), QRect(10, 34, 50, 20));
    AddLabel(values, QStringLiteral("Label4"), QStringLiteral("锁存器"), QRect(10, 64, 50, 20));
    for (int i = 0; i < 4; ++i) {
        const int x = 70 + i * 150;
        auto* heading =
            AddLabel(values, Indexed("Label1", 8 + i), QStringLiteral("第%1轴").arg(i), QRect(x + 50, 8, 50, 18));
        T_PosAxis[i] = AddText(values, Indexed("T_PosAxis", i), QStringLiteral("0"), QRect(x, 32, 140, 24));
        T_LatchAxis[i] = AddText(values, Indexed("T_LatchAxis", i), QStringLiteral("0"), QRect(x, 62, 140, 24));
        MakeDisplayOnly(T_PosAxis[i]);
        MakeDisplayOnly(T_LatchAxis[i]);
        for (QWidget* w : std::initializer_list<QWidget*>{heading, T_PosAxis[i], T_LatchAxis[i]})
            w->setVisible(i < 2);
    }

    auto* lamps = new QGroupBox(QStringLiteral("计数器状态"), this);
    lamps->setObjectName(QStringLiteral("Frame1"));
    lamps->setGeometry(404, 12, 207, 140);
    const char* titles[] = {"触发 信号", "清零 信号", "触发 状态", "清零 状态"};
    std::array<Lamp*, 4>* columns[] = {&S_Trigger, &S_ClsCounter, &S_TriggerState, &S_ClsCounterState};
    const char* names[] = {"S_Trigger", "S_ClsCounter", "S_TriggerState", "S_ClsCounterState"};
    for (int c = 0; c < 4; ++c) {
        const int x = 52 + c * 38;
        auto* title =
            AddStackedLabel(lamps, Indexed("Label1", 12 + c), QString::fromUtf8(titles[c]), QRect(x - 6, 20, 36, 34));
        title->setAlignment(Qt::AlignCenter);
        for (int i = 0; i < 4; ++i) {
            auto* lamp = new Lamp(lamps);
            lamp->setObjectName(Indexed(names[c], i));
            lamp->setGeometry(x + 5, 64 + i * 32, 14, 14);
            lamp->setVisible(i != 2); // the axis-3 row lies below the frame's edge
            (*columns[c])[i] = lamp;
        }
    }
    for (int i = 0; i < 4; ++i)
        AddLabel(lamps, Indexed("Label1", i), QStringLiteral("第%1轴").arg(i), QRect(8, 62 + i * 32, 40, 18))
            ->setVisible(i != 2);

    auto* reading = new QGroupBox(QStringLiteral("读数方式"), this);
    reading->setObjectName(QStringLiteral("Frame11"));
    reading->setGeometry(12, 458, 250, 60);
    readingGroup_ = new OptionGroup(this);
    for (int k = 0; k < 2; ++k) {
        OptionAutoLatch[k] =
            new QRadioButton(k == 0 ? QStringLiteral("自动读数") : QStringLiteral("手动读数"), reading);
        OptionAutoLatch[k]->setObjectName(Indexed("OptionAutoLatch", k));
        OptionAutoLatch[k]->setGeometry(16 + k * 120, 26, 100, 22);
        readingGroup_->Add(OptionAutoLatch[k]);
    }
}

void FormCounter::BuildButtons()
{
    auto* clear = AddButton(this, QStringLiteral("CommandCLS"), QStringLiteral("清空"), QRect(290, 476, 100, 32));
    connect(clear, &QPushButton::clicked, this, &FormCounter::CommandCLS_Click);

    const QFont large = SongTi(10.5);
    const struct {
        const char* name;
        const char* caption;
        void (FormCounter::*handler)();
    } buttons[] = {
        {"commandResetTriggerFlag", "触发状态复位", &FormCounter::commandResetTriggerFlag_Click},
        {"commandResetClsCounter", "清零状态复位", &FormCounter::commandResetClsCounter_Click},
        {"CommandConfigureCounter", "计数器参数配置", &FormCounter::CommandConfigureCounter_Click},
        {"commandClearCounter", "计数器清零", &FormCounter::commandClearCounter_Click},
    };
    for (int b = 0; b < 4; ++b) {
        auto* button = AddButton(this, QLatin1String(buttons[b].name), QString::fromUtf8(buttons[b].caption),
                                 QRect(434, 190 + b * 60, 150, 38));
        button->setFont(large);
        connect(button, &QPushButton::clicked, this, buttons[b].handler);
    }
}

void FormCounter::BuildEngineeringControls()
{
    // Present, never shown.
    auto* hidden = new QWidget(this);
    hidden->setObjectName(QStringLiteral("EngineeringControls"));
    hidden->setGeometry(404, 440, 200, 90);
    hidden->hide();
    auto* ezMode = AddButton(hidden, QStringLiteral("CommandEZmdoe"), QStringLiteral("EZmode"), QRect(0, 0, 60, 22));
    TextEZmode = AddText(hidden, QStringLiteral("TextEZmode"), QStringLiteral("0"), QRect(64, 0, 40, 22));
    TextLTCmode = AddText(hidden, QStringLiteral("TextLTCmode"), QStringLiteral("0"), QRect(108, 0, 40, 22));
    CommandLeclogic =
        AddButton(hidden, QStringLiteral("CommandLeclogic"), QStringLiteral("LedLg0"), QRect(0, 24, 60, 22));
    CommandCh = AddButton(hidden, QStringLiteral("CommandCh"), QStringLiteral("LTC0"), QRect(64, 24, 60, 22));
    connect(ezMode, &QPushButton::clicked, this, &FormCounter::CommandEZmdoe_Click);
    connect(CommandLeclogic, &QPushButton::clicked, this, &FormCounter::CommandLeclogic_Click);
    connect(CommandCh, &QPushButton::clicked, this, &FormCounter::CommandCh_Click);

    // The PLD register panel: caption, value to write ("Text" + register),
    // value read back ("Label" + register).
    const struct {
        const char* label;
        const char* caption;
        const char* name;
        QLineEdit** text;
    } registers[] = {
        {"Label9", "CMR", "CMR", &TextCMR}, {"Label8", "SEL", "SEL", &TextSEL},  {"Label6", "ELL_REG", "ELL", &TextELL},
        {"Label10", "Gin", "Gin", nullptr}, {"Label7", "Gout", "Gout", nullptr},
    };
    for (const auto& r : registers) {
        const QString name = QLatin1String(r.name);
        AddLabel(hidden, QLatin1String(r.label), QLatin1String(r.caption), QRect(0, 48, 50, 18));
        QLineEdit* input = AddText(hidden, QStringLiteral("Text") + name, QStringLiteral("0"), QRect(52, 48, 60, 18));
        if (r.text)
            *r.text = input;
        QLabel* shown =
            AddLabel(hidden, QStringLiteral("Label") + name, QStringLiteral("Label6"), QRect(116, 48, 60, 18));
        for (size_t k = 0; k < kPldReadBack.size(); ++k)
            if (name == QLatin1String(kPldReadBack[k].name))
                readBack_[k] = shown;
    }
    auto* set = AddButton(hidden, QStringLiteral("CommandPLDsetReg"), QStringLiteral("set"), QRect(0, 68, 40, 20));
    connect(set, &QPushButton::clicked, this, &FormCounter::CommandPLDsetReg_Click);
    // Inert controls.
    AddLabel(hidden, QStringLiteral("Label5"), QStringLiteral("Renv3"), QRect(0, 0, 10, 10));
    AddText(hidden, QStringLiteral("TextRenv3"), QStringLiteral("0"), QRect(0, 0, 10, 10));
    AddLabel(hidden, QStringLiteral("LabelRenv3"), QStringLiteral("SEL"), QRect(0, 0, 10, 10));
    AddLabel(hidden, QStringLiteral("Label2"), QStringLiteral("计数精度"), QRect(0, 0, 10, 10));
    AddText(hidden, QStringLiteral("Text2"), QStringLiteral("Text2"), QRect(0, 0, 10, 10));
}

void FormCounter::Form_Load()
{
    Timer1->start();
    LatchRecordHeld = 0;
    readingGroup_->Select(OptionAutoLatch[0]);
}

void FormCounter::closeEvent(QCloseEvent* event)
{
    Timer1->stop();
    event->accept();
}

void FormCounter::Timer1_Timer()
{
    const cardlib::calllog::TimerTick tick; // the call log can hide the refresh
    const int16_t cn = CurrentCardNo;
    CounterReads reads = ReadCounters(cn);
    const LatchStep latch = TakeLatch(cn, reads, LatchRecordHeld, OptionAutoLatch[0]->isChecked());
    const auto registers = ReadPldRegisters(cn);

    using namespace brevak::latch;
    for (int i = 0; i < 2; ++i) {
        S_Trigger[i]->SetState(reads.flags & TriggerInput(i));
        S_ClsCounter[i]->SetState(reads.flags & IndexInput(i));
        S_TriggerState[i]->SetState(reads.flags & TriggerState(i));
        S_ClsCounterState[i]->SetState(reads.flags & ClearState(i));
        SetTextIfChanged(T_PosAxis[i], QString::number(reads.encoder[static_cast<size_t>(i)]));
        SetTextIfChanged(T_LatchAxis[i], QString::number(reads.latched[static_cast<size_t>(i)]));
    }
    if (latch.record)
        ShowRecord(*latch.record);
    LatchRecordHeld = latch.held;
    for (size_t r = 0; r < registers.size(); ++r)
        SetTextIfChanged(readBack_[r], HexText(static_cast<uint32_t>(registers[r])));
}

void FormCounter::commandClearCounter_Click() { ClearCounters(CurrentCardNo); }

void FormCounter::commandResetClsCounter_Click() { cardlib::tvn_reset_clear_flag(CurrentCardNo); }

void FormCounter::commandResetTriggerFlag_Click()
{
    cardlib::tvn_reset_latch_flag(CurrentCardNo);
    LatchRecordHeld = 0;
}

void FormCounter::ShowRecord(const QString& record)
{
    const bool dropped = latchLog_.Dropped() > 0;
    latchLog_.Append(record);
    TextLatchResult->appendPlainText(record);
    if (latchLog_.Dropped() == 0)
        return;
    // The screen keeps what the log keeps: the header line, then the newest
    // records. The oldest record on screen goes, and the header counts it.
    QTextCursor cursor(TextLatchResult->document());
    if (!dropped) {
        cursor.insertText(latchLog_.Header());
        cursor.insertBlock();
    }
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(latchLog_.Header());
}

void FormCounter::CommandCLS_Click()
{
    latchLog_.Clear();
    TextLatchResult->clear();
}

void FormCounter::CommandConfigureCounter_Click()
{
    if (configure_)
        configure_();
}

void FormCounter::CommandEZmdoe_Click() { ConfigurePinModes(TextEZmode->text(), TextLTCmode->text()); }

void FormCounter::CommandLeclogic_Click()
{
    const bool wasZero = CommandLeclogic->text() == QLatin1String("LedLg0");
    cardlib::tvn_set_speaker_logic(CurrentCardNo, wasZero ? 1 : 0);
    CommandLeclogic->setText(wasZero ? QStringLiteral("LedLg1") : QStringLiteral("LedLg0"));
}

void FormCounter::CommandCh_Click()
{
    const bool wasZero = CommandCh->text() == QLatin1String("LTC0");
    cardlib::tvn_triger_chunnel(CurrentCardNo, wasZero ? 1 : 0);
    CommandCh->setText(wasZero ? QStringLiteral("LTC1") : QStringLiteral("LTC0"));
}

void FormCounter::CommandPLDsetReg_Click()
{
    WritePldRegisters(CurrentCardNo, TextCMR->text(), TextELL->text(), TextSEL->text());
}

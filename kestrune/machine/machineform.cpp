#include "machineform.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "settings/apply.h"
#include "settings/state.h"
#include "widgets/lamp.h"

using cardlib::SimulatedMachine;
namespace machine = brevak::machine;

namespace {

int16_t AxisOf(int slot) { return brevak::WindowAxis(CurrentCardNo, slot); }

// The card a card-wide signal goes to. EMG, STA, STP and CSD act on the axes
// the windows drive, so they go to the card those axes belong to (for card 1,
// library axes 2 and 3 are on card 0); the general inputs are read by the
// I/O window from the card in use.
int16_t CardOf(int signal)
{
    return static_cast<int16_t>(signal < machine::kFirstInput ? brevak::CardOfAxis(AxisOf(0)) : CurrentCardNo);
}

} // namespace

MachineForm::MachineForm(const SimulatedMachine& machine, QWidget* parent) : QWidget(parent), machine_(machine)
{
    setObjectName(QStringLiteral("MachineForm"));
    setWindowTitle(QStringLiteral("模拟机床"));

    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("heading"));
    heading_->setWordWrap(true); // the card of each kind of signal, in a sentence
    auto* about = new QLabel(
        QStringLiteral("模拟卡的机床信号：“自动”时由模拟的机床决定（限位开关在各自位置，伺服接通后 RDY 有效……），"
                       "“强制有效”“强制无效”按所配置的有效电平保持该输入。限位、报警、急停有效时，"
                       "模拟卡像真卡一样停止运动。"),
        this);
    about->setWordWrap(true);

    static const char* const kAxisSignals[] = {"EL+", "EL-", "ORG", "ALM", "INP", "RDY", "EZ"};
    auto* axes = new QHBoxLayout;
    for (int slot = 0; slot < 2; ++slot) {
        auto* frame = new QGroupBox(QStringLiteral("第%1轴").arg(slot), this);
        frame->setObjectName(QStringLiteral("axis%1").arg(slot));
        auto* column = new QVBoxLayout(frame);
        for (int s = 0; s < machine::kAxisSignals; ++s)
            column->addWidget(SignalRow(frame, QString::fromUtf8(kAxisSignals[s]), slot, s));
        auto* slipRow = new QHBoxLayout;
        slipRow->addWidget(new QLabel(QStringLiteral("编码器滑差"), frame));
        slip_[slot] = new QSpinBox(frame);
        slip_[slot]->setObjectName(QStringLiteral("slip%1").arg(slot));
        slip_[slot]->setRange(-1000000, 1000000);
        slip_[slot]->setSuffix(QStringLiteral(" 脉冲"));
        slip_[slot]->setToolTip(QStringLiteral("反馈位置比命令位置少这么多脉冲（负数为多），跟随误差随之出现"));
        slipRow->addWidget(slip_[slot], 1);
        column->addLayout(slipRow);
        connect(slip_[slot], &QSpinBox::valueChanged, this,
                [this, slot](int pulses) { machine_.SetEncoderSlip(AxisOf(slot), pulses); });
        axes->addWidget(frame);
    }

    auto* card = new QGroupBox(QStringLiteral("全卡信号"), this);
    card->setObjectName(QStringLiteral("card"));
    auto* grid = new QGridLayout(card);
    static const char* const kCardSignals[] = {"EMG", "STA", "STP", "CSD"};
    for (int s = 0; s < machine::kFirstInput; ++s)
        grid->addWidget(SignalRow(card, QString::fromUtf8(kCardSignals[s]), -1, s), 0, s);
    for (int n = 0; n < brevak::kGeneralInputs; ++n)
        grid->addWidget(SignalRow(card, QStringLiteral("输入%1").arg(n + 1), -1, machine::kFirstInput + n), 1 + n / 4,
                        n % 4);

    emgHint_ = new QLabel(QStringLiteral("参数中未启用急停：EMG 有效也不会停止运动（在“参数设置”中启用）"), card);
    emgHint_->setObjectName(QStringLiteral("emgHint"));
    emgHint_->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0);"));
    emgHint_->setWordWrap(true);
    emgHint_->hide();
    grid->addWidget(emgHint_, 1 + brevak::kGeneralInputs / 4, 0, 1, 4);

    auto* allAuto = new QPushButton(QStringLiteral("全部恢复自动"), this);
    allAuto->setObjectName(QStringLiteral("allAuto"));
    allAuto->setToolTip(QStringLiteral("两轴和全卡的所有信号改回“自动”，编码器滑差归零"));
    connect(allAuto, &QPushButton::clicked, this, &MachineForm::AllAutomatic);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(allAuto);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(about);
    layout->addLayout(axes);
    layout->addWidget(card);
    layout->addLayout(buttons);

    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, &MachineForm::Refresh);
    timer_->start();
    Refresh();
}

void MachineForm::closeEvent(QCloseEvent* event)
{
    timer_->stop();
    event->accept();
}

QWidget* MachineForm::SignalRow(QWidget* parent, const QString& name, int axisSlot, int signal)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* lamp = new Lamp(row, Lamp::kClear);
    lamp->setFixedSize(14, 14);
    const QString id =
        axisSlot >= 0 ? QStringLiteral("axis%1_%2").arg(axisSlot).arg(signal) : QStringLiteral("card_%1").arg(signal);
    lamp->setObjectName(QStringLiteral("lamp_") + id);
    auto* label = new QLabel(name, row);
    label->setMinimumWidth(48);
    auto* force = new QComboBox(row);
    force->setObjectName(QStringLiteral("force_") + id);
    force->addItems({QStringLiteral("自动"), QStringLiteral("强制有效"), QStringLiteral("强制无效")});
    force->setToolTip(QStringLiteral("自动：信号随模拟机床的运动变化；强制有效、强制无效：一直保持，直到改回自动"));
    layout->addWidget(lamp);
    layout->addWidget(label);
    layout->addWidget(force, 1);
    rows_.push_back({axisSlot, signal, lamp, force});
    const Row entry = rows_.back();
    connect(force, &QComboBox::activated, this, [this, entry](int choice) { Force(entry, choice); });
    return row;
}

void MachineForm::Force(const Row& row, int choice)
{
    SendForce(row, choice);
    Refresh();
}

void MachineForm::SendForce(const Row& row, int choice) const
{
    const auto force = static_cast<SimulatedMachine::Force>(choice);
    if (row.axisSlot >= 0)
        machine_.ForceAxis(AxisOf(row.axisSlot), static_cast<SimulatedMachine::AxisSignal>(row.signal), force);
    else
        machine_.ForceCard(CardOf(row.signal), static_cast<SimulatedMachine::CardSignal>(row.signal), force);
}

void MachineForm::AllAutomatic()
{
    for (const Row& row : rows_)
        SendForce(row, static_cast<int>(SimulatedMachine::Force::Auto));
    for (int slot = 0; slot < 2; ++slot)
        slip_[slot]->setValue(0);
    Refresh();
}

void MachineForm::Refresh()
{
    heading_->setText(
        QStringLiteral("模拟卡：第 %1 张卡，第0轴、第1轴为库轴号 %2、%3；EMG、STA、STP、CSD 作用于这两轴所在的"
                       "第 %4 张卡，输入1–20 为第 %1 张卡的输入")
            .arg(CurrentCardNo)
            .arg(AxisOf(0))
            .arg(AxisOf(1))
            .arg(CardOf(0)));
    for (const Row& row : rows_) {
        const bool active =
            row.axisSlot >= 0
                ? machine_.AxisActive(AxisOf(row.axisSlot), static_cast<SimulatedMachine::AxisSignal>(row.signal))
                : machine_.CardActive(CardOf(row.signal), static_cast<SimulatedMachine::CardSignal>(row.signal));
        row.lamp->SetState(active);
        // The choices of the card in use (another card may have its own).
        const SimulatedMachine::Force forced =
            row.axisSlot >= 0
                ? machine_.AxisForced(AxisOf(row.axisSlot), static_cast<SimulatedMachine::AxisSignal>(row.signal))
                : machine_.CardForced(CardOf(row.signal), static_cast<SimulatedMachine::CardSignal>(row.signal));
        if (!row.force->view()->isVisible() && row.force->currentIndex() != static_cast<int>(forced))
            row.force->setCurrentIndex(static_cast<int>(forced));
    }
    // EMG held active on a card told to ignore it: say why nothing stops.
    // The settings file is read again only when it changed.
    const bool emgHeld =
        machine_.CardForced(CardOf(machine::kEmergency), machine::kEmergency) == SimulatedMachine::Force::Active;
    if (emgHeld) {
        const QDateTime changed = QFileInfo(HardwareSetPath).lastModified();
        if (changed != settingsRead_) {
            settingsRead_ = changed;
            emgEnabled_ = EmergencyStopEnabled();
        }
    }
    emgHint_->setVisible(emgHeld && !emgEnabled_);
    for (int slot = 0; slot < 2; ++slot)
        if (!slip_[slot]->hasFocus()) {
            const QSignalBlocker quiet(slip_[slot]);
            slip_[slot]->setValue(machine_.EncoderSlip(AxisOf(slot)));
        }
}

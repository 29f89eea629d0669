// 模拟机床: the simulated card's machine, held by hand. Each input of the
// two axes of the card in use and of the card itself shows as a lamp and can
// be left to the machine ("自动") or held active or inactive; the encoder can
// slip. Only with the simulated card library.
#pragma once

#include <QDateTime>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

#include "cardlib/machine.h"

class Lamp;
class QComboBox;
class QLabel;
class QSpinBox;
class QTimer;

class MachineForm : public QWidget {
    Q_OBJECT

public:
    explicit MachineForm(const cardlib::SimulatedMachine& machine, QWidget* parent = nullptr);

    // Lamps and choices from the card in use (a 100 ms timer).
    void Refresh();
    // Every signal back to "自动" and no encoder slip, for both axes and the
    // card.
    void AllAutomatic();

protected:
    // The simulated machine is read no more once the window is closed: the
    // card library may be closed right after it.
    void closeEvent(QCloseEvent* event) override;

private:
    struct Row {
        int axisSlot; // 0 or 1, or −1 for a card-wide signal
        int signal;   // SimulatedMachine's AxisSignal or CardSignal
        Lamp* lamp;
        QComboBox* force;
    };

    QWidget* SignalRow(QWidget* parent, const QString& name, int axisSlot, int signal);
    void Force(const Row& row, int choice);
    void SendForce(const Row& row, int choice) const;

    const cardlib::SimulatedMachine& machine_;
    QLabel* heading_;
    QLabel* emgHint_;
    std::optional<QDateTime> settingsRead_; // the settings file's time when EMG was read
    bool emgEnabled_ = true;
    std::vector<Row> rows_;
    std::array<QSpinBox*, 2> slip_{};
    QTimer* timer_;
};

// Sends the stored hardware settings of hardware_set.txt to the card.
#pragma once

#include <QString>

#include <cstdint>

// The section of an axis: "第" + index + "轴"; and the card-wide section.
QString AxisSection(int axis);
QString UtilitySection();

// Configures the signals of axes 0 and 1 of `card` (brevak::CardAxis), and
// the card-wide emergency stop and latch mode, from HardwareSetPath; fills
// HomeSpeedMode[0..1]. Results of the card calls are not looked at.
void ApplyHardwareSettings(int16_t card);

// Whether hardware_set.txt turns the card's emergency stop input on: without
// it the card ignores EMG, however the input stands.
bool EmergencyStopEnabled();

// Sends the stored hardware settings of hardware_set.txt to the card.
#pragma once

#include <QString>

// The section of an axis: "第" + index + "轴".
QString AxisSection(int axis);

// Configures the signals of axes 0 and 1 of card CurrentCardNo, and the
// card-wide emergency stop and latch mode, from HardwareSetPath; fills
// HomeSpeedMode[0..1]. Results of the card calls are not looked at.
void ApplyHardwareSettings();

// The motion window's parameters as the commands use them.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

#include "motionfields.h"

struct MotionParameterSet {
    std::array<int16_t, 4> AxisSelected{};
    std::array<int32_t, 4> StartSpeed{};
    std::array<int32_t, 4> DriveSpeed{};
    std::array<int32_t, 4> EndPosition{};
    std::array<int16_t, 4> Direction{};
    std::array<double, 4> AccelTime{};
    std::array<double, 4> SCurveTime{};
    std::array<int32_t, 4> LineEndPosition{};
    std::array<int32_t, 4> ArcEndPosition{};
    std::array<int32_t, 4> ArcCenterPosition{};
    int16_t MotionMode = 0;
    int16_t PositionMode = 0;
    int16_t StopMode = 0;
    int16_t CurveMode = 0;
    int16_t ArcDirection = 0;
    int32_t InterpStartSpeed = 0;
    int32_t InterpDriveSpeed = 0;
    double InterpAccelTime = 0;
    double InterpSCurveTime = 0;
};

// Program state: kept while the program runs, also across closings of the
// motion window.
inline MotionParameterSet MotionParameters;

struct ReadResult {
    // The message for the first field that is not a number or does not fit
    // its type, naming the field and the axis.
    std::optional<QString> error;
    // Whether the acceleration time of each slot could be read.
    std::array<bool, 2> accelTimeRead{};
};

// Fills `parameters` from the window's fields, slots 0 and 1. When a field
// fails, `parameters` is left as it was; with `keepReadable`, the fields that
// could be read are taken all the same (the stop command needs what it can get).
ReadResult ReadMotionParameters(const MotionFields& fields, MotionParameterSet& parameters, bool keepReadable = false);

// A console call made: through the run-time binding, so that the call log
// records it as it records every other, after the checks the motion window
// holds its own moves to. And the console's stop of the window axes.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <utility>
#include <vector>

#include "consoleparser.h"

namespace console {

struct Outcome {
    // Why the call was not made; empty when it was.
    QString refusal;
    // What was made in its place, and why (a stop that cannot ramp stops at
    // once, as the motion window's does); usually empty.
    QString note;
    // The result as the call log writes it, with the status's words
    // ("3 参数超出范围") or, for a word of flags, its bits in hexadecimal.
    QString result;
    // A status other than 0.
    bool failed = false;
    // The out arguments: name, and value as the call log writes it.
    std::vector<std::pair<QString, QString>> outs;
};

// Why the console does not make `call` while `card` is the card in use, or
// an empty text. Moves are for the card's two window axes only; their speeds
// and S-curve times are held to the motion window's limits; what would pull
// the card from under the program's windows (board_init, board_close) or
// hold the program for a firmware download is not made at all.
QString Refusal(const Call& call, int16_t card);

// Makes `call` for `card` after those checks.
Outcome Run(const Call& call, int16_t card);

// Makes `call` as it is, without checks.
Outcome Make(const Call& call);

// The ramp of the console's stop, in seconds: the motion window stops with
// the acceleration time of its fields, which ship as 0.1 s; the console has
// no such field, and takes that time.
inline constexpr double kStopRamp = 0.1;

// Stops both window axes of `card` over kStopRamp, at once where the card
// refuses that. The calls made, as lines.
QStringList StopWindowAxes(int16_t card);

} // namespace console

// How the axes of a simulated card move. Nothing runs in the background:
// each call first brings the card up to the clock (Advance), computing where
// every move has got to from its plan, so a test clock drives it exactly.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "profile.h"

namespace tolvane {

struct Axis;
struct Card;

namespace motion {

// The machine behind every simulated axis, in physical pulses. Physical
// positions are apart from the counters, so clearing a counter moves no
// switch. Every axis starts at physical 0 with both counters 0.
inline constexpr int64_t kLimit = 1'000'000;      // EL+ at or above, EL− at or below the negative
inline constexpr int64_t kHomeSwitch = -2'500;    // ORG: the middle of the switch's cam
inline constexpr int64_t kIndexPitch = 1'000;     // an EZ index at every multiple
// The cam holds ORG on from 200 pulses below its middle to 200 above, so the
// lamp is seen on the way past at any homing speed; a homing search stops on
// the middle.
inline constexpr int64_t kHomeSwitchWidth = 400;

// The way of a move through the physical positions of its one or two axes,
// as a function of the distance s travelled along it.
struct Path {
    int axes = 1;
    std::array<double, 2> origin{};
    // A straight path: the travel of each axis per unit of s.
    std::array<double, 2> unit{};
    // An arc around `centre` from angle `theta0` through `sweep` (positive
    // counter-clockwise), its radius changing evenly from `r0` to `r1` when
    // the end point is not quite on the start circle.
    bool arc = false;
    std::array<double, 2> centre{};
    double r0 = 0, r1 = 0, theta0 = 0, sweep = 0;
    // A path that ends lands exactly on `end`, whole pulses; a run has no
    // end and an infinite length.
    double length = profile::kInfinity;
    std::array<double, 2> end{};

    double Coord(int k, double s) const;
    double Slope(int k, double s) const;
    // Distances strictly between a and b where a coordinate can turn back.
    std::vector<double> Turns(double a, double b) const;
};

enum class Homing { None, Search, Index };

// One move of one axis or of two interpolated axes.
struct Motion {
    std::array<int, 2> axes{};  // indices on the card
    Path path;
    profile::Speeds speeds;
    profile::Plan plan;
    double s = 0;  // where the move was at time t
    double t = 0;
    bool waiting = false;
    bool stopping = false;
    bool done = false;

    Homing homing = Homing::None;
    int direction = 1;
    bool indexToo = false;
    int indexCount = 1;
    double indexAt = 0;
    bool reversed = false;
    bool reverseWhenStopped = false;
};

// Brings every move of the card up to `now`.
void Advance(Card& card, double now);

// The move that holds axis `index` of the card, running or waiting, or nullptr.
const Motion* MotionOf(const Card& card, int index);

// Starting moves. Each answers kBusy and changes nothing when an axis already
// has a move; otherwise the move starts now, or waits for the card's common
// start when its (first) axis's sync option asks for it. The card must have
// been brought up to `now`.
int16_t MoveAxis(Card& card, int index, int64_t distance, bool sCurve, double now);
int16_t RunAxis(Card& card, int index, int direction, double now);
int16_t HomeAxis(Card& card, int index, int direction, bool highSpeed, double now);
int16_t MoveLine(Card& card, std::array<int, 2> axes, std::array<int64_t, 2> distance, const Profile& vector,
                 double now);
// End and centre relative to where the axes are.
int16_t MoveArc(Card& card, std::array<int, 2> axes, std::array<int64_t, 2> end, std::array<int64_t, 2> centre,
                bool counterClockwise, const Profile& vector, double now);

// Calls on a card that was brought up to the time of the call.

// A new drive speed for the move of the axis, or for its next move at rest;
// kBadValue below the start speed. A stop under way keeps stopping.
int16_t ChangeSpeed(Card& card, int index, double speed);
// Stops of one axis's move (both axes of an interpolation), over `time`
// seconds or at once; a waiting move is dropped. Partners in sync stop go
// with it.
void DecelStop(Card& card, int index, double time);
void ImmediateStop(Card& card, int index);
// Starts every waiting move of the card at once; stops every move at once.
void StartWaiting(Card& card, double now);
void StopAll(Card& card);

// The counters, whole pulses of the physical position plus their own offsets.
int64_t WholePulses(const Axis& axis);
int32_t CommandPosition(const Axis& axis);
int32_t EncoderCount(const Axis& axis);
void SetCommandPosition(Axis& axis, int32_t position);
void SetEncoderCount(Axis& axis, int32_t count);

}  // namespace motion
}  // namespace tolvane

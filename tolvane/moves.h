// The moves of a simulated card as data: the machine the axes move in, the
// way of a move and the move itself. The card holds its moves (card.h); how
// they run is motion.h.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "profile.h"

namespace tolvane::motion {

// The machine behind every simulated axis, in physical pulses. Physical
// positions are apart from the counters, so clearing a counter moves no
// switch. Every axis starts at physical 0 with both counters 0.
inline constexpr int64_t kLimit = 1'000'000;   // EL+ at or above, EL− at or below the negative
inline constexpr int64_t kHomeSwitch = -2'500; // ORG: the middle of the switch's cam
inline constexpr int64_t kIndexPitch = 1'000;  // an EZ index at every multiple
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
    std::array<int, 2> axes{}; // indices on the card
    Path path;
    profile::Speeds speeds;
    profile::Plan plan;
    double s = 0; // where the move was at time t
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

} // namespace tolvane::motion

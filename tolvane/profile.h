// Speed profiles along one coordinate: how far a move has gone, and how fast
// it goes, at any time, in closed form. The card's pulse generator works on
// one such coordinate per move: an axis's own travel, or the path length of a
// line or an arc.
#pragma once

#include <limits>
#include <vector>

namespace tolvane {

// What tvn_set_profile, tvn_set_st_profile and tvn_set_vector_profile store:
// speeds in pulses per second, times in seconds. A fresh card can move
// before anyone set a profile, as the real card does after power-on.
struct Profile {
    double start = 500, drive = 5000, tacc = 0.1, tdec = 0.1, tsacc = 0, tsdec = 0;
    bool sCurve = false;
};

// True for a profile the card can run: finite, drive speed above zero, start
// speed not above it, no negative time, and each S segment at most half its
// ramp (the two S segments of a ramp must fit in it).
bool ValidProfile(const Profile& profile);

namespace profile {

inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

// How fast a ramp changes speed: at most `accel` pulses/s², the acceleration
// itself changing by at most `jerk` pulses/s³. An infinite acceleration is a
// step in speed; an infinite jerk a linear ramp.
struct Rates {
    double accel = kInfinity;
    double jerk = kInfinity;
};

// The rates of a ramp that goes from `start` to `drive` in `time`, with S
// segments of `sTime` at both ends. A speed change asked for later (a new
// drive speed, a stop) keeps these rates rather than this time.
Rates RampRates(double start, double drive, double time, double sTime);

// Duration and length of the ramp between two speeds at these rates. Every
// ramp is symmetric about its middle, so its length is its mean speed times
// its duration.
double RampTime(double from, double to, Rates rates);
double RampDistance(double from, double to, Rates rates);

// What a move runs with: the speed it starts and ends at, the speed it cruises
// at, and the rates of its speeding up and slowing down.
struct Speeds {
    double start = 0;
    double drive = 0;
    Rates up;
    Rates down;
};

// Trapezoidal ramps, or S-curved ones with the profile's S segment times.
Speeds SpeedsOf(const Profile& profile, bool sCurve);

// Where a move is: distance along its coordinate and speed (never negative).
struct Sample {
    double s = 0;
    double v = 0;
};

// A motion along one coordinate: pieces of constant jerk laid end to end,
// from a start time, distance and speed. A plan either ends (its speed drops
// to zero at a known distance) or runs on for ever at its last speed.
class Plan {
public:
    Plan() = default;
    Plan(double t0, double s0, double v0);

    // Appends a ramp from the current speed to `to`.
    void Ramp(double to, Rates rates);
    // Appends a ramp to `to` at constant acceleration over `duration`.
    void Linear(double to, double duration);
    // Appends a run at the current speed; an infinite duration never ends.
    void Cruise(double duration);
    // Ends the plan: the speed drops to zero and the distance is exactly `s`,
    // whatever rounding the pieces collected on the way.
    void Finish(double s);

    Sample At(double t) const;
    // When the plan ends; infinite for one that runs on.
    double End() const;
    bool Ends() const { return finished_; }
    // The earliest time at which the distance reaches `s`; infinite if never.
    double TimeAt(double s) const;
    double FinalDistance() const { return s_; }

private:
    struct Piece {
        double t0, duration, s0, v0, a0, jerk;
    };
    void Append(double duration, double a0, double jerk);
    static Sample Evaluate(const Piece& piece, double tau);

    std::vector<Piece> pieces_;
    double t0_ = 0, s0_ = 0, v0_ = 0;
    // Where the last piece leaves off.
    double t_ = 0, s_ = 0, v_ = 0;
    double peak_ = 0;
    bool finished_ = false;
};

// A move over the distance from `s0` to `sEnd`, entered at speed `v0` (a move
// from rest jumps to the start speed at once): up or down to the highest
// speed not above the drive speed that still leaves room to slow down, on at
// that speed, down to the start speed, and stop exactly at `sEnd`. When even
// slowing down at once would overrun the end, the plan slows down steeper and
// still ends on it.
Plan PlanMove(double t0, double s0, double v0, double sEnd, const Speeds& speeds);
// A run without end: from `v0` (at least the start speed) to the drive speed.
Plan PlanRun(double t0, double s0, double v0, const Speeds& speeds);
// Slows down from `v0` to rest over `time` at constant deceleration, ending at
// the latest at `sMax`.
Plan PlanStopWithin(double t0, double s0, double v0, double time, double sMax);
// Slows down from `v0` to rest at the rates of the move's slowing down.
Plan PlanStopAtRate(double t0, double s0, double v0, const Speeds& speeds);

} // namespace profile
} // namespace tolvane

#include "profile.h"

#include <algorithm>
#include <cmath>

namespace tolvane {

bool ValidProfile(const Profile& p)
{
    for (double value : {p.start, p.drive, p.tacc, p.tdec, p.tsacc, p.tsdec})
        if (!std::isfinite(value) || value < 0)
            return false;
    return p.drive > 0 && p.start <= p.drive && p.tsacc <= p.tacc / 2 && p.tsdec <= p.tdec / 2;
}

namespace profile {
namespace {

// Halvings of a bracket in the searches below: enough to pin a distance of a
// million pulses, or a time of hours, far below a pulse or a microsecond.
constexpr int kHalvings = 80;

} // namespace

Rates RampRates(double start, double drive, double time, double sTime)
{
    // A ramp that takes no time, or has no speed to gain, makes every later
    // speed change a step.
    if (!(time > 0) || !(drive > start))
        return {};
    const double accel = (drive - start) / (time - sTime);
    return {accel, sTime > 0 ? accel / sTime : kInfinity};
}

double RampTime(double from, double to, Rates rates)
{
    const double dv = std::fabs(to - from);
    if (dv == 0 || !std::isfinite(rates.accel))
        return 0;
    if (!std::isfinite(rates.jerk))
        return dv / rates.accel;
    // Full acceleration is reached when the two S segments alone do not
    // already cover the speed change.
    if (dv >= rates.accel * rates.accel / rates.jerk)
        return dv / rates.accel + rates.accel / rates.jerk;
    return 2 * std::sqrt(dv / rates.jerk);
}

double RampDistance(double from, double to, Rates rates) { return (from + to) / 2 * RampTime(from, to, rates); }

Speeds SpeedsOf(const Profile& p, bool sCurve)
{
    return {p.start, p.drive, RampRates(p.start, p.drive, p.tacc, sCurve ? p.tsacc : 0),
            RampRates(p.start, p.drive, p.tdec, sCurve ? p.tsdec : 0)};
}

Plan::Plan(double t0, double s0, double v0) : t0_(t0), s0_(s0), v0_(v0), t_(t0), s_(s0), v_(v0), peak_(v0) {}

Sample Plan::Evaluate(const Piece& piece, double tau)
{
    return {piece.s0 + tau * (piece.v0 + tau * (piece.a0 / 2 + tau * piece.jerk / 6)),
            piece.v0 + tau * (piece.a0 + tau * piece.jerk / 2)};
}

void Plan::Append(double duration, double a0, double jerk)
{
    if (!(duration > 0))
        return;
    const Piece piece{t_, duration, s_, v_, a0, jerk};
    pieces_.push_back(piece);
    const Sample end = Evaluate(piece, duration);
    t_ += duration;
    s_ = end.s;
    v_ = end.v;
}

void Plan::Ramp(double to, Rates rates)
{
    const double dv = std::fabs(to - v_);
    const double sign = to > v_ ? 1.0 : -1.0;
    const double a = rates.accel;
    const double j = rates.jerk;
    if (dv == 0 || !std::isfinite(a)) {
        // A step: the next piece starts at the new speed.
    } else if (!std::isfinite(j)) {
        Append(dv / a, sign * a, 0);
    } else if (dv >= a * a / j) {
        Append(a / j, 0, sign * j);
        Append(dv / a - a / j, sign * a, 0);
        Append(a / j, sign * a, -sign * j);
    } else {
        const double tau = std::sqrt(dv / j);
        Append(tau, 0, sign * j);
        Append(tau, sign * j * tau, -sign * j);
    }
    v_ = to;
    peak_ = std::max(peak_, to);
}

void Plan::Linear(double to, double duration)
{
    if (duration > 0)
        Append(duration, (to - v_) / duration, 0);
    v_ = to;
}

void Plan::Cruise(double duration)
{
    if (std::isinf(duration)) {
        pieces_.push_back({t_, duration, s_, v_, 0, 0});
        t_ = duration;
        return;
    }
    Append(duration, 0, 0);
}

void Plan::Finish(double s)
{
    finished_ = true;
    s_ = s;
    v_ = 0;
}

Sample Plan::At(double t) const
{
    if (t <= t0_)
        return pieces_.empty() && finished_ ? Sample{s_, 0} : Sample{s0_, v0_};
    for (const Piece& piece : pieces_) {
        if (t < piece.t0 + piece.duration) {
            Sample sample = Evaluate(piece, t - piece.t0);
            // Rounding must neither run a move past its end nor show a speed
            // the plan never asked for.
            sample.v = std::clamp(sample.v, 0.0, peak_);
            if (finished_)
                sample.s = std::min(sample.s, s_);
            return sample;
        }
    }
    return {s_, finished_ ? 0 : v_};
}

double Plan::End() const { return finished_ ? t_ : kInfinity; }

double Plan::TimeAt(double s) const
{
    if (s <= s0_)
        return t0_;
    for (const Piece& piece : pieces_) {
        if (std::isinf(piece.duration))
            return piece.v0 > 0 ? piece.t0 + (s - piece.s0) / piece.v0 : kInfinity;
        if (Evaluate(piece, piece.duration).s < s)
            continue;
        double lo = 0;
        double hi = piece.duration;
        for (int i = 0; i < kHalvings; ++i) {
            const double mid = (lo + hi) / 2;
            (Evaluate(piece, mid).s >= s ? hi : lo) = mid;
        }
        return piece.t0 + hi;
    }
    return finished_ && s <= s_ ? t_ : kInfinity;
}

Plan PlanMove(double t0, double s0, double v0, double sEnd, const Speeds& speeds)
{
    const double v = std::max(v0, speeds.start);
    Plan plan(t0, s0, v);
    const double room = sEnd - s0;
    if (!(room > 0)) {
        plan.Finish(s0);
        return plan;
    }
    const auto rates = [&](double from, double to) { return to > from ? speeds.up : speeds.down; };
    const auto need = [&](double peak) {
        return RampDistance(v, peak, rates(v, peak)) + RampDistance(peak, speeds.start, speeds.down);
    };
    double peak = speeds.drive;
    if (need(peak) > room) {
        if (need(v) > room) {
            plan.Linear(speeds.start, 2 * room / (v + speeds.start));
            plan.Finish(sEnd);
            return plan;
        }
        // The distance the ramps need grows with the peak between the speed
        // now and the drive speed; the highest peak that fits is wanted.
        double fits = v;
        double overruns = speeds.drive;
        for (int i = 0; i < kHalvings; ++i) {
            const double mid = (fits + overruns) / 2;
            (need(mid) <= room ? fits : overruns) = mid;
        }
        peak = fits;
    }
    plan.Ramp(peak, rates(v, peak));
    plan.Cruise((room - need(peak)) / peak);
    plan.Ramp(speeds.start, speeds.down);
    plan.Finish(sEnd);
    return plan;
}

Plan PlanRun(double t0, double s0, double v0, const Speeds& speeds)
{
    const double v = std::max(v0, speeds.start);
    Plan plan(t0, s0, v);
    plan.Ramp(speeds.drive, speeds.drive > v ? speeds.up : speeds.down);
    plan.Cruise(kInfinity);
    return plan;
}

Plan PlanStopWithin(double t0, double s0, double v0, double time, double sMax)
{
    Plan plan(t0, s0, v0);
    if (!(time > 0 && v0 > 0)) {
        plan.Finish(s0);
        return plan;
    }
    double distance = v0 * time / 2;
    if (s0 + distance > sMax) {
        distance = std::max(0.0, sMax - s0);
        time = 2 * distance / v0;
    }
    plan.Linear(0, time);
    plan.Finish(s0 + distance);
    return plan;
}

Plan PlanStopAtRate(double t0, double s0, double v0, const Speeds& speeds)
{
    Plan plan(t0, s0, v0);
    plan.Ramp(std::min(v0, speeds.start), speeds.down);
    plan.Finish(plan.FinalDistance());
    return plan;
}

} // namespace profile
} // namespace tolvane

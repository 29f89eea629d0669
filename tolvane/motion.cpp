#include "motion.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "card.h"
#include "latch.h"

namespace tolvane::motion {
namespace {

using profile::kInfinity;

// A plan ends at a sum of piece durations and a test clock stands at a sum of
// steps, both on a monotonic clock that may be days along; rounding keeps
// them apart by far less than a microsecond, and a move the clock has
// reached must count as ended.
constexpr double kSlack = 1e-6;
constexpr int kHalvings = 80;
constexpr double kTurn = 2 * std::numbers::pi;
constexpr double kQuarterTurn = std::numbers::pi / 2;

Axis& AxisOf(Card& card, const Motion& m, int k)
{
    return card.axes[static_cast<size_t>(m.axes[static_cast<size_t>(k)])];
}

bool Running(const Motion& m) { return !m.waiting && !m.done; }

template <typename C>
auto Find(C& card, int index) -> decltype(&card.motions.front())
{
    for (auto& m : card.motions)
        if (!m.done && (m.axes[0] == index || (m.path.axes == 2 && m.axes[1] == index)))
            return &m;
    return nullptr;
}

void Tidy(Card& card)
{
    std::erase_if(card.motions, [](const Motion& m) { return m.done; });
}

// Every change of an axis's physical position during a move goes through
// here. What the axis passes on the way (switch edges, index marks, trigger
// positions) has been found and handled before, as an event (NextEvent), so
// nothing lies between `axis.physical` and `to` that still matters.
void Travel(Axis& axis, double to, double speed)
{
    axis.physical = to;
    axis.speed = speed;
}

// Puts the move at distance `s` along its path, going at `v`. A move never
// goes back along its path: a time that rounds to a shade before the point
// an event was found at must not undo that event.
void Place(Card& card, Motion& m, double s, double v)
{
    m.s = std::max(m.s, s);
    for (int k = 0; k < m.path.axes; ++k)
        Travel(AxisOf(card, m, k), m.path.Coord(k, m.s), v * std::fabs(m.path.Slope(k, m.s)));
}

void MoveTo(Card& card, Motion& m, double t)
{
    const profile::Sample at = m.plan.At(t);
    m.t = t;
    Place(card, m, at.s, at.v);
}

// Ends the move where it is, every axis on a whole pulse (a move that ran to
// its end is on its end point already).
void Settle(Card& card, Motion& m)
{
    for (int k = 0; k < m.path.axes; ++k)
        Travel(AxisOf(card, m, k), std::round(m.path.Coord(k, m.s)), 0);
    m.done = true;
}

void ZeroCounters(Axis& axis)
{
    axis.commandOffset = -WholePulses(axis);
    axis.encoderOffset = -WholePulses(axis);
}

double SpeedNow(const Motion& m) { return m.plan.At(m.t).v; }

Path Straight(double origin, int direction)
{
    Path path;
    path.origin = {origin, 0};
    path.unit = {static_cast<double>(direction), 0};
    return path;
}

struct Stop {
    enum Kind { AtOnce, AtRate, Within } kind;
    double time = 0;
};

void Apply(Card& card, Motion& m, Stop stop)
{
    if (stop.kind == Stop::AtOnce) {
        Settle(card, m);
        return;
    }
    m.stopping = true;
    if (stop.kind == Stop::Within) {
        m.plan = profile::PlanStopWithin(m.t, m.s, SpeedNow(m), stop.time, m.path.length);
        return;
    }
    // A move whose own end comes before the stopping distance simply ends.
    const profile::Plan stopping = profile::PlanStopAtRate(m.t, m.s, SpeedNow(m), m.speeds);
    if (stopping.FinalDistance() < m.path.length)
        m.plan = stopping;
}

bool StopsWithOthers(Card& card, const Motion& m)
{
    for (int k = 0; k < m.path.axes; ++k)
        if (AxisOf(card, m, k).syncStopMode == 1)
            return true;
    return false;
}

// A move of an axis whose sync stop mode is 1 takes every other such move of
// the card with it when it stops early, the same way.
void StopPartners(Card& card, const Motion& first, Stop stop)
{
    if (!StopsWithOthers(card, first))
        return;
    for (Motion& m : card.motions) {
        if (&m == &first || !Running(m) || (m.stopping && stop.kind != Stop::AtOnce) || !StopsWithOthers(card, m))
            continue;
        m.homing = Homing::None;
        m.reverseWhenStopped = false;
        Apply(card, m, stop);
    }
}

// A homing search that met a limit goes back the other way, from rest.
void Reverse(Card& card, Motion& m)
{
    Axis& axis = AxisOf(card, m, 0);
    Travel(axis, std::round(m.path.Coord(0, m.s)), 0);
    m.direction = -m.direction;
    m.path = Straight(axis.physical, m.direction);
    m.plan = profile::PlanRun(m.t, 0, 0, m.speeds);
    m.s = 0;
    m.reversed = true;
    m.stopping = false;
    m.reverseWhenStopped = false;
}

// The `count`-th index mark beyond `from` going in `direction`.
double IndexBeyond(double from, int direction, int count)
{
    const double pitch = static_cast<double>(kIndexPitch);
    const double first = direction > 0 ? (std::floor(from / pitch) + 1) * pitch : (std::ceil(from / pitch) - 1) * pitch;
    return first + direction * (count - 1) * pitch;
}

// Crossing: the count of an axis arrives at a trigger position or an index
// mark (latch.h).
enum class Kind { End, Limit, Home, Index, Crossing };

struct Event {
    double t = kInfinity;
    Motion* m = nullptr;
    Kind kind = Kind::End;
    int axis = 0;
    double s = 0;     // where along the path
    double point = 0; // Crossing: the whole physical position arrived at
};

// How a move meets a mark: a limit (Beyond) at once when it starts at or
// past it heading further out; a switch or an index (On) when it reaches it,
// at once when it starts on it; a crossing (Arriving) only coming from the
// near side, so that a move starting on it, or just handled there, does not
// meet it again until it has left it.
enum class Reach { Beyond, On, Arriving };

// A mark at `at` on coordinate k of the path, met going towards `side`.
struct Mark {
    Kind kind;
    int axis;
    double at;
    int side;
    Reach reach;
};

// The first distance in [a, b] where the move meets the mark. Between turns
// every coordinate runs one way, so each stretch holds at most one edge.
std::optional<double> FirstMeeting(const Path& path, const Mark& mark, double a, double b)
{
    if (!(b > a))
        return std::nullopt;
    const auto past = [&](double s) { return mark.side * (path.Coord(mark.axis, s) - mark.at); };
    std::vector<double> stretches = path.Turns(a, b);
    stretches.push_back(b);
    double from = a;
    for (double to : stretches) {
        const double pastFrom = past(from);
        const double pastTo = past(to);
        if (pastTo > pastFrom) {
            if (pastFrom >= 0 && (mark.reach == Reach::Beyond || (mark.reach == Reach::On && pastFrom == 0)))
                return from;
            if (pastFrom < 0 && pastTo >= 0) {
                double lo = from;
                double hi = to;
                for (int i = 0; i < kHalvings; ++i) {
                    const double mid = (lo + hi) / 2;
                    (past(mid) >= 0 ? hi : lo) = mid;
                }
                return hi;
            }
        }
        from = to;
    }
    return std::nullopt;
}

// The count of an axis is its whole pulses, so it arrives at position p
// going up when the axis passes p − ½, going down when it passes p + ½. Of
// the positions p = residue + n × pitch, the first one arrived at is the
// next edge up or down from where the axis is, or, after a turn, the edge
// just behind it (Arriving marks are met only from their near side).
void AddCrossings(std::vector<Mark>& marks, int k, double x, int64_t residue, int64_t pitch)
{
    const auto p = static_cast<double>(pitch);
    for (const int side : {1, -1}) {
        const double first = static_cast<double>(residue) - side * 0.5;
        const double below = first + std::floor((x - first) / p) * p;
        marks.push_back({Kind::Crossing, k, below, side, Reach::Arriving});
        marks.push_back({Kind::Crossing, k, below + p, side, Reach::Arriving});
    }
}

// Crossings come first: met at the same moment as a switch or the end of a
// move, they are handled before it, while the axis still moves.
std::vector<Mark> MarksOf(const Card& card, const Motion& m)
{
    std::vector<Mark> marks;
    for (int k = 0; k < m.path.axes; ++k) {
        const int index = m.axes[static_cast<size_t>(k)];
        const Axis& axis = card.axes[static_cast<size_t>(index)];
        if (latch::TriggerArmed(card, index))
            AddCrossings(marks, k, axis.physical, latch::TriggerResidue(axis), latch::kTriggerPitch);
        if (latch::ClearArmed(card, index))
            AddCrossings(marks, k, axis.physical, 0, kIndexPitch);
    }
    if (m.stopping)
        return marks;
    for (int k = 0; k < m.path.axes; ++k) {
        marks.push_back({Kind::Limit, k, static_cast<double>(kLimit), 1, Reach::Beyond});
        marks.push_back({Kind::Limit, k, -static_cast<double>(kLimit), -1, Reach::Beyond});
    }
    if (m.homing == Homing::Search)
        marks.push_back({Kind::Home, 0, static_cast<double>(kHomeSwitch), m.direction, Reach::On});
    if (m.homing == Homing::Index)
        marks.push_back({Kind::Index, 0, m.indexAt, m.direction, Reach::On});
    return marks;
}

// The earliest thing to happen to a move of the card up to `now`.
Event NextEvent(Card& card, double now)
{
    Event next;
    for (Motion& m : card.motions) {
        if (!Running(m))
            continue;
        const double end = m.plan.End();
        const double reach = m.plan.At(std::min(now + kSlack, end)).s;
        for (const Mark& mark : MarksOf(card, m)) {
            if (const std::optional<double> s = FirstMeeting(m.path, mark, m.s, reach)) {
                const double t = std::max(m.t, m.plan.TimeAt(*s));
                if (t < next.t)
                    next = {t, &m, mark.kind, mark.axis, *s, mark.at + mark.side * 0.5};
            }
        }
        // A mark met right at the end of a move counts first.
        if (end <= now + kSlack && end < next.t)
            next = {std::max(end, m.t), &m, Kind::End, 0};
    }
    return next;
}

void Handle(Card& card, Motion& m, const Event& event)
{
    switch (event.kind) {
    case Kind::End:
        if (m.reverseWhenStopped)
            Reverse(card, m);
        else
            Settle(card, m);
        return;
    case Kind::Limit: {
        // EL mode bit 0: 0 stops at once, 1 decelerates.
        const Stop stop{(AxisOf(card, m, event.axis).elMode & 1) ? Stop::AtRate : Stop::AtOnce};
        const bool reverse = m.homing == Homing::Search && !m.reversed;
        if (!reverse)
            m.homing = Homing::None;
        if (reverse && stop.kind == Stop::AtOnce) {
            Reverse(card, m);
        } else {
            Apply(card, m, stop);
            m.reverseWhenStopped = reverse;
        }
        StopPartners(card, m, stop);
        return;
    }
    case Kind::Home:
        if (m.indexToo) {
            m.homing = Homing::Index;
            m.indexAt = IndexBeyond(static_cast<double>(kHomeSwitch), m.direction, m.indexCount);
            return;
        }
        [[fallthrough]];
    case Kind::Index:
        Settle(card, m);
        ZeroCounters(AxisOf(card, m, 0));
        return;
    case Kind::Crossing:
        latch::Arrive(card, m.axes[static_cast<size_t>(event.axis)], std::llround(event.point));
        return;
    }
}

void Begin(Motion& m, double now)
{
    m.waiting = false;
    m.s = 0;
    m.t = now;
    m.plan = std::isinf(m.path.length) ? profile::PlanRun(now, 0, 0, m.speeds)
                                       : profile::PlanMove(now, 0, 0, m.path.length, m.speeds);
}

// The inputs that the simulated machine holds active stop moves as a card's would: an
// emergency stop (when enabled) every move of the card at once, an alarm its
// axis's move as the alarm's stop mode says, a limit a move heading into it
// as the EL mode says. Run whenever the card has been brought up to a time
// or a move has started.
void HoldBack(Card& card)
{
    const bool emergency = card.emg[0] && card.force[machine::kEmergency] == Force::Active;
    for (Motion& m : card.motions) {
        if (!Running(m))
            continue;
        if (emergency) {
            Settle(card, m);
            continue;
        }
        for (int k = 0; k < m.path.axes; ++k) {
            const Axis& a = AxisOf(card, m, k);
            const double heading = m.path.Slope(k, m.s);
            std::optional<Stop> stop;
            if (a.force[machine::kAlarm] == Force::Active)
                stop = Stop{a.alm[1] == 1 ? Stop::AtRate : Stop::AtOnce};
            else if ((heading > 0 && a.force[machine::kLimitPlus] == Force::Active) ||
                     (heading < 0 && a.force[machine::kLimitMinus] == Force::Active))
                stop = Stop{(a.elMode & 1) ? Stop::AtRate : Stop::AtOnce};
            if (!stop || (m.stopping && stop->kind != Stop::AtOnce))
                continue;
            m.homing = Homing::None;
            m.reverseWhenStopped = false;
            Apply(card, m, *stop);
            StopPartners(card, m, *stop);
            break;
        }
    }
    Tidy(card);
}

int16_t Launch(Card& card, Motion m, double now)
{
    for (int k = 0; k < m.path.axes; ++k)
        if (Find(card, m.axes[static_cast<size_t>(k)]))
            return kBusy;
    m.waiting = AxisOf(card, m, 0).syncOption[0] != 0;
    if (!m.waiting)
        Begin(m, now);
    card.motions.push_back(std::move(m));
    HoldBack(card);
    return kOk;
}

// The angle from `a` to `b` turning counter-clockwise, in (0, 2π].
double TurnBetween(double a, double b)
{
    const double angle = std::fmod(b - a, kTurn);
    return angle > 0 ? angle : angle + kTurn;
}

} // namespace

double Path::Coord(int k, double s) const
{
    const size_t i = static_cast<size_t>(k);
    if (s >= length)
        return end[i];
    if (!arc)
        return origin[i] + unit[i] * s;
    const double f = s / length;
    const double theta = theta0 + sweep * f;
    const double r = r0 + (r1 - r0) * f;
    return centre[i] + r * (k == 0 ? std::cos(theta) : std::sin(theta));
}

double Path::Slope(int k, double s) const
{
    if (!arc)
        return unit[static_cast<size_t>(k)];
    const double f = std::min(s / length, 1.0);
    const double theta = theta0 + sweep * f;
    const double r = r0 + (r1 - r0) * f;
    const double dr = (r1 - r0) / length;
    const double dtheta = sweep / length;
    return k == 0 ? dr * std::cos(theta) - r * std::sin(theta) * dtheta
                  : dr * std::sin(theta) + r * std::cos(theta) * dtheta;
}

std::vector<double> Path::Turns(double a, double b) const
{
    std::vector<double> turns;
    if (!arc || !(b > a))
        return turns;
    const double from = theta0 + sweep * a / length;
    const double to = theta0 + sweep * std::min(b, length) / length;
    const double lo = std::min(from, to);
    const double hi = std::max(from, to);
    for (double q = std::floor(lo / kQuarterTurn) + 1; q * kQuarterTurn < hi; ++q)
        turns.push_back((q * kQuarterTurn - theta0) / sweep * length);
    std::sort(turns.begin(), turns.end());
    return turns;
}

void Advance(Card& card, double now)
{
    for (Event next = NextEvent(card, now); next.m; next = NextEvent(card, now)) {
        for (Motion& m : card.motions)
            if (Running(m))
                MoveTo(card, m, next.t);
        // The event's own move stands exactly where the event was found.
        Place(card, *next.m, next.s, SpeedNow(*next.m));
        Handle(card, *next.m, next);
        Tidy(card);
    }
    for (Motion& m : card.motions)
        if (Running(m))
            MoveTo(card, m, std::max(now, m.t));
    HoldBack(card);
}

const Motion* MotionOf(const Card& card, int index) { return Find(card, index); }

int16_t MoveAxis(Card& card, int index, int64_t distance, bool sCurve, double now)
{
    const Axis& axis = card.axes[static_cast<size_t>(index)];
    Motion m;
    m.axes = {index, index};
    m.path = Straight(axis.physical, distance < 0 ? -1 : 1);
    m.path.length = static_cast<double>(distance < 0 ? -distance : distance);
    m.path.end = {axis.physical + static_cast<double>(distance), 0};
    m.speeds = profile::SpeedsOf(axis.profile, sCurve);
    return Launch(card, std::move(m), now);
}

int16_t RunAxis(Card& card, int index, int direction, double now)
{
    const Axis& axis = card.axes[static_cast<size_t>(index)];
    Motion m;
    m.axes = {index, index};
    m.path = Straight(axis.physical, direction);
    m.speeds = profile::SpeedsOf(axis.profile, false);
    return Launch(card, std::move(m), now);
}

int16_t HomeAxis(Card& card, int index, int direction, bool highSpeed, double now)
{
    const Axis& axis = card.axes[static_cast<size_t>(index)];
    Motion m;
    m.axes = {index, index};
    m.path = Straight(axis.physical, direction);
    m.speeds = profile::SpeedsOf(axis.profile, false);
    if (!highSpeed)
        m.speeds.drive = m.speeds.start;
    m.homing = Homing::Search;
    m.direction = direction;
    m.indexToo = axis.homeMode[0] == 1;
    m.indexCount = std::max<int>(1, axis.homeMode[1]);
    return Launch(card, std::move(m), now);
}

int16_t MoveLine(Card& card, std::array<int, 2> axes, std::array<int64_t, 2> distance, const Profile& vector,
                 double now)
{
    Motion m;
    m.axes = axes;
    Path& path = m.path;
    path.axes = 2;
    path.length = std::hypot(static_cast<double>(distance[0]), static_cast<double>(distance[1]));
    for (size_t k = 0; k < 2; ++k) {
        path.origin[k] = AxisOf(card, m, static_cast<int>(k)).physical;
        path.unit[k] = path.length > 0 ? static_cast<double>(distance[k]) / path.length : 0;
        path.end[k] = path.origin[k] + static_cast<double>(distance[k]);
    }
    m.speeds = profile::SpeedsOf(vector, false);
    return Launch(card, std::move(m), now);
}

int16_t MoveArc(Card& card, std::array<int, 2> axes, std::array<int64_t, 2> end, std::array<int64_t, 2> centre,
                bool counterClockwise, const Profile& vector, double now)
{
    Motion m;
    m.axes = axes;
    Path& path = m.path;
    path.axes = 2;
    path.arc = true;
    std::array<double, 2> from{};
    std::array<double, 2> to{};
    for (size_t k = 0; k < 2; ++k) {
        path.origin[k] = AxisOf(card, m, static_cast<int>(k)).physical;
        path.centre[k] = path.origin[k] + static_cast<double>(centre[k]);
        path.end[k] = path.origin[k] + static_cast<double>(end[k]);
        from[k] = -static_cast<double>(centre[k]);
        to[k] = static_cast<double>(end[k] - centre[k]);
    }
    path.r0 = std::hypot(from[0], from[1]);
    path.r1 = std::hypot(to[0], to[1]);
    path.theta0 = std::atan2(from[1], from[0]);
    const double theta1 = std::atan2(to[1], to[0]);
    // An arc back to where it starts is a full circle.
    const bool full = end[0] == 0 && end[1] == 0;
    path.sweep = counterClockwise ? (full ? kTurn : TurnBetween(path.theta0, theta1))
                                  : -(full ? kTurn : TurnBetween(theta1, path.theta0));
    // The arc turns at an even rate while its radius changes evenly, so a
    // point on it moves fastest where the radius is largest. Measured there,
    // the length makes the path speed reach the vector speed at that end and
    // stay under it elsewhere; on a true circle it is the arc's length.
    path.length = std::hypot(path.r1 - path.r0, std::max(path.r0, path.r1) * path.sweep);
    m.speeds = profile::SpeedsOf(vector, false);
    return Launch(card, std::move(m), now);
}

int16_t ChangeSpeed(Card& card, int index, double speed)
{
    Motion* m = Find(card, index);
    if (!m) {
        Profile& profile = card.axes[static_cast<size_t>(index)].profile;
        if (speed < profile.start)
            return kBadValue;
        profile.drive = speed;
        return kOk;
    }
    if (speed < m->speeds.start)
        return kBadValue;
    // A stop under way is not undone by a new speed.
    if (m->stopping)
        return kOk;
    m->speeds.drive = speed;
    if (m->waiting)
        return kOk;
    const double v = SpeedNow(*m);
    m->plan = std::isinf(m->path.length) ? profile::PlanRun(m->t, m->s, v, m->speeds)
                                         : profile::PlanMove(m->t, m->s, v, m->path.length, m->speeds);
    return kOk;
}

namespace {

void StopOne(Card& card, int index, Stop stop)
{
    Motion* m = Find(card, index);
    if (!m)
        return;
    m->homing = Homing::None;
    m->reverseWhenStopped = false;
    if (m->waiting) {
        m->done = true;
    } else if (!m->stopping || stop.kind == Stop::AtOnce) {
        Apply(card, *m, stop);
        StopPartners(card, *m, stop);
    }
    Tidy(card);
}

} // namespace

void DecelStop(Card& card, int index, double time)
{
    StopOne(card, index, time > 0 ? Stop{Stop::Within, time} : Stop{Stop::AtOnce});
}

void ImmediateStop(Card& card, int index) { StopOne(card, index, {Stop::AtOnce}); }

void StartWaiting(Card& card, double now)
{
    for (Motion& m : card.motions)
        if (m.waiting)
            Begin(m, now);
    HoldBack(card);
}

void StopAll(Card& card)
{
    for (Motion& m : card.motions) {
        if (m.waiting)
            m.done = true;
        else
            Settle(card, m);
    }
    Tidy(card);
}

} // namespace tolvane::motion

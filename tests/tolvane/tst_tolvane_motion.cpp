// The simulated axes moving under the test clock, through the exported calls.
#include <QTest>

#include <algorithm>
#include <cmath>

#include "support/standin.h"
#include "tolvane/clocksteps.h"

namespace {

using tolvane::control::AdvanceClock;

constexpr uint16_t kMoving = 1;
constexpr uint16_t kWaiting = 2;

double Physical(int axis) { return tolvane::control::PhysicalPosition(axis); }

// Where axes 0 and 1 went, step by step, until both are at rest.
struct Track {
    QList<QPointF> points;
    double seconds = 0;
    bool together = true; // neither stopped before the other
};

Track FollowPair(double step)
{
    Track track;
    while (tvn_axis_status(0) != 0 || tvn_axis_status(1) != 0) {
        track.together = track.together && tvn_axis_status(0) == tvn_axis_status(1);
        AdvanceClock(step);
        track.seconds += step;
        track.points << QPointF(tvn_get_position(0), tvn_get_position(1));
        if (track.seconds > 60)
            break;
    }
    return track;
}

} // namespace

class TestTolvaneMotion : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FreshCards(2);
        tolvane::control::UseTestClock(true);
    }

    void fixedMovesEndOnTargetInTheirTime_data()
    {
        QTest::addColumn<bool>("sCurve");
        QTest::addColumn<int>("distance");
        QTest::addColumn<double>("peak"); // 0: below the drive speed
        QTest::addColumn<double>("seconds");

        // Ramps of 0.2 s (240 pulses) between 400 and 2000 pulses/s.
        QTest::newRow("trapezoid") << false << 4000 << 2000.0 << 2.16;
        QTest::newRow("S-curve, backwards") << true << -4000 << 2000.0 << 2.16;
        // Speeding up and slowing down at 8000 pulses/s² meet at √960000.
        QTest::newRow("too short for the drive speed") << false << 100 << std::sqrt(960000.0) << 0.145;
        QTest::newRow("S-curve, too short") << true << 100 << 0.0 << 0.0;
    }

    void fixedMovesEndOnTargetInTheirTime()
    {
        QFETCH(bool, sCurve);
        QFETCH(int, distance);
        QFETCH(double, peak);
        QFETCH(double, seconds);
        tvn_set_st_profile(0, 400, 2000, 0.2, 0.2, 0.05, 0.05);
        QCOMPARE((sCurve ? tvn_s_pmove : tvn_t_pmove)(0, distance, 0), int16_t(0));
        const int sign = distance < 0 ? -1 : 1;
        double fastest = 0;
        int32_t last = 0;
        int steps = 0;
        for (; tvn_axis_status(0) == kMoving && steps < 5000; ++steps) {
            AdvanceClock(0.001);
            QVERIFY(sign * tvn_get_position(0) >= sign * last);
            last = tvn_get_position(0);
            fastest = std::max(fastest, tvn_read_current_speed(0));
        }
        QCOMPARE(tvn_get_position(0), distance);
        QCOMPARE(tvn_get_encoder(0), distance);
        QCOMPARE(tvn_read_current_speed(0), 0.0);
        QCOMPARE(tvn_axis_status(0), uint16_t(0));
        QVERIFY2(fastest <= (peak > 0 ? peak : 1999), qPrintable(QString::number(fastest)));
        QVERIFY(fastest > peak - 10);
        if (seconds > 0)
            QVERIFY2(std::abs(steps - seconds * 1000) <= 1, qPrintable(QString::number(steps)));
    }

    void relativeAndAbsoluteMoves_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("end");

        QTest::newRow("relative") << 0 << 500 << 1500;
        QTest::newRow("relative, backwards") << 0 << -1500 << -500;
        QTest::newRow("absolute") << 1 << 500 << 500;
        QTest::newRow("absolute, negative") << 1 << -250 << -250;
    }

    void relativeAndAbsoluteMoves()
    {
        QFETCH(int, mode);
        QFETCH(int, value);
        QFETCH(int, end);
        tvn_set_position(0, 1000);
        tvn_set_encoder(0, -7);
        QCOMPARE(tvn_t_pmove(0, value, static_cast<int16_t>(mode)), int16_t(0));
        QVERIFY(RunToRest(0, 0.01) > 0);
        QCOMPARE(tvn_get_position(0), end);
        // The encoder follows the travel from its own count.
        QCOMPARE(tvn_get_encoder(0), -7 + end - 1000);
        QCOMPARE(Physical(0), double(end - 1000));
    }

    void stopsEndWithinTheirTime_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<bool>("immediate");
        QTest::addColumn<double>("time");
        QTest::addColumn<int>("travel");

        // From 2000 pulses/s down to rest in 0.5 s: 500 pulses.
        QTest::newRow("decelerating") << 1 << false << 0.5 << 500;
        QTest::newRow("decelerating, negative") << 0 << false << 0.5 << -500;
        QTest::newRow("decelerating in no time") << 1 << false << 0.0 << 0;
        QTest::newRow("immediate") << 0 << true << 0.0 << 0;
    }

    void stopsEndWithinTheirTime()
    {
        QFETCH(int, direction);
        QFETCH(bool, immediate);
        QFETCH(double, time);
        QFETCH(int, travel);
        tvn_set_profile(2, 400, 2000, 0.1, 0.1);
        QCOMPARE(tvn_t_vmove(2, static_cast<int16_t>(direction)), int16_t(0));
        AdvanceClock(1);
        QCOMPARE(tvn_read_current_speed(2), 2000.0);
        const int32_t from = tvn_get_position(2);
        QCOMPARE(from, (direction ? 1 : -1) * (120 + 1800));
        QCOMPARE(immediate ? tvn_imd_stop(2) : tvn_decel_stop(2, time), int16_t(0));
        double last = 2000;
        for (int i = 1; i < std::lround(time * 100); ++i) {
            AdvanceClock(0.01);
            QCOMPARE(tvn_axis_status(2), kMoving);
            QVERIFY(tvn_read_current_speed(2) < last);
            last = tvn_read_current_speed(2);
        }
        AdvanceClock(time > 0 ? 0.01 : 0);
        QCOMPARE(tvn_axis_status(2), uint16_t(0));
        QCOMPARE(tvn_read_current_speed(2), 0.0);
        QCOMPARE(tvn_get_position(2), from + travel);
        AdvanceClock(1);
        QCOMPARE(tvn_get_position(2), from + travel);
        QCOMPARE(Physical(2), double(from + travel));
    }

    void changeSpeedMidMove_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<int>("status");
        QTest::addColumn<double>("fastestSeconds");
        QTest::addColumn<double>("slowestSeconds");

        // Unchanged, the move takes 2.08 s.
        QTest::newRow("faster") << 4000.0 << 0 << 1.0 << 2.0;
        QTest::newRow("slower") << 1000.0 << 0 << 3.0 << 4.0;
        QTest::newRow("below the start speed: refused") << 300.0 << 3 << 2.07 << 2.09;
        QTest::newRow("zero: refused") << 0.0 << 3 << 2.07 << 2.09;
        QTest::newRow("NaN: refused") << std::nan("") << 3 << 2.07 << 2.09;
    }

    void changeSpeedMidMove()
    {
        QFETCH(double, speed);
        QFETCH(int, status);
        QFETCH(double, fastestSeconds);
        QFETCH(double, slowestSeconds);
        tvn_set_profile(0, 400, 2000, 0.1, 0.1);
        tvn_t_pmove(0, 4000, 0);
        AdvanceClock(0.5);
        QCOMPARE(tvn_change_speed(0, speed), int16_t(status));
        const double seconds = 0.5 + RunToRest(0, 0.005);
        QVERIFY2(seconds > fastestSeconds && seconds < slowestSeconds, qPrintable(QString::number(seconds)));
        QCOMPARE(tvn_get_position(0), 4000);
    }

    void busyAxesRefuseMoves()
    {
        tvn_set_profile(0, 400, 2000, 0.1, 0.1);
        tvn_t_pmove(0, 4000, 0);
        tvn_t_line2(2, 1000, 3, 1000, 0);
        AdvanceClock(0.2);
        tolvane::control::ClearCalls();
        tvn_t_pmove(0, 5, 0);
        tvn_s_pmove(0, 5, 1);
        tvn_t_vmove(0, 1);
        tvn_home_move(0, 1, 1);
        tvn_t_pmove(3, 5, 0);
        tvn_t_line2(1, 5, 0, 5, 0);
        const int16_t axes[2] = {1, 2};
        const int32_t end[2] = {0, 0};
        const int32_t centre[2] = {10, 0};
        tvn_rel_arc_move(axes, end, centre, 1);
        QCOMPARE(RecordedCalls(), (QStringList{
                                      "tvn_t_pmove(0, 5, 0) = 6",
                                      "tvn_s_pmove(0, 5, 1) = 6",
                                      "tvn_t_vmove(0, 1) = 6",
                                      "tvn_home_move(0, 1, 1) = 6",
                                      "tvn_t_pmove(3, 5, 0) = 6",
                                      "tvn_t_line2(1, 5, 0, 5, 0) = 6",
                                      "tvn_rel_arc_move([1, 2], [0, 0], [10, 0], 1) = 6",
                                  }));
        QCOMPARE(tvn_axis_status(1), uint16_t(0));
        QCOMPARE(RunToRest(0, 0.01) + 0.2, 2.08);
        QCOMPARE(tvn_get_position(0), 4000);
        QCOMPARE(tvn_get_position(1), 0);
        QCOMPARE(tvn_get_position(3), 1000);
    }

    void refusedCallsLeaveTheAxesAtRest()
    {
        tvn_set_profile(0, 400, 2000, 0.1, 0.1);
        const double nan = std::nan("");
        QCOMPARE(tvn_set_profile(0, 0, 0, 0.1, 0.1), int16_t(3));
        QCOMPARE(tvn_set_profile(0, 100, -2000, 0.1, 0.1), int16_t(3));
        QCOMPARE(tvn_set_profile(0, 3000, 2000, 0.1, 0.1), int16_t(3));
        QCOMPARE(tvn_set_profile(0, 400, 2000, -0.1, 0.1), int16_t(3));
        QCOMPARE(tvn_set_profile(0, 400, nan, 0.1, 0.1), int16_t(3));
        QCOMPARE(tvn_set_st_profile(0, 400, 2000, 0.1, 0.1, 0.06, 0), int16_t(3));
        QCOMPARE(tvn_set_vector_profile(400, 0, 0.1, 0.1), int16_t(3));
        QCOMPARE(tvn_t_pmove(0, 100, 2), int16_t(3));
        QCOMPARE(tvn_t_vmove(0, 2), int16_t(3));
        QCOMPARE(tvn_home_move(0, 0, 0), int16_t(3));
        QCOMPARE(tvn_decel_stop(0, -1), int16_t(3));
        QCOMPARE(tvn_t_line2(0, 100, 4, 100, 0), int16_t(7)); // two cards
        QCOMPARE(tvn_t_line2(0, 100, 0, 100, 0), int16_t(7));
        QCOMPARE(tvn_t_line2(0, 100, 8, 100, 0), int16_t(2));
        const int16_t axes[2] = {0, 1};
        const int32_t end[2] = {100, 0};
        const int32_t noRadius[2] = {0, 0};
        QCOMPARE(tvn_rel_arc_move(axes, end, noRadius, 1), int16_t(3));
        QCOMPARE(tvn_rel_arc_move(axes, end, end, 1), int16_t(3));
        const double farAway[2] = {1e300, 0};
        const double centre[2] = {1, 0};
        QCOMPARE(tvn_rel_arc_move_unitmm(axes, farAway, centre, 1), int16_t(3));
        tvn_set_profile(1, 0, 2000, 0.1, 0.1);
        QCOMPARE(tvn_home_move(1, 1, 0), int16_t(3)); // no start speed to home at

        AdvanceClock(1);
        for (int16_t axis : std::initializer_list<int16_t>{0, 1})
            QCOMPARE(tvn_axis_status(axis), uint16_t(0));
        // The refused profiles left the first one in place.
        tvn_t_pmove(0, 4000, 0);
        QCOMPARE(RunToRest(0, 0.01), 2.08);
    }

    void homing_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("homeMode");
        QTest::addColumn<int>("speedMode");
        QTest::addColumn<int>("elMode");
        QTest::addColumn<double>("physical");

        // The switch is at physical −2500; index marks at every 1000.
        QTest::newRow("from above, low speed") << 5000 << 2 << 0 << 0 << 0 << -2500.0;
        QTest::newRow("from below, high speed") << -10000 << 1 << 0 << 1 << 0 << -2500.0;
        QTest::newRow("from above, on to the index") << 5000 << 2 << 1 << 1 << 0 << -3000.0;
        QTest::newRow("from below, on to the index") << -10000 << 1 << 1 << 0 << 0 << -2000.0;
        QTest::newRow("on the switch") << -2500 << 1 << 0 << 0 << 0 << -2500.0;
        QTest::newRow("away from it: back from the limit") << 0 << 1 << 0 << 1 << 0 << -2500.0;
        QTest::newRow("away from it, decelerating, to the index") << 0 << 1 << 1 << 1 << 1 << -3000.0;
    }

    void homing()
    {
        QFETCH(int, from);
        QFETCH(int, direction);
        QFETCH(int, homeMode);
        QFETCH(int, speedMode);
        QFETCH(int, elMode);
        QFETCH(double, physical);
        tvn_set_profile(0, 5000, 200000, 0.1, 0.1);
        Park(0, from);
        tvn_set_position(0, 123);
        tvn_set_encoder(0, 456);
        tvn_config_home_mode(0, static_cast<int16_t>(homeMode), 1);
        tvn_config_EL_MODE(0, static_cast<int16_t>(elMode));
        QCOMPARE(tvn_home_move(0, static_cast<int16_t>(direction), static_cast<int16_t>(speedMode)), int16_t(0));
        QVERIFY(RunToRest(0, 0.01, 30) >= 0);
        QCOMPARE(Physical(0), physical);
        QCOMPARE(tvn_get_position(0), 0);
        QCOMPARE(tvn_get_encoder(0), 0);
        QCOMPARE(tvn_read_current_speed(0), 0.0);
    }

    void limitStopsARun_data()
    {
        QTest::addColumn<int>("elMode");
        QTest::addColumn<double>("physical");
        QTest::newRow("at once") << 0 << 1e6;
        // From 100000 down to 1000 in 0.1 s, past the switch.
        QTest::newRow("decelerating") << 1 << 1e6 + 5050;
        QTest::newRow("decelerating, active level high") << 3 << 1e6 + 5050;
        QTest::newRow("at once, active level high") << 2 << 1e6;
    }

    void limitStopsARun()
    {
        QFETCH(int, elMode);
        QFETCH(double, physical);
        tvn_config_EL_MODE(0, static_cast<int16_t>(elMode));
        tvn_set_profile(0, 1000, 100000, 0.1, 0.1);
        tvn_set_position(0, 7);
        tvn_t_vmove(0, 1);
        QVERIFY(RunToRest(0, 0.01, 20) > 9);
        QCOMPARE(Physical(0), physical);
        QCOMPARE(tvn_get_position(0), 7 + static_cast<int32_t>(physical));

        // Further out stays put; back in goes.
        QCOMPARE(tvn_t_pmove(0, 10, 0), int16_t(0));
        AdvanceClock(1);
        QCOMPARE(Physical(0), physical);
        QCOMPARE(tvn_t_pmove(0, -10, 0), int16_t(0));
        AdvanceClock(1);
        QCOMPARE(Physical(0), physical - 10);
    }

    void limitsStopInterpolations()
    {
        tvn_set_vector_profile(1000, 500000, 0, 0);
        QCOMPARE(tvn_t_line2(0, 2000000, 1, 1000000, 0), int16_t(0));
        QVERIFY(RunToRest(0, 0.01) > 0);
        QCOMPARE(Physical(0), 1e6);
        QCOMPARE(Physical(1), 5e5);

        // A circle around (999500, 0) from (998500, 0), counter-clockwise:
        // down, then out towards the limit, met 60° before the rightmost point.
        tvn_t_line2(0, 998500, 1, 0, 1);
        QVERIFY(RunToRest(0, 0.01) > 0);
        const int16_t axes[2] = {0, 1};
        const int32_t end[2] = {0, 0};
        const int32_t centre[2] = {1000, 0};
        QCOMPARE(tvn_rel_arc_move(axes, end, centre, 1), int16_t(0));
        // One look after the whole circle would have come back inside.
        AdvanceClock(1);
        QCOMPARE(tvn_axis_status(0), uint16_t(0));
        QCOMPARE(Physical(0), 1e6);
        QCOMPARE(Physical(1), -866.0);
    }

    void lineAxesArriveTogether()
    {
        tvn_set_vector_profile(100, 1000, 0.1, 0.1);
        QCOMPARE(tvn_t_line2(0, 3000, 1, -4000, 0), int16_t(0));
        AdvanceClock(1);
        QCOMPARE(tvn_read_current_speed(0), 600.0);
        QCOMPARE(tvn_read_current_speed(1), 800.0);
        const Track there = FollowPair(0.01);
        QVERIFY(there.together);
        for (const QPointF& p : there.points)
            QVERIFY(std::fabs(4 * p.x() + 3 * p.y()) / 5 <= 1);
        QCOMPARE(there.points.last(), QPointF(3000, -4000));
        // 5000 pulses: 55 on each ramp, 4890 at 1000.
        QCOMPARE(qRound((there.seconds + 1) * 100), 509);
    }

    void arcs_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QPoint>("end");
        QTest::addColumn<double>("lowestY");
        QTest::addColumn<double>("highestY");
        QTest::addColumn<double>("turns");

        // Around (1000, 0) from (0, 0): counter-clockwise starts downwards.
        QTest::newRow("half, counter-clockwise") << 1 << QPoint(2000, 0) << -1000.0 << 0.0 << 0.5;
        QTest::newRow("half, clockwise") << 0 << QPoint(2000, 0) << 0.0 << 1000.0 << 0.5;
        QTest::newRow("quarter, clockwise") << 0 << QPoint(1000, 1000) << 0.0 << 1000.0 << 0.25;
        QTest::newRow("three quarters, counter-clockwise") << 1 << QPoint(1000, 1000) << -1000.0 << 1000.0 << 0.75;
        QTest::newRow("full circle, counter-clockwise") << 1 << QPoint(0, 0) << -1000.0 << 1000.0 << 1.0;
        QTest::newRow("full circle, clockwise") << 0 << QPoint(0, 0) << -1000.0 << 1000.0 << 1.0;
    }

    void arcs()
    {
        QFETCH(int, direction);
        QFETCH(QPoint, end);
        QFETCH(double, lowestY);
        QFETCH(double, highestY);
        QFETCH(double, turns);
        tvn_set_vector_profile(500, 5000, 0, 0);
        const int16_t axes[2] = {0, 1};
        const int32_t ends[2] = {end.x(), end.y()};
        const int32_t centre[2] = {1000, 0};
        QCOMPARE(tvn_rel_arc_move(axes, ends, centre, static_cast<int16_t>(direction)), int16_t(0));
        const Track track = FollowPair(0.001);
        QVERIFY(track.together);
        double lowest = 0;
        double highest = 0;
        QCOMPARE(track.points[10].y() < 0, direction == 1);
        for (const QPointF& p : track.points) {
            QVERIFY2(std::fabs(std::hypot(p.x() - 1000, p.y()) - 1000) <= 1,
                     qPrintable(QStringLiteral("%1, %2").arg(p.x()).arg(p.y())));
            lowest = std::min(lowest, p.y());
            highest = std::max(highest, p.y());
        }
        QVERIFY(std::fabs(lowest - lowestY) <= 1);
        QVERIFY(std::fabs(highest - highestY) <= 1);
        QCOMPARE(track.points.last(), QPointF(end));
        // At 5000 pulses/s without ramps: the arc's length, to the step.
        QVERIFY(std::fabs(track.seconds - turns * 2 * M_PI * 1000 / 5000) <= 0.0015);
    }

    void anArcOffItsCircleNeverOutrunsTheDriveSpeed()
    {
        // From radius 1414 to 2236: the radius grows as the arc turns, and
        // the path speed must still stay at or under the vector speed.
        tvn_set_vector_profile(100, 2000, 0.1, 0.1);
        const int16_t axes[2] = {0, 1};
        const int32_t end[2] = {3000, 2000};
        const int32_t centre[2] = {1000, 1000};
        QCOMPARE(tvn_rel_arc_move(axes, end, centre, 0), int16_t(0));
        const Track track = FollowPair(0.05);
        double fastest = 0;
        for (qsizetype i = 1; i < track.points.size(); ++i) {
            const QPointF step = track.points[i] - track.points[i - 1];
            fastest = std::max(fastest, std::hypot(step.x(), step.y()) / 0.05);
        }
        // Whole pulses at each look: a pulse and a half of slack a step.
        QVERIFY2(fastest <= 2000 + 1.5 / 0.05, qPrintable(QStringLiteral("%1 pulses/s").arg(fastest)));
        QVERIFY(fastest > 1900);
        QCOMPARE(track.points.last(), QPointF(3000, 2000));
    }

    void arcsInMillimetres()
    {
        tvn_set_equiv(0, 100);
        tvn_set_equiv(1, 200);
        tvn_set_position(0, 2000);
        const int16_t axes[2] = {0, 1};
        // Out around (1000, 0) from where the axes are, clockwise, to
        // (1000, 1000) in pulses; back counter-clockwise to command position
        // (2000, 0) around (3000, 0): a quarter circle each, the short way.
        const struct {
            decltype(&tvn_arc_move_unitmm) call;
            double end[2];
            double centre[2];
            int16_t direction;
            QPointF arrival;
        } legs[] = {{tvn_rel_arc_move_unitmm, {10, 5}, {10, 0}, 0, {3000, 1000}},
                    {tvn_arc_move_unitmm, {20, 0}, {30, 0}, 1, {2000, 0}}};
        for (const auto& leg : legs) {
            QCOMPARE(leg.call(axes, leg.end, leg.centre, leg.direction), int16_t(0));
            const Track track = FollowPair(0.005);
            QCOMPARE(track.points.last(), leg.arrival);
            for (const QPointF& p : track.points)
                QVERIFY(p.x() <= 3000 && p.y() >= 0);
            double mm[2] = {};
            tvn_get_position_unitmm(0, &mm[0]);
            tvn_get_position_unitmm(1, &mm[1]);
            QCOMPARE(QPointF(mm[0] * 100, mm[1] * 200), leg.arrival);
        }
        QCOMPARE(Physical(0), 0.0);
    }

    void startMoveAllStartsWaitingAxesTogether()
    {
        for (int16_t axis : std::initializer_list<int16_t>{0, 1, 4}) {
            tvn_set_profile(axis, 400, 2000, 0.1, 0.1);
            tvn_set_sync_option(axis, 1, 0, 1, 0);
        }
        QCOMPARE(tvn_t_pmove(0, 1000, 0), int16_t(0));
        QCOMPARE(tvn_t_vmove(1, 1), int16_t(0));
        QCOMPARE(tvn_t_vmove(4, 1), int16_t(0));
        QCOMPARE(tvn_t_pmove(2, 1000, 0), int16_t(0)); // not waiting
        AdvanceClock(0.5);
        QCOMPARE(tvn_axis_status(0), kWaiting);
        QCOMPARE(tvn_axis_status(1), kWaiting);
        QCOMPARE(tvn_get_position(0), 0);
        QVERIFY(tvn_get_position(2) > 0);
        QCOMPARE(tvn_t_pmove(0, 5, 0), int16_t(6));

        QCOMPARE(tvn_start_move_all(0), int16_t(0));
        QCOMPARE(tvn_axis_status(0), kMoving);
        QCOMPARE(tvn_axis_status(1), kMoving);
        QCOMPARE(tvn_axis_status(4), kWaiting); // another card
        AdvanceClock(0.3);
        QCOMPARE(tvn_get_position(0), tvn_get_position(1));
        QVERIFY(tvn_get_position(0) > 0);

        QCOMPARE(tvn_imd_stop(4), int16_t(0));
        QCOMPARE(tvn_axis_status(4), uint16_t(0));
        tvn_start_move_all(1);
        AdvanceClock(0.1);
        QCOMPARE(tvn_get_position(4), 0);
    }

    void simultaneousStopStopsEveryAxisOfTheCard()
    {
        tvn_t_vmove(0, 1);
        tvn_t_vmove(1, 0);
        tvn_t_line2(2, 100000, 3, 100000, 0);
        tvn_t_vmove(4, 1);
        AdvanceClock(0.3);
        QCOMPARE(tvn_simultaneous_stop(0), int16_t(0));
        QList<int32_t> held;
        for (int16_t axis = 0; axis < 4; ++axis) {
            QCOMPARE(tvn_axis_status(axis), uint16_t(0));
            held << tvn_get_position(axis);
        }
        AdvanceClock(1);
        for (int16_t axis = 0; axis < 4; ++axis)
            QCOMPARE(tvn_get_position(axis), held[axis]);
        QCOMPARE(tvn_axis_status(4), kMoving);
    }

    void syncStopModeStopsTheOthers()
    {
        tvn_set_sync_stop_mode(0, 1);
        tvn_set_sync_stop_mode(1, 1);
        for (int16_t axis : std::initializer_list<int16_t>{0, 1, 2}) {
            tvn_set_profile(axis, 400, 2000, 0.1, 0.1);
            tvn_t_vmove(axis, 1);
        }
        AdvanceClock(1);
        const int32_t from = tvn_get_position(1);
        tvn_decel_stop(0, 0.2);
        AdvanceClock(0.2);
        QCOMPARE(tvn_axis_status(0), uint16_t(0));
        QCOMPARE(tvn_axis_status(1), uint16_t(0));
        QCOMPARE(tvn_get_position(1), from + 200);
        QCOMPARE(tvn_axis_status(2), kMoving);
    }
};

QTEST_GUILESS_MAIN(TestTolvaneMotion)
#include "tst_tolvane_motion.moc"

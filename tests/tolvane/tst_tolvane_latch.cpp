// The latch trigger and the counter clear of the simulated card, computed
// from the test clock however coarsely it is stepped.
#include <QTest>

#include "support/standin.h"
#include "tolvane/clocksteps.h"

namespace {

using tolvane::control::AdvanceClock;

constexpr uint32_t TriggerState(int i) { return 1u << (8 + i); }
constexpr uint32_t ClearState(int i) { return 1u << (12 + i); }

// What a program polling every `step` seconds logs of axis `axis`: each
// latched value, the latch re-armed after each, until the axis rests.
QList<int> LatchedWhilePolling(int16_t axis, double step)
{
    QList<int> values;
    for (int i = 0; i < 100000; ++i) {
        const bool moving = tvn_axis_status(axis) != 0;
        if (tvn_get_latch_flag(0) & TriggerState(axis)) {
            values << tvn_get_latch_value(axis);
            tvn_reset_latch_flag(0);
        }
        if (!moving)
            break;
        AdvanceClock(step);
    }
    return values;
}

// Data rows of one column, "step": seconds between looks at the card.
void StepRows(std::initializer_list<std::pair<const char*, double>> rows)
{
    QTest::addColumn<double>("step");
    for (const auto& [name, step] : rows)
        QTest::newRow(name) << step;
}

} // namespace

class TestTolvaneLatch : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FreshCards(2);
        tolvane::control::UseTestClock(true);
        tvn_set_profile(0, 400, 2000, 0.1, 0.1);
        tvn_set_profile(1, 400, 2000, 0.1, 0.1);
    }

    void eachArrivalLatches_data()
    {
        QTest::addColumn<int>("distance");
        QTest::addColumn<int>("count"); // the encoder count at the start
        QTest::addColumn<double>("step");
        QTest::addColumn<QList<int>>("latched");

        QTest::newRow("4000 up") << 4000 << 0 << 0.01 << QList<int>{1000, 2000, 3000, 4000};
        QTest::newRow("4000 down") << -4000 << 0 << 0.01 << QList<int>{-1000, -2000, -3000, -4000};
        QTest::newRow("from count 250") << 4000 << 250 << 0.01 << QList<int>{1000, 2000, 3000, 4000};
        QTest::newRow("from count -250, down") << -1500 << -250 << 0.01 << QList<int>{-1000};
        // Arrivals at 0.54, 1.04, 1.54 and 2.08 s. Polled rarely, the first
        // arrival after each re-arm is what is held.
        QTest::newRow("polled every 0.7 s") << 4000 << 0 << 0.7 << QList<int>{1000, 2000, 3000};
        QTest::newRow("polled every 1.1 s") << 4000 << 0 << 1.1 << QList<int>{1000, 3000};
    }

    void eachArrivalLatches()
    {
        QFETCH(int, distance);
        QFETCH(int, count);
        QFETCH(double, step);
        QFETCH(QList<int>, latched);
        tvn_set_encoder(0, count);
        QCOMPARE(tvn_t_pmove(0, distance, 0), int16_t(0));
        QCOMPARE(LatchedWhilePolling(0, step), latched);
        QCOMPARE(tvn_get_encoder(0), count + distance);
    }

    void heldLatchKeepsItsFirstValue_data() { StepRows({{"1 ms", 0.001}, {"37 ms", 0.037}, {"one jump", 30.0}}); }

    void heldLatchKeepsItsFirstValue()
    {
        QFETCH(double, step);
        tvn_t_pmove(0, 4000, 0);
        QVERIFY(RunToRest(0, step) > 0);
        QCOMPARE(tvn_get_latch_flag(0) & 0xF00u, TriggerState(0));
        QCOMPARE(tvn_get_latch_value(0), 1000);
        // Re-armed, the latch keeps its value until the next arrival.
        tvn_reset_latch_flag(0);
        QCOMPARE(tvn_get_latch_flag(0) & 0xF00u, 0u);
        QCOMPARE(tvn_get_latch_value(0), 1000);
        tvn_t_pmove(0, -2500, 0);
        QVERIFY(RunToRest(0, step) > 0);
        QCOMPARE(tvn_get_latch_value(0), 3000);
    }

    void liveInputsOnTheirPositions()
    {
        tvn_set_encoder(0, 500);
        QCOMPARE(tvn_get_latch_flag(0) & 0x11u, 0x10u); // physical 0 is an index mark
        tvn_t_pmove(0, 500, 0);
        RunToRest(0, 0.01);
        QCOMPARE(tvn_get_latch_flag(0) & 0x11u, 0x01u); // count 1000, physical 500
        tvn_config_EZ_PIN(0, 0, 0);                     // EZ active low
        QCOMPARE(tvn_get_latch_flag(0) & 0x11u, 0x11u);
        QCOMPARE(tvn_get_latch_flag(0) & 0xF00u, TriggerState(0));
    }

    void allAxesLatchTogether_data() { StepRows({{"fine", 0.001}, {"one jump", 30.0}}); }

    void allAxesLatchTogether()
    {
        QFETCH(double, step);
        tvn_set_encoder(2, 77);
        tvn_config_latch_mode(0, 1);
        // Axis 0 arrives at 1000 when axis 1 is at 500, before axis 1 arrives anywhere.
        QCOMPARE(tvn_t_line2(0, 3000, 1, 1500, 0), int16_t(0));
        QVERIFY(RunToRest(0, step) > 0);
        QCOMPARE(tvn_get_latch_flag(0) & 0xF00u, 0xF00u);
        QCOMPARE(tvn_get_latch_value(0), 1000);
        QCOMPARE(tvn_get_latch_value(1), 500);
        QCOMPARE(tvn_get_latch_value(2), 77);
        QCOMPARE(tvn_get_latch_value(3), 0);
        QCOMPARE(tvn_get_latch_flag(1) & 0xF00u, 0u); // the other card's latches are free
    }

    void latchingAllAxesSparesHeldLatches()
    {
        tvn_t_pmove(0, 1500, 0);
        RunToRest(0, 0.01);
        QCOMPARE(tvn_get_latch_flag(0) & 0xF00u, TriggerState(0));
        tvn_config_latch_mode(0, 1);
        tvn_set_encoder(3, -5);
        tvn_t_pmove(1, 1000, 0);
        RunToRest(1, 0.5);
        QCOMPARE(tvn_get_latch_flag(0) & 0xF00u, 0xF00u);
        QCOMPARE(tvn_get_latch_value(0), 1000); // held since 1000, not 1500
        QCOMPARE(tvn_get_latch_value(1), 1000);
        QCOMPARE(tvn_get_latch_value(3), -5);
        // One axis at a time again.
        tvn_config_latch_mode(0, 0);
        tvn_reset_latch_flag(0);
        tvn_t_pmove(1, 1000, 0);
        RunToRest(1, 0.5);
        QCOMPARE(tvn_get_latch_flag(0) & 0xF00u, TriggerState(1));
    }

    void arcsLatchOnTheWayUpAndBack()
    {
        // A full circle through (0, 0) around (0, 600): axis 1 rises to 1200
        // and comes back, arriving at 1000 twice and at 0 at the end.
        const int16_t axes[2] = {0, 1};
        const int32_t end[2] = {0, 0};
        const int32_t centre[2] = {0, 600};
        tvn_set_vector_profile(400, 2000, 0.1, 0.1);
        QCOMPARE(tvn_rel_arc_move(axes, end, centre, 1), int16_t(0));
        QCOMPARE(LatchedWhilePolling(1, 0.002), (QList<int>{1000, 1000, 0}));
        // Stepped coarsely, the first arrival is the one held.
        tvn_reset_latch_flag(0);
        tvn_rel_arc_move(axes, end, centre, 1);
        QVERIFY(RunToRest(0, 100) > 0);
        QCOMPARE(tvn_get_latch_value(1), 1000);
    }

    void indexClearsTheEncoderOnce_data() { StepRows({{"fine", 0.01}, {"coarse", 0.9}}); }

    void indexClearsTheEncoderOnce()
    {
        QFETCH(double, step);
        tvn_config_EZ_PIN(0, 1, 1);
        tvn_t_pmove(0, 4000, 0);
        // The latch takes the count the axis arrives with at physical 1000;
        // then the index clears it, and the next trigger is 1000 further on.
        if (step < 0.1)
            QCOMPARE(LatchedWhilePolling(0, step), (QList<int>{1000, 1000, 2000, 3000}));
        else
            RunToRest(0, step);
        QCOMPARE(tvn_get_latch_flag(0) & 0xF000u, ClearState(0));
        // Held: the later marks at 2000, 3000 and 4000 cleared nothing.
        QCOMPARE(tvn_get_encoder(0), 3000);
        QCOMPARE(tvn_get_position(0), 4000); // the command position is not cleared
        tvn_reset_clear_flag(0);
        QCOMPARE(tvn_get_latch_flag(0) & 0xF000u, 0u);
        tvn_t_pmove(0, 1500, 0);
        RunToRest(0, step);
        QCOMPARE(tvn_get_encoder(0), 500); // cleared at physical 5000
    }

    void indexClearingNeedsItsMode()
    {
        tvn_config_EZ_PIN(0, 1, 0);
        tvn_t_pmove(0, 2500, 0);
        RunToRest(0, 0.1);
        QCOMPARE(tvn_get_encoder(0), 2500);
        QCOMPARE(tvn_get_latch_flag(0) & 0xF000u, 0u);
        // Homing towards the switch passes the index at physical -1000,
        // which clears the count; at the switch homing zeroes it anyway.
        tvn_config_EZ_PIN(1, 1, 1);
        tvn_home_move(1, 2, 1);
        RunToRest(1, 0.1);
        QCOMPARE(tvn_get_encoder(1), 0);
        QCOMPARE(tvn_get_latch_flag(0) & 0xF000u, ClearState(1));
    }
};

QTEST_GUILESS_MAIN(TestTolvaneLatch)
#include "tst_tolvane_latch.moc"

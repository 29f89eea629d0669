// The simulated machine: inputs held active or inactive as the card
// functions show them at either active level, the moves they stop, the
// encoder's slip. On the test clock, no sleeps.
#include <QTest>

#include "support/standin.h"
#include "cardlib/tolvane.h"

namespace {

enum { Auto, Active, Inactive };
enum { ElPlus, ElMinus, Org, Alm, Inp, Rdy, Ez };
enum { Emg, Sta, Stp, Csd, FirstInput };

// What the I/O window reads of a signal of axis 1.
bool Seen(int signal)
{
    switch (signal) {
    case ElPlus: return tvn_axis_io_status(1) & (1 << 12);
    case ElMinus: return tvn_axis_io_status(1) & (1 << 13);
    case Org: return tvn_axis_io_status(1) & (1 << 14);
    case Alm: return tvn_axis_io_status(1) & (1 << 11);
    case Inp: return tvn_get_rsts(1) & (1u << 15);
    case Rdy: return tvn_read_RDY_PIN(1) != 0;
    default: return tvn_get_rsts(1) & (1u << 10);
    }
}

// Configures the signal's active level as the parameter window would.
void Level(int signal, int16_t logic)
{
    switch (signal) {
    case ElPlus:
    case ElMinus: tvn_config_EL_MODE(1, static_cast<int16_t>(2 * logic)); break;
    case Org: tvn_set_HOME_pin_logic(1, logic, 1); break;
    case Alm: tvn_config_ALM_PIN(1, logic, 0); break;
    case Inp: tvn_config_INP_PIN(1, 1, logic); break;
    case Ez: tvn_config_EZ_PIN(1, logic, 0); break;
    default: break;
    }
}

} // namespace

class TestTolvaneMachine : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FreshCards(2);
        tolvane::control::UseTestClock(true);
    }

    void cleanup() { tolvane::control::UseTestClock(false); }

    void heldSignalsShowAtEitherActiveLevel()
    {
        for (int signal = ElPlus; signal <= Ez; ++signal) {
            for (const int16_t logic : {int16_t(0), int16_t(1)}) {
                Level(signal, logic);
                const bool machine = Seen(signal);
                QCOMPARE(tvnsim_axis_force(1, signal, Active), 0);
                QVERIFY2(Seen(signal), qPrintable(QStringLiteral("signal %1, level %2").arg(signal).arg(logic)));
                QCOMPARE(tvnsim_axis_active(1, signal), 1);
                QCOMPARE(tvnsim_axis_forced(1, signal), int(Active));
                QCOMPARE(tvnsim_axis_force(1, signal, Inactive), 0);
                QVERIFY(!Seen(signal));
                QCOMPARE(tvnsim_axis_force(1, signal, Auto), 0);
                QCOMPARE(Seen(signal), machine);
            }
        }
        QVERIFY(!(tvn_axis_io_status(0) & (1 << 12))); // another axis is its own

        // Card-wide: EMG (when enabled), STA, STP, CSD and the general inputs.
        tvn_config_EMG_PIN(0, 1, 0);
        QCOMPARE(tvnsim_card_force(0, Emg, Inactive), 0);
        QCOMPARE(tvn_get_rsts(0) & (1u << 7), 0u);
        QCOMPARE(tvnsim_card_force(0, Emg, Active), 0);
        QCOMPARE(tvn_get_rsts(1) & (1u << 7), 1u << 7);
        tvn_config_EMG_PIN(0, 0, 0); // disabled: not seen whatever it is
        QCOMPARE(tvn_get_rsts(1) & (1u << 7), 0u);
        for (int signal : {Sta, Stp, Csd}) {
            const uint32_t bit = 1u << (signal == Csd ? 4 : signal == Sta ? 5 : 6);
            QCOMPARE(tvnsim_card_force(0, signal, Active), 0);
            QCOMPARE(tvn_get_rsts(0) & bit, bit);
        }
        tvn_write_outbit(0, 7, 1); // looped back to input 7
        QCOMPARE(tvnsim_card_force(0, FirstInput + 6, Inactive), 0);
        QCOMPARE(tvn_read_inbit(0, 7), int16_t(0));
        QCOMPARE(tvnsim_card_force(0, FirstInput + 2, Active), 0);
        QCOMPARE(tvn_read_inbit(0, 3), int16_t(1));
        QCOMPARE(tvn_read_inbit(4, 3), int16_t(0)); // no such card

        QCOMPARE(tvnsim_axis_force(99, Alm, Active), 2);
        QCOMPARE(tvnsim_axis_force(1, 7, Active), 3);
        QCOMPARE(tvnsim_card_force(9, Emg, Active), 1);
        QCOMPARE(tvnsim_axis_active(1, -1), -1);
    }

    void aLimitHeldDuringAMoveStopsItAsTheElModeSays_data()
    {
        QTest::addColumn<int>("elMode");
        QTest::addColumn<bool>("decelerates");
        QTest::newRow("immediate, active low") << 0 << false;
        QTest::newRow("immediate, active high") << 2 << false;
        QTest::newRow("decelerating, active high") << 3 << true;
    }

    void aLimitHeldDuringAMoveStopsItAsTheElModeSays()
    {
        QFETCH(int, elMode);
        QFETCH(bool, decelerates);
        tvn_config_EL_MODE(0, static_cast<int16_t>(elMode));
        tvn_set_profile(0, 400, 2000, 0.1, 0.1);
        tvn_t_vmove(0, 1);
        tolvane::control::AdvanceClock(1);
        QCOMPARE(tvn_read_current_speed(0), 2000.0);
        tvnsim_axis_force(0, ElMinus, Active); // behind it: no matter
        QCOMPARE(tvn_read_current_speed(0), 2000.0);
        tvnsim_axis_force(0, ElPlus, Active);
        QCOMPARE(tvn_read_current_speed(0) > 0, decelerates);
        tolvane::control::AdvanceClock(0.2);
        QCOMPARE(tvn_read_current_speed(0), 0.0);
        QCOMPARE(tvn_axis_status(0) & 1, 0);
        QVERIFY(tvn_axis_io_status(0) & (1 << 12)); // the reason, as the card shows it

        // A move into the held limit stops where it starts; away from it, it runs.
        tvn_t_vmove(0, 1);
        tolvane::control::AdvanceClock(0.2);
        QCOMPARE(tvn_read_current_speed(0), 0.0);
        tvnsim_axis_force(0, ElMinus, Auto);
        tvn_t_vmove(0, 0);
        tolvane::control::AdvanceClock(0.5);
        QCOMPARE(tvn_read_current_speed(0), 2000.0);
    }

    void anAlarmStopsItsAxisAndTheEmergencyStopTheCard()
    {
        tvn_set_profile(0, 400, 2000, 0.1, 0.1);
        tvn_set_profile(1, 400, 2000, 0.1, 0.1);
        tvn_t_vmove(0, 1);
        tvn_t_vmove(1, 0);
        tolvane::control::AdvanceClock(1);
        tvnsim_axis_force(0, Alm, Active);
        QCOMPARE(tvn_read_current_speed(0), 0.0); // at once
        QCOMPARE(tvn_read_current_speed(1), 2000.0);
        tvnsim_axis_force(0, Alm, Auto);
        tvn_config_ALM_PIN(0, 1, 1); // mode 1: it slows down at its rate
        tvn_t_vmove(0, 1);
        tolvane::control::AdvanceClock(0.5);
        tvnsim_axis_force(0, Alm, Active);
        QVERIFY(tvn_read_current_speed(0) > 0);
        tolvane::control::AdvanceClock(0.2);
        QCOMPARE(tvn_read_current_speed(0), 0.0);
        tvnsim_axis_force(0, Alm, Auto);

        tvn_config_EMG_PIN(0, 0, 1);
        tvnsim_card_force(0, Emg, Active); // disabled: nothing stops
        QCOMPARE(tvn_read_current_speed(1), 2000.0);
        tvn_t_vmove(0, 1);
        tolvane::control::AdvanceClock(0.5);
        tvn_config_EMG_PIN(0, 1, 1);
        QCOMPARE(tvn_read_current_speed(0), 0.0);
        QCOMPARE(tvn_read_current_speed(1), 0.0);
        QCOMPARE(tvn_get_rsts(0) & (1u << 7), 1u << 7);
    }

    void aLineStopsWhenEitherAxisHeadsIntoAHeldLimit()
    {
        tvn_set_profile(2, 400, 2000, 0.1, 0.1);
        tvn_t_line2(2, 100000, 3, -100000, 0);
        tolvane::control::AdvanceClock(1);
        tvnsim_axis_force(3, ElPlus, Active); // behind axis 3
        QVERIFY(tvn_axis_status(2) & 1);
        tvnsim_axis_force(3, ElMinus, Active);
        QCOMPARE(tvn_axis_status(2) & 1, 0);
        QCOMPARE(tvn_axis_status(3) & 1, 0);
    }

    void encoderSlipIsAFollowingError()
    {
        tvn_set_profile(0, 400, 2000, 0, 0);
        tvn_t_pmove(0, 1000, 0);
        tolvane::control::AdvanceClock(1);
        QCOMPARE(tvn_get_position(0) - tvn_get_encoder(0), 0);
        QCOMPARE(tvnsim_set_encoder_slip(0, 25), 0);
        QCOMPARE(tvnsim_encoder_slip(0), 25);
        QCOMPARE(tvn_get_position(0), 1000);
        QCOMPARE(tvn_get_encoder(0), 975);
        tvn_set_encoder(0, 0); // the count is set as told, the slip stays
        QCOMPARE(tvn_get_encoder(0), 0);
        tvnsim_set_encoder_slip(0, -5);
        QCOMPARE(tvn_get_encoder(0), 30);
    }
};

QTEST_GUILESS_MAIN(TestTolvaneMachine)
#include "tst_tolvane_machine.moc"

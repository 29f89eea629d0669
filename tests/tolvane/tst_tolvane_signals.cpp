// The simulated card's inputs as the status words, pins and ports show them.
#include <QTest>

#include "support/standin.h"
#include "tolvane/clocksteps.h"

namespace {

using tolvane::control::AdvanceClock;
using tolvane::control::Input;

// Bits of tvn_get_rsts.
constexpr uint32_t kCsd = 1u << 4, kSta = 1u << 5, kStp = 1u << 6, kEmg = 1u << 7, kJogPlus = 1u << 11,
                   kJogMinus = 1u << 12, kSd = 1u << 14, kInp = 1u << 15;
constexpr uint32_t kCardWide = kCsd | kSta | kStp | kEmg;
// Bits of tvn_axis_io_status.
constexpr uint16_t kAlm = 1u << 11, kElPlus = 1u << 12, kElMinus = 1u << 13, kOrg = 1u << 14;

} // namespace

class TestTolvaneSignals : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FreshCards(2);
        tolvane::control::UseTestClock(true);
    }

    void outputsLoopBackToTheirInputs()
    {
        tvn_write_outbit(0, 3, 1);
        QCOMPARE(tvn_read_inbit(0, 3), int16_t(1));
        QCOMPARE(tvn_read_inbit(0, 4), int16_t(0));
        QCOMPARE(tvn_read_inport(1), 0); // the other card's board
        // A forced input stays on whatever the outputs do.
        tolvane::control::SetGeneralInputs(0, 1 << 19);
        QCOMPARE(tvn_read_inport(0), (1 << 2) | (1 << 19));
        tvn_write_outport(0, -1);
        QCOMPARE(tvn_read_inport(0), (1 << 20) - 1); // 20 inputs, whatever the word held
        tvn_write_outport(0, 0);
        QCOMPARE(tvn_read_inbit(0, 20), int16_t(1));
        QCOMPARE(tvn_read_inbit(0, 3), int16_t(0));
    }

    void readyFollowsServoOnAfterTheDriveStarts()
    {
        tvn_write_SEVON_PIN(1, 1);
        QCOMPARE(tvn_read_SEVON_PIN(1), int16_t(1));
        // Twenty steps of 10 ms sum to a shade under 0.2 s: still ready at 0.2.
        for (int i = 0; i < 19; ++i)
            AdvanceClock(0.01);
        QCOMPARE(tvn_read_RDY_PIN(1), int16_t(0));
        AdvanceClock(0.01);
        QCOMPARE(tvn_read_RDY_PIN(1), int16_t(1));
        tvn_write_SEVON_PIN(1, 1); // again: the drive stays ready
        QCOMPARE(tvn_read_RDY_PIN(1), int16_t(1));
        tvn_write_SEVON_PIN(1, 0);
        QCOMPARE(tvn_read_RDY_PIN(1), int16_t(0));
        tvn_write_SEVON_PIN(1, 1);
        AdvanceClock(0.1);
        QCOMPARE(tvn_read_RDY_PIN(1), int16_t(0));
        QCOMPARE(tvn_read_RDY_PIN(0), int16_t(0));
    }

    void inPositionAtRestWithServoOn()
    {
        QCOMPARE(tvn_get_rsts(0) & kInp, 0u);
        tvn_write_SEVON_PIN(0, 1);
        QCOMPARE(tvn_get_rsts(0) & kInp, kInp);
        tvn_t_pmove(0, 500, 0);
        AdvanceClock(0.05);
        QCOMPARE(tvn_get_rsts(0) & kInp, 0u);
        QVERIFY(RunToRest(0, 0.01) > 0);
        QCOMPARE(tvn_get_rsts(0) & kInp, kInp);
        // Active low: the lamp shows the drive out of position.
        tvn_config_INP_PIN(0, 1, 0);
        QCOMPARE(tvn_get_rsts(0) & kInp, 0u);
        tvn_write_SEVON_PIN(0, 0);
        QCOMPARE(tvn_get_rsts(0) & kInp, kInp);
    }

    void drivenInputsAgainstTheirLevels_data()
    {
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("logic");   // -1: the input has no level setting
        QTest::addColumn<int>("enabled"); // -1: no enable either
        QTest::addColumn<bool>("high");
        QTest::addColumn<bool>("active");

        const int alarm = int(Input::Alarm), sd = int(Input::SlowDown), emg = int(Input::Emergency);
        QTest::newRow("ALM idle, active high") << alarm << 1 << -1 << false << false;
        QTest::newRow("ALM driven, active high") << alarm << 1 << -1 << true << true;
        QTest::newRow("ALM idle, active low") << alarm << 0 << -1 << false << true;
        QTest::newRow("ALM driven, active low") << alarm << 0 << -1 << true << false;
        QTest::newRow("SD driven, active high") << sd << 1 << 1 << true << true;
        QTest::newRow("SD idle, active low") << sd << 0 << 1 << false << true;
        QTest::newRow("SD disabled") << sd << 0 << 0 << false << false;
        QTest::newRow("EMG idle, active low") << emg << 0 << 1 << false << true;
        QTest::newRow("EMG driven, active high") << emg << 1 << 1 << true << true;
        QTest::newRow("EMG disabled") << emg << 1 << 0 << true << false;
        QTest::newRow("J+") << int(Input::JogPlus) << -1 << -1 << true << true;
        QTest::newRow("J-") << int(Input::JogMinus) << -1 << -1 << true << true;
        QTest::newRow("CSD") << int(Input::CardSlowDown) << -1 << -1 << true << true;
        QTest::newRow("STA") << int(Input::CardStart) << -1 << -1 << true << true;
        QTest::newRow("STP idle") << int(Input::CardStop) << -1 << -1 << false << false;
    }

    void drivenInputsAgainstTheirLevels()
    {
        QFETCH(int, input);
        QFETCH(int, logic);
        QFETCH(int, enabled);
        QFETCH(bool, high);
        QFETCH(bool, active);
        const auto which = static_cast<Input>(input);
        const auto l = static_cast<int16_t>(logic);
        const auto e = static_cast<int16_t>(enabled);
        // Axis 5 is axis 1 of card 1; the card-wide inputs belong to card 1.
        uint32_t bit = 0;
        uint16_t ioBit = 0;
        switch (which) {
        case Input::Alarm:
            tvn_config_ALM_PIN(5, l, 0);
            ioBit = kAlm;
            break;
        case Input::SlowDown:
            tvn_config_SD_PIN(5, e, l, 0);
            bit = kSd;
            break;
        case Input::JogPlus: bit = kJogPlus; break;
        case Input::JogMinus: bit = kJogMinus; break;
        case Input::CardSlowDown: bit = kCsd; break;
        case Input::CardStart: bit = kSta; break;
        case Input::CardStop: bit = kStp; break;
        case Input::Emergency:
            tvn_config_EMG_PIN(1, e, l);
            bit = kEmg;
            break;
        }
        const bool cardWide = (bit & kCardWide) != 0;
        tolvane::control::SetInput(cardWide ? 1 : 5, which, high);
        QCOMPARE(tvn_get_rsts(5) & bit, active ? bit : 0u);
        QCOMPARE(uint16_t(tvn_axis_io_status(5) & ioBit), active ? ioBit : uint16_t(0));
        // A card-wide input shows on every axis of its card, and only there.
        QCOMPARE(tvn_get_rsts(6) & bit, cardWide && active ? bit : 0u);
        QCOMPARE(tvn_get_rsts(1) & bit, 0u);
        QCOMPARE(uint16_t(tvn_axis_io_status(1) & ioBit), uint16_t(0));
    }

    void switchesFollowThePhysicalPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("expected");
        QTest::newRow("in the middle") << 0 << 0;
        QTest::newRow("home switch centre") << -2500 << int(kOrg);
        QTest::newRow("home switch, upper edge") << -2300 << int(kOrg);
        QTest::newRow("above the cam") << -2299 << 0;
        QTest::newRow("home switch, lower edge") << -2700 << int(kOrg);
        QTest::newRow("below the cam") << -2701 << 0;
        QTest::newRow("EL+") << 1'000'000 << int(kElPlus);
        QTest::newRow("short of EL-") << -999'999 << 0;
        QTest::newRow("EL-") << -1'000'000 << int(kElMinus);
    }

    void switchesFollowThePhysicalPosition()
    {
        QFETCH(int, position);
        QFETCH(int, expected);
        tvn_set_profile(2, 1000, 500000, 0.1, 0.1);
        tvn_set_position(2, 40); // the switches do not care where the counters are
        tvn_t_pmove(2, position, 0);
        QVERIFY(RunToRest(2, 0.5) >= 0);
        QCOMPARE(tolvane::control::PhysicalPosition(2), double(position));
        constexpr uint16_t kSwitches = kElPlus | kElMinus | kOrg;
        QCOMPARE(tvn_axis_io_status(2) & kSwitches, expected);
        // Active low, each switch reads the other way round.
        tvn_config_EL_MODE(2, 1);
        tvn_set_HOME_pin_logic(2, 0, 1);
        QCOMPARE(tvn_axis_io_status(2) & kSwitches, ~expected & kSwitches);
    }
};

QTEST_GUILESS_MAIN(TestTolvaneSignals)
#include "tst_tolvane_signals.moc"

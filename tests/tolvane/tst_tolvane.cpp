#include <QTest>

#include <cstring>

#include "support/standin.h"
#include "cardlib/tolvane.h"

class TestTolvane : public QObject {
    Q_OBJECT

private slots:
    void init() { FreshCards(2); }

    void cardCountAndAxisNumbers()
    {
        QCOMPARE(tvn_board_init(), int16_t(2));
        // Four axes a card: 0 to 7 exist with two cards, 8 does not.
        QCOMPARE(tvn_set_position(7, 5), int16_t(0));
        QCOMPARE(tvn_get_position(7), 5);
        QVERIFY(tvn_set_position(8, 5) != 0);
        QVERIFY(tvn_set_position(-1, 5) != 0);
        QCOMPARE(tvn_get_position(8), 0);
        QVERIFY(tvn_write_outport(2, 1) != 0);
        QCOMPARE(tvn_write_outport(1, 1), int16_t(0));
        QCOMPARE(tvn_read_outport(1), 1);
        QCOMPARE(tvn_read_outport(0), 0);

        tolvane::control::Reset(0);
        QCOMPARE(tvn_board_init(), int16_t(0));
        QVERIFY(tvn_config_latch_mode(0, 1) != 0);
    }

    void badArgumentsChangeNothing()
    {
        QCOMPARE(tvn_set_equiv(1, 100.0), int16_t(0));
        QVERIFY(tvn_set_equiv(1, 0.0) != 0);
        QVERIFY(tvn_set_equiv(1, -1.0) != 0);
        double equiv = 0;
        tvn_get_equiv(1, &equiv);
        QCOMPARE(equiv, 100.0);
        QVERIFY(tvn_get_equiv(1, nullptr) != 0);

        QCOMPARE(tvn_write_outbit(0, 20, 1), int16_t(0));
        QVERIFY(tvn_write_outbit(0, 21, 1) != 0);
        QVERIFY(tvn_write_outbit(0, 0, 1) != 0);
        QVERIFY(tvn_write_outbit(0, 3, 2) != 0);
        QCOMPARE(tvn_read_outport(0), int32_t(1) << 19);
        QCOMPARE(tvn_read_outbit(0, 20), int16_t(1));
        QCOMPARE(tvn_read_outbit(0, 19), int16_t(0));

        QVERIFY(tvn_set_pulse_outmode(0, 8) != 0);
        QVERIFY(tvn_config_SD_PIN(0, 0, 0, 4) != 0);
        QVERIFY(tvn_rel_arc_move(nullptr, nullptr, nullptr, 0) != 0);
        QVERIFY(tvn_download_firmware(0, "") != 0);
        QVERIFY(tvn_download_firmware(0, "/nonexistent/firmware.s6x") != 0);
    }

    void pinsAndRegistersReadBack()
    {
        tvn_write_SEVON_PIN(1, 1);
        tvn_write_CMP_PIN(1, 1);
        tvn_write_ERC_PIN(1, 1);
        QCOMPARE(tvn_read_SEVON_PIN(1), int16_t(1));
        QCOMPARE(tvn_read_CMP_PIN(1), int16_t(1));
        QCOMPARE(tvn_get_rsts(1) & (1u << 9), 1u << 9);
        QCOMPARE(tvn_read_SEVON_PIN(0), int16_t(0));
        write_dword_pld_register(1, 64, -2);
        QCOMPARE(read_dword_pld_register(1, 64), -2);
        QCOMPARE(read_dword_pld_register(0, 64), 0);
        tvn_set_encoder(3, 77);
        QCOMPARE(tvn_get_encoder(3), 77);
    }

    void traceLines()
    {
        tvn_board_init();
        tvn_set_profile(0, 2000, 0.1, -3.2, 1e21);
        double mm = 0;
        tvn_set_position(0, 250);
        tvn_get_position_unitmm(0, &mm);
        const int16_t axes[2] = {0, 1};
        const int32_t ends[2] = {1000, -2000};
        const int32_t centres[2] = {500, 0};
        tvn_arc_move(axes, ends, centres, 1);
        tvn_download_firmware(0, "/no/such file.s6x");
        char release[1024] = {};
        tvn_get_release_version(0, release);
        float fraction = -1;
        tvn_get_progress(0, &fraction);
        tvn_read_current_speed(9);

        QCOMPARE(RecordedCalls(),
                 (QStringList{
                     "tvn_board_init() = 2",
                     "tvn_set_profile(0, 2000, 0.1, -3.2, 1e+21) = 3",
                     "tvn_set_position(0, 250) = 0",
                     "tvn_get_position_unitmm(0, &250) = 0",
                     "tvn_arc_move([0, 1], [1000, -2000], [500, 0], 1) = 0",
                     "tvn_download_firmware(0, \"/no/such file.s6x\") = 5",
                     QStringLiteral("tvn_get_release_version(0, &\"%1\") = 0").arg(QString::fromLatin1(release)),
                     "tvn_get_progress(0, &0) = 0",
                     "tvn_read_current_speed(9) = 0",
                 }));
        QVERIFY(std::strlen(release) > 0);
    }

    void queuedResultsComeFirstThenTheSimulation()
    {
        tolvane::control::QueueResults("tvn_board_init", {1002, -1});
        tolvane::control::QueueResults("tvn_read_current_speed", {12.5});
        QCOMPARE(tvn_board_init(), int16_t(1002));
        QCOMPARE(tvn_board_init(), int16_t(-1));
        QCOMPARE(tvn_board_init(), int16_t(2));
        QCOMPARE(tvn_read_current_speed(0), 12.5);
        QCOMPARE(tvn_read_current_speed(0), 0.0);
        QCOMPARE(RecordedCalls("tvn_board_init"),
                 (QStringList{"tvn_board_init() = 1002", "tvn_board_init() = -1", "tvn_board_init() = 2"}));
    }
};

QTEST_GUILESS_MAIN(TestTolvane)
#include "tst_tolvane.moc"

// The call log records each call as it passed: every kind of argument reads
// as the stand-in's own trace line for the same call.
#include <QTest>

#include "cardlib/binding.h"
#include "cardlib/calllog.h"
#include "support/standin.h"

using namespace cardlib;

namespace {

QStringList LoggedLines()
{
    QStringList lines;
    for (uint64_t s = calllog::First(); s < calllog::Total(); ++s)
        lines << QString::fromStdString(calllog::Line(calllog::At(s)));
    return lines;
}

} // namespace

class TestCallLog : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FreshCards(2);
        calllog::Start(1000);
    }

    void cleanupTestCase() { calllog::Stop(); }

    void everyKindOfArgumentReadsAsTheTrace()
    {
        const int16_t axes[2] = {0, 1};
        const int32_t ends[2] = {2, -3};
        const int32_t centres[2] = {1, 0};
        const double endsMm[2] = {2.5, -3.25};
        const double centresMm[2] = {1, 0.1};
        double position = 0;
        uint32_t hardware = 0, first = 0, firmware = 0;
        int32_t library = 0, second = 0;
        float progress = -1;
        char release[1024] = {};
        tvn_set_profile(0, 400, 2000, 0.1, 0.1); // doubles
        tvn_t_pmove(0, -40000, 1);               // 32-bit
        tvn_imd_stop(0);
        tvn_set_position(0, 123);
        tvn_get_position_unitmm(0, &position); // out double
        tvn_get_position_unitmm(0, nullptr);   // a null out argument
        tvn_arc_move(axes, ends, centres, 1);  // arrays
        tvn_rel_arc_move_unitmm(axes, endsMm, centresMm, 0);
        tvn_arc_move(nullptr, ends, centres, 0); // a null array
        tvn_get_card_version(0, &hardware);      // out unsigned
        tvn_get_card_soft_version(0, &first, &firmware);
        tvn_get_lib_version(&library, &second);            // out 32-bit
        tvn_get_progress(0, &progress);                    // out float
        tvn_get_release_version(0, release);               // out text
        tvn_download_firmware(1, "/no/such/firmware.s6x"); // path
        tvn_axis_status(0);                                // unsigned result
        tvn_read_current_speed(1);                         // double result
        tvn_board_close();                                 // no argument
        QCOMPARE(LoggedLines(), RecordedCalls());
        QVERIFY(LoggedLines().contains("tvn_get_release_version(0, &\"Tolvane stand-in 2026-11-20 build 1187\") = 0"));
    }

    void failuresAreNonZeroStatusesOnly()
    {
        tvn_set_profile(0, 3000, 2000, 0.1, 0.1); // start above drive: refused
        tvn_set_position(0, 5);
        tvn_get_position(0);   // 5 is a value, not a failure
        tvn_read_inbit(0, 99); // a value too, whatever it says
        QCOMPARE(calllog::Failures(), uint64_t(1));
        QVERIFY(calllog::Failed(calllog::At(calllog::First())));
        QVERIFY(!calllog::Failed(calllog::At(calllog::First() + 2)));
        QVERIFY(!calllog::Failed(calllog::At(calllog::First() + 3)));
    }

    void theRingKeepsTheNewestAndCountsTheDropped()
    {
        calllog::Start(10);
        for (int16_t i = 0; i < 25; ++i)
            tvn_get_encoder(i);
        QCOMPARE(calllog::Total(), uint64_t(25));
        QCOMPARE(calllog::First(), uint64_t(15));
        QCOMPARE(calllog::Dropped(), uint64_t(15));
        QCOMPARE(calllog::Line(calllog::At(15)), std::string("tvn_get_encoder(15) = 0"));
        QCOMPARE(calllog::Line(calllog::At(24)), std::string("tvn_get_encoder(24) = 0"));
        QVERIFY(calllog::Milliseconds(calllog::At(24)) >= calllog::Milliseconds(calllog::At(15)));

        calllog::Clear();
        QCOMPARE(calllog::First(), calllog::Total());
        QCOMPARE(calllog::Dropped(), uint64_t(0));
        tvn_imd_stop(0);
        QCOMPARE(LoggedLines(), QStringList{"tvn_imd_stop(0) = 0"});
    }

    void callsOfATimerTickAreMarked()
    {
        tvn_imd_stop(0);
        {
            const calllog::TimerTick tick;
            tvn_get_position(0);
        }
        tvn_imd_stop(1);
        QVERIFY(!calllog::At(calllog::First()).inTimerTick);
        QVERIFY(calllog::At(calllog::First() + 1).inTimerTick);
        QVERIFY(!calllog::At(calllog::First() + 2).inTimerTick);
    }
};

QTEST_GUILESS_MAIN(TestCallLog)
#include "tst_calllog.moc"

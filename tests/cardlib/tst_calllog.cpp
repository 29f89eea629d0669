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
    calllog::Since since(0);
    while (const calllog::Record* record = since.Next())
        lines << QString::fromStdString(calllog::Line(*record));
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
        QVERIFY(calllog::Failed(*calllog::Find(0)));
        QVERIFY(!calllog::Failed(*calllog::Find(2)));
        QVERIFY(!calllog::Failed(*calllog::Find(3)));
    }

    void theRingsKeepTheNewestAndCountTheDropped()
    {
        calllog::Start(10, 10);
        for (int32_t i = 0; i < 25; ++i)
            tvn_set_position(0, i);
        QCOMPARE(calllog::Total(), uint64_t(25));
        QCOMPARE(calllog::Kept(calllog::Ring::Commands), size_t(10));
        QCOMPARE(calllog::Oldest(calllog::Ring::Commands)->sequence, uint64_t(15));
        QCOMPARE(calllog::Dropped(calllog::Ring::Commands), uint64_t(15));
        QVERIFY(!calllog::Find(14));
        QCOMPARE(calllog::Line(*calllog::Find(15)), std::string("tvn_set_position(0, 15) = 0"));
        QCOMPARE(calllog::Line(*calllog::Newest(calllog::Ring::Commands)), std::string("tvn_set_position(0, 24) = 0"));
        QVERIFY(calllog::Milliseconds(*calllog::Find(24)) >= calllog::Milliseconds(*calllog::Find(15)));

        calllog::Clear();
        QCOMPARE(calllog::Kept(calllog::Ring::Commands), size_t(0));
        QVERIFY(!calllog::Oldest(calllog::Ring::Commands));
        QCOMPARE(calllog::Dropped(calllog::Ring::Commands), uint64_t(0));
        tvn_imd_stop(0);
        QCOMPARE(LoggedLines(), QStringList{"tvn_imd_stop(0) = 0"});
        // Writing over a cleared call is not dropping a kept one.
        for (int i = 0; i < 9; ++i)
            tvn_imd_stop(1);
        QCOMPARE(calllog::Dropped(calllog::Ring::Commands), uint64_t(0));
    }

    // A window's timer reads the card thousands of times a second; a command
    // must outlive any number of them, and so must a failed read.
    void commandsAndFailuresOutliveAnyNumberOfReads()
    {
        calllog::Start(10, 100);
        tvn_set_position(0, 7);
        {
            const calllog::TimerTick tick;
            tvn_set_profile(0, 3000, 2000, 0.1, 0.1); // refused, in a tick
            for (int i = 0; i < 1000; ++i)
                tvn_get_position(0);
        }
        tvn_imd_stop(1);
        QCOMPARE(calllog::Kept(calllog::Ring::Commands), size_t(3));
        QCOMPARE(calllog::Kept(calllog::Ring::Reads), size_t(100));
        QCOMPARE(calllog::Dropped(calllog::Ring::Reads), uint64_t(900));
        QCOMPARE(calllog::Dropped(calllog::Ring::Commands), uint64_t(0));

        // Both rings, merged in the order the calls were made.
        QStringList lines = LoggedLines();
        QCOMPARE(lines.size(), 103);
        QCOMPARE(lines.first(), QStringLiteral("tvn_set_position(0, 7) = 0"));
        QVERIFY(lines[1].startsWith("tvn_set_profile(0, 3000"));
        QCOMPARE(lines[2], QStringLiteral("tvn_get_position(0) = 7"));
        QCOMPARE(lines.last(), QStringLiteral("tvn_imd_stop(1) = 0"));
        QCOMPARE(calllog::Find(1)->function, Function::tvn_set_profile);
        QVERIFY(!calllog::Find(2)); // an early read, gone
        QCOMPARE(calllog::RingOf(*calllog::Find(1)), calllog::Ring::Commands);
        QCOMPARE(calllog::RingOf(*calllog::Find(1001)), calllog::Ring::Reads);

        // From the middle on: what is kept from there, nothing before.
        calllog::Since since(950);
        QCOMPARE(since.Next()->sequence, uint64_t(950));
        int count = 1;
        while (since.Next())
            ++count;
        QCOMPARE(count, 1002 - 950 + 1);
    }

    void callsOfATimerTickAreMarked()
    {
        tvn_imd_stop(0);
        {
            const calllog::TimerTick tick;
            tvn_get_position(0);
        }
        tvn_imd_stop(1);
        QVERIFY(!calllog::Find(0)->inTimerTick);
        QVERIFY(calllog::Find(1)->inTimerTick);
        QVERIFY(!calllog::Find(2)->inTimerTick);
    }
};

QTEST_GUILESS_MAIN(TestCallLog)
#include "tst_calllog.moc"

// A thread's processor time: its own work, in seconds, and neither the work
// of other threads nor the time it waits.
#include <QElapsedTimer>
#include <QTest>

#include <thread>

#include "common/cputime.h"

namespace {

// How far a reading may run ahead of the work done: Windows charges a thread
// its time a clock tick (1/64 s) at a time, POSIX systems to the nanosecond.
#ifdef _WIN32
constexpr double kGranularity = 1.0 / 64;
#else
constexpr double kGranularity = 1e-3;
#endif

} // namespace

class TestCpuTime : public QObject {
    Q_OBJECT

private slots:
    void countsTheThreadsWorkInSeconds()
    {
        QElapsedTimer wall;
        wall.start();
        const double start = ThreadProcessorSeconds();
        double spent = 0;
        while (spent < 0.05 && wall.elapsed() < 20000)
            spent = ThreadProcessorSeconds() - start;
        QVERIFY(spent >= 0.05);
        // One thread's processor time cannot run ahead of the clock on the wall.
        const double elapsed = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        QVERIFY2(spent <= elapsed + kGranularity, qPrintable(QStringLiteral("%1 s of %2 s").arg(spent).arg(elapsed)));
    }

    void leavesOutOtherThreadsAndWaiting()
    {
        const double start = ThreadProcessorSeconds();
        double other = 0;
        std::thread busy([&other] {
            const double begin = ThreadProcessorSeconds();
            while (other < 0.1)
                other = ThreadProcessorSeconds() - begin;
        });
        busy.join(); // waits without working
        QVERIFY(other >= 0.1);
        QVERIFY(ThreadProcessorSeconds() - start < 0.05);
    }
};

QTEST_GUILESS_MAIN(TestCpuTime)
#include "tst_cputime.moc"

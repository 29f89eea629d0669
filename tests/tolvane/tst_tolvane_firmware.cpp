// The stand-in's firmware download, run on a thread of its own while this
// thread polls its progress, as Flashmend does. Meant to run under
// ThreadSanitizer as well.
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "support/standin.h"
#include "cardlib/tolvane.h"

namespace {

using Clock = std::chrono::steady_clock;
using tolvane::control::AdvanceClock;

constexpr int16_t kNoCard = 1;
constexpr int16_t kNoFile = 5;
constexpr int16_t kDownloading = 8;

float Progress(int16_t card)
{
    float fraction = -1;
    tvn_get_progress(card, &fraction);
    return fraction;
}

// A download of `path` into `card` on its own thread.
class Download {
public:
    Download(int16_t card, QByteArray path)
        : path_(std::move(path)), thread_([this, card] {
              result_ = tvn_download_firmware(card, path_.constData());
              done_ = true;
          })
    {}
    ~Download() { Wait(); }

    void Wait()
    {
        if (thread_.joinable())
            thread_.join();
    }
    bool Done() const { return done_; }
    int16_t Result() const { return result_; }

private:
    QByteArray path_;
    std::atomic<int16_t> result_{-1};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

} // namespace

class TestTolvaneFirmware : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FreshCards(2);
        QVERIFY(dir_.isValid());
        QFile file(Firmware());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("S00F000068656C6C6F202020202000003C\n");
    }

    // Answered at once: without a file or a card nothing is written.
    void refusedDownloads_data()
    {
        QTest::addColumn<int>("card");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("result");
        QTest::newRow("missing file") << 0 << dir_.filePath("missing.s6x") << int(kNoFile);
        QTest::newRow("empty path") << 0 << QString() << int(kNoFile);
        QTest::newRow("a folder") << 0 << dir_.path() << int(kNoFile);
        QTest::newRow("no such card") << 2 << Firmware() << int(kNoCard);
    }

    void refusedDownloads()
    {
        QFETCH(int, card);
        QFETCH(QString, path);
        QFETCH(int, result);
        const auto start = Clock::now();
        QCOMPARE(tvn_download_firmware(static_cast<int16_t>(card), QFile::encodeName(path).constData()),
                 int16_t(result));
        QVERIFY(Clock::now() - start < std::chrono::milliseconds(500));
        QCOMPARE(Progress(0), 0.0f);
    }

    void progressFollowsTheTestClock()
    {
        tolvane::control::UseTestClock(true);
        Download download(0, QFile::encodeName(Firmware()));
        // The download has begun once a step of the clock shows in its progress.
        float fraction = 0;
        for (int i = 0; i < 5000 && fraction == 0; ++i) {
            AdvanceClock(0.0001);
            fraction = Progress(0);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        QVERIFY(fraction > 0 && fraction < 0.5f);
        // A second download into the same card is refused at once; the
        // other card is not busy.
        QCOMPARE(tvn_download_firmware(0, QFile::encodeName(Firmware()).constData()), kDownloading);
        QCOMPARE(Progress(1), 0.0f);
        for (int step = 0; step < 5; ++step) {
            AdvanceClock(0.5);
            const float next = Progress(0);
            QVERIFY2(next > fraction && next < 1.0f, qPrintable(QString::number(next)));
            fraction = next;
            QVERIFY(!download.Done());
        }
        AdvanceClock(0.5);
        download.Wait();
        QCOMPARE(download.Result(), int16_t(0));
        QCOMPARE(Progress(0), 1.0f);
        QCOMPARE(RecordedCalls("tvn_download_firmware").last(),
                 QStringLiteral("tvn_download_firmware(0, \"%1\") = 0").arg(Firmware()));
    }

    void theSimulatedMachineMakesTheNextDownloadFailOrStall()
    {
        tolvane::control::UseTestClock(true);
        const QByteArray path = QFile::encodeName(Firmware());
        // A code: the download fails with it after a third of the way, once.
        QCOMPARE(tvnsim_download_fault(0, 2101, -1), 0);
        {
            Download download(0, path);
            while (Progress(0) == 0)
                AdvanceClock(0.01), std::this_thread::sleep_for(std::chrono::milliseconds(1));
            while (!download.Done())
                AdvanceClock(0.1), std::this_thread::sleep_for(std::chrono::milliseconds(1));
            QCOMPARE(download.Result(), int16_t(2101));
            QCOMPARE(Progress(0), 0.0f);
        }
        // A stall: the progress stops at its percentage until let go.
        QCOMPARE(tvnsim_download_fault(0, 0, 40), 0);
        Download stalled(0, path);
        while (Progress(0) == 0)
            AdvanceClock(0.01), std::this_thread::sleep_for(std::chrono::milliseconds(1));
        for (int i = 0; i < 20; ++i)
            AdvanceClock(1), std::this_thread::sleep_for(std::chrono::milliseconds(1));
        QCOMPARE(Progress(0), 0.4f);
        QVERIFY(!stalled.Done());
        QCOMPARE(tvnsim_release_download(0), 0);
        stalled.Wait();
        QCOMPARE(stalled.Result(), int16_t(9));
        // The fault was for one download: the next one succeeds.
        Download next(0, path);
        while (!next.Done())
            AdvanceClock(0.1), std::this_thread::sleep_for(std::chrono::milliseconds(1));
        QCOMPARE(next.Result(), int16_t(0));
        QCOMPARE(tvnsim_download_fault(0, 5, 100), 3); // no such percentage
    }

    void pollingGoesOnWhileTheDownloadWaits()
    {
        // The monotonic clock: the download really blocks its thread for
        // three seconds, and every poll still answers at once.
        const auto start = Clock::now();
        Download download(0, QFile::encodeName(Firmware()));
        float last = 0;
        Clock::duration slowest{};
        int polls = 0;
        while (!download.Done()) {
            const auto before = Clock::now();
            const float fraction = Progress(0);
            slowest = std::max(slowest, Clock::now() - before);
            QVERIFY(fraction >= last && fraction <= 1.0f);
            last = fraction;
            ++polls;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        const auto took = Clock::now() - start;
        download.Wait();
        QCOMPARE(download.Result(), int16_t(0));
        QCOMPARE(Progress(0), 1.0f);
        QVERIFY(took >= std::chrono::milliseconds(2950));
        QVERIFY(took < std::chrono::seconds(10));
        QVERIFY2(slowest < std::chrono::milliseconds(500), qPrintable(QString::number(slowest.count())));
        QVERIFY(polls > 20);
        // One trace line, written when the download returned, after the
        // polls that ran meanwhile.
        QCOMPARE(RecordedCalls("tvn_download_firmware").size(), 1);
        QVERIFY(RecordedCalls().indexOf(QRegularExpression("tvn_download_firmware.*")) >= polls - 1);
    }

    void scriptedResultsAnswerAtOnce()
    {
        tolvane::control::QueueResults("tvn_download_firmware", {2101, -150});
        const QByteArray path = QFile::encodeName(Firmware());
        const auto start = Clock::now();
        QCOMPARE(tvn_download_firmware(0, path.constData()), int16_t(2101));
        QCOMPARE(tvn_download_firmware(0, path.constData()), int16_t(-150));
        QVERIFY(Clock::now() - start < std::chrono::milliseconds(500));
        QCOMPARE(Progress(0), 0.0f);
    }

private:
    QString Firmware() const { return dir_.filePath(QStringLiteral("固件 v2.s6x")); }

    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestTolvaneFirmware)
#include "tst_tolvane_firmware.moc"

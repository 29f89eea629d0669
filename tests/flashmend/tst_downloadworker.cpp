// The worker and the dialog's polling, across threads. Run under
// ThreadSanitizer by test.sh's full run.
#include <QTest>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "flashmend/downloadworker.h"

using namespace std::chrono_literals;

namespace {

// A download that answers from a list, and lets the test hold each pass
// until it is released, to look at the state in between.
class ScriptedDownload {
public:
    explicit ScriptedDownload(std::vector<int16_t> results) : results_(std::move(results)) {}

    DownloadFunction Function()
    {
        return [this](int16_t card, const QString& path) {
            std::unique_lock lock(mutex_);
            calls_.push_back(QStringLiteral("%1 %2").arg(card).arg(path));
            ++entered_;
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_ >= entered_; });
            return results_.at(calls_.size() - 1);
        };
    }

    void WaitForPass(int pass)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return entered_ >= pass; });
    }

    void Release()
    {
        std::lock_guard lock(mutex_);
        ++released_;
        changed_.notify_all();
    }

    QStringList Calls()
    {
        std::lock_guard lock(mutex_);
        return QStringList(calls_.begin(), calls_.end());
    }

private:
    std::vector<int16_t> results_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<QString> calls_;
    int entered_ = 0;
    int released_ = 0;
};

} // namespace

class TestDownloadWorker : public QObject {
    Q_OBJECT

private slots:
    void secondPassOn2101()
    {
        ScriptedDownload card({2101, 0});
        DownloadState state;
        state.FirmwarePath = QStringLiteral("/tmp/固件 v2.s6x");
        state.DownloadCardNo = 3;
        state.Downloading = 1;
        DownloadWorker worker(state, card.Function(), 0ms);
        worker.Start();
        card.WaitForPass(1);
        QCOMPARE(state.StatusText(), QStringLiteral("固件升级中，请勿操作，……"));
        QCOMPARE(state.Downloading, 1);
        card.Release();
        card.WaitForPass(2);
        QCOMPARE(state.StatusText(), QStringLiteral("正在进行第二次升级！\r\n"));
        card.Release();
        worker.Wait();
        QCOMPARE(state.StatusText(), QStringLiteral("固件升级成功！请重启软件后查看！\r\n"));
        QCOMPARE(state.DownloadDone.load(), 1);
        QCOMPARE(state.Downloading, 0);
        QCOMPARE(card.Calls(), (QStringList{"3 /tmp/固件 v2.s6x", "3 /tmp/固件 v2.s6x"}));
    }

    void aSecond2101IsNotRetried()
    {
        ScriptedDownload card({2101, 2101, 0});
        DownloadState state;
        DownloadWorker worker(state, card.Function(), 0ms);
        worker.Start();
        card.Release();
        card.Release();
        worker.Wait();
        QCOMPARE(card.Calls().size(), 2);
        QCOMPARE(state.StatusText(), FailureText(0, QString(), 2101));
    }

    void failureTexts_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("restartPattern");
        QTest::newRow("150") << 150 << true;
        QTest::newRow("100") << 100 << true;
        QTest::newRow("199") << 199 << true;
        QTest::newRow("99") << 99 << false;
        QTest::newRow("200") << 200 << false;
        QTest::newRow("-150") << -150 << false; // quotient -1
        QTest::newRow("5") << 5 << false;
    }

    void failureTexts()
    {
        QFETCH(int, result);
        QFETCH(bool, restartPattern);
        const QString path = QStringLiteral("/home/用户/%s%n\\fw%1.s6x");
        const QString text = FailureText(0, path, result);
        QCOMPARE(text,
                 QStringLiteral("tvn_download_firmware(0,\u2068") + path + QStringLiteral("\u2069)=") +
                     QString::number(result) +
                     (restartPattern ? QStringLiteral(";\r\n固件升级失败，请关闭软件后重试，多次失败后请联系厂家！\r\n")
                                     : QStringLiteral(";\r\n固件升级失败，请再次尝试升级操作！\r\n")));
    }

    void theShownTextNotesAWaitingClose_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("closeRequested");
        QTest::addColumn<QString>("shown");
        const QString waiting = QStringLiteral("正在等待固件升级结束，结束后程序将退出……\n");
        QTest::newRow("nothing yet") << QString() << false << QString();
        QTest::newRow("a line without its end") << "固件升级中，请勿操作，……" << false << "固件升级中，请勿操作，……";
        QTest::newRow("lines end in LF") << "a\r\nb\r\n" << false << "a\nb\n";
        QTest::newRow("close: the note alone") << QString() << true << waiting;
        QTest::newRow("close: the note on a line of its own")
            << "固件升级中，请勿操作，……" << true << "固件升级中，请勿操作，……\n" + waiting;
        QTest::newRow("close: after a whole line") << "正在进行第二次升级！\r\n"
                                                   << true << "正在进行第二次升级！\n" + waiting;
    }

    void theShownTextNotesAWaitingClose()
    {
        QFETCH(QString, status);
        QFETCH(bool, closeRequested);
        QFETCH(QString, shown);
        DownloadState state;
        state.SetStatusText(status);
        if (closeRequested)
            state.RequestClose(0);
        QCOMPARE(state.ShownText(), shown);
        QCOMPARE(state.StatusText(), status); // the worker's text stays as it wrote it
    }

    void aRequestedCloseWaitsForTheDownload_data()
    {
        QTest::addColumn<QList<int>>("requests"); // the results asked with, in turn
        QTest::addColumn<int>("downloading");
        QTest::addColumn<int>("closeWith"); // −1: not now
        QTest::newRow("none asked for") << QList<int>{} << 0 << -1;
        QTest::newRow("the download runs") << QList<int>{1} << 1 << -1;
        QTest::newRow("the download is over") << QList<int>{1} << 0 << 1;
        QTest::newRow("rejected, then accepted") << QList<int>{0, 1} << 0 << 1;
        QTest::newRow("accepted, then rejected") << QList<int>{1, 0} << 0 << 0;
    }

    void aRequestedCloseWaitsForTheDownload()
    {
        QFETCH(QList<int>, requests);
        QFETCH(int, downloading);
        QFETCH(int, closeWith);
        DownloadState state;
        state.Downloading = 1;
        for (int result : requests)
            state.RequestClose(result);
        state.Downloading = downloading;
        QCOMPARE(state.CloseRequested(), !requests.isEmpty());
        QCOMPARE(state.DueClose().value_or(-1), closeWith);
    }

    void pollingRacesTheWorker()
    {
        // The dialog's timer reads the flags and the text while the worker
        // writes them: ThreadSanitizer watches this test. Each pass of the
        // download waits until the poller has read the state during it, so
        // the reads overlap the writes however the threads are scheduled.
        for (int round = 0; round < 10; ++round) {
            DownloadState state;
            state.FirmwarePath = QStringLiteral("/f.s6x");
            state.Downloading = 1;
            std::mutex mutex;
            std::condition_variable read;
            int reads = 0;
            int pass = 0;
            DownloadWorker worker(
                state,
                [&, round](int16_t, const QString&) {
                    std::unique_lock lock(mutex);
                    const int before = reads;
                    read.wait(lock, [&] { return reads > before; });
                    return int16_t(++pass == 1 ? 2101 : (round % 2 ? 0 : 150));
                },
                0ms);
            worker.Start();
            while (state.Downloading == 1 || state.DownloadDone.load() == 0) {
                const bool shown = !state.StatusText().isEmpty();
                QCOMPARE(state.FirmwarePath, QStringLiteral("/f.s6x"));
                std::lock_guard lock(mutex);
                reads += shown ? 1 : 0;
                read.notify_all();
            }
            worker.Wait();
            QCOMPARE(pass, 2);
            QVERIFY(reads >= 2);
            QVERIFY(state.StatusText().contains(QStringLiteral("固件升级")));
        }
    }
};

QTEST_GUILESS_MAIN(TestDownloadWorker)
#include "tst_downloadworker.moc"

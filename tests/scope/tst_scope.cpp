// The scope's plain parts: what it reads, the capture that starts with a
// move, the buffer's bound, the cursors, the plots' pixel columns, when the
// live picture is redrawn, its share of a core, CSV files, and an arc's XY
// path.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cmath>
#include <thread>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "cardlib/binding.h"
#include "common/cputime.h"
#include "scope/csvreader.h"
#include "scope/redrawpacer.h"
#include "scope/sampling.h"
#include "scope/scopedata.h"
#include "scope/sharemeter.h"
#include "scope/trigger.h"
#include "support/standin.h"

using namespace cardlib;

namespace {

constexpr double kTick = 0.01; // s, the default sampling

// Samples the card every 10 ms of the test clock for `seconds`.
std::vector<Sample> SampleFor(double seconds, double& now)
{
    std::vector<Sample> samples;
    for (double end = now + seconds; now < end; now += kTick) {
        tolvane::control::AdvanceClock(kTick);
        samples.push_back(ReadSample(0, now));
    }
    return samples;
}

Sample At(double seconds, double command0, double speed0)
{
    Sample s;
    s.seconds = seconds;
    s.command = {command0, -command0};
    s.encoder = {command0 - 1, 0};
    s.speed = {speed0, 0};
    return s;
}

// A channel's spans, column by column: "lo..hi", or "-" for an empty one.
QString Shown(const std::vector<ValueSpan>& columns)
{
    QStringList text;
    for (const ValueSpan& span : columns)
        text << (span.Empty() ? QStringLiteral("-") : QStringLiteral("%1..%2").arg(span.lo).arg(span.hi));
    return text.join(QStringLiteral(" | "));
}

} // namespace

class TestScope : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FreshCards(2);
        tolvane::control::UseTestClock(true);
    }

    void cleanup() { tolvane::control::UseTestClock(false); }

    void samplesReadBothSlotsOfTheCardInUse()
    {
        ReadSample(0, 0);
        ReadSample(1, 0);
        QCOMPARE(RecordedRequests(),
                 (QStringList{"tvn_get_position(0)", "tvn_get_encoder(0)", "tvn_read_current_speed(0)",
                              "tvn_get_position(1)", "tvn_get_encoder(1)", "tvn_read_current_speed(1)",
                              "tvn_get_position(2)", "tvn_get_encoder(2)", "tvn_read_current_speed(2)",
                              "tvn_get_position(3)", "tvn_get_encoder(3)", "tvn_read_current_speed(3)"}));
    }

    void aCaptureStartsWithTheMoveAndEndsAtRest()
    {
        MotionCapture capture;
        capture.Arm(0.5);
        double now = 0;
        for (const Sample& s : SampleFor(0.2, now))
            QVERIFY(!capture.Feed(s));
        QCOMPARE(capture.Current(), MotionCapture::State::Armed);

        tvn_set_st_profile(0, 400, 2000, 0.1, 0.1, 0.05, 0.05);
        tvn_s_pmove(0, 4000, 0);
        bool ended = false;
        for (const Sample& s : SampleFor(5, now))
            if (capture.Feed(s))
                ended = true;
        QVERIFY(ended);
        const std::vector<Sample>& taken = capture.Samples();
        QVERIFY(!taken.front().Moving()); // the sample before the move
        QVERIFY(taken[1].Moving());
        QCOMPARE(taken.back().command[0], 4000.0);
        // From the first movement to the last, then half a second at rest.
        double lastMoving = 0;
        for (const Sample& s : taken)
            if (s.Moving())
                lastMoving = s.seconds;
        QVERIFY(taken.back().seconds - lastMoving >= 0.5 && taken.back().seconds - lastMoving < 0.5 + 1.5 * kTick);
        QVERIFY(taken[1].seconds > 0.2 && taken[1].seconds < 0.2 + 1.5 * kTick);
        // Between its start and end speeds the S-curve has no jump: each
        // 10 ms step changes the speed by a small part of its range.
        for (size_t i = 2; i < taken.size(); ++i)
            if (taken[i].Moving() && taken[i - 1].Moving())
                QVERIFY2(std::fabs(taken[i].speed[0] - taken[i - 1].speed[0]) <= 400, qPrintable(QString::number(i)));
    }

    void theBufferKeepsTheNewest()
    {
        SampleBuffer buffer(5);
        for (int i = 0; i < 12; ++i)
            buffer.Append(At(i, i, 0));
        QCOMPARE(buffer.Size(), size_t(5));
        QCOMPARE(buffer.Dropped(), uint64_t(7));
        QCOMPARE(buffer.At(0).seconds, 7.0);
        QCOMPARE(buffer.At(4).seconds, 11.0);
        QCOMPARE(buffer.IndexAt(9.5), size_t(3));
    }

    void cursorsReadTheNearestSamplesAndTheirDifferences()
    {
        const SampleList list({At(0, 0, 0), At(0.5, 100, 400), At(1.0, 400, 800), At(1.5, 800, 800)});
        const auto r = ReadCursors(list, 0.4, 1.6);
        QVERIFY(r);
        QCOMPARE(r->a.seconds, 0.5);
        QCOMPARE(r->b.seconds, 1.5);
        QCOMPARE(r->seconds, 1.0);
        QCOMPARE(r->distance[0], 700.0);
        QCOMPARE(r->meanSpeed[0], 700.0);
        QCOMPARE(r->distance[1], -700.0);
        QVERIFY(!ReadCursors(SampleList(), 0, 1));
    }

    void valuesAreShownInFull_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");
        // Pulse counts: every digit, as the motion window shows them.
        QTest::newRow("a million pulses") << 1058014.0 << "1058014";
        QTest::newRow("the lowest position") << -2147483648.0 << "-2147483648";
        QTest::newRow("zero") << 0.0 << "0";
        // Speeds and means: six significant digits, no exponent.
        QTest::newRow("a mean speed") << 1234.5678 << "1234.57";
        QTest::newRow("a small one") << 0.0123456789 << "0.0123457";
        QTest::newRow("a large one") << 2500000.25 << "2500000";
        QTest::newRow("a half") << -0.5 << "-0.5";
        QTest::newRow("beyond any card") << 1e300 << "1e+300";
    }

    void valuesAreShownInFull()
    {
        QFETCH(double, value);
        QFETCH(QString, shown);
        QCOMPARE(ValueText(value), shown);
    }

    void samplesAreReducedToPixelColumns_data()
    {
        QTest::addColumn<int>("begin");
        QTest::addColumn<int>("end");
        QTest::addColumn<QList<int>>("channels");
        QTest::addColumn<QStringList>("spans");
        QTest::addColumn<QString>("overall");
        // Four columns of a second each, from 0 to 4 s; channel 0 is axis
        // 0's command position, 4 axis 1's (its negative here).
        QTest::newRow("a column's samples make its span")
            << 1 << 5 << QList<int>{0} << QStringList{"2..7 | - | 3..3 | -"} << "2..7";
        QTest::newRow("each channel its own spans")
            << 1 << 5 << QList<int>{0, 4} << QStringList{"2..7 | - | 3..3 | -", "-7..-2 | - | -3..-3 | -"} << "-7..7";
        QTest::newRow("before and after the window: the first and the last column")
            << 0 << 7 << QList<int>{0} << QStringList{"2..100 | - | 3..3 | -50..-6"} << "-50..100";
        QTest::newRow("no samples: every column empty")
            << 2 << 2 << QList<int>{0, 4} << QStringList{"- | - | - | -", "- | - | - | -"} << "-";
    }

    void samplesAreReducedToPixelColumns()
    {
        QFETCH(int, begin);
        QFETCH(int, end);
        QFETCH(QList<int>, channels);
        QFETCH(QStringList, spans);
        QFETCH(QString, overall);
        const SampleList list({At(-1.0, 100, 0), At(0.1, 5, 0), At(0.5, 2, 0), At(0.9, 7, 0), At(2.5, 3, 0),
                               At(4.0, -6, 0), At(9.0, -50, 0)});
        const std::span<const int> shownChannels(channels.constData(), size_t(channels.size()));
        const ColumnSpans reduced = ReduceToColumns(list, size_t(begin), size_t(end), 0, 1, 4, shownChannels);
        QStringList shown;
        for (const std::vector<ValueSpan>& columns : reduced.channels)
            shown << Shown(columns);
        QCOMPARE(shown, spans);
        QCOMPARE(Shown({reduced.overall}), overall);
    }

    // A pane scaled to its data: tight for a still view; while the view
    // scrolls, kept while it suits, and renewed with room to grow.
    void aPaneKeepsItsScaleWhileItSuits()
    {
        const ValueRange tight = AutoRange({0, 100}, std::nullopt);
        QCOMPARE(tight.low, -6.0);
        QCOMPARE(tight.high, 106.0);
        const ValueRange loose = AutoRange({0, 100}, ValueRange{-5000, 5000});
        QCOMPARE(loose.low, -20.0); // too loose before: fitted again, with room
        QCOMPARE(loose.high, 120.0);
        QCOMPARE(AutoRange({10, 110}, loose), loose);      // still inside, still filling it
        QCOMPARE(AutoRange({30, 121}, loose).high, 139.2); // out at the top
        QCOMPARE(AutoRange({5, 5}, std::nullopt).high, 6.0 + 0.12);
        const ValueRange flat = AutoRange({5, 5}, ValueRange{});
        QCOMPARE(AutoRange({5, 5}, flat), flat); // a flat trace settles
        QCOMPARE(AutoRange({}, flat), flat);     // no data: as before
    }

    void theLivePictureIsRedrawnOnceItMovedTwoPixels_data()
    {
        QTest::addColumn<bool>("drawnBefore");
        QTest::addColumn<bool>("drawNext");
        QTest::addColumn<int>("samples");
        QTest::addColumn<double>("end");
        QTest::addColumn<bool>("due");
        // Drawn before: 100 samples, the newest at 10 s; a pixel is 0.25 s.
        QTest::newRow("the first picture") << false << false << 100 << 10.0 << true;
        QTest::newRow("nothing new") << true << false << 100 << 10.0 << false;
        QTest::newRow("a pixel on") << true << false << 101 << 10.25 << false;
        QTest::newRow("almost two pixels on") << true << false << 102 << 10.4375 << false;
        QTest::newRow("two pixels on") << true << false << 102 << 10.5 << true;
        QTest::newRow("anew however little it moved") << true << true << 101 << 10.25 << true;
        QTest::newRow("anew with nothing new") << true << true << 100 << 10.0 << true;
    }

    void theLivePictureIsRedrawnOnceItMovedTwoPixels()
    {
        QFETCH(bool, drawnBefore);
        QFETCH(bool, drawNext);
        QFETCH(int, samples);
        QFETCH(double, end);
        QFETCH(bool, due);
        constexpr double kPixel = 0.25;
        RedrawPacer pacer;
        if (drawnBefore)
            QVERIFY(pacer.Due(100, 10.0, kPixel));
        if (drawNext)
            pacer.DrawNext();
        QCOMPARE(pacer.Due(uint64_t(samples), end, kPixel), due);
        // What was drawn is not drawn again.
        QVERIFY(!pacer.Due(uint64_t(samples), end, kPixel));
    }

    void theRedrawTimerWakesAsTheWindowMovesTwoPixels_data()
    {
        QTest::addColumn<double>("window");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("interval");
        // 828 px of a 900 px plot show the time.
        QTest::newRow("2 s: at most 20 a second") << 2.0 << 900 << 50;
        QTest::newRow("30 s") << 30.0 << 900 << 72;
        QTest::newRow("60 s") << 60.0 << 900 << 144;
        QTest::newRow("60 s, wider") << 60.0 << 1900 << 65;
        QTest::newRow("10 s, too narrow a plot counts as 100 px") << 10.0 << 120 << 200;
        QTest::newRow("60 s, too narrow: no slower than 4 a second") << 60.0 << 120 << 250;
    }

    void theRedrawTimerWakesAsTheWindowMovesTwoPixels()
    {
        QFETCH(double, window);
        QFETCH(int, width);
        QFETCH(int, interval);
        QCOMPARE(RedrawPacer::Interval(RedrawPacer::SecondsPerPixel(window, width)), interval);
    }

    void theShareOfACoreIsTakenEveryFiveSeconds()
    {
        ShareMeter meter;
        meter.Add(0.25);
        QVERIFY(!meter.Update(4.9));
        QVERIFY(meter.Share() < 0);
        QVERIFY(meter.Update(5));
        QCOMPARE(meter.Share(), 0.05);
        meter.Add(1);
        QVERIFY(!meter.Update(9.9));
        QCOMPARE(meter.Share(), 0.05);
        meter.Add(1);
        QVERIFY(meter.Update(10));
        QCOMPARE(meter.Share(), 0.4); // over the last five seconds only
    }

    void spentAddsTheProcessorTimeOfItsScope()
    {
        ShareMeter meter;
        double spun = 0;
        {
            const ShareMeter::Spent spent(meter);
            const double start = ThreadProcessorSeconds();
            while (spun < 0.02)
                spun = ThreadProcessorSeconds() - start;
        }
        QVERIFY(meter.Busy() >= spun);
        QVERIFY(meter.Busy() < spun + 0.5);
    }

    // A ramp of 100 pulses a second sampled every 10 ms, crossing 50 at 0.5 s.
    void aLevelTriggerCutsItsCaptureAroundTheCrossing_data()
    {
        QTest::addColumn<int>("edge");
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("at"); // the trigger's sample, s; < 0: none
        QTest::newRow("rising through 50") << int(TriggerSettings::Edge::Rising) << 50.0 << 0.5;
        QTest::newRow("falling: a rising ramp never falls") << int(TriggerSettings::Edge::Falling) << 50.0 << -1.0;
        QTest::newRow("either") << int(TriggerSettings::Edge::Either) << 50.0 << 0.5;
        QTest::newRow("a level never reached") << int(TriggerSettings::Edge::Either) << 5000.0 << -1.0;
    }

    void aLevelTriggerCutsItsCaptureAroundTheCrossing()
    {
        QFETCH(int, edge);
        QFETCH(double, level);
        QFETCH(double, at);
        SampleBuffer buffer(10000);
        TriggerSettings settings;
        settings.level = level;
        settings.edge = static_cast<TriggerSettings::Edge>(edge);
        settings.position = 0.25;
        settings.seconds = 0.4; // 0.1 s before, 0.3 s after
        Trigger trigger;
        bool done = false;
        int completedAt = -1;
        for (int i = 0; i <= 200 && !done; ++i) {
            const double t = i * 0.01;
            buffer.Append(Sample{t, {t * 100, 0}, {}, {}});
            if (i == 20)
                trigger.Arm(settings, buffer.At(0).seconds); // armed at 0.2 s, history from 0
            done = trigger.Feed(buffer.At(buffer.Size() - 1));
            if (done)
                completedAt = i;
        }
        if (at < 0) {
            QVERIFY(!done);
            QCOMPARE(trigger.Current(), Trigger::State::Armed);
            return;
        }
        QCOMPARE(completedAt, 80); // 0.5 s + 0.3 s
        QVERIFY(!trigger.Forced());
        const std::vector<Sample> capture = trigger.Cut(buffer);
        QCOMPARE(capture.size(), size_t(41)); // -0.1 s to 0.3 s
        QVERIFY(std::fabs(capture.front().seconds + 0.1) < 1e-9);
        QVERIFY(std::fabs(capture.back().seconds - 0.3) < 1e-9);
        QCOMPARE(capture[10].seconds, 0.0); // time counts from the trigger
        QCOMPARE(capture[10].command[0], 50.0);
    }

    void aTriggerWaitsForItsHistoryAndAutoShowsWithoutOne()
    {
        TriggerSettings settings;
        settings.source = kChannels + Sample::kLimitPlus; // slot 0's EL+
        settings.position = 0.5;
        settings.seconds = 1;
        Trigger trigger;
        trigger.Arm(settings, 0); // the buffer starts now: 0.5 s of history needed
        Sample s;
        for (int i = 0; i < 40; ++i) { // EL+ flickers for 0.4 s: too early to count
            s.seconds = i * 0.01;
            s.inputs[0] = i % 2 ? 1u << Sample::kLimitPlus : 0;
            QVERIFY(!trigger.Feed(s));
        }
        QCOMPARE(trigger.Current(), Trigger::State::Armed);
        s.inputs[0] = 0;
        s.seconds = 0.6;
        trigger.Feed(s);
        s.inputs[0] = 1u << Sample::kLimitPlus;
        s.seconds = 0.61;
        trigger.Feed(s);
        QCOMPARE(trigger.Current(), Trigger::State::Triggered);
        QCOMPARE(trigger.TriggerTime(), 0.61);
        QCOMPARE(TriggerSourceName(settings.source), QStringLiteral("第0轴 EL+"));
        QCOMPARE(TriggerSourceName(kTriggerSources - 1), QStringLiteral("EMG"));

        // Auto: a capture's length with nothing: the newest samples.
        settings.mode = TriggerSettings::Mode::Auto;
        settings.source = 0;
        settings.level = 1e9;
        trigger.Arm(settings, 0);
        Sample still;
        bool done = false;
        for (int i = 100; i <= 300 && !done; ++i) {
            still.seconds = i * 0.01;
            done = trigger.Feed(still);
        }
        QVERIFY(done);
        QVERIFY(trigger.Forced());
        QVERIFY(std::fabs(trigger.TriggerTime() - (2.0 - 0.5)) < 1e-9); // ends at the newest, 2 s
    }

    void exportsAndJitterReadTheSamplesAsTheyCame()
    {
        std::vector<Sample> samples;
        for (double t : {0.0, 0.010, 0.020, 0.045, 0.050, 0.060})
            samples.push_back(Sample{t, {t * 1000, 0}, {}, {}});
        const SampleList list(samples);
        // A view from 0.02 s to 0.05 s, both ends included.
        const auto [begin, end] = SamplesBetween(list, 0.020, 0.050);
        QCOMPARE(begin, size_t(2));
        QCOMPARE(end, size_t(5));
        const QByteArrayList lines = ToCsv(list, begin, end).split('\n');
        QCOMPARE(lines.size(), 5); // the header, three samples, the last newline
        QVERIFY(lines[1].startsWith("0.02,20,"));
        QVERIFY(lines[3].startsWith("0.05,50,"));
        QCOMPARE(SamplesBetween(list, 1, 2), std::make_pair(size_t(6), size_t(6)));

        // Intervals 10, 10, 25, 5, 10 ms: the median 10, the worst 25.
        const auto gaps = SampleIntervals(list, 1000);
        QVERIFY(gaps);
        QCOMPARE(std::lround(gaps->median * 1000), 10L);
        QCOMPARE(std::lround(gaps->p99 * 1000), 25L);
        QCOMPARE(std::lround(SampleIntervals(list, 2)->p99 * 1000), 10L); // the last two only
        QVERIFY(!SampleIntervals(SampleList({samples[0]}), 1000));
    }

    void csvReadsBackWhatWasWritten()
    {
        double now = 0;
        tvn_set_profile(0, 400, 2000, 0.1, 0.1);
        tvn_t_vmove(0, 0);
        const SampleList written(SampleFor(0.5, now));
        const auto read = FromCsv(ToCsv(written));
        QVERIFY(std::holds_alternative<std::vector<Sample>>(read));
        const auto& samples = std::get<std::vector<Sample>>(read);
        QCOMPARE(samples.size(), written.Size());
        for (size_t i = 0; i < samples.size(); ++i)
            for (int c = 0; c < kChannels; ++c)
                QCOMPARE(Value(samples[i], c), Value(written.At(i), c));
        QVERIFY(ToCsv(written).startsWith(
            "时间(s),第0轴命令位置(脉冲),第0轴反馈位置(脉冲),第0轴跟随误差(脉冲),第0轴速度(脉冲/秒),第1轴命令位置"));

        // What the capture was, as comments before the headings; and a file
        // of the scope before units and comments still reads.
        const QByteArray commented = ToCsv(written, 0, written.Size(), {"示波器，第0张卡", "采样周期 10 ms"});
        QVERIFY(commented.startsWith("# 示波器，第0张卡\n# 采样周期 10 ms\n时间(s),"));
        QCOMPARE(std::get<std::vector<Sample>>(FromCsv(commented)).size(), written.Size());
        const QByteArray older = "时间(s),第0轴命令位置,第0轴反馈位置,第0轴跟随误差,第0轴速度,"
                                 "第1轴命令位置,第1轴反馈位置,第1轴跟随误差,第1轴速度\n0,5,4,1,0,0,0,0,0\n";
        QCOMPARE(std::get<std::vector<Sample>>(FromCsv(older)).size(), size_t(1));
        QCOMPARE(std::get<CsvError>(FromCsv("# only a comment\n")).reason, QStringLiteral("文件是空的"));
    }

    void malformedCsvIsRefusedWithItsLine_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("line");
        const QByteArray header = "t,a,b,c,d,e,f,g,h\n";
        const QByteArray good = "0.01,1,1,0,0,2,2,0,0\n";
        QTest::newRow("empty") << QByteArray() << 1;
        QTest::newRow("header") << QByteArray("t,a,b\n") << 1;
        QTest::newRow("columns") << header + good + "0.02,1,1,0\n" << 3;
        QTest::newRow("not a number") << header + "0.01,1,x,0,0,2,2,0,0\n" << 2;
        QTest::newRow("decimal comma") << header + "0,01,1,1,0,0,2,2,0\n" << 2;
        QTest::newRow("time goes back") << header + good + "0.005,1,1,0,0,2,2,0,0\n" << 3;
        QTest::newRow("error disagrees") << header + good + good + "0.02,5,1,0,0,2,2,0,0\n" << 4;
        QTest::newRow("infinite") << header + "inf,1,1,0,0,2,2,0,0\n" << 2;
    }

    void malformedCsvIsRefusedWithItsLine()
    {
        QFETCH(QByteArray, csv);
        QFETCH(int, line);
        const auto read = FromCsv(csv);
        QVERIFY(std::holds_alternative<CsvError>(read));
        QCOMPARE(std::get<CsvError>(read).line, line);
    }

    void malformedCsvIsRefusedAsItArrives_data()
    {
        // Whatever the pieces it comes in, the reader gives the whole text's
        // answer: lines split across pieces, a last line without its end.
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("piece");
        const QByteArray file = "t,a,b,c,d,e,f,g,h\r\n0.01,1,1,0,0,2,2,0,0\r\n0.02,3,2,1,0,2,2,0,0";
        for (int piece : {1, 2, 7, 1000})
            QTest::addRow("%d bytes at a time", piece) << file << piece;
    }

    void malformedCsvIsRefusedAsItArrives()
    {
        QFETCH(QByteArray, csv);
        QFETCH(int, piece);
        CsvReader reader(10);
        for (qsizetype at = 0; at < csv.size(); at += piece)
            QVERIFY(reader.Feed(csv.constData() + at, std::min<qsizetype>(piece, csv.size() - at)));
        QVERIFY(reader.Finish());
        const auto samples = reader.TakeSamples();
        QCOMPARE(samples.size(), size_t(2));
        QCOMPARE(samples[1].command[0], 3.0);
    }

    void aFileIsReadInBoundedMemory_data()
    {
        QTest::addColumn<char>("fill");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        QTest::newRow("100 MB of line ends") << '\n' << 1 << "标题行应有 9 列";
        QTest::newRow("100 MB of commas") << ',' << 1 << "这一行太长（超过 4096 个字符）";
    }

    void aFileIsReadInBoundedMemory()
    {
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
        QFETCH(char, fill);
        QFETCH(int, line);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("big.csv");
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray megabyte(1 << 20, fill);
            for (int i = 0; i < 100; ++i)
                QVERIFY(file.write(megabyte) == megabyte.size());
        }
        // The heap in use, watched while another thread reads the file.
        const auto inUse = [] {
            const auto heap = mallinfo2();
            return double(heap.uordblks + heap.hblkhd);
        };
        const double before = inUse();
        std::atomic<bool> cancel{false}, done{false};
        std::atomic<int64_t> bytes{0};
        std::variant<std::vector<Sample>, CsvError, CsvCancelled> read;
        double most = before;
        std::thread reader([&] {
            read = ReadCsvFile(path, kMostFileSamples, cancel, bytes);
            done = true;
        });
        while (!done)
            most = std::max(most, inUse());
        reader.join();
        QVERIFY(std::holds_alternative<CsvError>(read));
        QCOMPARE(std::get<CsvError>(read).line, line);
        QCOMPARE(std::get<CsvError>(read).reason, reason);
        QVERIFY2(most - before < 8 << 20, qPrintable(QStringLiteral("%1 MiB").arg((most - before) / (1 << 20))));
#else
        QSKIP("needs glibc's heap statistics, without a sanitizer's allocator");
#endif
    }

    void aValidFileOpensUpToTheLimitAndNoFurther()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("valid.csv");
        const auto write = [&](int rows) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QByteArray text = "t,a,b,c,d,e,f,g,h\n";
            for (int i = 0; i < rows; ++i)
                text += QByteArray::number(i) + ",5,4,1,100,0,0,0,0\n";
            QVERIFY(file.write(text) == text.size());
        };
        std::atomic<bool> cancel{false};
        std::atomic<int64_t> bytes{0};
        write(1000);
        auto read = ReadCsvFile(path, 1000, cancel, bytes);
        QVERIFY(std::holds_alternative<std::vector<Sample>>(read));
        QCOMPARE(std::get<std::vector<Sample>>(read).size(), size_t(1000));
        QCOMPARE(bytes.load(), QFileInfo(path).size());
        write(1001);
        read = ReadCsvFile(path, 1000, cancel, bytes);
        QVERIFY(std::holds_alternative<CsvError>(read));
        QCOMPARE(std::get<CsvError>(read).line, 1002);
        QCOMPARE(std::get<CsvError>(read).reason, QStringLiteral("采样超过 1000 个，示波器显示不了这么多"));
        cancel = true;
        QVERIFY(std::holds_alternative<CsvCancelled>(ReadCsvFile(path, 1000, cancel, bytes)));
        QCOMPARE(std::get<CsvError>(ReadCsvFile(dir.filePath("none.csv"), 1000, cancel, bytes)).reason,
                 QStringLiteral("文件不存在"));
    }

    void anArcsPathLiesOnItsCircle()
    {
        const int16_t axes[2] = {0, 1};
        const int32_t end[2] = {2000, 0};
        const int32_t centre[2] = {1000, 0};
        tvn_set_vector_profile(500, 3000, 0.1, 0.1);
        QCOMPARE(tvn_arc_move(axes, end, centre, 1), int16_t(0));
        double now = 0;
        const std::vector<Sample> path = SampleFor(3, now);
        QVERIFY(path.back().command[0] == 2000 && path.back().command[1] == 0);
        for (const Sample& s : path)
            QVERIFY2(std::fabs(std::hypot(s.command[0] - 1000, s.command[1]) - 1000) <= 1.0,
                     qPrintable(QStringLiteral("(%1, %2)").arg(s.command[0]).arg(s.command[1])));
        // Half a circle: it passes the point farthest from the x axis.
        QVERIFY(std::any_of(path.begin(), path.end(), [](const Sample& s) { return std::fabs(s.command[1]) > 999; }));
    }
};

QTEST_GUILESS_MAIN(TestScope)
#include "tst_scope.moc"

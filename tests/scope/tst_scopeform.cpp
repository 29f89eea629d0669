// The scope window: opened once from the menu or its shortcut, sampling the
// card in use, exporting CSV and PNG and opening a CSV again.
#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QLabel>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <cmath>
#include <set>

#include "cardlib/binding.h"
#include "cardlib/calllog.h"
#include "main/mainform.h"
#include "scope/scopeform.h"
#include "scope/scopeplot.h"
#include "support/files.h"
#include "support/messages.h"
#include "support/program.h"

class TestScopeForm : public QObject {
    Q_OBJECT

private slots:
    void init() { FreshProgram(dir_.path(), 2); }

    void opensFromTheMenuAndTheShortcutOnce()
    {
        MessageCatcher messages;
        MainForm main;
        main.Form_Load(dir_.path());
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QAction* tool = main.ToolActions().value(1);
        QCOMPARE(tool->text(), QStringLiteral("示波器"));
        const auto shown = [] {
            QList<QWidget*> windows;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<ScopeForm*>(w) && w->isVisible())
                    windows << w;
            return windows;
        };
        QTest::keyClick(&main, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(shown().size(), 1);
        QWidget* first = shown().value(0);
        tool->trigger();
        QCOMPARE(shown(), QList<QWidget*>{first});
        main.close();
        QTRY_VERIFY(shown().isEmpty());
    }

    void samplesTheCardInUseAndExportsAndOpens()
    {
        CurrentCardNo = 1;
        ScopeForm scope;
        tolvane::control::ClearCalls();
        scope.SampleTick();
        scope.SampleTick();
        QCOMPARE(scope.Buffer().Size(), size_t(2));
        QCOMPARE(RecordedRequests().value(0), QStringLiteral("tvn_get_position(2)"));
        QCOMPARE(RecordedRequests().value(3), QStringLiteral("tvn_get_position(3)"));

        const QString csv = dir_.filePath("scope.csv");
        QCOMPARE(scope.SaveCsvTo(csv), 0);
        QCOMPARE(scope.OpenCsvFrom(csv), QString()); // the comments before the headings skipped
        QVERIFY(!scope.Live());
        QCOMPARE(scope.Shown().Size(), size_t(2));
        QCOMPARE(scope.Shown().At(1).seconds, scope.Buffer().At(1).seconds);

        QVERIFY(WriteBytes(csv, ReadBytes(csv) + "1,2,3\n"));
        QCOMPARE(scope.OpenCsvFrom(csv), QStringLiteral("第 7 行：应有 9 列，这一行有 3 列"));
        scope.ShowLive();
        QVERIFY(scope.Live());

        const QString png = dir_.filePath("scope.png");
        QCOMPARE(scope.SavePngTo(png), 0);
        QVERIFY(ReadBytes(png).startsWith("\x89PNG"));
        QVERIFY(scope.SaveCsvTo(dir_.filePath("missing/scope.csv")) != 0);
    }

    void theReadoutGivesPulseCountsInFull()
    {
        ScopeForm scope;
        std::vector<Sample> samples(2);
        samples[1].seconds = 1;
        samples[1].command = {1707550, -1058014};
        samples[1].encoder = {1707549, -1058014};
        samples[1].speed = {2000000, 0};
        scope.ShowSamples(samples, QStringLiteral("test"));
        scope.Plot()->SetCursor(0, 0.0);
        scope.Plot()->SetCursor(1, 1.0);
        const QString readout = scope.findChild<QLabel*>(QStringLiteral("readout"))->text();
        QVERIFY2(readout.contains(QStringLiteral("第0轴 命令 1707550 反馈 1707549 误差 1 速度 2000000")),
                 qPrintable(readout));
        QVERIFY2(readout.contains(QStringLiteral("第1轴 Δ位置 -1058014")), qPrintable(readout));
        QVERIFY(!readout.contains(QLatin1Char('e')));
    }

    // Samples that come in clumps (a timer woken late, then twice at once)
    // leave pixel columns without a sample; the trace still runs unbroken.
    void aTraceIsUnbrokenWhereColumnsHaveNoSample()
    {
        std::vector<Sample> samples;
        for (int i = 0; i < 1000; ++i) {
            const double t = (i / 2) * 0.02 + (i % 2) * 0.001;
            samples.push_back(Sample{t, {t * 100, 0}, {}, {}});
        }
        const SampleList list(samples);
        ScopePlot plot;
        plot.resize(900, 400);
        for (int c = 1; c < 8; ++c)
            plot.SetChannelShown(c, false);
        plot.SetSource(&list);
        plot.SetRange(0, 10);
        const QImage image = plot.grab().toImage();
        const QRgb trace = ScopePlot::ChannelColour(0).rgb();
        std::vector<int> columns;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixel(x, y) == trace) {
                    columns.push_back(x);
                    break;
                }
        QVERIFY(columns.size() > 700);
        QCOMPARE(columns.back() - columns.front() + 1, static_cast<int>(columns.size()));
    }

    // The live plot scrolls its picture and draws only the new columns: the
    // picture must be the one drawn whole, frame after frame, whatever the
    // samples' rhythm (late ones, clumps), and it is drawn whole only when a
    // pane's scale changes.
    void aScrolledPictureIsThePictureDrawnWhole_data()
    {
        QTest::addColumn<double>("period");
        QTest::addColumn<int>("offColumns");
        QTest::newRow("more samples than columns") << 0.005 << 0;
        // A line cut at the edge of what is drawn again may take another
        // pixel there.
        QTest::newRow("lines from sample to sample") << 0.010 << 4;
    }
    void aScrolledPictureIsThePictureDrawnWhole()
    {
        QFETCH(double, period);
        QFETCH(int, offColumns);
        SampleBuffer buffer(100000);
        ScopePlot live, whole;
        for (ScopePlot* plot : {&live, &whole}) {
            plot->resize(900, 420);
            plot->SetSource(&buffer);
            plot->SetFixedScale(0, 30000);
            plot->SetFixedScale(1, 100);
            plot->SetFixedScale(2, 30000);
        }
        double t = 0;
        int step = 0;
        const auto sampleUntil = [&](double until) {
            for (; t < until; t += period + (step++ % 7 == 0 ? 0.025 : 0.0)) {
                const double command = 20000 * std::sin(t), speed = 20000 * std::cos(t);
                buffer.Append(Sample{
                    t, {command, -command / 2}, {command - 40 * std::cos(t), -command / 2 + 3}, {speed, -speed / 2}});
            }
        };
        QImage shown;
        for (int frame = 0; frame < 300; ++frame) { // the ring of columns goes round
            sampleUntil(10 + frame * 0.037);
            for (ScopePlot* plot : {&live, &whole})
                plot->SetRange(t - 10, t); // only the live one draws
            shown = live.grab().toImage();
        }
        QCOMPARE(live.FullRedraws(), 1);
        const QImage expected = whole.grab().toImage();
        QCOMPARE(live.From(), whole.From());
        // The same but at the left edge, where the whole picture's trace
        // comes in from the sample before the view.
        QStringList differing;
        for (int x = 0; x < expected.width(); ++x)
            for (int y = 0; y < expected.height(); ++y)
                if ((x < 100 || x > 112) && shown.pixel(x, y) != expected.pixel(x, y)) {
                    differing << QStringLiteral("(%1, %2)").arg(x).arg(y);
                    break;
                }
        QVERIFY2(differing.size() <= offColumns, qPrintable(differing.join(QLatin1Char(' '))));

        // A climbing trace on an automatic scale: the pane is rescaled every
        // few seconds, not at every frame.
        SampleBuffer climbing(100000);
        ScopePlot autoScaled;
        autoScaled.resize(900, 420);
        autoScaled.SetSource(&climbing);
        for (int i = 0; i < 3000; ++i) {
            const double at = i * 0.01;
            climbing.Append(Sample{at, {1000 * at, 0}, {1000 * at, 0}, {1000, 0}});
            if (i >= 1000 && i % 4 == 0) {
                autoScaled.SetRange(at - 10, at);
                autoScaled.grab();
            }
        }
        QVERIFY2(autoScaled.FullRedraws() <= 15, qPrintable(QString::number(autoScaled.FullRedraws())));
    }

    // Each axis in a pane of its own; the encoders' traces dashed.
    void positionsSplitPerAxisAndEncodersAreDashed()
    {
        std::vector<Sample> samples;
        for (int i = 0; i <= 2000; ++i) {
            const double t = i * 0.005;
            samples.push_back(Sample{t, {1000 * t, 5000 - 1000 * t}, {1000 * t, 5000 - 1000 * t}, {}});
        }
        const SampleList list(samples);
        ScopePlot plot;
        plot.resize(900, 500);
        plot.SetSource(&list);
        plot.SetRange(0, 10);
        const auto rowsAndColumns = [&plot](int channel) {
            const QImage image = plot.grab().toImage();
            const QRgb colour = ScopePlot::ChannelColour(channel).rgb();
            std::set<int> rows, columns;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixel(x, y) == colour) {
                        rows.insert(y);
                        columns.insert(x);
                    }
            return std::pair(rows, columns);
        };
        for (int c : {1, 5})
            plot.SetChannelShown(c, false);
        QVERIFY(*rowsAndColumns(4).first.begin() < *rowsAndColumns(0).first.rbegin()); // one pane: the traces cross
        plot.SetPositionsSplit(true);
        QVERIFY(*rowsAndColumns(0).first.rbegin() < *rowsAndColumns(4).first.begin()); // axis 0's pane above axis 1's
        const auto [rows, commandColumns] = rowsAndColumns(0);
        QVERIFY(commandColumns.size() > 600);

        plot.SetChannelShown(0, false);
        plot.SetChannelShown(1, true);
        const auto encoderColumns = rowsAndColumns(1).second;
        // About half the columns the solid trace takes, whatever the fonts
        // leave of the plot's width.
        QVERIFY2(encoderColumns.size() * 10 > commandColumns.size() * 4 &&
                     encoderColumns.size() * 10 < commandColumns.size() * 6,
                 qPrintable(QStringLiteral("%1 of %2").arg(encoderColumns.size()).arg(commandColumns.size())));
    }

    void placingCursorsLeavesThePlotItsSize()
    {
        ScopeForm scope;
        scope.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scope));
        const QSize size = scope.Plot()->size();
        std::vector<Sample> samples(2);
        samples[1].seconds = 1;
        scope.ShowSamples(samples, QStringLiteral("test"));
        scope.Plot()->SetCursor(0, 0.2);
        scope.Plot()->SetCursor(1, 0.8);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(scope.Plot()->size(), size);
    }

    void aTriggeredCaptureHasItsPreTriggerPartAndCountsFromTheTrigger()
    {
        cardlib::calllog::Start();
        ScopeForm scope;
        scope.SetWindowSeconds(2);
        scope.findChild<QDoubleSpinBox*>(QStringLiteral("triggerLevel"))->setValue(100);
        scope.findChild<QSpinBox*>(QStringLiteral("triggerPosition"))->setValue(25);
        // Half a second of history at rest before the trigger is armed.
        QTRY_VERIFY_WITH_TIMEOUT(scope.Buffer().Size() > 0 && scope.Buffer().At(scope.Buffer().Size() - 1).seconds -
                                                                      scope.Buffer().At(0).seconds >
                                                                  0.6,
                                 20000);
        scope.findChild<QPushButton*>(QStringLiteral("arm"))->click();
        QCOMPARE(scope.LevelTrigger().Current(), Trigger::State::Armed);
        cardlib::tvn_set_profile(0, 100, 1000, 0.1, 0.1);
        QCOMPARE(cardlib::tvn_t_vmove(0, 1), int16_t(0));
        QTRY_VERIFY_WITH_TIMEOUT(!scope.Live(), 30000);
        cardlib::tvn_imd_stop(0);
        const SampleSource& shown = scope.Shown();
        // A quarter of the 2 s before the trigger (from the buffer), the rest after.
        QVERIFY(shown.At(0).seconds < 0 && shown.At(0).seconds >= -0.5);
        QVERIFY(shown.At(shown.Size() - 1).seconds > 0 && shown.At(shown.Size() - 1).seconds <= 1.5);
        const size_t zero = shown.IndexAt(0);
        QCOMPARE(shown.At(zero).seconds, 0.0);
        QVERIFY(shown.At(zero).command[0] >= 100);
        QVERIFY(shown.At(zero - 1).command[0] < 100);
        QVERIFY(!scope.findChild<QPushButton*>(QStringLiteral("arm"))->isChecked()); // single: done
        // The move's start, marked at its moment before the trigger.
        const auto& marks = scope.Plot()->Marks();
        QVERIFY(std::any_of(marks.begin(), marks.end(), [](const ScopePlot::Mark& m) {
            return m.seconds < 0 && cardlib::calllog::Find(m.sequence)->function == cardlib::Function::tvn_t_vmove;
        }));
    }

    // The scope and the call log count from the same start: a command shows
    // as a mark at its moment, and a moment can be shown on request.
    void commandsAreMarkedOnTheSharedTimeBase()
    {
        cardlib::calllog::Start();
        ScopeForm scope;
        QTRY_VERIFY(scope.Buffer().Size() >= 2);
        cardlib::tvn_set_position(0, 5);
        const cardlib::calllog::Record* command = cardlib::calllog::Newest(cardlib::calllog::Ring::Commands);
        const double at = cardlib::calllog::Milliseconds(*command) / 1000;
        QTRY_VERIFY(scope.Buffer().At(scope.Buffer().Size() - 1).seconds > at);
        scope.ShowMoment(at);
        QVERIFY(scope.findChild<QPushButton*>(QStringLiteral("pause"))->isChecked());
        QCOMPARE(scope.Plot()->Cursor(0), std::optional<double>(at));
        QVERIFY(scope.Plot()->From() < at && at < scope.Plot()->To());
        const auto& marks = scope.Plot()->Marks();
        QVERIFY(std::any_of(marks.begin(), marks.end(), [&](const ScopePlot::Mark& m) {
            return m.sequence == command->sequence && std::fabs(m.seconds - at) < 1e-9;
        }));
        // The sampling's reads are no marks.
        QVERIFY(std::none_of(marks.begin(), marks.end(),
                             [](const ScopePlot::Mark& m) { return cardlib::calllog::Find(m.sequence)->inTimerTick; }));
        cardlib::calllog::Stop();
    }

    void exportsWhatIsShown()
    {
        ScopeForm scope;
        std::vector<Sample> samples;
        for (int i = 0; i <= 1000; ++i)
            samples.push_back(Sample{i * 0.01, {}, {}, {}});
        scope.ShowSamples(samples, QStringLiteral("test"));
        scope.Plot()->SetRange(2, 3); // zoomed in to a second
        const QString csv = dir_.filePath("shown.csv");
        QCOMPARE(scope.SaveCsvTo(csv), 0);
        const QByteArray text = ReadBytes(csv);
        QVERIFY(text.startsWith(
            "# Kestrune 示波器：test\n# 第 0 张卡（第0轴、第1轴为库轴号 0、1），采样周期 10 ms，时间窗 10 s\n"));
        QCOMPARE(text.count('\n') - text.count('#'), 1 + 101); // the headings and a second's samples

        const QString png = dir_.filePath("shown.png");
        QCOMPARE(scope.SavePngTo(png), 0);
        const QImage image(png);
        QVERIFY(image.height() > scope.Plot()->height() + 3 * scope.fontMetrics().lineSpacing());
    }

    void liveEndsAPauseAndForgetsAFilesCursors()
    {
        ScopeForm scope;
        auto* pause = scope.findChild<QPushButton*>(QStringLiteral("pause"));
        auto* live = scope.findChild<QPushButton*>(QStringLiteral("live"));
        pause->click();
        QVERIFY(pause->isChecked());
        live->click();
        QVERIFY(!pause->isChecked());
        QCOMPARE(pause->text(), QStringLiteral("暂停"));

        std::vector<Sample> samples(2);
        samples[1].seconds = 1;
        scope.ShowSamples(samples, QStringLiteral("test"));
        scope.Plot()->SetCursor(0, 0.5);
        live->click();
        QVERIFY(scope.Live());
        QVERIFY(!scope.Plot()->Cursor(0));
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestScopeForm)
#include "tst_scopeform.moc"

// The console against the stand-in card: calls made through the binding and
// recorded in the call log, the moves it refuses, Esc, its history, and a
// call log row run again in it.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QFile>
#include <QTest>
#include <QTextBlock>

#include "calllog/calllogform.h"
#include "calllog/calllogmodel.h"
#include "cardlib/binding.h"
#include "cardlib/calllog.h"
#include "console/consoleform.h"
#include "console/consolerun.h"
#include "main/mainform.h"
#include "settings/statuswords.h"
#include "support/controls.h"
#include "support/files.h"
#include "support/messages.h"
#include "support/program.h"

using namespace console;
using cardlib::calllog::Ring;

namespace {

Call Parse(const QString& line)
{
    const Parsed parsed = ParseCall(line);
    if (!parsed.call)
        qFatal("%s", qPrintable(ErrorText(line, parsed.error)));
    return *parsed.call;
}

QString NewestLogLine()
{
    const cardlib::calllog::Record* record = cardlib::calllog::Newest(Ring::Commands);
    return record ? QFile::decodeName(QByteArray::fromStdString(cardlib::calllog::Line(*record))) : QString();
}

// An argument of the parameter's kind, at the ends of its range.
Argument Sample(const Parameter& p, size_t place)
{
    switch (p.kind) {
    case Kind::Integer: return place % 2 ? p.most : p.least;
    case Kind::Real: return place % 2 ? 0.1 : -3.2e-7;
    case Kind::IntegerPair: return std::array<int64_t, 2>{p.least, p.most};
    case Kind::RealPair: return std::array<double, 2>{2.5, -1e+20};
    case Kind::Text: {
        // A path as the system names files: Chinese where its encoding holds
        // it (UTF-8 here, a Chinese Windows), ASCII where it does not.
        const QString chinese = QStringLiteral("固件 (新), [1].s6x");
        return QFile::decodeName(QFile::encodeName(chinese)) == chinese ? chinese : QStringLiteral("fw (new), [1].s6x");
    }
    case Kind::Out: return Out{};
    }
    return Null{};
}

QStringList OutputLines(ConsoleForm& form)
{
    return Find<QPlainTextEdit>(&form, "output")->toPlainText().split(QLatin1Char('\n'));
}

} // namespace

class TestConsole : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FreshProgram(dir_.path(), 2);
        QFile::remove(ConsoleHistoryPath());
        cardlib::calllog::Start(1000);
        UseStatusWords(StatusWords::StandIn());
    }

    void everyFunctionRoundTripsThroughTheCallLog()
    {
        // Made through the binding with arguments of its kinds, each call is
        // a call log line that reads back as the same call.
        for (const CardFunction& function : CardFunctions()) {
            Call call{function.id, {}};
            for (size_t i = 0; i < function.parameters.size(); ++i)
                call.arguments.push_back(Sample(function.parameters[i], i));
            const Outcome outcome = Make(call);
            const QString line = NewestLogLine();
            QVERIFY2(line.startsWith(QLatin1String(function.name) + QLatin1Char('(')), qPrintable(line));
            const Parsed parsed = ParseCall(line);
            QVERIFY2(parsed.call, qPrintable(ErrorText(line, parsed.error)));
            QVERIFY2(*parsed.call == call, qPrintable(line));
            QCOMPARE(outcome.outs.size(), size_t(std::count(line.begin(), line.end(), QLatin1Char('&'))));
        }
    }

    void aCallGivesItsResultAndOutValues()
    {
        QCOMPARE(Run(Parse("tvn_set_equiv(0, 2.5)"), 0).result, QStringLiteral("0 成功"));
        const Outcome equiv = Run(Parse("tvn_get_equiv(0, &7)"), 0);
        QCOMPARE(equiv.outs, (std::vector<std::pair<QString, QString>>{{"脉冲当量", "2.5"}}));
        QCOMPARE(NewestLogLine(), QStringLiteral("tvn_get_equiv(0, &2.5) = 0"));

        const Outcome versions = Run(Parse("tvn_get_card_soft_version(0, &, &)"), 0);
        QCOMPARE(versions.outs.size(), size_t(2));
        QCOMPARE(versions.outs[0].first, QStringLiteral("版本1"));
        QVERIFY(Run(Parse("tvn_get_release_version(0, &)"), 0).outs[0].second.startsWith(QLatin1Char('"')));
        QCOMPARE(Run(Parse("tvn_get_equiv(0, NULL)"), 0).result, QStringLiteral("4 参数是空指针"));

        const Outcome refused = Run(Parse("tvn_set_profile(0, 3000, 2000, 0.1, 0.1)"), 0);
        QVERIFY(refused.failed);
        QCOMPARE(refused.result, QStringLiteral("3 参数超出范围"));
        // A value, and a word of flags with its bits.
        Run(Parse("tvn_set_position(1, -1234)"), 0);
        QCOMPARE(Run(Parse("tvn_get_position(1)"), 0).result, QStringLiteral("-1234"));
        QVERIFY(Run(Parse("tvn_axis_io_status(0)"), 0).result.contains(QStringLiteral("（0x")));
    }

    void refusedCallsReachNoCard_data()
    {
        QTest::addColumn<int>("card"); // in use
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("why");
        QTest::newRow("close") << 0 << "tvn_board_close()"
                               << "控制台不调用 tvn_board_close";
        QTest::newRow("init") << 0 << "tvn_board_init()"
                              << "控制台不调用 tvn_board_init";
        QTest::newRow("firmware") << 0 << "tvn_download_firmware(0, \"a.s6x\")"
                                  << "Flashmend";
        QTest::newRow("foreign axis") << 0 << "tvn_t_pmove(2, 1000, 0)"
                                      << "轴 2 不是窗口轴";
        QTest::newRow("card 0's axis, card 1 in use") << 1 << "tvn_t_vmove(0, 1)"
                                                      << "窗口轴 2 和 3";
        QTest::newRow("line's second axis") << 0 << "tvn_t_line2(0, 100, 3, 100, 0)"
                                            << "轴 3 不是窗口轴";
        QTest::newRow("arc") << 0 << "tvn_arc_move([0, 2], [0, 0], [1, 1], 0)"
                             << "轴 2 不是窗口轴";
        QTest::newRow("speed change") << 0 << "tvn_change_speed(5, 100)"
                                      << "轴 5 不是窗口轴";
        QTest::newRow("other card's start") << 0 << "tvn_start_move_all(1)"
                                            << "第 0 张卡上等待的运动";
        QTest::newRow("speed") << 0 << "tvn_set_profile(0, 400, 3e9, 0.1, 0.1)"
                               << "驱动速度 3e+09 超出范围";
        QTest::newRow("S-curve") << 0 << "tvn_set_st_profile(0, 400, 2000, 0.1, 0.1, 0.06, 0.05)"
                                 << "S段加速时间 0.06 大于加速时间 0.1 的一半";
    }

    void refusedCallsReachNoCard()
    {
        QFETCH(int, card);
        QFETCH(QString, line);
        QFETCH(QString, why);
        tolvane::control::ClearCalls();
        const Outcome outcome = Run(Parse(line), static_cast<int16_t>(card));
        QVERIFY2(outcome.refusal.contains(why), qPrintable(outcome.refusal));
        QCOMPARE(RecordedCalls(), QStringList());
    }

    void windowAxesMoveAndStopsAlwaysStop()
    {
        tolvane::control::ClearCalls();
        Run(Parse("tvn_set_profile(3, 0, 2000, 0.1, 0.1)"), 1);
        Run(Parse("tvn_t_pmove(3, 1000, 0)"), 1); // card 1's window axes are 2 and 3
        Run(Parse("tvn_start_move_all(0)"), 1);   // and they are on card 0
        Run(Parse("tvn_imd_stop(7)"), 0);         // a stop on any axis
        // A ramp the motion window would not stop with stops at once.
        const Outcome longRamp = Run(Parse("tvn_decel_stop(0, 100)"), 0);
        QVERIFY2(longRamp.note.contains(QStringLiteral("超过 10 秒")), qPrintable(longRamp.note));
        QCOMPARE(RecordedRequests(), (QStringList{"tvn_set_profile(3, 0, 2000, 0.1, 0.1)", "tvn_t_pmove(3, 1000, 0)",
                                                  "tvn_start_move_all(0)", "tvn_imd_stop(7)", "tvn_imd_stop(0)"}));
    }

    void escStopsBothWindowAxesFromAnywhere()
    {
        CurrentCardNo = 1;
        ConsoleForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* input = Find<QLineEdit>(&form, "input");
        tolvane::control::ClearCalls();
        QTest::keyClick(input, Qt::Key_Escape);
        QCOMPARE(RecordedRequests(), (QStringList{"tvn_decel_stop(2, 0.1)", "tvn_decel_stop(3, 0.1)"}));
        QVERIFY(OutputLines(form).first().startsWith(QStringLiteral("Esc：")));

        // With the list of names open, and a stop the card refuses.
        QTest::keyClicks(input, QStringLiteral("pmove"));
        QAbstractItemView* list = input->completer()->popup();
        QTRY_VERIFY(list->isVisible());
        tolvane::control::ClearCalls();
        tolvane::control::QueueResults("tvn_decel_stop", {3});
        // The key as the list gets it when it holds the keyboard.
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(list, &escape);
        QCOMPARE(RecordedRequests(),
                 (QStringList{"tvn_decel_stop(2, 0.1)", "tvn_imd_stop(2)", "tvn_decel_stop(3, 0.1)"}));
        QVERIFY(!list->isVisible());
        CurrentCardNo = 0;
    }

    void theOutputShowsCallsAndErrorsInRed()
    {
        ConsoleForm form;
        form.RunLine(QStringLiteral("tvn_get_position_unitmm(0, &)"));
        form.RunLine(QStringLiteral("tvn_t_pmove(0, 1.5, 0)"));
        form.RunLine(QStringLiteral("tvn_t_pmove(2, 1000, 0)"));
        const QStringList lines = OutputLines(form);
        QCOMPARE(lines.mid(0, 4), (QStringList{"> tvn_get_position_unitmm(0, &)", "  = 0 成功", "  &命令位置毫米 = 0",
                                               "> tvn_t_pmove(0, 1.5, 0)"}));
        QCOMPARE(lines[4], QStringLiteral("                 ^"));
        QVERIFY(lines[5].startsWith(QStringLiteral("  第 16 列：")));
        QVERIFY(lines[7].startsWith(QStringLiteral("  未执行：轴 2 不是窗口轴")));
        const QTextDocument* document = Find<QPlainTextEdit>(&form, "output")->document();
        const auto colour = [&](int line) {
            return document->findBlockByNumber(line).begin().fragment().charFormat().foreground().color();
        };
        QCOMPARE(colour(4), QColor(220, 0, 0));
        QCOMPARE(colour(7), QColor(220, 0, 0));
        QVERIFY(colour(1) != QColor(220, 0, 0));
    }

    void theHistoryOutlivesTheWindow()
    {
        {
            ConsoleForm first;
            first.RunLine(QStringLiteral("tvn_get_position(0)"));
            first.RunLine(QStringLiteral("nonsense("));
            first.RunLine(QStringLiteral("nonsense("));
        }
        ConsoleForm second;
        QCOMPARE(second.History().Entries(), (QStringList{"tvn_get_position(0)", "nonsense("}));
        auto* input = Find<QLineEdit>(&second, "input");
        input->setText(QStringLiteral("tvn_imd"));
        QTest::keyClick(input, Qt::Key_Up);
        QCOMPARE(input->text(), QStringLiteral("nonsense("));
        QTest::keyClick(input, Qt::Key_Up);
        QTest::keyClick(input, Qt::Key_Up); // nothing before the oldest
        QCOMPARE(input->text(), QStringLiteral("tvn_get_position(0)"));
        QTest::keyClick(input, Qt::Key_Down);
        QTest::keyClick(input, Qt::Key_Down);
        QCOMPARE(input->text(), QStringLiteral("tvn_imd")); // the line being typed, back

        ConsoleHistory kept(ConsoleHistoryPath());
        for (int i = 0; i < 520; ++i)
            kept.Add(QStringLiteral("tvn_get_position(%1)").arg(i));
        QCOMPARE(kept.Save(), 0);
        const QStringList entries = ConsoleHistory(ConsoleHistoryPath()).Entries();
        QCOMPARE(entries.size(), ConsoleHistory::kKept);
        QCOMPARE(entries.first(), QStringLiteral("tvn_get_position(20)"));
    }

    void aBrokenHistoryFileIsAnEmptyHistory_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not UTF-8") << QByteArray("tvn_imd_stop(0)\n\xff\xfe garbage\n");
        QTest::newRow("binary") << QByteArray("tvn_imd_stop(0)\n\0\0\0", 19);
        QTest::newRow("too large") << QByteArray(2 << 20, 'x');
    }

    void aBrokenHistoryFileIsAnEmptyHistory()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(WriteBytes(ConsoleHistoryPath(), bytes));
        ConsoleForm form;
        QCOMPARE(form.History().Entries(), QStringList());
        form.RunLine(QStringLiteral("tvn_imd_stop(0)"));
        QCOMPARE(ReadBytes(ConsoleHistoryPath()), QByteArray("tvn_imd_stop(0)\n"));
    }

    void aCallLogRowRunsAgainInTheConsole()
    {
        MessageCatcher messages;
        MainForm main;
        main.Form_Load(dir_.path());
        auto* tool = main.findChild<QAction*>(QStringLiteral("tool%1").arg(MainForm::ConsoleWindow));
        QVERIFY(tool);
        QCOMPARE(tool->text(), QStringLiteral("控制台"));
        QCOMPARE(tool->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));

        auto* log = qobject_cast<CallLogForm*>(main.OpenWindow(MainForm::CallLogWindow));
        cardlib::tvn_set_equiv(1, 0.25);
        log->Refresh();
        tolvane::control::ClearCalls();
        log->RunAgain(log->Model()->rowCount() - 1);
        auto* console = qobject_cast<ConsoleForm*>(main.OpenWindow(MainForm::ConsoleWindow));
        QVERIFY(console);
        QCOMPARE(RecordedRequests(), QStringList{"tvn_set_equiv(1, 0.25)"});
        QCOMPARE(OutputLines(*console).first(), QStringLiteral("> tvn_set_equiv(1, 0.25)"));
        main.Form_Unload();
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestConsole)
#include "tst_console.moc"

// The call log window: opened from the main window's menu or its shortcut,
// once; its filters, its empty states and its saved file.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "calllog/calllogform.h"
#include "calllog/calllogmodel.h"
#include "cardlib/binding.h"
#include "cardlib/calllog.h"
#include "main/mainform.h"
#include "motion/motionform.h"
#include "settings/statuswords.h"
#include "support/controls.h"
#include "support/files.h"
#include "support/messages.h"
#include "support/program.h"

using namespace cardlib;

namespace {

QStringList Names(const CallLogModel& model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << QLatin1String(calllog::Name(model.RecordAt(row)));
    return names;
}

} // namespace

class TestCallLogForm : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FreshProgram(dir_.path(), 1);
        calllog::Start(1000);
    }

    void opensFromTheMenuAndTheShortcutOnce()
    {
        MessageCatcher messages;
        MainForm main;
        main.Form_Load(dir_.path());
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QAction* tool = main.ToolActions().value(0);
        QVERIFY(tool);
        QCOMPARE(tool->text(), QStringLiteral("调用记录"));
        QCOMPARE(tool->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
        const auto shown = [] {
            QList<QWidget*> windows;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<CallLogForm*>(w) && w->isVisible())
                    windows << w;
            return windows;
        };
        QTest::keyClick(&main, Qt::Key_L, Qt::ControlModifier); // the shortcut
        QCOMPARE(shown().size(), 1);
        QWidget* first = shown().value(0);
        tool->trigger(); // the menu's entry: the same window
        QCOMPARE(shown(), QList<QWidget*>{first});
        main.close();
        QTRY_VERIFY(shown().isEmpty()); // closed with the main window
    }

    void theMainWindowCountsFailuresAndOpensThem()
    {
        MessageCatcher messages;
        MainForm main;
        main.Form_Load(dir_.path());
        auto* count = Find<QPushButton>(&main, "failureCount");
        main.ShowFailureCount();
        QVERIFY(count->isHidden());
        tvn_set_profile(0, 3000, 2000, 0.1, 0.1); // refused
        main.ShowFailureCount();
        QVERIFY(!count->isHidden());
        QCOMPARE(count->text(), QStringLiteral("调用失败 1 次"));
        count->click();
        CallLogForm* log = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<CallLogForm*>(w); form && form->isVisible())
                log = form;
        QVERIFY(log);
        QVERIFY(Find<QCheckBox>(log, "failuresOnly")->isChecked());
        QCOMPARE(Names(*log->Model()), QStringList{"tvn_set_profile"});
        main.close();
    }

    void filtersAndEmptyStates()
    {
        UseStatusWords(StatusWords::StandIn());
        CallLogForm log;
        auto* empty = Find<QLabel>(&log, "emptyState");
        log.show();
        QVERIFY(empty->isVisible());
        QCOMPARE(empty->text(), QStringLiteral("还没有调用"));

        // A motion window: its load and a button make commands, its tick reads.
        MotionForm motion;
        motion.Form_Load();
        motion.Timer1_Timer();
        motion.CB_Start_Click();
        tvn_set_profile(0, 3000, 2000, 0.1, 0.1); // refused: start above drive
        log.Refresh();
        QVERIFY(Names(*log.Model()).contains("tvn_get_equiv"));

        Find<QCheckBox>(&log, "hideTimerTicks")->setChecked(true);
        QVERIFY(!Names(*log.Model()).contains("tvn_get_equiv"));
        QVERIFY(!Names(*log.Model()).contains("tvn_read_current_speed"));
        QVERIFY(Names(*log.Model()).contains("tvn_t_pmove"));

        Find<QCheckBox>(&log, "failuresOnly")->setChecked(true);
        QCOMPARE(Names(*log.Model()), QStringList{"tvn_set_profile"});
        QCOMPARE(log.Model()->data(log.Model()->index(0, CallLogModel::Result), Qt::DisplayRole).toString(),
                 QStringLiteral("3 参数超出范围"));
        QVERIFY(log.Model()->data(log.Model()->index(0, 0), Qt::ForegroundRole).isValid()); // red

        Find<QCheckBox>(&log, "failuresOnly")->setChecked(false);
        Find<QLineEdit>(&log, "filterText")->setText("pmove");
        log.ApplyFilter();
        QCOMPARE(Names(*log.Model()), QStringList{"tvn_t_pmove"});
        Find<QLineEdit>(&log, "filterText")->setText("no such call");
        log.ApplyFilter();
        QCOMPARE(empty->text(), QStringLiteral("没有符合筛选条件的调用"));

        log.ClearLog();
        Find<QLineEdit>(&log, "filterText")->clear();
        log.ApplyFilter();
        QCOMPARE(log.Model()->rowCount(), 0);
        QCOMPARE(empty->text(), QStringLiteral("还没有调用"));
    }

    // The reads' ring forgets fast, the commands' slowly: the table lets go of
    // scattered rows and keeps the rest in the order the calls were made.
    void theRowsFollowBothRingsAsTheyForget()
    {
        calllog::Start(5, 20);
        CallLogModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto kept = [] {
            QStringList lines;
            calllog::Since since(0);
            while (const calllog::Record* record = since.Next())
                lines << QString::fromStdString(calllog::Line(*record));
            return lines;
        };
        const auto rows = [&model] {
            QStringList lines;
            for (int row = 0; row < model.rowCount(); ++row)
                lines << QString::fromStdString(calllog::Line(model.RecordAt(row)));
            return lines;
        };
        for (int32_t round = 0; round < 12; ++round) {
            tvn_set_position(0, round);
            {
                const calllog::TimerTick tick;
                for (int i = 0; i < 7; ++i)
                    tvn_get_encoder(0);
            }
            if (round % 3 != 1)
                model.Refresh();
            if (round % 3 != 1)
                QCOMPARE(rows(), kept());
        }
        QCOMPARE(rows().first(), QStringLiteral("tvn_set_position(0, 7) = 0"));
        QCOMPARE(rows().size(), 25);
        QCOMPARE(ReachText(), QStringLiteral("命令保留最近 5 条，定时读取保留最近 0 秒（已丢弃较早的 7 条命令）"));

        calllog::Start(5, 20);
        QCOMPARE(ReachText(), QStringLiteral("命令保留最近 5 条，定时读取保留最近 20 条"));
        model.Refresh();
        QCOMPARE(model.rowCount(), 0);
    }

    void theSavedFileHoldsTheRowsAsTraceLines()
    {
        CallLogForm log;
        tvn_set_profile(0, 400, 2000, 0.1, 0.1);
        tvn_t_pmove(0, -4000, 0);
        log.Refresh();
        const QString path = dir_.filePath("calls.txt");
        QCOMPARE(log.SaveTo(path), 0);
        const QStringList lines = QString::fromUtf8(ReadBytes(path)).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        const QRegularExpression timed(QStringLiteral("^\\d+\\.\\d{3} (.*)$"));
        QCOMPARE(timed.match(lines[0]).captured(1), QStringLiteral("tvn_set_profile(0, 400, 2000, 0.1, 0.1) = 0"));
        QCOMPARE(timed.match(lines[1]).captured(1), QStringLiteral("tvn_t_pmove(0, -4000, 0) = 0"));
        QVERIFY(log.SaveTo(dir_.filePath("missing/calls.txt")) != 0);
    }

    void ctrlCCopiesTheSelectedRows()
    {
        CallLogForm log;
        log.show();
        tvn_set_profile(0, 400, 2000, 0.1, 0.1);
        tvn_t_pmove(0, -4000, 0);
        tvn_get_position(0);
        log.Refresh();
        auto* table = Find<QTableView>(&log, "calls");
        table->selectRow(0);
        table->selectionModel()->select(table->model()->index(1, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QApplication::clipboard()->clear();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].endsWith(QStringLiteral(" tvn_set_profile(0, 400, 2000, 0.1, 0.1) = 0")),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].endsWith(QStringLiteral(" tvn_t_pmove(0, -4000, 0) = 0")), qPrintable(lines[1]));

        // As calls, to type again: no time, no result.
        log.CopySelectionAsCalls();
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("tvn_set_profile(0, 400, 2000, 0.1, 0.1)\ntvn_t_pmove(0, -4000, 0)\n"));

        // A double click: the call's moment, for the scope.
        double moment = -1;
        log.SetShowMomentAction([&moment](double seconds) { moment = seconds; });
        const QRect row = table->visualRect(table->model()->index(1, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(moment, calllog::Milliseconds(log.Model()->RecordAt(1)) / 1000);

        // Only the function of a row.
        log.ShowOnlyFunctionOf(2);
        QCOMPARE(Find<QLineEdit>(&log, "filterText")->text(), QStringLiteral("tvn_get_position"));
        QCOMPARE(log.Model()->rowCount(), 1);
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestCallLogForm)
#include "tst_calllogform.moc"

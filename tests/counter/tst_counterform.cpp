#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "counter/counterform.h"
#include "main/mainform.h"
#include "para/paraform.h"
#include "settings/state.h"
#include "support/controls.h"
#include "support/standin.h"
#include "widgets/lamp.h"

namespace {

constexpr double kAxis0Latched = 1 << 8;

// The next tick's two flag reads (lamps, then the log test) see `flags`.
void NextFlags(double flags) { tolvane::control::QueueResults("tvn_get_latch_flag", {flags, flags}); }

} // namespace

class TestFormCounter : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CurrentCardNo = 0;
        FreshCards(2);
    }

    void loadArmsInAutomaticMode()
    {
        FormCounter form;
        form.LatchRecordHeld = 1;
        form.Form_Load();
        QCOMPARE(form.LatchRecordHeld, int16_t(0));
        QVERIFY(Find<QRadioButton>(&form, "OptionAutoLatch(0)")->isChecked());
        QVERIFY(form.findChild<QTimer*>("Timer1")->isActive());
        QCOMPARE(form.findChild<QTimer*>("Timer1")->interval(), 30);
        QVERIFY(RecordedCalls().isEmpty());
        form.close();
        QVERIFY(!form.findChild<QTimer*>("Timer1")->isActive());
    }

    void tickOrder()
    {
        CurrentCardNo = 1;
        FormCounter form;
        form.Form_Load();
        NextFlags(kAxis0Latched);
        form.Timer1_Timer();
        QCOMPARE(RecordedRequests(),
                 (QStringList{"tvn_get_latch_flag(1)", "tvn_get_encoder(2)", "tvn_get_latch_value(2)",
                              "tvn_get_encoder(3)", "tvn_get_latch_value(3)", "tvn_get_latch_flag(1)",
                              "tvn_reset_latch_flag(1)", "read_dword_pld_register(1, 64)",
                              "read_dword_pld_register(1, 72)", "read_dword_pld_register(1, 68)",
                              "read_dword_pld_register(1, 76)", "read_dword_pld_register(1, 120)"}));
    }

    void aLatchBetweenTheTwoFlagReadsIsLoggedWithItsOwnValues()
    {
        FormCounter form;
        form.Form_Load();
        // The first word shows no latch, the values read are the old ones; by
        // the second read the card has latched 3000.
        tolvane::control::QueueResults("tvn_get_latch_flag", {0, kAxis0Latched});
        tolvane::control::QueueResults("tvn_get_latch_value", {1000, 0, 3000, 0});
        form.Timer1_Timer();
        QCOMPARE(form.LatchLogText(), QStringLiteral("Xpos = 3000   Ypos = 0\r\n"));
    }

    void automaticReadingLogsEachEventOnce()
    {
        FormCounter form;
        form.Form_Load();
        tolvane::control::QueueResults("tvn_get_latch_value", {1234, -56});
        NextFlags(kAxis0Latched);
        form.Timer1_Timer();
        QCOMPARE(form.LatchLogText(), QStringLiteral("Xpos = 1234   Ypos = -56\r\n"));
        QCOMPARE(RecordedCalls("tvn_reset_latch_flag").size(), 1);
        form.Timer1_Timer();
        form.Timer1_Timer();
        QCOMPARE(form.LatchLogText().count("Xpos"), 1);
        NextFlags(1 << 9);
        form.Timer1_Timer();
        QCOMPARE(form.LatchLogText().count("Xpos"), 2);
        QCOMPARE(form.LatchRecordHeld, int16_t(0));
    }

    void theLogKeepsItsNewestTenThousandRecords()
    {
        tolvane::control::Record(false);
        FormCounter form;
        form.Form_Load();
        for (int i = 1; i <= 30000; ++i) {
            tolvane::control::QueueResults("tvn_get_latch_value", {double(i), double(-i)});
            NextFlags(kAxis0Latched);
            form.Timer1_Timer();
        }
        const QStringList kept = form.LatchLogText().split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(kept.size(), 10001);
        QCOMPARE(kept.first(), QStringLiteral("（已删去较早的 20000 条记录）"));
        QCOMPARE(kept[1], QStringLiteral("Xpos = 20001   Ypos = -20001"));
        QCOMPARE(kept.last(), QStringLiteral("Xpos = 30000   Ypos = -30000"));
        // The screen shows what the log keeps.
        const QStringList shown = Find<QPlainTextEdit>(&form, "TextLatchResult")->toPlainText().split('\n');
        QCOMPARE(shown, kept);
        form.CommandCLS_Click();
        QCOMPARE(form.LatchLogText(), QString());
    }

    void theLogStaysTheSameSizeAfterItsCap()
    {
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
        // At its cap the log drops a record for each it takes: the memory
        // that holds it, on screen too, must not grow any more.
        tolvane::control::Record(false);
        FormCounter form;
        form.show(); // laid out and drawn, as on screen
        form.Form_Load();
        const auto latch = [&](int i) {
            tolvane::control::QueueResults("tvn_get_latch_value", {double(i), double(-i)});
            NextFlags(kAxis0Latched);
            form.Timer1_Timer();
            // Drawn now and then, as the screen would be: drawing after every
            // record made this test take 40 s, and time out on a busy machine.
            if (i % 50 == 0)
                QCoreApplication::processEvents();
        };
        // Past the cap, and past the text's first compaction.
        for (int i = 1; i <= 20000; ++i)
            latch(i);
        // In use: small blocks and the large ones malloc maps of their own.
        const auto inUse = [] {
            const auto heap = mallinfo2();
            return double(heap.uordblks + heap.hblkhd);
        };
        const double before = inUse();
        for (int i = 20001; i <= 40000; ++i)
            latch(i);
        const double grown = (inUse() - before) / 20000;
        QVERIFY2(grown < 16, qPrintable(QStringLiteral("%1 bytes a record").arg(grown)));
#else
        QSKIP("needs glibc's heap statistics, without a sanitizer's allocator");
#endif
    }

    void manualReadingHoldsUntilTheReset()
    {
        FormCounter form;
        form.Form_Load();
        Find<QRadioButton>(&form, "OptionAutoLatch(1)")->click();
        NextFlags(kAxis0Latched);
        form.Timer1_Timer();
        QCOMPARE(form.LatchRecordHeld, int16_t(1));
        NextFlags(kAxis0Latched);
        form.Timer1_Timer();
        QCOMPARE(form.LatchLogText().count("Xpos"), 1);
        QVERIFY(RecordedCalls("tvn_reset_latch_flag").isEmpty());

        // Switching to automatic while held logs nothing either.
        Find<QRadioButton>(&form, "OptionAutoLatch(0)")->click();
        NextFlags(kAxis0Latched);
        form.Timer1_Timer();
        QCOMPARE(form.LatchLogText().count("Xpos"), 1);

        // "清空" empties the log and keeps the hold.
        form.CommandCLS_Click();
        QCOMPARE(form.LatchLogText(), QString());
        QCOMPARE(form.LatchRecordHeld, int16_t(1));

        QTest::mouseClick(Find<QPushButton>(&form, "commandResetTriggerFlag"), Qt::LeftButton);
        QCOMPARE(form.LatchRecordHeld, int16_t(0));
        NextFlags(kAxis0Latched);
        form.Timer1_Timer();
        QCOMPARE(form.LatchLogText().count("Xpos"), 1);
    }

    void lampsFollowTheFlagWord()
    {
        FormCounter form;
        form.Form_Load();
        NextFlags(1 << 12);
        form.Timer1_Timer();
        QCOMPARE(Find<Lamp>(&form, "S_ClsCounterState(0)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_ClsCounterState(1)")->Colour(), Lamp::kClear);
        QCOMPARE(Find<Lamp>(&form, "S_TriggerState(0)")->Colour(), Lamp::kClear);
        QCOMPARE(form.LatchLogText(), QString());
        tolvane::control::QueueResults("tvn_get_latch_flag", {1 | (1 << 5) | (1 << 9), 0});
        form.Timer1_Timer();
        QCOMPARE(Find<Lamp>(&form, "S_Trigger(0)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_ClsCounter(1)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_TriggerState(1)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_Trigger(3)")->Colour(), Lamp::kInitial); // never refreshed
        QCOMPARE(Find<QLabel>(&form, "Label1(12)")->text(), QStringLiteral("触发 信号"));
        QCOMPARE(Find<QLabel>(&form, "Label1(15)")->text(), QStringLiteral("清零 状态"));
    }

    void commands()
    {
        CurrentCardNo = 1;
        FormCounter form;
        form.Form_Load();
        form.commandClearCounter_Click();
        form.commandResetClsCounter_Click();
        form.CommandLeclogic_Click();
        form.CommandLeclogic_Click();
        form.CommandCh_Click();
        QCOMPARE(Find<QPushButton>(&form, "CommandLeclogic")->text(), QStringLiteral("LedLg0"));
        QCOMPARE(Find<QPushButton>(&form, "CommandCh")->text(), QStringLiteral("LTC1"));
        QCOMPARE(RecordedRequests(),
                 (QStringList{"tvn_set_encoder(4, 0)", "tvn_set_encoder(5, 0)", "tvn_set_encoder(6, 0)",
                              "tvn_set_encoder(7, 0)", "tvn_reset_clear_flag(1)", "tvn_set_speaker_logic(1, 1)",
                              "tvn_set_speaker_logic(1, 0)", "tvn_triger_chunnel(1, 1)"}));
    }

    void registerPanel_data()
    {
        QTest::addColumn<QString>("cmr");
        QTest::addColumn<QString>("ell");
        QTest::addColumn<QString>("sel");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("lenient SEL") << "ff"
                                     << "0"
                                     << "1G"
                                     << QStringList{"write_dword_pld_register(0, 64, 255)",
                                                    "write_dword_pld_register(0, 120, 0)",
                                                    "write_dword_pld_register(0, 72, 1)"};
        QTest::newRow("SEL without digits")
            << "FFFFFFFF"
            << "00000000012"
            << "G"
            << QStringList{"write_dword_pld_register(0, 64, -1)", "write_dword_pld_register(0, 120, 18)",
                           "write_dword_pld_register(0, 72, 0)"};
        QTest::newRow("bad texts skip their writes") << "100000000"
                                                     << "x1"
                                                     << "123456789" << QStringList{};
    }

    void registerPanel()
    {
        QFETCH(QString, cmr);
        QFETCH(QString, ell);
        QFETCH(QString, sel);
        QFETCH(QStringList, calls);
        FormCounter form;
        Find<QLineEdit>(&form, "TextCMR")->setText(cmr);
        Find<QLineEdit>(&form, "TextELL")->setText(ell);
        Find<QLineEdit>(&form, "TextSEL")->setText(sel);
        form.CommandPLDsetReg_Click();
        QCOMPARE(RecordedRequests(), calls);
        if (!calls.isEmpty()) {
            form.Timer1_Timer();
            QCOMPARE(Find<QLabel>(&form, "LabelCMR")->text(), cmr.toUpper().remove(QRegularExpression("^0+(?=.)")));
        }
    }

    void pinModes()
    {
        FormCounter form;
        Find<QLineEdit>(&form, "TextEZmode")->setText("3");
        Find<QLineEdit>(&form, "TextLTCmode")->setText("abc");
        form.CommandEZmdoe_Click();
        QCOMPARE(RecordedRequests(), (QStringList{"tvn_config_EZ_PIN(0, 0, 3)", "tvn_config_EZ_PIN(1, 0, 3)",
                                                  "tvn_config_EZ_PIN(2, 0, 3)", "tvn_config_EZ_PIN(3, 0, 3)"}));
    }

    void configurationOpensTheCountingTab()
    {
        QTemporaryDir dir;
        MainForm main;
        main.Form_Load(dir.path());
        auto* counter = qobject_cast<FormCounter*>(main.OpenWindow(MainForm::CounterWindow));
        QVERIFY(counter);
        auto* para = qobject_cast<ParaForm*>(main.OpenWindow(MainForm::ParaWindow));
        para->SSTab1->setCurrentIndex(0);
        QTest::mouseClick(Find<QPushButton>(counter, "CommandConfigureCounter"), Qt::LeftButton);
        QCOMPARE(para->SSTab1->currentIndex(), 2);
        main.Form_Unload();
    }
};

QTEST_MAIN(TestFormCounter)
#include "tst_counterform.moc"

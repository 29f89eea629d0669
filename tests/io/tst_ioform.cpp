#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "io/ioform.h"
#include "io/iosignals.h"
#include "settings/numbertext.h"
#include "settings/state.h"
#include "support/controls.h"
#include "support/standin.h"
#include "cardlib/tolvane.h"
#include "widgets/lamp.h"

class TestIoForm : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        SetSettingsPaths(dir_.path());
        CurrentCardNo = 0;
        FreshCards(2);
    }

    void hexTexts()
    {
        QCOMPARE(HexText(0), QStringLiteral("0"));
        QCOMPARE(HexText(0x8000), QStringLiteral("8000"));
        QCOMPARE(HexText(0xFFFFFFFFu), QStringLiteral("FFFFFFFF"));
        QCOMPARE(HexText(0xabc), QStringLiteral("ABC"));
    }

    void loadConfiguresThenApplies()
    {
        CurrentCardNo = 1;
        IoFormControl form;
        form.Form_Load();
        const QStringList calls = RecordedRequests();
        QCOMPARE(calls.mid(0, 4), (QStringList{"tvn_config_ERC_PIN(2, 1, 0, 6, 1)", "tvn_config_EMG_PIN(1, 1, 0)",
                                               "tvn_config_ERC_PIN(3, 1, 0, 6, 1)", "tvn_config_EMG_PIN(1, 1, 0)"}));
        QCOMPARE(calls.size(), 4 + 26);
        QCOMPARE(calls.last(), QStringLiteral("tvn_config_latch_mode(1, 1)"));
    }

    void tickOrderOnTheSecondCard()
    {
        CurrentCardNo = 1;
        ReadIoSignals(CurrentCardNo);
        QStringList expected = {"tvn_axis_status(0)",
                                "tvn_axis_status(1)",
                                "tvn_read_pcl_register(1, 0, 221)",
                                "tvn_read_pcl_register(1, 1, 221)",
                                "tvn_read_inport(1)",
                                "tvn_read_outport(1)",
                                "tvn_get_latch_flag(1)"};
        for (int a : {2, 3})
            for (const char* f :
                 {"tvn_axis_io_status", "tvn_get_rsts", "tvn_read_RDY_PIN", "tvn_read_SEVON_PIN", "tvn_read_CMP_PIN"})
                expected << QStringLiteral("%1(%2)").arg(QLatin1String(f)).arg(a);
        for (const char* f : {"tvn_read_inbit", "tvn_read_outbit"})
            for (int bit = 1; bit <= 20; ++bit)
                expected << QStringLiteral("%1(1, %2)").arg(QLatin1String(f)).arg(bit);
        QCOMPARE(expected.size(), 57);
        QCOMPARE(RecordedRequests(), expected);
    }

    void lampsFollowTheWords()
    {
        IoFormControl form;
        // Axis 0's extended word sets STA and ERC, axis 1's only CSD: the
        // card-wide lamps end on the second axis's word.
        tolvane::control::QueueResults("tvn_get_rsts", {(1 << 5) | (1 << 9), (1 << 4) | (1 << 15)});
        tolvane::control::QueueResults("tvn_axis_io_status", {(1 << 12) | (1 << 14), 1 << 11});
        tolvane::control::QueueResults("tvn_axis_status", {0x8000});
        tolvane::control::QueueResults("tvn_get_latch_flag", {2});
        tvn_write_outbit(0, 20, 1);
        form.Timer1_Timer();
        QCOMPARE(Find<Lamp>(&form, "S_CSTA")->Colour(), Lamp::kClear);
        QCOMPARE(Find<Lamp>(&form, "S_CSD")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_ERC(0)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_ERC(1)")->Colour(), Lamp::kClear);
        QCOMPARE(Find<Lamp>(&form, "S_INP(1)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_PEL(0)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_ORG(0)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_ALM(1)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_LTC(0)")->Colour(), Lamp::kClear);
        QCOMPARE(Find<Lamp>(&form, "S_LTC(1)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_OutputNo(19)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_InputNo(0)")->Colour(), Lamp::kClear);
        QCOMPARE(Find<QLineEdit>(&form, "TextOption(0)")->text(), QStringLiteral("8000"));
        // Rows 2 and 3 are never refreshed and keep their design colour.
        QCOMPARE(Find<Lamp>(&form, "S_PEL(2)")->Colour(), Lamp::kInitial);
        QCOMPARE(Find<Lamp>(&form, "S_cmp(3)")->Colour(), Lamp::kInitial);
        // The column headings stack on screen; their text is the caption as given.
        QCOMPARE(Find<QLabel>(&form, "Label1(2)")->text(), QStringLiteral(" SD 状态"));
        QCOMPARE(Find<QLabel>(&form, "Label1(6)")->text(), QStringLiteral("PA/J+  状态"));
        QCOMPARE(Find<QLabel>(&form, "Label1(4)")->text(), QStringLiteral(" EZ  状态"));
    }

    void anUnchangedLampCostsNoRepaint()
    {
        IoFormControl form;
        form.Timer1_Timer();
        const int before = Find<Lamp>(&form, "S_InputNo(4)")->RepaintRequests();
        QCOMPARE(before, 1); // yellow to green
        form.Timer1_Timer();
        form.Timer1_Timer();
        QCOMPARE(Find<Lamp>(&form, "S_InputNo(4)")->RepaintRequests(), before);
        QCOMPARE(Find<Lamp>(&form, "S_OutputNo(4)")->RepaintRequests(), 0); // outputs start green
    }

    void commands()
    {
        IoFormControl form;
        QTest::mouseClick(Find<QPushButton>(&form, "CB_OutNo(0)"), Qt::LeftButton);
        QTest::mouseClick(Find<QPushButton>(&form, "CB_OutNo(19)"), Qt::LeftButton);
        QTest::mouseClick(Find<QPushButton>(&form, "CB_OutNo(19)"), Qt::LeftButton);
        QCOMPARE(RecordedRequests(),
                 (QStringList{"tvn_read_outbit(0, 1)", "tvn_write_outbit(0, 1, 1)", "tvn_read_outbit(0, 20)",
                              "tvn_write_outbit(0, 20, 1)", "tvn_read_outbit(0, 20)", "tvn_write_outbit(0, 20, 0)"}));
        QCOMPARE(Find<QPushButton>(&form, "CB_OutNo(0)")->text(), QStringLiteral("第 1位"));
        QCOMPARE(Find<QPushButton>(&form, "CB_OutNo(19)")->text(), QStringLiteral("第20位"));

        tolvane::control::ClearCalls();
        CurrentCardNo = 1;
        QTest::mouseClick(Find<QPushButton>(&form, "Command_SEVON(1)"), Qt::LeftButton);
        QTest::mouseClick(Find<QPushButton>(&form, "Command_CMP(0)"), Qt::LeftButton);
        form.CmdOFF_Click();
        form.CommandOn_Click();
        QCOMPARE(RecordedRequests(),
                 (QStringList{"tvn_write_SEVON_PIN(2, 1)", "tvn_write_SEVON_PIN(3, 1)", "tvn_write_CMP_PIN(2, 0)",
                              "tvn_write_CMP_PIN(3, 0)", "tvn_write_outport(1, 0)", "tvn_write_outport(1, -1)"}));
    }

    void ercTogglesAndRestores()
    {
        IoFormControl form;
        form.CommandERC_Click();
        QCOMPARE(tvn_get_rsts(0) & (1u << 9), 1u << 9);
        QCOMPARE(tvn_get_rsts(1) & (1u << 9), 1u << 9);
        form.CommandERC_Click();
        QCOMPARE(tvn_get_rsts(0) & (1u << 9), 0u);
        QCOMPARE(tvn_get_rsts(1) & (1u << 9), 0u);

        // On the second card the decision still comes from axis 0.
        CurrentCardNo = 1;
        tolvane::control::ClearCalls();
        form.CommandERC_Click();
        QCOMPARE(RecordedRequests(),
                 (QStringList{"tvn_get_rsts(0)", "tvn_write_ERC_PIN(2, 1)", "tvn_write_ERC_PIN(3, 1)"}));
    }

    void registerWord_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("call"); // empty: no call
        QTest::newRow("all ones") << "FFFF"
                                  << "write_word_pcl_otpw(0, 8, -1)";
        QTest::newRow("lower case") << "a5"
                                    << "write_word_pcl_otpw(0, 8, 165)";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("not hexadecimal") << "G1"
                                         << "";
        QTest::newRow("five digits") << "12345"
                                     << "";
        QTest::newRow("prefix") << "0x1"
                                << "";
    }

    void registerWord()
    {
        QFETCH(QString, text);
        QFETCH(QString, call);
        IoFormControl form;
        Find<QLineEdit>(&form, "TextOption(2)")->setText(text);
        form.CommandWop_Click();
        QCOMPARE(RecordedRequests(), call.isEmpty() ? QStringList() : QStringList{call});
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestIoForm)
#include "tst_ioform.moc"

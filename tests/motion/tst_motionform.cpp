#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "motion/motiondisplay.h"
#include "motion/motionform.h"
#include "motion/motionsettings.h"
#include "settings/ini.h"
#include "settings/state.h"
#include "support/controls.h"
#include "support/files.h"
#include "support/messages.h"
#include "support/standin.h"
#include "support/unprivileged.h"
#include "cardlib/tolvane.h"

class TestMotionForm : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        SetSettingsPaths(dir_.path());
        QFile::remove(MotionSetPath);
        QFile::remove(HardwareSetPath);
        CurrentCardNo = 0;
        FreshCards(2);
    }

    void threeDecimals_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("one") << 1.0 << "001.000";
        QTest::newRow("hundred") << 100.0 << "100.000";
        QTest::newRow("decimal half rounds up") << 2.0005 << "002.001";
        QTest::newRow("negative") << -3.2 << "-003.200";
        QTest::newRow("four decimals") << 12.3456 << "012.346";
        QTest::newRow("carry into a new digit") << 999.9996 << "1000.000";
        QTest::newRow("negative rounding to zero") << -0.0004 << "-000.000";
        QTest::newRow("large") << 123456789.25 << "123456789.250";
        QTest::newRow("tiny") << 1e-20 << "000.000";
    }

    void threeDecimals()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(FormatThreeDecimals(value), text);
    }

    void speedText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 2000.0 << "2000";
        QTest::newRow("fraction") << 1234.5 << "1234.5";
        QTest::newRow("binary noise rounds away") << 0.1 + 0.2 << "0.3";
        QTest::newRow("fifteen digits") << 1.0 / 3 << "0.333333333333333";
        QTest::newRow("minus zero") << -0.0 << "0";
        QTest::newRow("small, no exponent") << 0.00001 << "0.00001";
        QTest::newRow("tiny negative") << -1.25e-7 << "-0.000000125";
        QTest::newRow("large, no exponent") << 1e16 << "10000000000000000";
        QTest::newRow("large, rounded to 15 digits") << 123456789012345678.0 << "123456789012346000";
        QTest::newRow("carry") << 9.999999999999998 << "10";
    }

    void speedText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(FormatSpeed(value), text);
    }

    void loadResetsTheOptionsAndAppliesTheHardwareSettings()
    {
        // A file that left arc mode, absolute, S-curve...: the load resets them.
        QVERIFY(WriteBytes(MotionSetPath, "[UTILITY]\r\nMOTIONMODE=4\r\nPOSMODE=1\r\nVELCURVE=1\r\n"));
        MotionForm form;
        form.Form_Load();
        QCOMPARE(Find<QComboBox>(&form, "CoB_DirAxis(0)")->count(), 2);
        QVERIFY(Find<QRadioButton>(&form, "OB_FixedMove")->isChecked());
        QVERIFY(Find<QRadioButton>(&form, "OB_ContraPosMove")->isChecked());
        QVERIFY(Find<QRadioButton>(&form, "OB_DecelStop")->isChecked());
        QVERIFY(Find<QRadioButton>(&form, "OB_TCurveSelect")->isChecked());
        QVERIFY(Find<QRadioButton>(&form, "OB_ClockArc")->isChecked());
        QVERIFY(!Find<QRadioButton>(&form, "OB_ArcInte")->isChecked());
        QVERIFY(Find<QRadioButton>(&form, "OB_SCurveSlect")->isEnabled());                 // the fixed-move handler ran
        QCOMPARE(Find<QLabel>(&form, "L_ArcEnd")->text(), QStringLiteral("圆弧插补终点")); // as the load left it
        QVERIFY(Find<QCheckBox>(&form, "ChB_MotionAxis(0)")->isChecked());
        QVERIFY(!Find<QCheckBox>(&form, "ChB_MotionAxis(1)")->isChecked());
        QCOMPARE(Find<QLineEdit>(&form, "T_StrVelAxis(0)")->text(), QString()); // missing key
        QCOMPARE(Find<QComboBox>(&form, "CoB_DirAxis(0)")->currentText(), QStringLiteral("负"));
        QVERIFY(RecordedCalls().contains("tvn_config_latch_mode(0, 1) = 0"));
        QVERIFY(form.findChild<QTimer*>("Timer1")->isActive());
        QCOMPARE(form.findChild<QTimer*>("Timer1")->interval(), 15);
        form.close();
        QVERIFY(!form.findChild<QTimer*>("Timer1")->isActive());
    }

    void statusDisplay()
    {
        MotionForm form;
        form.Form_Load();
        form.findChild<QTimer*>("Timer1")->stop();
        CurrentCardNo = 1;
        tolvane::control::ClearCalls();
        form.Timer1_Timer();
        QCOMPARE(RecordedRequests(),
                 (QStringList{"tvn_get_equiv(0, &1)", "tvn_get_position(2)", "tvn_read_current_speed(2)",
                              "tvn_get_position(3)", "tvn_read_current_speed(3)"}));
        QCOMPARE(Find<QLabel>(&form, "LabelScale")->text(), QStringLiteral("Scale0 = 001.000"));

        // Millimetres: equivalents 100 and 110, positions with three decimals.
        tolvane::control::QueueResults("tvn_read_current_speed", {1234.5});
        tvn_set_position(2, -320);
        Find<QRadioButton>(&form, "OptionScale(1)")->click();
        QVERIFY(RecordedRequests().contains("tvn_set_equiv(0, 100)"));
        QVERIFY(RecordedRequests().contains("tvn_set_equiv(1, 110)"));
        tolvane::control::ClearCalls();
        form.Timer1_Timer();
        QCOMPARE(RecordedRequests()[1], QStringLiteral("tvn_get_position_unitmm(2, &-320)"));
        QCOMPARE(Find<QLineEdit>(&form, "T_PosAxis(0)")->text(), QStringLiteral("-320.000"));
        QCOMPARE(Find<QLineEdit>(&form, "T_SpeedAxis(0)")->text(), QStringLiteral("1234.5"));

        // The feedback counter shows whole pulses whatever the unit.
        Find<QRadioButton>(&form, "OB_EncCounter")->click();
        tolvane::control::ClearCalls();
        form.Timer1_Timer();
        QCOMPARE(RecordedRequests()[1], QStringLiteral("tvn_get_encoder(2)"));
        QCOMPARE(Find<QLineEdit>(&form, "T_PosAxis(0)")->text(), QStringLiteral("0"));
    }

    void displaySwitch()
    {
        MotionForm form;
        form.Form_Load();
        auto* timer = form.findChild<QTimer*>("Timer1");
        auto* button = Find<QPushButton>(&form, "CommandCloseTimer");
        QVERIFY(!button->isVisible());
        form.CommandCloseTimer_Click();
        QVERIFY(!timer->isActive());
        QCOMPARE(button->text(), QStringLiteral("关"));
        form.CommandCloseTimer_Click();
        QVERIFY(timer->isActive());
        QCOMPARE(button->text(), QStringLiteral("开"));
    }

    void modeOptionsEnableWhatTheModeCanUse()
    {
        MotionForm form;
        form.Form_Load();
        Find<QRadioButton>(&form, "OB_SCurveSlect")->click();
        Find<QRadioButton>(&form, "OB_LinearInte")->click();
        QVERIFY(Find<QRadioButton>(&form, "OB_TCurveSelect")->isChecked());
        QVERIFY(!Find<QRadioButton>(&form, "OB_SCurveSlect")->isEnabled());
        QVERIFY(!Find<QLineEdit>(&form, "T_Tsacc")->isEnabled());
        QCOMPARE(Find<QLabel>(&form, "L_ArcEnd")->text(), QStringLiteral("线性插补终点"));
        Find<QRadioButton>(&form, "OB_ContiMove")->click();
        QVERIFY(Find<QRadioButton>(&form, "OB_SCurveSlect")->isEnabled());
        QVERIFY(!Find<QRadioButton>(&form, "OB_LinearInte")->isChecked());
    }

    void modesChosenByKeyboardOrScreenReaderAreTheOnesStarted()
    {
        MotionForm form;
        form.Form_Load();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* fixed = Find<QRadioButton>(&form, "OB_FixedMove");
        fixed->setFocus();
        QTest::keyClick(fixed, Qt::Key_Up);
        QVERIFY(Find<QRadioButton>(&form, "OB_ContiMove")->isChecked());
        QVERIFY(!fixed->isChecked());
        tolvane::control::ClearCalls();
        form.CB_Start_Click();
        QCOMPARE(RecordedRequests().value(1), QStringLiteral("tvn_t_vmove(0, 1)"));
        form.CB_Stop_Click();

        // A screen reader's toggle runs the mode's handler too.
        QAccessible::setActive(true);
        auto* linear = Find<QRadioButton>(&form, "OB_LinearInte");
        QCOMPARE(QAccessible::queryAccessibleInterface(linear)->role(), QAccessible::RadioButton);
        QAccessible::queryAccessibleInterface(linear)->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
        QVERIFY(!Find<QRadioButton>(&form, "OB_ContiMove")->isChecked());
        QCOMPARE(Find<QLabel>(&form, "L_ArcEnd")->text(), QStringLiteral("线性插补终点"));
        QVERIFY(!Find<QRadioButton>(&form, "OB_SCurveSlect")->isEnabled());

        // The column headings stand inside their frame, under its border.
        for (const char* heading : {"L_ArcEnd", "L_ArcCenter"}) {
            const QRect r = Find<QLabel>(&form, heading)->geometry();
            QVERIFY(r.top() > 7 && r.bottom() < Find<QLineEdit>(&form, "T_ArcEndPos(0)")->geometry().top());
        }
    }

    void startFromTheWindow()
    {
        MotionForm form;
        form.Form_Load();
        tolvane::control::ClearCalls();
        QTest::mouseClick(Find<QPushButton>(&form, "CB_Start"), Qt::LeftButton);
        QCOMPARE(RecordedRequests(),
                 (QStringList{"tvn_set_profile(0, 400, 2000, 0.1, 0.1)", "tvn_t_pmove(0, 4000, 0)"}));

        // The raise reacts to a mouse press, not to the keyboard.
        tolvane::control::ClearCalls();
        auto* raise = Find<QPushButton>(&form, "CB_DynaAcc");
        raise->show();
        QTest::mousePress(raise, Qt::RightButton);
        QTest::keyClick(raise, Qt::Key_Space);
        QCOMPARE(RecordedRequests(), QStringList{"tvn_change_speed(0, 2100)"});
    }

    void settingsFile()
    {
        MotionForm form;
        form.Form_Load();
        // Saving without a file writes nothing.
        form.CB_SaveMotPara_Click();
        QVERIFY(!QFile::exists(MotionSetPath));

        // Into an empty file, the window as it opens gives the file shipped
        // with the program.
        QVERIFY(WriteBytes(MotionSetPath, {}));
        form.CB_SaveMotPara_Click();
        QCOMPARE(ReadBytes(MotionSetPath),
                 ReadBytes(QStringLiteral(KESTRUNE_SOURCE_DIR "/kestrune/motion/Motion_set.txt")));

        // Arc mode then linear mode: both kinds of end keys stay.
        Find<QRadioButton>(&form, "OB_ArcInte")->click();
        Find<QLineEdit>(&form, "T_ArcEndPos(0)")->setText("55");
        Find<QLineEdit>(&form, "T_ArcCenter(3)")->setText("66");
        Find<QComboBox>(&form, "CoB_DirAxis(1)")->setEditText("+");
        form.CB_SaveMotPara_Click();
        Find<QRadioButton>(&form, "OB_HomeMove")->click();
        Find<QLineEdit>(&form, "T_ArcEndPos(0)")->setText("77");
        form.CB_SaveMotPara_Click();
        const auto read = [](const char* section, const char* key) {
            return ReadIniValue(QString::fromUtf8(section), QLatin1String(key), MotionSetPath);
        };
        QCOMPARE(read("第0轴", "ARCEND"), QStringLiteral("55"));
        QCOMPARE(read("第0轴", "LINEEND"), QStringLiteral("77"));
        QCOMPARE(read("第3轴", "ARCCENTER"), QStringLiteral("66"));
        QCOMPARE(read("第1轴", "DIR"), QStringLiteral("1"));
        QCOMPARE(read("第2轴", "STRVEL"), QString());
        QCOMPARE(read("UTILITY", "MOTIONMODE"), QStringLiteral("0"));

        // Loading the homing file fills the ends from LINEEND and keeps the centres.
        Find<QLineEdit>(&form, "T_ArcCenter(0)")->setText("kept");
        form.CB_LoadMotPara_Click();
        QVERIFY(Find<QRadioButton>(&form, "OB_HomeMove")->isChecked());
        QCOMPARE(Find<QLineEdit>(&form, "T_ArcEndPos(0)")->text(), QStringLiteral("77"));
        QCOMPARE(Find<QLineEdit>(&form, "T_ArcCenter(0)")->text(), QStringLiteral("kept"));
        QCOMPARE(Find<QLabel>(&form, "L_ArcEnd")->text(), QStringLiteral("线性插补终点"));
        QCOMPARE(Find<QComboBox>(&form, "CoB_DirAxis(1)")->currentText(), QStringLiteral("负"));

        // An arc file: ends and centres from ARCEND and ARCCENTER, and the
        // S-curve that the load selects after the mode stays selected.
        WriteIniValue(MotionSetPath, "UTILITY", "MOTIONMODE", "4");
        WriteIniValue(MotionSetPath, "UTILITY", "VELCURVE", "1");
        form.CB_LoadMotPara_Click();
        QVERIFY(Find<QRadioButton>(&form, "OB_ArcInte")->isChecked());
        QCOMPARE(Find<QLineEdit>(&form, "T_ArcEndPos(0)")->text(), QStringLiteral("55"));
        QCOMPARE(Find<QLineEdit>(&form, "T_ArcCenter(3)")->text(), QStringLiteral("66"));
        QCOMPARE(Find<QLabel>(&form, "L_ArcEnd")->text(), QStringLiteral("圆弧插补终点"));
        QVERIFY(Find<QRadioButton>(&form, "OB_SCurveSlect")->isChecked());
    }

    void aSaveThatCannotWriteSaysSoOnce()
    {
        Unprivileged user;
        QTemporaryDir dir;
        SetSettingsPaths(dir.path());
        QVERIFY(WriteBytes(MotionSetPath, "[UTILITY]\r\nMOTIONMODE=1\r\n"));
        QFile::setPermissions(MotionSetPath, QFile::ReadOwner);
        MotionForm form;
        form.Form_Load();
        MessageCatcher messages;
        QTest::mouseClick(Find<QPushButton>(&form, "CB_SaveMotPara"), Qt::LeftButton);
        QCOMPARE(messages.texts.size(), 1);
        QVERIFY(messages.texts[0].contains(QDir::toNativeSeparators(MotionSetPath)));
        QCOMPARE(ReadBytes(MotionSetPath), QByteArray("[UTILITY]\r\nMOTIONMODE=1\r\n"));
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestMotionForm)
#include "tst_motionform.moc"

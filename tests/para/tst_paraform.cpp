#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "main/mainform.h"
#include "para/paralayout.h"
#include "para/paraform.h"
#include "settings/hardwaresettings.h"
#include "settings/ini.h"
#include "settings/state.h"
#include "support/controls.h"
#include "support/files.h"
#include "support/messages.h"
#include "support/program.h"
#include "support/unprivileged.h"

class TestParaForm : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        FreshProgram(dir_.path(), 1);
    }

    void opensUnfilledWithoutAFile()
    {
        ParaForm form;
        form.Form_Load();
        form.show();
        for (QRadioButton* option : form.findChildren<QRadioButton*>())
            QCOMPARE(option->isChecked(), option->objectName() == QLatin1String("OB_LoadHParaAxis(0)"));
        for (QCheckBox* box : form.findChildren<QCheckBox*>())
            QVERIFY(!box->isChecked());
        for (QLineEdit* text : form.findChildren<QLineEdit*>())
            QCOMPARE(text->text(), text->objectName() == QLatin1String("TextSMCEzNum") ? "1" : "0");
        QCOMPARE(form.SSTab1->currentIndex(), 2);
        QCOMPARE(form.SSTab1->tabText(4), QStringLiteral("伺服信号"));
        QCOMPARE(form.focusWidget(), Find<QPushButton>(&form, "CB_LoadHardPara"));
        QVERIFY(RecordedCalls().isEmpty()); // the window itself never calls the card
    }

    void controlsAndSettingsNameTheSameKeys()
    {
        // Each key the settings table saves is saved from a control group of
        // the window, in the same order, with as many controls as its kind of
        // value chooses from.
        const auto keys = HardwareKeys();
        const auto controls = ParaKeyControls();
        QCOMPARE(controls.size(), keys.size());
        ParaForm form;
        for (size_t k = 0; k < keys.size(); ++k) {
            QCOMPARE(QLatin1String(controls[k].key), QLatin1String(keys[k].name));
            const size_t count = controls[k].controls.size();
            switch (keys[k].kind) {
            case HardwareKeyKind::Text: QCOMPARE(count, size_t(1)); break;
            case HardwareKeyKind::TwoChoice:
            case HardwareKeyKind::LatchAll: QCOMPARE(count, size_t(2)); break;
            case HardwareKeyKind::ExDrive: QCOMPARE(count, size_t(3)); break;
            case HardwareKeyKind::PulseIn: QCOMPARE(count, size_t(4)); break;
            case HardwareKeyKind::Indexed: QVERIFY(count == 4 || count == 8); break;
            }
            for (const char* name : controls[k].controls)
                QVERIFY2(form.findChild<QWidget*>(QLatin1String(name)), name);
        }
    }

    void hiddenAndVisibleAsTheLayoutSays()
    {
        ParaForm form;
        form.show();
        form.SSTab1->setCurrentIndex(0);
        QVERIFY(Find<QRadioButton>(&form, "OB_PulseMode(5)")->isVisible());
        QVERIFY(!Find<QRadioButton>(&form, "OB_PulseMode(6)")->isVisible());
        QVERIFY(!Find<QGroupBox>(&form, "Frame1")->isVisible());
        QVERIFY(!Find<QRadioButton>(&form, "OB_LoadHParaAxis(2)")->isEnabled());
        QCOMPARE(Find<QLabel>(&form, "Picture2")->pixmap().size(), QSize(344, 144));
        form.SSTab1->setCurrentIndex(2);
        QVERIFY(!Find<QRadioButton>(&form, "OB_IptmodeCWCCW")->isVisible());
        QVERIFY(Find<QRadioButton>(&form, "OB_IptmodeAB4")->isVisible());
        // Every visible control fits inside its parent.
        for (QWidget* w : form.findChildren<QWidget*>()) {
            if (!w->isVisible() || !w->parentWidget() || w->objectName().isEmpty() ||
                w->parentWidget()->objectName().startsWith("qt_"))
                continue;
            QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(w->objectName()));
        }
    }

    void saveWritesTheTickedAxesThenAppliesTheFile()
    {
        ParaForm form;
        form.Form_Load();
        // Nothing ticked: nothing written, the file applied all the same.
        form.CB_SaveHardPara_Click();
        QVERIFY(!QFile::exists(HardwareSetPath));
        QCOMPARE(RecordedCalls().size(), 26);

        Find<QRadioButton>(&form, "OB_PulseMode(3)")->click();
        Find<QRadioButton>(&form, "OB_HPLLogHigh")->click();
        Find<QRadioButton>(&form, "OB_HPLEmgStop")->click();
        Find<QLineEdit>(&form, "T_SPLPos")->setText("12345"); // hidden, still saved
        Find<QCheckBox>(&form, "ChB_SaveHParaAxis(0)")->setChecked(true);
        Find<QCheckBox>(&form, "ChB_SaveHParaAxis(1)")->setChecked(true);
        tolvane::control::ClearCalls();
        QTest::mouseClick(Find<QPushButton>(&form, "CB_SaveHardPara"), Qt::LeftButton);
        QCOMPARE(ReadIniValue("第1轴", "SPLPOS", HardwareSetPath), QStringLiteral("12345"));
        const QStringList calls = RecordedRequests();
        QCOMPARE(calls[0], QStringLiteral("tvn_set_pulse_outmode(0, 3)"));
        QCOMPARE(calls[11], QStringLiteral("tvn_config_EL_MODE(0, 2)"));
        QCOMPARE(calls[12], QStringLiteral("tvn_set_pulse_outmode(1, 3)"));

        // Both axis sections hold the same lines.
        const QByteArray bytes = ReadBytes(HardwareSetPath);
        const QList<QByteArray> sections = bytes.split('[');
        QCOMPARE(sections.size(), 4);
        QCOMPARE(sections[1].mid(sections[1].indexOf(']')), sections[3].mid(sections[3].indexOf(']')));
    }

    void saveThatCannotWriteSaysSoOnceAndStillApplies_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("written");
        QTest::newRow("read-only folder, writable file") << "folder" << true;
        QTest::newRow("read-only file") << "file" << false;
        QTest::newRow("missing folder") << "missing" << false;
    }

    void saveThatCannotWriteSaysSoOnceAndStillApplies()
    {
        QFETCH(QString, setup);
        QFETCH(bool, written);
        Unprivileged user;
        QTemporaryDir dir;
        const QByteArray before = "[\xB5\xDA"
                                  "0\xD6\xE1]\r\nPULSEOUTMODE= 1\r\n";
        SetSettingsPaths(setup == "missing" ? dir.filePath("gone") : dir.path());
        if (setup != "missing")
            QVERIFY(WriteBytes(HardwareSetPath, before));
        if (setup == "file")
            QFile::setPermissions(HardwareSetPath, QFile::ReadOwner | QFile::ReadGroup);
        if (setup == "folder")
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);

        ParaForm form;
        form.Form_Load();
        Find<QRadioButton>(&form, "OB_PulseMode(3)")->click();
        Find<QCheckBox>(&form, "ChB_SaveHParaAxis(0)")->setChecked(true);
        Find<QCheckBox>(&form, "ChB_SaveHParaAxis(1)")->setChecked(true);
        tolvane::control::ClearCalls();
        MessageCatcher messages;
        form.CB_SaveHardPara_Click();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        if (written) {
            QVERIFY(messages.texts.isEmpty());
            QCOMPARE(ReadIniValue("第1轴", "PULSEOUTMODE", HardwareSetPath), QStringLiteral("3"));
        } else {
            QCOMPARE(messages.texts.size(), 1);
            QVERIFY(messages.texts[0].contains(QDir::toNativeSeparators(HardwareSetPath)));
            QVERIFY(messages.texts[0].contains(setup == "missing" ? "不存在" : "权限"));
            QCOMPARE(ReadBytes(HardwareSetPath), setup == "missing" ? QByteArray() : before);
        }
        // The card is configured from the file as it now is.
        QCOMPARE(RecordedRequests().value(0), QStringLiteral("tvn_set_pulse_outmode(0, %1)")
                                                  .arg(written           ? 3
                                                       : setup == "file" ? 1
                                                                         : 0));
        QCOMPARE(RecordedCalls().size(), 26);
    }

    void loadTheChosenAxis()
    {
        WriteIniValue(HardwareSetPath, "第0轴", "PULSEOUTMODE", " 1");
        WriteIniValue(HardwareSetPath, "第1轴", "PULSEOUTMODE", " 4");
        WriteIniValue(HardwareSetPath, "第1轴", "LOGICHOME", "-250");
        WriteIniValue(HardwareSetPath, "UTILITY", "LATCHALLAXIS", "0");
        ParaForm form;
        form.Form_Load();
        QVERIFY(Find<QRadioButton>(&form, "OB_PulseMode(1)")->isChecked());
        Find<QRadioButton>(&form, "OptionLatchALL(0)")->click();
        Find<QCheckBox>(&form, "ChB_SaveHParaAxis(0)")->setChecked(true);

        Find<QRadioButton>(&form, "OB_LoadHParaAxis(1)")->click();
        form.CB_LoadHardPara_Click();
        QVERIFY(Find<QRadioButton>(&form, "OB_PulseMode(4)")->isChecked());
        QVERIFY(!Find<QRadioButton>(&form, "OB_PulseMode(1)")->isChecked());
        QCOMPARE(Find<QLineEdit>(&form, "T_LogicHomePos")->text(), QStringLiteral("-250"));
        QVERIFY(Find<QRadioButton>(&form, "OB_LoadHParaAxis(1)")->isChecked());
        QVERIFY(Find<QCheckBox>(&form, "ChB_SaveHParaAxis(0)")->isChecked());
        // LATCHALLAXIS=0 leaves neither latch button selected.
        QVERIFY(!Find<QRadioButton>(&form, "OptionLatchALL(0)")->isChecked());
        QVERIFY(!Find<QRadioButton>(&form, "OptionLatchALL(1)")->isChecked());
    }

    void theMainWindowOpensOneInstance()
    {
        MainForm main;
        main.Form_Load(dir_.path());
        auto* form = qobject_cast<ParaForm*>(main.OpenWindow(MainForm::ParaWindow));
        QVERIFY(form);
        form->SSTab1->setCurrentIndex(0);
        Find<QRadioButton>(form, "OB_PulseMode(2)")->click();
        // A second click brings the same window forward, choices kept.
        QCOMPARE(main.OpenWindow(MainForm::ParaWindow), form);
        QVERIFY(Find<QRadioButton>(form, "OB_PulseMode(2)")->isChecked());
        QCOMPARE(form->SSTab1->currentIndex(), 0);
        main.OpenParaFormOnCounterTab();
        QCOMPARE(form->SSTab1->currentIndex(), 2);
        main.Form_Unload();
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestParaForm)
#include "tst_paraform.moc"

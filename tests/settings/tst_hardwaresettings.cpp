#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "settings/gbk.h"
#include "settings/hardwaresettings.h"
#include "settings/ini.h"
#include "support/files.h"

namespace {

// Every group without a selection, every text box with its initial text.
HardwareFields Blank()
{
    HardwareFields fields;
    for (const HardwareKey& key : HardwareKeys()) {
        if (key.kind == HardwareKeyKind::Text)
            fields.texts[QLatin1String(key.name)] = QStringLiteral("0");
        else
            fields.selected[QLatin1String(key.name)] = -1;
    }
    return fields;
}

} // namespace

class TestHardwareSettings : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("hardware_set.txt"));
        QFile::remove(path_);
    }

    void savingAxisZeroIntoAMissingFile()
    {
        HardwareFields fields = Blank();
        fields.selected["PULSEOUTMODE"] = 3;
        fields.selected["HOMEMODE"] = 0;
        fields.selected["PULSEINMODE"] = 2;
        fields.selected["EXDRIVEMODE"] = 1;
        fields.selected["LATCHALLAXIS"] = 0;
        fields.texts["LOGICHOME"] = " 12 abc";
        WriteHardwareSettings(0, fields, path_);
        const QByteArray expected = ToGbk(QStringLiteral(
            "[第0轴]\r\nPULSEOUTMODE= 3\r\nHOMEMODE=0\r\nHOMELOGIC=1\r\nHOMESPEEDMODE=1\r\nEZENABLE=1\r\nEZLOGIC=1\r\n"
            "LTCLOGIC=1\r\nLOGICHOME= 12 abc\r\nPULSEINMODE=2\r\nSDENABLE=1\r\nSDLOGIC=1\r\nALMSTOPMODE=1\r\n"
            "ALMLOGIC=1\r\nPCSENABLE=1\r\nPCSLOGIC=1\r\nINPENABLE=1\r\nINPLOGIC=1\r\nERCENABLE=1\r\nERCLOGIC=1\r\n"
            "HPLSTOP=1\r\nHPLLOGIC=1\r\nSPLENABLE=1\r\nSPLCOUNTER=1\r\nSPLPOS=0\r\nSNLCOUNTER=1\r\nSNLPOS=0\r\n"
            "EXDRIVEMODE=1\r\nHWHEELLENGTH=0\r\nEXDRIVEVEL=0\r\n"
            "[UTILITY]\r\nLATCHALLAXIS=1\r\nEMGENABLE=1\r\nEMGLOGIC=1\r\n"));
        QCOMPARE(ReadBytes(path_), expected);
    }

    void savingBothAxesKeepsOneUtilitySection()
    {
        HardwareFields fields = Blank();
        fields.selected["SDMODE"] = 2;
        fields.selected["EMGLOGIC"] = 1;
        WriteHardwareSettings(0, fields, path_);
        fields.selected["EMGLOGIC"] = 0;
        fields.selected["PULSEOUTMODE"] = 5;
        WriteHardwareSettings(1, fields, path_);
        const QByteArray bytes = ReadBytes(path_);
        QCOMPARE(bytes.count("[UTILITY]"), 1);
        QVERIFY(bytes.indexOf(ToGbk("[第0轴]")) < bytes.indexOf("[UTILITY]"));
        QVERIFY(bytes.indexOf("[UTILITY]") < bytes.indexOf(ToGbk("[第1轴]")));
        QCOMPARE(ReadIniValue("UTILITY", "EMGLOGIC", path_), QStringLiteral("0"));
        QCOMPARE(ReadIniValue("第0轴", "SDMODE", path_), QStringLiteral("2"));
        // Without a selection the pulse type of axis 0 was not written at all.
        QVERIFY(!bytes.left(bytes.indexOf("[UTILITY]")).contains("PULSEOUTMODE"));
        QCOMPARE(ReadIniValue("第1轴", "PULSEOUTMODE", path_), QStringLiteral("5"));
    }

    void loadingAnAxisTheFileDoesNotHold()
    {
        QVERIFY(WriteBytes(path_, ToGbk("[第0轴]\r\nHOMEMODE=0\r\n")));
        HardwareFields fields = Blank();
        fields.selected["PULSEINMODE"] = 3;
        fields.selected["HOMEMODE"] = 0;
        fields.texts["SPLPOS"] = "99";
        ReadHardwareSettings(1, path_, fields);
        QCOMPARE(fields.selected["PULSEOUTMODE"], 0);
        QCOMPARE(fields.selected["SDMODE"], 0);
        QCOMPARE(fields.selected["HOMEMODE"], 1);
        QCOMPARE(fields.selected["ERCLOGIC"], 1);
        QCOMPARE(fields.selected["PULSEINMODE"], 3); // left as it was
        QCOMPARE(fields.selected["EXDRIVEMODE"], 2);
        QCOMPARE(fields.selected["LATCHALLAXIS"], 0);
        QCOMPARE(fields.selected["EMGENABLE"], 1);
        QCOMPARE(fields.selected["EMGLOGIC"], 1);
        for (const char* text : {"LOGICHOME", "SPLPOS", "SNLPOS", "HWHEELLENGTH", "EXDRIVEVEL"})
            QCOMPARE(fields.texts[text], QString());

        // No file at all: nothing changes.
        QFile::remove(path_);
        const HardwareFields before = fields;
        ReadHardwareSettings(0, path_, fields);
        QCOMPARE(fields.selected, before.selected);
        QCOMPARE(fields.texts, before.texts);
    }

    void valuesThatNameNoButton_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("pulse input 5") << "PULSEINMODE"
                                       << "5" << 2 << 2;
        QTest::newRow("pulse input 1") << "PULSEINMODE"
                                       << "1" << 2 << 1;
        QTest::newRow("SD action 4") << "SDMODE"
                                     << "4" << 1 << 1;
        QTest::newRow("SD action 9") << "SDMODE"
                                     << "9" << 1 << 1;
        QTest::newRow("SD action 3.6 rounds to 4") << "SDMODE"
                                                   << "3.6" << 1 << 1;
        QTest::newRow("SD action negative") << "SDMODE"
                                            << "-1" << 1 << 1;
        QTest::newRow("SD action 2.5") << "SDMODE"
                                       << " 2.5" << 1 << 2;
        QTest::newRow("pulse type 9") << "PULSEOUTMODE"
                                      << "9" << 4 << 4;
        QTest::newRow("pulse type hidden 7") << "PULSEOUTMODE"
                                             << " 7" << 4 << 7;
        QTest::newRow("pulse type text") << "PULSEOUTMODE"
                                         << "abc" << 4 << 0;
        QTest::newRow("two-choice 00") << "HOMELOGIC"
                                       << "00" << 0 << 1;
        QTest::newRow("two-choice no") << "HOMELOGIC"
                                       << "no" << 0 << 1;
        QTest::newRow("two-choice 0") << "HOMELOGIC"
                                      << "0" << 1 << 0;
        QTest::newRow("external drive 7") << "EXDRIVEMODE"
                                          << "7" << 0 << 2;
        QTest::newRow("latch 0 clears all axes") << "LATCHALLAXIS"
                                                 << "0" << 0 << -1;
        QTest::newRow("latch 0 keeps single axis") << "LATCHALLAXIS"
                                                   << "0" << 1 << 1;
        QTest::newRow("latch anything else") << "LATCHALLAXIS"
                                             << "x" << 1 << 0;
    }

    void valuesThatNameNoButton()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(int, before);
        QFETCH(int, after);
        const bool utility = key == QLatin1String("LATCHALLAXIS");
        WriteIniValue(path_, utility ? QStringLiteral("UTILITY") : QStringLiteral("第0轴"), key, value);
        HardwareFields fields = Blank();
        fields.selected[key] = before;
        ReadHardwareSettings(0, path_, fields);
        QCOMPARE(fields.selected[key], after);
    }

    void latchClearedByTheFileIsSavedAsZeroAgain()
    {
        WriteIniValue(path_, "UTILITY", "LATCHALLAXIS", "0");
        HardwareFields fields = Blank();
        fields.selected["LATCHALLAXIS"] = 0;
        ReadHardwareSettings(0, path_, fields);
        WriteHardwareSettings(0, fields, path_);
        QCOMPARE(ReadIniValue("UTILITY", "LATCHALLAXIS", path_), QStringLiteral("0"));
    }

    void everyGroupRoundTrips()
    {
        HardwareFields saved = Blank();
        int i = 0;
        for (const HardwareKey& key : HardwareKeys()) {
            const QString name = QLatin1String(key.name);
            switch (key.kind) {
            case HardwareKeyKind::Text: saved.texts[name] = QStringLiteral("文本 %1").arg(i); break;
            case HardwareKeyKind::Indexed: saved.selected[name] = 3; break;
            case HardwareKeyKind::PulseIn: saved.selected[name] = 2; break;
            case HardwareKeyKind::ExDrive: saved.selected[name] = 1; break;
            case HardwareKeyKind::LatchAll: saved.selected[name] = 0; break; // 单轴 is never saved
            default: saved.selected[name] = i % 2; break;
            }
            ++i;
        }
        WriteHardwareSettings(1, saved, path_);
        HardwareFields loaded = Blank();
        ReadHardwareSettings(1, path_, loaded);
        QCOMPARE(loaded.selected, saved.selected);
        QCOMPARE(loaded.texts, saved.texts);
    }

private:
    QTemporaryDir dir_;
    QString path_;
};

QTEST_GUILESS_MAIN(TestHardwareSettings)
#include "tst_hardwaresettings.moc"

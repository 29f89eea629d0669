#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "settings/apply.h"
#include "settings/ini.h"
#include "settings/state.h"
#include "support/program.h"

namespace {

// The per-axis calls for the values that an empty file gives.
QStringList DefaultAxisCalls(int a)
{
    const QString n = QString::number(a);
    return {
        "tvn_set_pulse_outmode(" + n + ", 0) = 0",       "tvn_set_HOME_pin_logic(" + n + ", 1, 1) = 0",
        "tvn_config_home_mode(" + n + ", 1, 1) = 0",     "tvn_config_EZ_PIN(" + n + ", 1, 1) = 0",
        "tvn_config_LTC_PIN(" + n + ", 0, 1) = 0",       "tvn_counter_config(" + n + ", 0) = 0",
        "tvn_config_SD_PIN(" + n + ", 0, 0, 0) = 0",     "tvn_config_INP_PIN(" + n + ", 1, 1) = 0",
        "tvn_config_ALM_PIN(" + n + ", 1, 1) = 0",       "tvn_config_PCS_PIN(" + n + ", 0, 0) = 0",
        "tvn_config_ERC_PIN(" + n + ", 0, 0, 1, 1) = 0", "tvn_config_EL_MODE(" + n + ", 3) = 0",
    };
}

} // namespace

class TestApply : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        FreshProgram(dir_.path(), 2);
        HomeSpeedMode = {7, 7, 7, 7};
    }

    void withoutAFileEveryCallGetsItsDefault()
    {
        ApplyHardwareSettings(0);
        const QStringList card = {"tvn_config_EMG_PIN(0, 0, 0) = 0", "tvn_config_latch_mode(0, 1) = 0"};
        QCOMPARE(RecordedCalls(), DefaultAxisCalls(0) + DefaultAxisCalls(1) + card);
        QCOMPARE(HomeSpeedMode, (std::array<int16_t, 4>{0, 0, 7, 7}));
    }

    void secondCardAddressesAxesFourAndFive()
    {
        ApplyHardwareSettings(1);
        const QStringList card = {"tvn_config_EMG_PIN(1, 0, 0) = 0", "tvn_config_latch_mode(1, 1) = 0"};
        QCOMPARE(RecordedCalls(), DefaultAxisCalls(4) + DefaultAxisCalls(5) + card);
    }

    void storedValuesReachTheCard()
    {
        const auto set = [](const QString& section, const char* key, const char* value) {
            WriteIniValue(HardwareSetPath, section, QLatin1String(key), QLatin1String(value));
        };
        const QString axis0 = QStringLiteral("第0轴");
        const QString axis1 = QStringLiteral("第1轴");
        set(axis0, "PULSEOUTMODE", " 3");
        set(axis0, "HOMEMODE", "0");
        set(axis0, "HOMELOGIC", "00");
        set(axis0, "HOMESPEEDMODE", "1");
        set(axis0, "EZENABLE", "0");
        set(axis0, "LTCLOGIC", "1");
        set(axis0, "PULSEINMODE", "3");
        set(axis0, "SDENABLE", "1");
        set(axis0, "SDLOGIC", "1");
        set(axis0, "SDMODE", " 2");
        set(axis0, "ERCENABLE", "1");
        set(axis0, "HPLSTOP", "0");
        set(axis0, "HPLLOGIC", "1");
        set(axis1, "PULSEOUTMODE", "2.5");
        set(axis1, "HPLSTOP", "0");
        set(axis1, "HPLLOGIC", "0");
        set(QStringLiteral("UTILITY"), "EMGENABLE", "1");
        set(QStringLiteral("UTILITY"), "LATCHALLAXIS", "0");
        ApplyHardwareSettings(0);

        const QStringList calls = RecordedCalls();
        QCOMPARE(calls.size(), 26);
        QCOMPARE(calls[0], "tvn_set_pulse_outmode(0, 3) = 0");
        QCOMPARE(calls[1], "tvn_set_HOME_pin_logic(0, 1, 1) = 0");
        QCOMPARE(calls[2], "tvn_config_home_mode(0, 0, 1) = 0");
        QCOMPARE(calls[3], "tvn_config_EZ_PIN(0, 1, 0) = 0");
        QCOMPARE(calls[4], "tvn_config_LTC_PIN(0, 1, 1) = 0");
        QCOMPARE(calls[5], "tvn_counter_config(0, 3) = 0");
        QCOMPARE(calls[6], "tvn_config_SD_PIN(0, 1, 1, 2) = 0");
        QCOMPARE(calls[10], "tvn_config_ERC_PIN(0, 1, 0, 1, 1) = 0");
        QCOMPARE(calls[11], "tvn_config_EL_MODE(0, 2) = 0");
        QCOMPARE(calls[12], "tvn_set_pulse_outmode(1, 2) = 0");
        QCOMPARE(calls[23], "tvn_config_EL_MODE(1, 0) = 0");
        QCOMPARE(calls[24], "tvn_config_EMG_PIN(0, 1, 0) = 0");
        QCOMPARE(calls[25], "tvn_config_latch_mode(0, 0) = 0");
        QCOMPARE(HomeSpeedMode[0], int16_t(1));
        QCOMPARE(HomeSpeedMode[1], int16_t(0));
    }

    void aNumberBeyondSixteenBitsSkipsOnlyItsCall()
    {
        WriteIniValue(HardwareSetPath, QStringLiteral("第0轴"), QStringLiteral("PULSEOUTMODE"),
                      QStringLiteral("40000"));
        WriteIniValue(HardwareSetPath, QStringLiteral("第0轴"), QStringLiteral("SDMODE"), QStringLiteral("40000"));
        WriteIniValue(HardwareSetPath, QStringLiteral("第0轴"), QStringLiteral("HOMESPEEDMODE"),
                      QStringLiteral("-99999"));
        WriteIniValue(HardwareSetPath, QStringLiteral("UTILITY"), QStringLiteral("EMGLOGIC"), QStringLiteral("1e9"));
        ApplyHardwareSettings(0);

        QStringList expected =
            DefaultAxisCalls(0) + DefaultAxisCalls(1) + QStringList{"tvn_config_latch_mode(0, 1) = 0"};
        expected.removeAll("tvn_set_pulse_outmode(0, 0) = 0");
        expected.removeAll("tvn_config_SD_PIN(0, 0, 0, 0) = 0");
        QCOMPARE(RecordedCalls(), expected);
        QCOMPARE(HomeSpeedMode[0], int16_t(7)); // kept, not clipped
    }

    void everyCallIsMadeWhatTheCardAnswers()
    {
        // No card at all: each call fails and the sequence goes on.
        FreshCards(0);
        ApplyHardwareSettings(0);
        const QStringList calls = RecordedCalls();
        QCOMPARE(calls.size(), 26);
        QVERIFY(calls[0].endsWith(" = 2"));
        QVERIFY(calls[25].endsWith(" = 1"));
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestApply)
#include "tst_apply.moc"

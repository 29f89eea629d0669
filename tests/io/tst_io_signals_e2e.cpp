// The I/O window against the simulated card, with the settings applied as
// the window's load applies them (no settings file: the defaults).
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "io/ioform.h"
#include "settings/apply.h"
#include "settings/ini.h"
#include "settings/state.h"
#include "support/controls.h"
#include "support/program.h"
#include "tolvane/clocksteps.h"
#include "widgets/lamp.h"

namespace {

using Column = IoFormControl::Column;

} // namespace

class TestIoSignalsE2e : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        FreshProgram(dir_.path(), 1);
        tolvane::control::UseTestClock(true);
        form_ = std::make_unique<IoFormControl>();
        form_->Form_Load();
        form_->findChild<QTimer*>("Timer1")->stop();
        // Away from the index mark at physical 0, so that every lamp idles.
        tvn_t_pmove(0, 500, 0);
        tvn_t_pmove(1, 500, 0);
        RunToRest(0, 0.05);
        form_->Timer1_Timer();
    }

    void cleanup() { form_.reset(); }

    void atRestEveryLampIsClear()
    {
        for (int c = 0; c < IoFormControl::ColumnCount; ++c)
            for (int i = 0; i < 2; ++i)
                QVERIFY2(form_->SignalLamp(Column(c), i)->Colour() == Lamp::kClear, qPrintable(QString::number(c)));
        for (const char* name : {"S_CSTA", "S_CSTP", "S_CSD", "S_CEMG", "S_InputNo(0)"})
            QCOMPARE(Find<Lamp>(form_.get(), name)->Colour(), Lamp::kClear);
    }

    void aToggledOutputLightsItsInput()
    {
        form_->CB_OutNo_Click(6);
        form_->Timer1_Timer();
        QCOMPARE(Find<Lamp>(form_.get(), "S_OutputNo(6)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(form_.get(), "S_InputNo(6)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(form_.get(), "S_InputNo(5)")->Colour(), Lamp::kClear);
        form_->CB_OutNo_Click(6);
        form_->Timer1_Timer();
        QCOMPARE(Find<Lamp>(form_.get(), "S_InputNo(6)")->Colour(), Lamp::kClear);
    }

    void servoOnThenReady()
    {
        form_->Command_SEVON_Click(1);
        form_->Timer1_Timer();
        QCOMPARE(form_->SignalLamp(IoFormControl::SEVON, 1)->Colour(), Lamp::kSet);
        QCOMPARE(form_->SignalLamp(IoFormControl::INP, 1)->Colour(), Lamp::kSet);
        int ticks = 0;
        for (; form_->SignalLamp(IoFormControl::RDY, 0)->Colour() != Lamp::kSet && ticks < 100; ++ticks) {
            tolvane::control::AdvanceClock(0.024);
            form_->Timer1_Timer();
        }
        QCOMPARE(ticks, 9); // 216 ms: the first tick after 200 ms
        QCOMPARE(form_->SignalLamp(IoFormControl::RDY, 1)->Colour(), Lamp::kSet);
        form_->Command_SEVON_Click(0);
        form_->Timer1_Timer();
        QCOMPARE(form_->SignalLamp(IoFormControl::RDY, 0)->Colour(), Lamp::kClear);
        QCOMPARE(form_->SignalLamp(IoFormControl::INP, 0)->Colour(), Lamp::kClear);
    }

    void homingPassesTheSwitchOntoTheIndex()
    {
        // The default settings home onto the first index mark past the switch.
        tvn_home_move(0, 2, 1);
        bool sawOrg = false;
        for (int i = 0; i < 1000 && tvn_axis_status(0) != 0; ++i) {
            tolvane::control::AdvanceClock(0.024);
            form_->Timer1_Timer();
            sawOrg = sawOrg || form_->SignalLamp(IoFormControl::ORG, 0)->Colour() == Lamp::kSet;
        }
        QVERIFY(sawOrg);
        form_->Timer1_Timer();
        QCOMPARE(tolvane::control::PhysicalPosition(0), -3000.0);
        QCOMPARE(form_->SignalLamp(IoFormControl::ORG, 0)->Colour(), Lamp::kClear);
        QCOMPARE(form_->SignalLamp(IoFormControl::INDEX, 0)->Colour(), Lamp::kSet);
        QCOMPARE(form_->SignalLamp(IoFormControl::INDEX, 1)->Colour(), Lamp::kClear);
    }

    void anActiveLowSettingLightsTheIdleLamp()
    {
        WriteIniValue(HardwareSetPath, AxisSection(0), QStringLiteral("HOMELOGIC"), QStringLiteral("0"));
        WriteIniValue(HardwareSetPath, AxisSection(1), QStringLiteral("HPLLOGIC"), QStringLiteral("0"));
        ApplyHardwareSettings(0);
        form_->Timer1_Timer();
        QCOMPARE(form_->SignalLamp(IoFormControl::ORG, 0)->Colour(), Lamp::kSet);
        QCOMPARE(form_->SignalLamp(IoFormControl::ORG, 1)->Colour(), Lamp::kClear);
        QCOMPARE(form_->SignalLamp(IoFormControl::PEL, 1)->Colour(), Lamp::kSet);
        QCOMPARE(form_->SignalLamp(IoFormControl::NEL, 1)->Colour(), Lamp::kSet);
        QCOMPARE(form_->SignalLamp(IoFormControl::PEL, 0)->Colour(), Lamp::kClear);
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<IoFormControl> form_;
};

QTEST_MAIN(TestIoSignalsE2e)
#include "tst_io_signals_e2e.moc"

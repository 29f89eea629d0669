// The counter window against the simulated card: an axis moving under the
// test clock, the window ticking as its timer would.
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "counter/counterform.h"
#include "settings/state.h"
#include "support/controls.h"
#include "support/standin.h"
#include "tolvane/clocksteps.h"
#include "widgets/lamp.h"

namespace {

// Ticks the window every 10 ms of the clock until axis 0 rests, and a few
// ticks more.
void TickUntilRest(FormCounter& form)
{
    for (int i = 0, after = 0; i < 2000 && after < 5; ++i) {
        form.Timer1_Timer();
        if (tvn_axis_status(0) == 0)
            ++after;
        tolvane::control::AdvanceClock(0.01);
    }
}

} // namespace

class TestCounterLatchE2e : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CurrentCardNo = 0;
        FreshCards(1);
        tolvane::control::UseTestClock(true);
        tvn_set_profile(0, 400, 2000, 0.1, 0.1);
    }

    void automaticReadingLogsEveryArrival()
    {
        FormCounter form;
        form.Form_Load();
        form.findChild<QTimer*>("Timer1")->stop();
        QCOMPARE(tvn_t_pmove(0, 4000, 0), int16_t(0));
        TickUntilRest(form);
        QCOMPARE(form.LatchLogText(), QStringLiteral("Xpos = 1000   Ypos = 0\r\n"
                                                     "Xpos = 2000   Ypos = 0\r\n"
                                                     "Xpos = 3000   Ypos = 0\r\n"
                                                     "Xpos = 4000   Ypos = 0\r\n"));
        QCOMPARE(Find<QLineEdit>(&form, "T_PosAxis(0)")->text(), QStringLiteral("4000"));
        QCOMPARE(Find<QLineEdit>(&form, "T_LatchAxis(0)")->text(), QStringLiteral("4000"));
        // The log re-armed the latch each time; the count sits on a trigger.
        QCOMPARE(Find<Lamp>(&form, "S_TriggerState(0)")->Colour(), Lamp::kClear);
        QCOMPARE(Find<Lamp>(&form, "S_Trigger(0)")->Colour(), Lamp::kSet);
    }

    void manualReadingKeepsTheFirst()
    {
        tvn_config_latch_mode(0, 1);
        tvn_set_encoder(1, 250);
        FormCounter form;
        form.Form_Load();
        form.findChild<QTimer*>("Timer1")->stop();
        Find<QRadioButton>(&form, "OptionAutoLatch(1)")->click();
        tvn_t_pmove(0, 4000, 0);
        TickUntilRest(form);
        QCOMPARE(form.LatchLogText(), QStringLiteral("Xpos = 1000   Ypos = 250\r\n"));
        QCOMPARE(Find<Lamp>(&form, "S_TriggerState(0)")->Colour(), Lamp::kSet);
        QCOMPARE(Find<Lamp>(&form, "S_TriggerState(1)")->Colour(), Lamp::kSet);
        // The reset button re-arms; the next arrival is logged.
        form.commandResetTriggerFlag_Click();
        tvn_t_pmove(0, -1500, 0);
        TickUntilRest(form);
        QCOMPARE(form.LatchLogText(), QStringLiteral("Xpos = 1000   Ypos = 250\r\nXpos = 3000   Ypos = 250\r\n"));
    }
};

QTEST_MAIN(TestCounterLatchE2e)
#include "tst_counter_latch_e2e.moc"

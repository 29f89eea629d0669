// 模拟机床: in the main window's menu with the simulated library, and its
// choices holding the card's inputs as the I/O window then reads them.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "cardlib/binding.h"
#include "cardlib/machine.h"
#include "machine/machineform.h"
#include "main/mainform.h"
#include "settings/state.h"
#include "support/controls.h"
#include "support/files.h"
#include "support/messages.h"
#include "support/program.h"
#include "tolvane/control.h"
#include "widgets/lamp.h"

class TestMachineForm : public QObject {
    Q_OBJECT

private slots:
    void init() { FreshProgram(dir_.path(), 2); }

    void opensFromTheMenuOnceWithTheSimulatedCard()
    {
        MessageCatcher messages;
        MainForm main;
        main.Form_Load(dir_.path());
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QAction* tool = main.ToolActions().value(2);
        QVERIFY(tool);
        QCOMPARE(tool->text(), QStringLiteral("模拟机床"));
        QTest::keyClick(&main, Qt::Key_M, Qt::ControlModifier);
        tool->trigger();
        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            shown += qobject_cast<MachineForm*>(w) && w->isVisible();
        QCOMPARE(shown, 1);
        main.close();
    }

    void itsChoicesHoldTheInputsOfTheCardInUse()
    {
        CurrentCardNo = 1; // axes 2 and 3
        MachineForm form(cardlib::SimulatedMachine::OfProgram());
        auto* limit = Find<QComboBox>(&form, "force_axis1_0"); // EL+ of slot 1
        limit->setCurrentIndex(1);
        emit limit->activated(1);
        QVERIFY(cardlib::tvn_axis_io_status(3) & (1 << 12));
        QVERIFY(!(cardlib::tvn_axis_io_status(2) & (1 << 12)));
        QCOMPARE(Find<Lamp>(&form, "lamp_axis1_0")->Colour(), Lamp::kSet);

        auto* input = Find<QComboBox>(&form, "force_card_8"); // general input 5
        input->setCurrentIndex(1);
        emit input->activated(1);
        QCOMPARE(cardlib::tvn_read_inbit(1, 5), int16_t(1));
        QCOMPARE(cardlib::tvn_read_inbit(0, 5), int16_t(0));

        Find<QSpinBox>(&form, "slip0")->setValue(40);
        QCOMPARE(cardlib::tvn_get_position(2) - cardlib::tvn_get_encoder(2), 40);

        // Back on card 0, the window shows card 0's own (untouched) choices.
        CurrentCardNo = 0;
        form.Refresh();
        QCOMPARE(limit->currentIndex(), 0);
        QCOMPARE(Find<QSpinBox>(&form, "slip0")->value(), 0);
    }

    void anEmergencyStopActsOnTheCardOfTheAxesShown()
    {
        // On card 1 the windows drive library axes 2 and 3, which are card
        // 0's: its EMG is the one that must stop them and light the lamp.
        tolvane::control::UseTestClock(true);
        CurrentCardNo = 1;
        QCOMPARE(cardlib::tvn_config_EMG_PIN(0, 1, 0), int16_t(0));
        QCOMPARE(cardlib::tvn_config_EMG_PIN(1, 1, 0), int16_t(0));
        cardlib::tvn_set_profile(2, 100, 1000, 0.1, 0.1);
        QCOMPARE(cardlib::tvn_t_vmove(2, 1), int16_t(0));
        tolvane::control::AdvanceClock(0.5);
        QVERIFY(cardlib::tvn_axis_status(2) != 0);

        MachineForm form(cardlib::SimulatedMachine::OfProgram());
        auto* emg = Find<QComboBox>(&form, "force_card_0");
        emg->setCurrentIndex(1);
        emit emg->activated(1);
        tolvane::control::AdvanceClock(0.1);
        QCOMPARE(cardlib::tvn_axis_status(2), uint16_t(0));
        QCOMPARE(Find<Lamp>(&form, "lamp_card_0")->Colour(), Lamp::kSet);
        QVERIFY(Find<QLabel>(&form, "heading")->text().contains(QStringLiteral("第 0 张卡")));
        // General inputs stay the card in use's, as the I/O window reads them.
        auto* input = Find<QComboBox>(&form, "force_card_4");
        input->setCurrentIndex(1);
        emit input->activated(1);
        QCOMPARE(cardlib::tvn_read_inbit(1, 1), int16_t(1));
        tolvane::control::UseTestClock(false);
    }

    void allBackToAutomaticAndWhyEmgStopsNothing()
    {
        MachineForm form(cardlib::SimulatedMachine::OfProgram());
        auto* emg = Find<QComboBox>(&form, "force_card_0");
        auto* limit = Find<QComboBox>(&form, "force_axis0_1");
        for (QComboBox* force : {emg, limit}) {
            force->setCurrentIndex(1);
            emit force->activated(1);
        }
        Find<QSpinBox>(&form, "slip1")->setValue(25);
        // No hardware_set.txt: the card was never told to heed EMG.
        QVERIFY(!Find<QLabel>(&form, "emgHint")->isHidden());
        QVERIFY(WriteBytes(HardwareSetPath, "[UTILITY]\r\nEMGENABLE=1\r\nEMGLOGIC=0\r\n"));
        form.Refresh();
        QVERIFY(Find<QLabel>(&form, "emgHint")->isHidden());

        Find<QPushButton>(&form, "allAuto")->click();
        const auto& machine = cardlib::SimulatedMachine::OfProgram();
        QCOMPARE(machine.CardForced(0, brevak::machine::kEmergency), brevak::machine::Force::Auto);
        QCOMPARE(machine.AxisForced(0, brevak::machine::AxisSignal(1)), brevak::machine::Force::Auto);
        QCOMPARE(machine.EncoderSlip(1), 0);
        QCOMPARE(emg->currentIndex(), 0);
        QCOMPARE(limit->currentIndex(), 0);
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestMachineForm)
#include "tst_machineform.moc"

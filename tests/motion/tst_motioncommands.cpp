#include <QTest>

#include "cardlib/tolvane.h"
#include "motion/motioncommands.h"
#include "settings/numbertext.h"
#include "settings/state.h"
#include "support/messages.h"
#include "support/standin.h"

Q_DECLARE_METATYPE(MotionFields)

namespace {

// The window as it opens: slot 0 checked, fixed distance, relative,
// decelerating stop, trapezoidal, clockwise.
MotionFields Initial()
{
    MotionFields f;
    for (int s = 0; s < 4; ++s) {
        f.startSpeed[s] = "400";
        f.driveSpeed[s] = "2000";
        f.endPosition[s] = "4000";
        f.accelTime[s] = "0.1";
        f.sCurveTime[s] = "0.05";
        f.direction[s] = kPositive;
        f.interpEnd[s] = "0";
        f.arcCenter[s] = "1000";
    }
    f.axisChecked[0] = true;
    f.mode = MotionFields::Fixed;
    f.relative = f.decelStop = f.trapezoid = f.clockwise = true;
    f.interpStartSpeed = "500";
    f.interpDriveSpeed = "2000";
    f.interpAccelTime = "0.1";
    f.interpSCurveTime = "0.05";
    return f;
}

} // namespace

class TestMotionCommands : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FreshCards(2);
        HomeSpeedMode = {0, 1, 0, 0};
        p_ = MotionParameterSet{};
    }

    void strictNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<bool>("fitsInt32");
        QTest::addColumn<int>("int32");
        QTest::newRow("plain") << "4000" << true << true << 4000;
        QTest::newRow("blanks around") << "  -12 " << true << true << -12;
        QTest::newRow("plus and decimals") << "+2.5" << true << true << 2;
        QTest::newRow("half to even") << "3.5" << true << true << 4;
        QTest::newRow("point first") << ".5" << true << true << 0;
        QTest::newRow("point last") << "5." << true << true << 5;
        QTest::newRow("exponent") << "1e3" << true << true << 1000;
        QTest::newRow("largest") << "2147483647" << true << true << 2147483647;
        QTest::newRow("beyond 32 bits") << "2147483648" << true << false << 0;
        QTest::newRow("most negative has no positive twin") << "-2147483648" << true << false << 0;
        QTest::newRow("empty") << "" << false << false << 0;
        QTest::newRow("blank") << "  " << false << false << 0;
        QTest::newRow("letters") << "abc" << false << false << 0;
        QTest::newRow("trailing letters") << "12abc" << false << false << 0;
        QTest::newRow("inner blank") << "1 2" << false << false << 0;
        QTest::newRow("two points") << "1.2.3" << false << false << 0;
        QTest::newRow("exponent without digits") << "1e" << false << false << 0;
        QTest::newRow("hexadecimal") << "0x10" << false << false << 0;
        QTest::newRow("sign only") << "-" << false << false << 0;
        QTest::newRow("beyond a double") << "1e999" << false << false << 0;
        QTest::newRow("comma decimal") << "0,1" << false << false << 0;
    }

    void strictNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(bool, fitsInt32);
        QFETCH(int, int32);
        QCOMPARE(StrictNumber(text).has_value(), isNumber);
        const auto value = StrictInt32(text);
        QCOMPARE(value.has_value(), fitsInt32);
        if (value)
            QCOMPARE(*value, int32);
    }

    void aBadFieldStopsTheStartBeforeAnyCall()
    {
        MessageCatcher messages;
        MotionFields f = Initial();
        f.driveSpeed[1] = "2,000";
        p_.DriveSpeed[1] = 77;
        StartMotion(0, f, p_, true);
        QCOMPARE(messages.texts, QStringList{"第1轴的驱动速度“\u20682,000\u2069”不是有效的数字，请重新输入！"});
        QVERIFY(RecordedCalls().isEmpty());
        QCOMPARE(p_.DriveSpeed[1], 77); // nothing taken from a failed read

        f = Initial();
        f.interpStartSpeed = "9999999999";
        StartMotion(0, f, p_, true);
        QCOMPARE(messages.texts.last(), QStringLiteral("插补初速度“\u20689999999999\u2069”超出范围，请重新输入！"));
        f.interpAccelTime = "1e400"; // too big for any field: out of range too
        f.interpStartSpeed = "500";
        StartMotion(0, f, p_, true);
        QCOMPARE(messages.texts.last(), QStringLiteral("插补总加速时间“\u20681e400\u2069”超出范围，请重新输入！"));
        // A long entry is quoted in part, so the end of the sentence shows.
        f = Initial();
        f.endPosition[0] = QString(10000, '1') + "x";
        StartMotion(0, f, p_, true);
        QCOMPARE(messages.texts.last(), "第0轴的终点位置“\u2068" + QString(32, '1') + "…\u2069”不是有效的数字，请重新输入！");
        QVERIFY(RecordedCalls().isEmpty());
    }

    void noCheckedAxis()
    {
        MessageCatcher messages;
        MotionFields f = Initial();
        f.axisChecked[0] = false;
        StartMotion(0, f, p_, true);
        QCOMPARE(messages.texts, QStringList{"请选择运动轴号！"});
        QVERIFY(RecordedCalls().isEmpty());
    }

    void start_data()
    {
        QTest::addColumn<MotionFields>("fields");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("messages");

        MotionFields f = Initial();
        QTest::newRow("fixed trapezoid") << f
                                         << QStringList{"tvn_set_profile(0, 400, 2000, 0.1, 0.1)",
                                                        "tvn_t_pmove(0, 4000, 0)"}
                                         << QStringList{};

        f = Initial();
        f.axisChecked = {false, true};
        f.startSpeed[1] = "-300";
        f.driveSpeed[1] = "-1500";
        f.mode = MotionFields::Continuous;
        QTest::newRow("slot 1 alone is made positive")
            << f << QStringList{"tvn_set_profile(1, 300, 1500, 0.1, 0.1)", "tvn_t_vmove(1, 1)"} << QStringList{};

        f.axisChecked = {true, true};
        f.direction[0] = "负";
        QTest::newRow("only the first slot is made positive")
            << f
            << QStringList{"tvn_set_profile(0, 400, 2000, 0.1, 0.1)", "tvn_t_vmove(0, 0)",
                           "tvn_set_profile(1, -300, -1500, 0.1, 0.1)", "tvn_t_vmove(1, 1)"}
            << QStringList{};

        f = Initial();
        f.relative = false;
        f.direction[0] = "负";
        QTest::newRow("negative direction negates the absolute target")
            << f << QStringList{"tvn_set_profile(0, 400, 2000, 0.1, 0.1)", "tvn_t_pmove(0, -4000, 1)"} << QStringList{};

        f = Initial();
        f.trapezoid = false;
        QTest::newRow("S time exactly half passes")
            << f << QStringList{"tvn_set_st_profile(0, 400, 2000, 0.1, 0.1, 0.05, 0.05)", "tvn_s_pmove(0, 4000, 0)"}
            << QStringList{};

        f.axisChecked = {true, true};
        f.sCurveTime[1] = "0.06";
        QTest::newRow("S time above half stops at that slot")
            << f << QStringList{"tvn_set_st_profile(0, 400, 2000, 0.1, 0.1, 0.05, 0.05)", "tvn_s_pmove(0, 4000, 0)"}
            << QStringList{"第1轴的S段时间应该小于或等于总加速时间的一半，请重新设置！"};

        f = Initial();
        f.axisChecked = {true, true};
        f.mode = MotionFields::Home;
        f.direction[0] = "负";
        f.driveSpeed[1] = "-900";
        QTest::newRow("homing") << f
                                << QStringList{"tvn_set_profile(0, 400, 2000, 0.1, 0.1)", "tvn_home_move(0, 2, 0)",
                                               "tvn_set_profile(1, 400, 900, 0.1, 0.1)", "tvn_home_move(1, 1, 1)"}
                                << QStringList{};

        f = Initial();
        f.mode = MotionFields::Linear;
        QTest::newRow("line with one axis") << f << QStringList{} << QStringList{"请选择2个轴进行线性插补！"};
        f.axisChecked = {true, true};
        f.interpEnd = {"3000", "-1500.5", "9", "9"};
        QTest::newRow("line") << f
                              << QStringList{"tvn_set_vector_profile(500, 2000, 0.1, 0.1)",
                                             "tvn_t_line2(0, 3000, 1, -1500, 0)"}
                              << QStringList{};
        f.trapezoid = false;
        QTest::newRow("line with S-curve does nothing") << f << QStringList{} << QStringList{};

        f = Initial();
        f.mode = MotionFields::Arc;
        QTest::newRow("arc with one axis makes no call")
            << f << QStringList{} << QStringList{"请选择2个轴进行圆弧插补！"};
        f.axisChecked = {true, true};
        f.interpEnd = {"0", "0", "", ""};
        f.arcCenter = {"1000", "0", "", ""};
        f.clockwise = false;
        QTest::newRow("relative arc in pulses") << f
                                                << QStringList{"tvn_set_vector_profile(500, 2000, 0.1, 0.1)",
                                                               "tvn_rel_arc_move([0, 1], [0, 0], [1000, 0], 1)"}
                                                << QStringList{};
        f.relative = false;
        f.trapezoid = false; // not consulted
        QTest::newRow("absolute arc") << f
                                      << QStringList{"tvn_set_vector_profile(500, 2000, 0.1, 0.1)",
                                                     "tvn_arc_move([0, 1], [0, 0], [1000, 0], 1)"}
                                      << QStringList{};
    }

    void start()
    {
        QFETCH(MotionFields, fields);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, messages);
        MessageCatcher caught;
        StartMotion(0, fields, p_, true);
        QCOMPARE(RecordedRequests(), calls);
        QCOMPARE(caught.texts, messages);
    }

    void arcInMillimetresAndOnTheSecondCard()
    {
        MotionFields f = Initial();
        f.mode = MotionFields::Arc;
        f.axisChecked = {true, true};
        f.interpEnd = {"2.5", "-3", "", ""};
        f.arcCenter = {"1", "0", "", ""};
        f.relative = false;
        StartMotion(1, f, p_, false);
        QCOMPARE(RecordedRequests(), (QStringList{"tvn_set_vector_profile(500, 2000, 0.1, 0.1)",
                                                  "tvn_arc_move_unitmm([2, 3], [2, -3], [1, 0], 0)"}));
    }

    void stop()
    {
        MessageCatcher messages;
        MotionFields f = Initial();
        f.axisChecked = {true, true};
        f.accelTime[1] = "0.4";
        f.arcCenter[0] = "oops"; // not read outside arc mode
        StopMotion(0, f, p_);
        QCOMPARE(RecordedRequests(), (QStringList{"tvn_decel_stop(0, 0.1)", "tvn_decel_stop(1, 0.4)"}));

        // The time as shown at the click, not as read at the start.
        tolvane::control::ClearCalls();
        f.accelTime[0] = "0.25";
        f.axisChecked = {true, false};
        StopMotion(0, f, p_);
        QCOMPARE(RecordedRequests(), QStringList{"tvn_decel_stop(0, 0.25)"});

        tolvane::control::ClearCalls();
        f.decelStop = false;
        f.axisChecked = {false, true};
        StopMotion(0, f, p_);
        QCOMPARE(RecordedRequests(), QStringList{"tvn_imd_stop(1)"});
        QVERIFY(messages.texts.isEmpty());
    }

    void typedTextCannotTurnAMessageAround()
    {
        // A right-to-left override typed into a field would reverse the rest
        // of the message that quotes it: it is shown as an escape, inside an
        // isolate.
        MessageCatcher messages;
        MotionFields f = Initial();
        f.axisChecked = {true, false};
        f.accelTime[0] = QStringLiteral("1\u202E0");
        StopMotion(0, f, p_);
        QCOMPARE(messages.texts,
                 QStringList{"第0轴的总加速时间“\u20681[U+202E]0\u2069”不是有效的数字。该轴已立即停止。"});
        QVERIFY(!messages.texts[0].contains(QChar(0x202E)));
    }

    void aStopIsNeverRefusedOverATypingError()
    {
        MessageCatcher messages;
        MotionFields f = Initial();
        f.axisChecked = {true, true};
        f.startSpeed[0] = "x"; // not needed by the stop
        f.accelTime[1] = "";   // needed: that axis stops at once
        StopMotion(0, f, p_);
        QCOMPARE(RecordedRequests(), (QStringList{"tvn_decel_stop(0, 0.1)", "tvn_imd_stop(1)"}));
        QCOMPARE(messages.texts.size(), 1);
        QCOMPARE(messages.texts[0], QStringLiteral("第1轴的总加速时间“\u2068\u2069”不是有效的数字。该轴已立即停止。"));
    }

    void aStopAlwaysStops_data()
    {
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("refusal"); // what the card answers tvn_decel_stop, -1: the simulation
        QTest::addColumn<QString>("message");
        QTest::newRow("negative") << "-1" << -1 << "第0轴的总加速时间“\u2068-1\u2069”不能用于减速停止。该轴已立即停止。";
        QTest::newRow("barely negative") << "-0.001" << -1
                                         << "第0轴的总加速时间“\u2068-0.001\u2069”不能用于减速停止。该轴已立即停止。";
        QTest::newRow("too big") << "1e400" << -1 << "第0轴的总加速时间“\u20681e400\u2069”超出范围。该轴已立即停止。";
        QTest::newRow("a stop of 30 years")
            << "1e9" << -1 << "第0轴的总加速时间“\u20681e9\u2069”超过 10 秒，不能用于减速停止。该轴已立即停止。";
        QTest::newRow("largest double") << "1e308" << -1
                                        << "第0轴的总加速时间“\u20681e308\u2069”超过 10 秒，不能用于减速停止。该轴已立即停止。";
        QTest::newRow("just over 10 s") << "10.001" << -1
                                        << "第0轴的总加速时间“\u206810.001\u2069”超过 10 秒，不能用于减速停止。该轴已立即停止。";
        QTest::newRow("refused by the card") << "0.1" << 3 << "控制卡拒绝了第0轴的减速停止（返回 3）。该轴已立即停止。";
        QTest::newRow("accepted") << "0.1" << -1 << "";
    }

    void aStopAlwaysStops()
    {
        QFETCH(QString, time);
        QFETCH(int, refusal);
        QFETCH(QString, message);
        MessageCatcher messages;
        tolvane::control::UseTestClock(true);
        MotionFields f = Initial();
        f.mode = MotionFields::Continuous;
        StartMotion(0, f, p_, true);
        tolvane::control::AdvanceClock(1.0);
        QCOMPARE(tvn_read_current_speed(0), 2000.0);

        if (refusal >= 0)
            tolvane::control::QueueResults("tvn_decel_stop", {double(refusal)});
        f.accelTime[0] = time;
        StopMotion(0, f, p_);
        tolvane::control::AdvanceClock(0.2); // longer than an accepted 0.1 s deceleration
        QCOMPARE(tvn_read_current_speed(0), 0.0);
        QCOMPARE(tvn_axis_status(0) & 1, 0);
        QCOMPARE(messages.texts, message.isEmpty() ? QStringList() : QStringList{message});
        tolvane::control::UseTestClock(false);
    }

    void theLongestStopStillRamps()
    {
        MessageCatcher messages;
        tolvane::control::UseTestClock(true);
        MotionFields f = Initial();
        f.mode = MotionFields::Continuous;
        StartMotion(0, f, p_, true);
        tolvane::control::AdvanceClock(1.0);
        tolvane::control::ClearCalls();
        f.accelTime[0] = "10";
        StopMotion(0, f, p_);
        QCOMPARE(RecordedRequests(), QStringList{"tvn_decel_stop(0, 10)"});
        tolvane::control::AdvanceClock(5.0);
        QVERIFY(tvn_read_current_speed(0) > 0);
        tolvane::control::AdvanceClock(5.1);
        QCOMPARE(tvn_read_current_speed(0), 0.0);
        QVERIFY(messages.texts.isEmpty());
        tolvane::control::UseTestClock(false);
    }

    void speedSteps()
    {
        MessageCatcher messages;
        // Before any start: from 0 to 100, sent to each checked slot.
        RaiseDriveSpeed(0, p_, {true, false});
        QCOMPARE(RecordedRequests(), QStringList{"tvn_change_speed(0, 100)"});
        QCOMPARE(p_.DriveSpeed[0], 100);
        QCOMPARE(p_.DriveSpeed[1], 100); // grows unchecked too

        tolvane::control::ClearCalls();
        LowerDriveSpeed(0, p_, {false, true});
        QCOMPARE(p_.DriveSpeed[0], 100);
        QCOMPARE(p_.DriveSpeed[1], 0);
        QCOMPARE(messages.texts, QStringList{"速度设置已经到达最小"});
        QVERIFY(RecordedCalls().isEmpty());
        LowerDriveSpeed(0, p_, {false, true}); // lowers again, says it again
        QCOMPARE(p_.DriveSpeed[1], -100);
        QCOMPARE(messages.texts.size(), 2);

        // Slot 0 reaching 0 ends the command before slot 1.
        p_.DriveSpeed = {100, 500, 0, 0};
        LowerDriveSpeed(0, p_, {true, true});
        QCOMPARE(p_.DriveSpeed[1], 500);
        QVERIFY(RecordedCalls().isEmpty());

        p_.DriveSpeed = {300, 500, 0, 0};
        LowerDriveSpeed(0, p_, {true, true});
        QCOMPARE(RecordedRequests(), (QStringList{"tvn_change_speed(0, 200)", "tvn_change_speed(1, 400)"}));
    }

    void speedStepsStayWithin32Bits()
    {
        MessageCatcher messages;
        p_.DriveSpeed = {100, 2147483600, 0, 0};
        RaiseDriveSpeed(0, p_, {true, true});
        QCOMPARE(p_.DriveSpeed[0], 100);
        QCOMPARE(p_.DriveSpeed[1], 2147483600);
        QVERIFY(RecordedCalls().isEmpty());
        QCOMPARE(messages.texts.size(), 1);

        p_.DriveSpeed = {-2147483600, 0, 0, 0};
        LowerDriveSpeed(0, p_, {true, false});
        QCOMPARE(p_.DriveSpeed[0], -2147483600);
        QCOMPARE(messages.texts.last(), QStringLiteral("速度设置已经到达最小"));
    }

    void auxiliaryCommands()
    {
        ClearPositions(1, {false, false});
        QVERIFY(RecordedCalls().isEmpty());
        ClearPositions(1, {false, true});
        SynchronisedStart();
        SimultaneousStop();
        MotionFields f = Initial();
        f.interpStartSpeed = " 1 2.5x";
        f.interpDriveSpeed = "abc";
        f.interpAccelTime = "0.3";
        p_.PositionMode = 1;
        InterpolationTest(f, p_);
        QCOMPARE(p_.PositionMode, int16_t(0));
        QCOMPARE(RecordedRequests(),
                 (QStringList{"tvn_set_position(3, 0)", "tvn_set_encoder(3, 0)", "tvn_config_CSTA_PIN(0, 0)",
                              "tvn_set_sync_option(0, 1, 0, 1, 0)", "tvn_set_sync_stop_mode(0, 0)",
                              "tvn_config_CSTA_PIN(1, 0)", "tvn_set_sync_option(1, 1, 0, 1, 0)",
                              "tvn_set_sync_stop_mode(1, 0)", "tvn_start_move_all(0)", "tvn_simultaneous_stop(0)",
                              "tvn_set_vector_profile(12, 0, 0.3, 0.3)", "tvn_t_line2(4, 2000, 5, 5000, 0)"}));

        MessageCatcher messages;
        tolvane::control::ClearCalls();
        f.interpDriveSpeed = "3e9";
        InterpolationTest(f, p_);
        QVERIFY(RecordedCalls().isEmpty());
        QCOMPARE(messages.texts.size(), 1);
    }

private:
    MotionParameterSet p_;
};

QTEST_GUILESS_MAIN(TestMotionCommands)
#include "tst_motioncommands.moc"

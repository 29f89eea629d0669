// The speed profile generator on its own: every plan, whatever shape, must
// be continuous, keep within its speeds and end exactly where it was sent.
#include <QTest>

#include <cmath>

#include "tolvane/profile.h"

using tolvane::Profile;
using namespace tolvane::profile;

Q_DECLARE_METATYPE(tolvane::Profile)

namespace {

constexpr double kT0 = 100;

// Walks the plan from `from` to `to`: distance never goes back nor past
// `sEnd`, speed never above `top`, and the speed is the slope of the distance.
void CheckContinuous(const Plan& plan, double from, double to, double sEnd, double top)
{
    constexpr int kSteps = 2000;
    constexpr double h = 1e-6;
    double last = plan.At(from).s;
    for (int i = 1; i < kSteps; ++i) {
        const double t = from + (to - from) * i / kSteps;
        const Sample now = plan.At(t);
        QVERIFY2(now.s >= last, qPrintable(QStringLiteral("went back at t=%1").arg(t - from)));
        QVERIFY(now.s <= sEnd);
        QVERIFY2(now.v <= top, qPrintable(QStringLiteral("%1 above %2").arg(now.v).arg(top)));
        const double slope = (plan.At(t + h).s - plan.At(t - h).s) / (2 * h);
        QVERIFY2(std::fabs(slope - now.v) < 0.05,
                 qPrintable(QStringLiteral("t=%1: slope %2, speed %3").arg(t - from).arg(slope).arg(now.v)));
        last = now.s;
    }
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

private slots:
    void movesEndExactlyAtRest_data()
    {
        QTest::addColumn<Profile>("profile");
        QTest::addColumn<double>("distance");
        QTest::addColumn<double>("duration"); // 0: not known in closed form

        QTest::newRow("slower down than up") << Profile{400, 2000, 0.1, 0.3, 0, 0, false} << 4000.0 << 2.16;
        QTest::newRow("too short for the drive speed")
            << Profile{400, 2000, 0.1, 0.1, 0, 0, false} << 100.0 << 2 * (std::sqrt(1.76e6) - 400) / 16000;
        QTest::newRow("S-curve all S") << Profile{400, 2000, 0.2, 0.2, 0.1, 0.1, true} << 3000.0 << 1.66;
        QTest::newRow("S-curve far too short") << Profile{400, 2000, 0.2, 0.2, 0.1, 0.1, true} << 10.0 << 0.0;
        QTest::newRow("no ramps") << Profile{400, 2000, 0, 0, 0, 0, false} << 1000.0 << 0.5;
        QTest::newRow("from standstill") << Profile{0, 1000, 0.5, 0.5, 0, 0, false} << 10.0
                                         << 2 * std::sqrt(10 * 2000.0) / 2000;
    }

    void movesEndExactlyAtRest()
    {
        QFETCH(Profile, profile);
        QFETCH(double, distance);
        QFETCH(double, duration);
        QVERIFY(tolvane::ValidProfile(profile));
        const Plan plan = PlanMove(kT0, 0, 0, distance, SpeedsOf(profile, profile.sCurve));
        if (duration > 0)
            QVERIFY2(std::fabs(plan.End() - kT0 - duration) < 1e-9, qPrintable(QString::number(plan.End() - kT0)));
        QCOMPARE(plan.At(plan.End()).s, distance);
        QCOMPARE(plan.At(plan.End()).v, 0.0);
        QVERIFY(plan.At(plan.End() - 1e-6).v > 0);
        CheckContinuous(plan, kT0, plan.End(), distance, profile.drive);
    }

    void newDriveSpeedMidMoveStillEndsOnTarget_data()
    {
        QTest::addColumn<double>("at");
        QTest::addColumn<double>("drive");

        QTest::newRow("faster") << 1.0 << 4000.0;
        QTest::newRow("slower") << 1.0 << 1000.0;
        QTest::newRow("faster, while speeding up") << 0.05 << 4000.0;
        QTest::newRow("faster, on the last ramp") << 2.5 << 4000.0;
        QTest::newRow("slower, on the last ramp") << 2.5 << 1000.0;
    }

    void newDriveSpeedMidMoveStillEndsOnTarget()
    {
        QFETCH(double, at);
        QFETCH(double, drive);
        for (bool sCurve : {false, true}) {
            Speeds speeds = SpeedsOf({400, 2000, 0.2, 0.2, 0.05, 0.05, true}, sCurve);
            const Plan first = PlanMove(kT0, 0, 0, 5000, speeds);
            const Sample there = first.At(kT0 + at);
            speeds.drive = drive;
            const Plan second = PlanMove(kT0 + at, there.s, there.v, 5000, speeds);
            QCOMPARE(second.At(kT0 + at).v, there.v);
            QCOMPARE(second.At(second.End()).s, 5000.0);
            CheckContinuous(second, kT0 + at, second.End(), 5000, std::max(there.v, drive));
        }
    }

    void noRoomToSlowDownStillEndsOnTarget()
    {
        const Plan plan = PlanMove(kT0, 0, 5000, 10, SpeedsOf({400, 2000, 0.5, 0.5, 0, 0, false}, false));
        QCOMPARE(plan.At(plan.End()).s, 10.0);
        QVERIFY(std::fabs(plan.End() - kT0 - 2 * 10 / 5400.0) < 1e-12);
        CheckContinuous(plan, kT0, plan.End(), 10, 5000);
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"

// Saves killed at random moments: every settings file is afterwards the
// complete old content or the complete new one, and no temporary file of a
// killed save outlives the next save.
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

#include "motion/motionsettings.h"
#include "settings/hardwaresettings.h"
#include "settings/ini.h"
#include "support/files.h"

namespace {

// Two complete sets of settings that differ in every value.
HardwareFields Hardware(int set)
{
    HardwareFields fields;
    for (const HardwareKey& key : HardwareKeys()) {
        if (key.kind == HardwareKeyKind::Text)
            fields.texts[QLatin1String(key.name)] = QString::number(1000 + set);
        else
            fields.selected[QLatin1String(key.name)] = set;
    }
    return fields;
}

MotionFields Motion(int set)
{
    MotionFields f;
    const QString text = QString::number(2000 + set);
    for (int n = 0; n < 4; ++n) {
        f.startSpeed[n] = f.driveSpeed[n] = f.endPosition[n] = f.accelTime[n] = f.sCurveTime[n] = text;
        f.interpEnd[n] = f.arcCenter[n] = text;
        f.direction[n] = set ? kNegative : kPositive;
    }
    f.mode = MotionFields::Linear + set;
    f.relative = f.decelStop = f.trapezoid = f.clockwise = set == 0;
    f.interpStartSpeed = f.interpDriveSpeed = f.interpAccelTime = f.interpSCurveTime = text;
    return f;
}

// One save of each window, as their buttons make them: both axes at once.
void Save(const QString& folder, int set)
{
    IniBatch batch(folder + "/hardware_set.txt");
    WriteHardwareSettings(0, Hardware(set), batch);
    WriteHardwareSettings(1, Hardware(set), batch);
    batch.Commit();
    WriteMotionSettings(Motion(set), folder + "/Motion_set.txt");
}

QStringList Temporaries(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral(".*.tmp")}, QDir::Files | QDir::Hidden);
}

}  // namespace

class TestSaveKill : public QObject {
    Q_OBJECT

private slots:
    void killedSavesLeaveOldOrNewAndNoLeftovers()
    {
        // The content of each file after a complete save of set 0 and of set 1.
        QTemporaryDir scratch;
        QVERIFY(WriteBytes(scratch.filePath("Motion_set.txt"), {}));
        Save(scratch.path(), 0);
        Save(scratch.path(), 1);
        const QByteArray hardware1 = ReadBytes(scratch.filePath("hardware_set.txt"));
        const QByteArray motion1 = ReadBytes(scratch.filePath("Motion_set.txt"));
        Save(scratch.path(), 0);
        const QByteArray hardware0 = ReadBytes(scratch.filePath("hardware_set.txt"));
        const QByteArray motion0 = ReadBytes(scratch.filePath("Motion_set.txt"));
        QVERIFY(hardware0 != hardware1 && motion0 != motion1);

        QTemporaryDir dir;
        const QString folder = dir.path();
        Save(scratch.path(), 0);
        QVERIFY(QFile::copy(scratch.filePath("hardware_set.txt"), folder + "/hardware_set.txt"));
        QVERIFY(QFile::copy(scratch.filePath("Motion_set.txt"), folder + "/Motion_set.txt"));

        QRandomGenerator random(20261208);
        QElapsedTimer clock;
        clock.start();
        int kills = 0, mixed = 0, leftoversSeen = 0;
        while (kills < 300 && clock.elapsed() < 50000) {
            const pid_t saver = ::fork();
            QVERIFY(saver >= 0);
            if (saver == 0) {
                // The child saves, alternating the two sets, until it is killed.
                for (int set = 1;; set ^= 1)
                    Save(folder, set);
            }
            ::usleep(random.bounded(500, 15000));
            ::kill(saver, SIGKILL);
            int status = 0;
            QCOMPARE(::waitpid(saver, &status, 0), saver);
            QVERIFY(WIFSIGNALED(status));
            ++kills;
            const QByteArray hardware = ReadBytes(folder + "/hardware_set.txt");
            const QByteArray motion = ReadBytes(folder + "/Motion_set.txt");
            mixed += (hardware != hardware0 && hardware != hardware1) + (motion != motion0 && motion != motion1);
            leftoversSeen += static_cast<int>(Temporaries(folder).size());
        }
        // The next save removes what the last kill left behind.
        Save(folder, 0);
        const auto leftovers = Temporaries(folder);
        qInfo("%d kills in %lld ms: %d mixed files, %d temporary files seen after a kill, %d left after the next save",
              kills, clock.elapsed(), mixed, leftoversSeen, static_cast<int>(leftovers.size()));
        QVERIFY(kills >= 200);
        QCOMPARE(mixed, 0);
        QCOMPARE(leftovers, QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSaveKill)
#include "tst_savekill.moc"

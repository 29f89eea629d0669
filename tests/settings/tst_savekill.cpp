// Saves killed at random moments: every settings file is afterwards the
// complete old content or the complete new one, and no temporary file of a
// killed save outlives the next save.
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include <QProcess>
#else
#include <csignal>

#include <sys/wait.h>
#include <unistd.h>
#endif

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

// Saves in `folder`, alternating the two sets from `first`, until killed.
[[noreturn]] void SaveUntilKilled(const QString& folder, int first)
{
    for (int set = first;; set ^= 1)
        Save(folder, set);
}

// A child process that saves until it is killed, without warning, as a
// power cut or the task manager would end it. It says when it starts, so
// that the kill falls among its saves, however long its start took.
#ifdef _WIN32
// Windows cannot fork: the child is this program again, run with
// --save-until-killed, and TerminateProcess kills it.
const int kLeastKills = 20; // starting a process costs far more here
class Saver {
public:
    bool Start(const QString& folder, int first)
    {
        process_.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--save-until-killed"), folder, QString::number(first)});
        return process_.waitForStarted(30000) && process_.waitForReadyRead(30000);
    }
    bool Kill()
    {
        process_.kill();
        return process_.waitForFinished(30000) && process_.exitStatus() == QProcess::CrashExit;
    }

private:
    QProcess process_;
};
#else
const int kLeastKills = 200;
class Saver {
public:
    bool Start(const QString& folder, int first)
    {
        int started[2];
        if (::pipe(started) != 0)
            return false;
        pid_ = ::fork();
        if (pid_ == 0) {
            [[maybe_unused]] const ssize_t said = ::write(started[1], "s", 1);
            SaveUntilKilled(folder, first);
        }
        char byte = 0;
        const bool begun = pid_ > 0 && ::read(started[0], &byte, 1) == 1;
        ::close(started[0]);
        ::close(started[1]);
        return begun;
    }
    bool Kill()
    {
        ::kill(pid_, SIGKILL);
        int status = 0;
        return ::waitpid(pid_, &status, 0) == pid_ && WIFSIGNALED(status);
    }

private:
    pid_t pid_ = -1;
};
#endif

} // namespace

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

        // Kills land anywhere within about three saves, whatever a save costs
        // in this build (a sanitizer makes it many times slower).
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 10; ++i)
            Save(scratch.path(), i % 2);
        const int window = std::max(1000, static_cast<int>(clock.nsecsElapsed() / 1000 / 10 * 3));
        QRandomGenerator random(20261208);
        clock.restart();
        int kills = 0, mixed = 0, leftoversSeen = 0, changes = 0;
        QByteArray previous = hardware0;
        while (kills < 300 && clock.elapsed() < 50000) {
            // The child saves, alternating the two sets from the one the file
            // does not hold, until it is killed.
            const int first = previous == hardware1 ? 0 : 1;
            Saver saver;
            QVERIFY(saver.Start(folder, first));
            QThread::usleep(static_cast<unsigned long>(random.bounded(window)));
            QVERIFY(saver.Kill());
            ++kills;
            const QByteArray hardware = ReadBytes(folder + "/hardware_set.txt");
            const QByteArray motion = ReadBytes(folder + "/Motion_set.txt");
            mixed += (hardware != hardware0 && hardware != hardware1) + (motion != motion0 && motion != motion1);
            changes += hardware != previous;
            previous = hardware;
            leftoversSeen += static_cast<int>(Temporaries(folder).size());
        }
        // The next save removes what the last kill left behind.
        Save(folder, 0);
        const auto leftovers = Temporaries(folder);
        qInfo("%d kills in %lld ms, the file changed between %d of them: %d mixed files, %d temporary files seen "
              "after a kill, %d left after the next save",
              kills, clock.elapsed(), changes, mixed, leftoversSeen, static_cast<int>(leftovers.size()));
        QVERIFY(kills >= kLeastKills);
        QVERIFY2(changes >= kills / 10, "the killed processes hardly saved at all");
        QCOMPARE(mixed, 0);
        QCOMPARE(leftovers, QStringList());
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--save-until-killed")) {
        std::fputs("s\n", stdout);
        std::fflush(stdout);
        SaveUntilKilled(arguments[2], arguments[3].toInt());
    }
    TestSaveKill test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_savekill.moc"

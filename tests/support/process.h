// Starting a real program of the build in a folder of its own, with the
// stand-in library beside it and its calls traced to a file.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"

class ProgramRun {
public:
    // Copies `program` and the library into a fresh folder, which is then the
    // program's directory whatever the build folder holds.
    ProgramRun(const QString& program, const QString& library)
    {
        // A folder with a Chinese name, as an operator's may be.
        QDir(dir_.path()).mkdir(QStringLiteral("运动控制卡"));
        folder_ = dir_.filePath(QStringLiteral("运动控制卡"));
        program_ = folder_ + '/' + QFileInfo(program).fileName();
        QFile::copy(program, program_);
        QFile::copy(library, folder_ + '/' + QFileInfo(library).fileName());
        trace_ = dir_.filePath(QStringLiteral("trace.txt"));
    }

    QString Folder() const { return folder_; }
    QByteArray Trace() const { return ReadText(trace_); }

    // Starts the program on the offscreen platform with `cards` simulated cards.
    bool Start(int cards, const QStringList& arguments = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TOLVANE_TRACE"), trace_);
        env.insert(QStringLiteral("TOLVANE_CARDS"), QString::number(cards));
        env.remove(QStringLiteral("LD_LIBRARY_PATH"));
        // The Qt plugins this test finds (the platform), wherever the copy runs.
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), QCoreApplication::libraryPaths().join(QDir::listSeparator()));
        // In the sanitizer build Qt's own threads now and then leave an
        // allocation behind at exit, which would turn the exit code to 1;
        // leaks of the program's code are the in-process tests' business.
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program_, arguments);
        return process.waitForStarted();
    }

    // Waits until the trace holds `call`; false after 30 s.
    bool WaitForCall(const QByteArray& call) const
    {
        QElapsedTimer waited;
        waited.start();
        while (!Trace().contains(call)) {
            if (waited.elapsed() > 30000)
                return false;
            QTest::qWait(50);
        }
        return true;
    }

    QProcess process;

private:
    QTemporaryDir dir_;
    QString folder_;
    QString program_;
    QString trace_;
};

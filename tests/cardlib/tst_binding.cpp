#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

#include "cardlib/binding.h"
#include "cardlib/machine.h"
#include "cardlib/sharedlibrary.h"
#include "support/standin.h"

namespace {

struct BindFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A library of the system that is surely there, and is not the card's.
#ifdef _WIN32
const char* const kSystemLibrary = "kernel32.dll";
#else
const char* const kSystemLibrary = "libc.so.6";
#endif

std::string Utf8(const QString& text) { return text.toStdString(); }

// The card library the tests link, as a file: a copy of it stands in for the
// one shipped beside a program.
QString StandInFile()
{
    for (const QString& folder :
         {QCoreApplication::applicationDirPath() + QStringLiteral("/../bin"), QCoreApplication::applicationDirPath()}) {
        const QString path = folder + '/' + QLatin1String(cardlib::kLibraryFile);
        if (QFile::exists(path))
            return QDir::cleanPath(path);
    }
    return {};
}

} // namespace

class TestBinding : public QObject {
    Q_OBJECT

private slots:
    void missingLibraryNamesTheFile_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain folder") << QStringLiteral("nonexistent");
        QTest::newRow("folder with Chinese name") << QStringLiteral("运动控制 卡");
    }

    void missingLibraryNamesTheFile()
    {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        const QString path = dir.filePath(folder + '/' + QLatin1String(cardlib::kLibraryFile));
        cardlib::Loader loader({Utf8(path)});
        std::string error;
        QVERIFY(!loader.Resolve("tvn_board_init", &error));
        QVERIFY2(error.starts_with(std::string("无法加载卡驱动库 ") + cardlib::kLibraryFile + "："), error.c_str());
        // The loader's reason names the path as the system writes it.
        QVERIFY2(error.find(Utf8(QDir::toNativeSeparators(path))) != std::string::npos, error.c_str());
    }

    void aLibraryInAFolderWithAChineseNameLoads()
    {
        const QString standIn = StandInFile();
        QVERIFY2(!standIn.isEmpty(), "the stand-in library is not in the build's bin folder");
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("运动控制卡")));
        const QString copy = dir.filePath(QStringLiteral("运动控制卡/") + QLatin1String(cardlib::kLibraryFile));
        QVERIFY(QFile::copy(standIn, copy));
        cardlib::Loader loader({Utf8(copy)});
        std::string error;
        QVERIFY2(loader.Resolve("tvn_board_init", &error), error.c_str());
    }

    // A library planted in the current folder, which may be anyone's, is
    // never the one a bare name finds; by its full path it loads.
    void aBareNameIsNotLookedForInTheCurrentFolder()
    {
        const QString standIn = StandInFile();
        QVERIFY2(!standIn.isEmpty(), "the stand-in library is not in the build's bin folder");
        QTemporaryDir dir;
        const QString name = QStringLiteral("planted_card_library.") + QFileInfo(standIn).suffix();
        QVERIFY(QFile::copy(standIn, dir.filePath(name)));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        cardlib::SharedLibrary bare;
        std::string error;
        const bool foundBare = bare.Open(Utf8(name), &error);
        QVERIFY(QDir::setCurrent(before));
        QVERIFY2(!foundBare, "a bare name loaded the library in the current folder");
        cardlib::SharedLibrary full;
        QVERIFY2(full.Open(Utf8(dir.filePath(name)), &error), error.c_str());
    }

    // A card library installed in a folder of PATH, as a driver's installer
    // may put it, is found by its bare name.
    void aBareNameIsFoundOnThePath()
    {
#ifndef _WIN32
        QSKIP("the library search path (LD_LIBRARY_PATH) is read once, as the program starts");
#endif
        const QString standIn = StandInFile();
        QVERIFY2(!standIn.isEmpty(), "the stand-in library is not in the build's bin folder");
        QTemporaryDir dir;
        const QString name = QStringLiteral("path_card_library.") + QFileInfo(standIn).suffix();
        QVERIFY(QFile::copy(standIn, dir.filePath(name)));
        const QByteArray before = qgetenv("PATH");
        qputenv("PATH", QDir::toNativeSeparators(dir.path()).toLocal8Bit() + ';' + before);
        cardlib::SharedLibrary bare;
        std::string error;
        const bool found = bare.Open(Utf8(name), &error);
        qputenv("PATH", before);
        QVERIFY2(found, error.c_str());
    }

    void programDirectoryIsTheFolderOfTheRunningProgram()
    {
        QCOMPARE(QDir::cleanPath(QDir::fromNativeSeparators(QString::fromStdString(cardlib::ProgramDirectory()))),
                 QCoreApplication::applicationDirPath());
    }

    void missingFunctionNamesTheFunction()
    {
        cardlib::Loader loader({cardlib::kLibraryFile});
        std::string error;
        QVERIFY(loader.Resolve("tvn_board_init", &error));
        QVERIFY(!loader.Resolve("tvn_no_such_function", &error));
        QVERIFY2(error.find("tvn_no_such_function") != std::string::npos, error.c_str());
    }

    void laterCandidatesAreTriedInOrder()
    {
        cardlib::Loader loader({std::string("/nonexistent/") + cardlib::kLibraryFile, cardlib::kLibraryFile});
        std::string error;
        QVERIFY(loader.Resolve("tvn_get_position", &error));
    }

    void bindReportsThroughTheFailureHandler()
    {
        std::string reported;
        cardlib::SetFailureHandler([&](const std::string& message) {
            reported = message;
            throw BindFailure(message); // stands in for ending the program
        });
        QVERIFY_THROWS_EXCEPTION(BindFailure, cardlib::Bind("tvn_not_in_the_library"));
        QVERIFY(reported.find("tvn_not_in_the_library") != std::string::npos);
        cardlib::SetFailureHandler({});
    }

    void wrappersReachTheLibrary()
    {
        FreshCards(3);
        QCOMPARE(cardlib::tvn_board_init(), int16_t(3));
        QCOMPARE(cardlib::tvn_set_position(5, -1234), int16_t(0));
        QCOMPARE(cardlib::tvn_get_position(5), -1234);
        double equiv = 0;
        QCOMPARE(cardlib::tvn_get_equiv(5, &equiv), int16_t(0));
        QCOMPARE(equiv, 1.0);
        QCOMPARE(RecordedCalls().last(), QStringLiteral("tvn_get_equiv(5, &1) = 0"));
    }

    void theSimulatedMachineIsFoundOnlyInTheStandIn()
    {
        QVERIFY(cardlib::SimulatedMachine::OfProgram().Available());
        // Any other library, a real card's for instance, has none of it.
        cardlib::Loader other({kSystemLibrary});
        const cardlib::SimulatedMachine absent(other);
        QVERIFY(!absent.Available());
        QCOMPARE(absent.ForceAxis(0, brevak::machine::kAlarm, cardlib::SimulatedMachine::Force::Active), -1);
        QVERIFY(!absent.AxisActive(0, brevak::machine::kAlarm));
        cardlib::Loader nowhere({std::string("/nonexistent/") + cardlib::kLibraryFile});
        QVERIFY(!cardlib::SimulatedMachine(nowhere).Available());
    }
};

QTEST_GUILESS_MAIN(TestBinding)
#include "tst_binding.moc"

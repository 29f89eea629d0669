#include <QTest>

#include <stdexcept>

#include "cardlib/binding.h"
#include "cardlib/machine.h"
#include "support/standin.h"

namespace {

struct BindFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace

class TestBinding : public QObject {
    Q_OBJECT

private slots:
    void missingLibraryNamesTheFile()
    {
        cardlib::Loader loader({"/nonexistent/dir/libTolvane.so"});
        std::string error;
        QVERIFY(!loader.Resolve("tvn_board_init", &error));
        QVERIFY2(error.find("libTolvane.so") != std::string::npos, error.c_str());
        QVERIFY2(error.find("/nonexistent/dir/libTolvane.so") != std::string::npos, error.c_str());
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
        cardlib::Loader loader({"/nonexistent/libTolvane.so", cardlib::kLibraryFile});
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
        cardlib::Loader other({"libc.so.6"});
        const cardlib::SimulatedMachine absent(other);
        QVERIFY(!absent.Available());
        QCOMPARE(absent.ForceAxis(0, brevak::machine::kAlarm, cardlib::SimulatedMachine::Force::Active), -1);
        QVERIFY(!absent.AxisActive(0, brevak::machine::kAlarm));
        cardlib::Loader nowhere({"/nonexistent/libTolvane.so"});
        QVERIFY(!cardlib::SimulatedMachine(nowhere).Available());
    }
};

QTEST_GUILESS_MAIN(TestBinding)
#include "tst_binding.moc"

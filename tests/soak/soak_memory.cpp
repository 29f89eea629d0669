// Keeps every Kestrune window and tool open on a simulated card, with an axis
// moving back and forth and the latch log full, and reports the heap in use
// as it goes. What the program keeps is bounded (the latch log, the call
// log, the scope's buffer, the console's output and history), so after a
// warm-up the heap must stay flat; the growth per minute is the leak.
//   soak_memory SECONDS [BOUND_KIB_PER_MINUTE [WINDOWS]]
// SECONDS is the time measured, after a warm-up of 30 s that is not: the
// first redraws, the scope's buffer filling, the logs' views settling.
// WINDOWS picks the windows to open, by their numbers in MainForm::Window
// separated by commas (all of them by default), to find which one leaks.
// Prints a line per sample and then the growth; with a bound, exits 1 when
// the growth exceeds it.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "cardlib/binding.h"
#include "cardlib/calllog.h"
#include "console/consoleform.h"
#include "counter/counterform.h"
#include "main/mainform.h"
#include "motion/motionform.h"
#include "settings/state.h"
#include "tolvane/control.h"

namespace {

// In use: small blocks and the large ones that malloc maps of their own.
double HeapBytes()
{
    const auto heap = mallinfo2();
    return static_cast<double>(heap.uordblks + heap.hblkhd);
}

// Least-squares slope of `values` over `times`, per second.
double Slope(const std::vector<double>& times, const std::vector<double>& values)
{
    const double n = static_cast<double>(times.size());
    double st = 0, sv = 0, stt = 0, stv = 0;
    for (size_t i = 0; i < times.size(); ++i) {
        st += times[i];
        sv += values[i];
        stt += times[i] * times[i];
        stv += times[i] * values[i];
    }
    const double d = n * stt - st * st;
    return d == 0 ? 0 : (n * stv - st * sv) / d;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 60;
    const double bound = argc > 2 ? QString::fromLocal8Bit(argv[2]).toDouble() : -1;
    if (seconds < 45) {
        std::fprintf(stderr, "usage: soak_memory SECONDS (at least 45) [BOUND_KIB_PER_MINUTE [WINDOWS]]\n");
        return 2;
    }

    // As the program does: every card call from the start on is in the call
    // log. Its ring is made smaller than the program's so that it, and the
    // call log window's list of the calls shown, are full within the warm-up:
    // until then they grow by design, and would read as a leak.
    cardlib::calllog::Start(20000, 20000);
    QTemporaryDir folder;
    tolvane::control::Reset(2);
    MainForm form;
    if (!form.Form_Load(folder.path()))
        return 2;
    QStringList windows;
    for (int w = 0; w < MainForm::WindowCount; ++w)
        windows << QString::number(w);
    if (argc > 3)
        windows = QString::fromLocal8Bit(argv[3]).split(QLatin1Char(','));
    for (const QString& w : windows)
        form.OpenWindow(static_cast<MainForm::Window>(w.toInt()));

    // The call log's ring and the list of the rows it shows full, as after a
    // minute of use.
    for (int i = 0; i < 250000; ++i)
        cardlib::tvn_get_position(0);

    // The latch log at its cap, so that its records no longer add up.
    if (windows.contains(QString::number(MainForm::CounterWindow))) {
        auto* counter = qobject_cast<FormCounter*>(form.OpenWindow(MainForm::CounterWindow));
        for (int i = 0; i < 10000; ++i) {
            tolvane::control::QueueResults("tvn_get_latch_flag", {256, 256});
            counter->Timer1_Timer();
        }
    }

    // The console's output at its cap and its history full, as after long
    // use; then a call at each turn of the move below.
    ConsoleForm* console = nullptr;
    int consoleCalls = 0;
    const auto consoleCall = [&] {
        // Two lines in turn, so that each enters the history.
        console->RunLine(QStringLiteral("tvn_get_card_soft_version(0, &, &%1)").arg(consoleCalls++ % 2));
    };
    if (windows.contains(QString::number(MainForm::ConsoleWindow))) {
        console = qobject_cast<ConsoleForm*>(form.OpenWindow(MainForm::ConsoleWindow));
        while (consoleCalls < 1300)
            consoleCall();
    }

    // A continuous move that turns back before a limit switch stops it.
    auto* motion = qobject_cast<MotionForm*>(form.OpenWindow(MainForm::MotionWindow));
    motion->findChild<QRadioButton*>(QStringLiteral("OB_ContiMove"))->click();
    motion->findChild<QLineEdit*>(QStringLiteral("T_MaxVelAxis(0)"))->setText(QStringLiteral("20000"));
    auto* direction = motion->findChild<QComboBox*>(QStringLiteral("CoB_DirAxis(0)"));
    motion->CB_Start_Click();
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, [&] {
        const int32_t at = cardlib::tvn_get_position(0);
        const bool forward = direction->currentIndex() == 0;
        if ((forward && at > 500000) || (!forward && at < -500000)) {
            cardlib::tvn_imd_stop(0);
            direction->setCurrentIndex(forward ? 1 : 0);
            motion->CB_Start_Click();
        }
        if (console)
            consoleCall();
    });
    turn.start(250);

    // Samples every second; after the warm-up, the lowest of each 15 seconds
    // counts: what is freed again now and then (the call log's rows, the
    // scope's redraws, which come and go in about that time) is not a leak, a
    // floor that rises is.
    constexpr double kWarmUp = 30, kSpan = 15;
    std::vector<double> times, heap;
    double windowStart = kWarmUp, windowLowest = -1;
    QElapsedTimer clock;
    clock.start();
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] {
        const double t = static_cast<double>(clock.elapsed()) / 1000;
        const double bytes = HeapBytes();
        std::printf("%7.1f s  heap %9.1f KiB\n", t, bytes / 1024);
        std::fflush(stdout);
        if (t >= windowStart) {
            windowLowest = windowLowest < 0 ? bytes : std::min(windowLowest, bytes);
            if (t >= windowStart + kSpan) {
                times.push_back(windowStart + kSpan / 2);
                heap.push_back(windowLowest);
                windowStart += kSpan;
                windowLowest = -1;
            }
        }
        if (t >= kWarmUp + seconds)
            app.quit();
    });
    sample.start(1000);
    app.exec();
    form.Form_Unload();

    const double perMinute = Slope(times, heap) * 60 / 1024;
    std::printf("heap growth after the warm-up: %.1f KiB a minute (the lowest of each of %zu spans of 15 s)\n",
                perMinute, times.size());
    if (bound >= 0 && perMinute > bound) {
        std::printf("more than the bound of %.1f KiB a minute\n", bound);
        return 1;
    }
    return 0;
}

// Cost of the windows' periodic refresh against the simulated card, offscreen:
// the median time of one tick, and that time as a share of the tick's period.
#include <QApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/medians.h"
#include "counter/counterform.h"
#include "io/ioform.h"
#include "motion/motionform.h"
#include "settings/state.h"
#include "cardlib/tolvane.h"
#include "tolvane/control.h"

namespace {

// Prints, after the usual table, each benchmark's median time per tick as a
// share of the period of the timer that drives that tick.
class ShareReporter : public MedianReporter {
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto& [name, seconds] : Medians()) {
            const double period = Periods().at(name);
            std::printf("%s: median %.3f us per tick = %.4f%% of its %.0f ms period\n", name.c_str(), seconds * 1e6,
                        100.0 * seconds / period, period * 1000.0);
        }
    }

    static std::map<std::string, double>& Periods()
    {
        static std::map<std::string, double> periods;
        return periods;
    }
};

void MotionTimerTick(benchmark::State& state)
{
    tolvane::control::Reset(1);
    CurrentCardNo = 0;
    MotionForm form;
    form.Form_Load();
    form.CommandCloseTimer_Click(); // the benchmark drives the ticks itself
    form.show();
    // Both axes run, so every tick has new texts to show and to repaint.
    for (int16_t axis = 0; axis < 2; ++axis) {
        tvn_set_profile(axis, 1000, 1000, 0, 0);
        tvn_t_vmove(axis, 1);
    }
    for (auto _ : state) {
        form.Timer1_Timer();
        QApplication::processEvents(); // the repaints the tick asked for
    }
}

void IoTimerTick(benchmark::State& state)
{
    tolvane::control::Reset(1);
    CurrentCardNo = 0;
    IoFormControl form;
    form.Form_Load();
    form.show();
    QApplication::processEvents();
    int tick = 0;
    for (auto _ : state) {
        // One output changes every tick, so a lamp or two repaint as they would
        // while the user works; the other hundred find their colour unchanged.
        tvn_write_outbit(0, static_cast<int16_t>(tick % 20 + 1), static_cast<int16_t>(tick / 20 % 2));
        ++tick;
        form.Timer1_Timer();
        QApplication::processEvents();
    }
}

void CounterTimerTick(benchmark::State& state)
{
    tolvane::control::Reset(1);
    CurrentCardNo = 0;
    FormCounter form;
    form.Form_Load();
    form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop(); // the benchmark drives the ticks
    form.show();
    // Axis 0 runs, so its counter changes every tick and latches now and then.
    tvn_set_profile(0, 1000, 1000, 0, 0);
    tvn_t_vmove(0, 1);
    for (auto _ : state) {
        form.Timer1_Timer();
        QApplication::processEvents();
    }
}

} // namespace

BENCHMARK(CounterTimerTick)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(IoTimerTick)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(MotionTimerTick)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetSettingsPaths(QCoreApplication::applicationDirPath());
    ShareReporter::Periods()["MotionTimerTick"] = 0.015;
    ShareReporter::Periods()["IoTimerTick"] = 0.024;
    ShareReporter::Periods()["CounterTimerTick"] = 0.030;
    benchmark::Initialize(&argc, argv);
    ShareReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

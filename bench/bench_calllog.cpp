// What the call log adds to a card call: the same calls through the run-time
// binding into the simulated card, with the log stopped and recording.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "bench/medians.h"
#include "cardlib/binding.h"
#include "cardlib/calllog.h"
#include "tolvane/control.h"

namespace {

// Runs `call` through the binding with the log recording or stopped.
template <bool Recorded, typename Call>
void Measure(benchmark::State& state, Call call)
{
    tolvane::control::Reset(1);
    if (Recorded)
        cardlib::calllog::Start();
    else
        cardlib::calllog::Stop();
    for (auto _ : state)
        benchmark::DoNotOptimize(call());
    cardlib::calllog::Stop();
}

template <bool Recorded>
void GetPosition(benchmark::State& state)
{
    Measure<Recorded>(state, [] { return cardlib::tvn_get_position(0); });
}

template <bool Recorded>
void SetProfile(benchmark::State& state)
{
    Measure<Recorded>(state, [] { return cardlib::tvn_set_profile(0, 400, 2000, 0.1, 0.1); });
}

// Prints, after the usual table, what recording adds to each call.
class AddedCostReporter : public MedianReporter {
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::map<std::string, double> medians(Medians().begin(), Medians().end());
        for (const char* call : {"GetPosition", "SetProfile"}) {
            const double plain = medians[std::string(call) + "<false>"];
            const double recorded = medians[std::string(call) + "<true>"];
            std::printf("%s: median %.1f ns unrecorded, %.1f ns recorded: recording adds %.1f ns a call\n", call,
                        plain * 1e9, recorded * 1e9, (recorded - plain) * 1e9);
        }
    }
};

} // namespace

BENCHMARK_TEMPLATE(GetPosition, false)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_TEMPLATE(GetPosition, true)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_TEMPLATE(SetProfile, false)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_TEMPLATE(SetProfile, true)->Repetitions(9)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    AddedCostReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

// Cost of the scope: one redraw of the time plots (with a trigger mark, the
// error pane at a fixed scale and fifty command marks) and of the XY view
// with a 60 s window of 10 ms samples (6,000 points a channel), and one
// sampling tick against the simulated card with an axis moving; then what 20
// redraws and 100 samples a second take of one core; and reading a 50 MB
// capture.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "bench/medians.h"
#include "cardlib/calllog.h"
#include "scope/csvreader.h"
#include "scope/scopedata.h"
#include "scope/scopeform.h"
#include "scope/scopeplot.h"
#include "scope/xyview.h"
#include "settings/state.h"
#include "cardlib/tolvane.h"
#include "tolvane/control.h"

namespace {

// A minute of two axes going round a circle, the speed rising and falling.
const SampleList& Minute()
{
    static const SampleList minute([] {
        std::vector<Sample> samples;
        for (int i = 0; i < 6000; ++i) {
            Sample s;
            s.seconds = i * 0.01;
            s.command = {10000 * std::cos(s.seconds), 10000 * std::sin(s.seconds)};
            s.encoder = {s.command[0] - 3 * std::sin(s.seconds * 7), s.command[1] - 2};
            s.speed = {2000 + 1500 * std::sin(s.seconds * 3), 1000 * std::fabs(std::cos(s.seconds))};
            samples.push_back(s);
        }
        return samples;
    }());
    return minute;
}

template <typename View>
void Redraw(benchmark::State& state)
{
    View view;
    view.resize(960, 520);
    view.SetSource(&Minute());
    view.SetRange(0, 60);
    if constexpr (std::is_same_v<View, ScopePlot>) {
        view.SetTriggerMark(12.0);
        view.SetFixedScale(1, 100.0);
        std::vector<ScopePlot::Mark> marks;
        for (int i = 0; i < 50; ++i)
            marks.push_back({i * 1.2, static_cast<uint64_t>(i)});
        view.SetMarks(std::move(marks));
        view.SetPositionsSplit(true); // a scale for each axis's positions
    }
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if constexpr (std::is_same_v<View, ScopePlot>)
            view.SetChannelShown(0, true); // drawn whole, not scrolled
        view.render(&image);
    }
}

// The live picture moved on by two columns: scrolled, the new columns drawn.
void Scroll(benchmark::State& state)
{
    ScopePlot view;
    view.resize(960, 520);
    view.SetSource(&Minute());
    const double perColumn = 10.0 / (view.width() - 72); // about: the margins take some 72 px
    double from = 0;
    view.SetRange(from, from + 10);
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    view.render(&image);
    for (auto _ : state) {
        from = from + 10 + 2 * perColumn < 60 ? from + 2 * perColumn : 0;
        view.SetRange(from, from + 10);
        view.render(&image);
    }
    state.counters["whole"] = view.FullRedraws();
}

void SampleTick(benchmark::State& state)
{
    tolvane::control::Reset(1);
    cardlib::calllog::Start(); // as in the program: every call recorded
    CurrentCardNo = 0;
    tvn_set_profile(0, 1000, 1000, 0, 0);
    tvn_t_vmove(0, 1);
    ScopeForm scope;
    for (auto _ : state)
        scope.SampleTick();
    cardlib::calllog::Stop();
}

// A capture of 50 MB (some 360,000 samples: an hour at 10 ms),
// written once, read as the scope's 打开 reads it.
const QString& FiftyMegabyteCsv()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        std::vector<Sample> samples;
        for (size_t i = 0; samples.size() * 139 < 50'000'000; ++i) {
            Sample s = Minute().At(i % Minute().Size());
            s.seconds = static_cast<double>(i) * 0.01;
            samples.push_back(s);
        }
        const QString file = folder.filePath(QStringLiteral("capture.csv"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(ToCsv(SampleList(std::move(samples)))) < 0)
            std::abort();
        return file;
    }();
    return path;
}

void ReadCsv(benchmark::State& state)
{
    const QString& path = FiftyMegabyteCsv();
    std::atomic<bool> cancel = false;
    for (auto _ : state) {
        std::atomic<int64_t> bytes = 0;
        auto read = ReadCsvFile(path, kMostFileSamples, cancel, bytes);
        if (!std::holds_alternative<std::vector<Sample>>(read))
            state.SkipWithError("the capture was refused");
        state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    }
}

class BudgetReporter : public MedianReporter {
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::map<std::string, double> m(Medians().begin(), Medians().end());
        const double plot = m["Redraw<ScopePlot>"], xy = m["Redraw<XyView>"], tick = m["SampleTick"],
                     scroll = m["Scroll"];
        std::printf("time plots: median %.3f ms a whole redraw, %.3f ms a scroll; XY view: %.3f ms; sampling: %.2f us "
                    "a tick\n",
                    plot * 1e3, scroll * 1e3, xy * 1e3, tick * 1e6);
        std::printf("20 scrolls and 100 samples a second: %.2f%% of one core (time plots shown)\n",
                    100 * (20 * scroll + 100 * tick));
        std::printf("a 50 MB capture read in %.2f s\n", m["ReadCsv"]);
    }
};

} // namespace

BENCHMARK_TEMPLATE(Redraw, ScopePlot)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(Scroll)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(Redraw, XyView)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(SampleTick)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadCsv)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    BudgetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

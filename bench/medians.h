// A console reporter that also keeps each benchmark's median time, for a
// summary line per benchmark after the usual table.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                medians_.emplace_back(run.run_name.function_name,
                                      run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit));
    }

protected:
    // Name and median in seconds, in the order the benchmarks ran.
    const std::vector<std::pair<std::string, double>>& Medians() const { return medians_; }

private:
    std::vector<std::pair<std::string, double>> medians_;
};

#pragma once
// A console reporter that keeps the median (over repetitions) of each benchmark's time per
// iteration, for the ratio lines printed after the run.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace zk::bench {

class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                medians[r.run_name.function_name] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

} // namespace zk::bench

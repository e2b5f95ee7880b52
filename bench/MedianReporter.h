#pragma once
// A console reporter that keeps the median of each benchmark ("name/args"), so that a program
// can print its figures as ratios to a baseline measured in the same run.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                medians_[r.run_name.function_name + "/" + r.run_name.args] =
                    r.GetAdjustedRealTime();
    }

protected:
    // The median of "name/args" in the unit it was reported in; -1 when it did not run.
    double median(const std::string& name) const {
        const auto it = medians_.find(name);
        return it == medians_.end() ? -1 : it->second;
    }

private:
    std::map<std::string, double> medians_;
};

// A console reporter that also keeps each benchmark's time per iteration (the median when
// --benchmark_repetitions repeats it), for the ratios a bench prints at its end.
#pragma once
#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

class MedianTimes : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            const std::string name = r.run_name.function_name;
            if (r.run_type == Run::RT_Aggregate) {
                if (r.aggregate_name == "median") medians_[name] = TimeOf(r);
            } else {
                singles_[name] = TimeOf(r);
            }
        }
    }
    // The median of the benchmark's times, or its one time; 0 when it did not run.
    double Time(const std::string& name) const {
        auto m = medians_.find(name);
        if (m != medians_.end()) return m->second;
        auto s = singles_.find(name);
        return s != singles_.end() ? s->second : 0.0;
    }

protected:
    // A run's time in the bench's unit: CPU time per iteration (the machines are shared,
    // and wall time counts the neighbours too), unless the bench says otherwise.
    virtual double TimeOf(const Run& r) const { return r.GetAdjustedCPUTime(); }

private:
    std::map<std::string, double> medians_, singles_;
};

// A console reporter that also keeps each benchmark's CPU time per iteration, so that a bench
// can print its figures as ratios to the peer measured in the same run. CPU time, not the time
// on the clock: on a shared machine the clock also counts the other programs' turns.
#pragma once
#include <benchmark/benchmark.h>

#include <map>
#include <string>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    // CPU nanoseconds per iteration of the named benchmark (0 when it did not run).
    double nanos(const std::string& name) const;

private:
    std::map<std::string, double> nanos_;
};

#include "bench/ratio_reporter.h"

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
            nanos_[run.benchmark_name()] =
                run.GetAdjustedCPUTime() *
                benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond) /
                benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::nanos(const std::string& name) const {
    auto it = nanos_.find(name);
    return it == nanos_.end() ? 0.0 : it->second;
}

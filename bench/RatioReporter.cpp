//===- RatioReporter.cpp - The usual report, keeping the times ------------===//
#include "RatioReporter.h"

// Made after benchmark::Initialize, so the display reporter reflects the command line.
RatioReporter::RatioReporter() : mDisplay(benchmark::CreateDefaultDisplayReporter()) {}

bool RatioReporter::ReportContext(const Context& context) {
    return mDisplay->ReportContext(context);
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    mDisplay->ReportRuns(runs);
    // Each call carries one benchmark's runs. The single runs are taken when they are there
    // (the table takes its own median of them); with --benchmark_report_aggregates_only only
    // the aggregates come, and then the median aggregate stands in for them.
    bool haveSingleRuns = false;
    for (const Run& run : runs)
        haveSingleRuns = haveSingleRuns || run.run_type == Run::RT_Iteration;
    for (const Run& run : runs) {
        bool wanted = haveSingleRuns
                          ? run.run_type == Run::RT_Iteration
                          : run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (!wanted || run.error_occurred || run.iterations <= 0)
            continue;
        // function_name is the registered name alone, without the "/real_time" and
        // "/repeats:" suffixes of the full name. An aggregate's accumulated time is the
        // statistic of its runs' accumulated times, so dividing by iterations works for both.
        mTimes.Add(run.run_name.function_name,
                   run.real_accumulated_time / static_cast<double>(run.iterations));
    }
}

void RatioReporter::Finalize() {
    mDisplay->Finalize();
}

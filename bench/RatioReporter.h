//===- RatioReporter.h - The usual report, keeping the times ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BENCH_RATIOREPORTER_H
#define PIGMENTOR_BENCH_RATIOREPORTER_H

#include "TimeTable.h"

#include <benchmark/benchmark.h>

/// Passes everything to Google Benchmark's own display reporter (the one its flags choose:
/// format, colour, tabular counters) and also records, in a TimeTable, the real (wall-clock)
/// seconds per iteration of every run under the name the benchmark was registered with.
/// Failed runs and aggregates are passed on but not recorded, except the median aggregate
/// when the single runs are not reported.
///
/// The display reporter belongs to the library; the table belongs to this object. Read the
/// table after RunSpecifiedBenchmarks returns.
class RatioReporter : public benchmark::BenchmarkReporter {
public:
    RatioReporter();
    bool ReportContext(const Context& context) override;
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;
    /// Every recorded run so far.
    const TimeTable& Times() const { return mTimes; }

private:
    benchmark::BenchmarkReporter* mDisplay;
    TimeTable mTimes;
};

#endif // PIGMENTOR_BENCH_RATIOREPORTER_H

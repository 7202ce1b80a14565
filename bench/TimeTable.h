//===- TimeTable.h - Measured times by benchmark name -----------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BENCH_TIMETABLE_H
#define PIGMENTOR_BENCH_TIMETABLE_H

#include <map>
#include <string>
#include <vector>

/// The seconds one pass of each benchmark took, by benchmark name; a name measured several
/// times (repetitions) stands for the median of its times. Names are compared exactly.
class TimeTable {
public:
    /// Records one measurement of `name`; negative or non-finite times are ignored.
    void Add(const std::string& name, double seconds);
    /// The median time of `name` into `seconds`; false when it has none.
    bool Seconds(const std::string& name, double& seconds) const;
    /// numerator's time / denominator's time; false when either is missing or the
    /// denominator's is 0.
    bool Ratio(const std::string& numerator, const std::string& denominator, double& ratio) const;

private:
    std::map<std::string, std::vector<double>> mTimes;
};

#endif // PIGMENTOR_BENCH_TIMETABLE_H

//===- TimeTable.cpp - Measured times by benchmark name -------------------===//
#include "TimeTable.h"

#include <algorithm>
#include <cmath>

void TimeTable::Add(const std::string& name, double seconds) {
    if (std::isfinite(seconds) && seconds >= 0)
        mTimes[name].push_back(seconds);
}

bool TimeTable::Seconds(const std::string& name, double& seconds) const {
    auto found = mTimes.find(name);
    if (found == mTimes.end() || found->second.empty())
        return false;
    // The median rather than the mean: one repetition disturbed by another process on the
    // shared machine should not move the figure.
    std::vector<double> times = found->second;
    std::sort(times.begin(), times.end());
    std::size_t middle = times.size() / 2;
    seconds = times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    return true;
}

bool TimeTable::Ratio(const std::string& numerator, const std::string& denominator,
                      double& ratio) const {
    double top = 0;
    double bottom = 0;
    if (!Seconds(numerator, top) || !Seconds(denominator, bottom) || bottom <= 0)
        return false;
    ratio = top / bottom;
    return true;
}

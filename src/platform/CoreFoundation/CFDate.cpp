//===- CFDate.cpp - Points in time ----------------------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFDate.h>
#include <CoreFoundation/CFRuntime.h>

#include <ctime>

/// A date: its absolute time.
struct __CFDate final : pmcf::Object {
    static CFTypeID TypeID() { return CFDateGetTypeID(); }
    explicit __CFDate(CFAbsoluteTime t) : Object(TypeID()), time(t) {}

    bool equals(const Object& other) const override {
        return time == static_cast<const __CFDate&>(other).time;
    }
    CFHashCode hash() const override { return pmcf::HashBytes(&time, sizeof time); }
    std::u16string describe() const override {
        char text[64] = "(out of range)";
        double since1970 = time + kCFAbsoluteTimeIntervalSince1970;
        // gmtime_r takes a time_t; anything beyond +-2^62 s is far past any real date.
        if (since1970 > -4.6e18 && since1970 < 4.6e18) {
            std::time_t t = static_cast<std::time_t>(since1970);
            std::tm parts;
            if (gmtime_r(&t, &parts))
                std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &parts);
        }
        return pmcf::Widen(text);
    }

    const CFAbsoluteTime time;
};

extern "C" {

CFAbsoluteTime CFAbsoluteTimeGetCurrent(void) {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) - kCFAbsoluteTimeIntervalSince1970 +
           static_cast<double>(now.tv_nsec) / 1e9;
}

CFTypeID CFDateGetTypeID(void) {
    static const CFTypeID id = pmcf::RegisterType("CFDate");
    return id;
}

CFDateRef CFDateCreate(CFAllocatorRef, CFAbsoluteTime at) {
    return new __CFDate(at);
}

CFAbsoluteTime CFDateGetAbsoluteTime(CFDateRef theDate) {
    const __CFDate* d = pmcf::Cast<__CFDate>(theDate);
    return d ? d->time : 0;
}

CFComparisonResult CFDateCompare(CFDateRef theDate, CFDateRef otherDate, void*) {
    const __CFDate* a = pmcf::Cast<__CFDate>(theDate);
    const __CFDate* b = pmcf::Cast<__CFDate>(otherDate);
    if (a == nullptr || b == nullptr)
        return a == b ? kCFCompareEqualTo : (a ? kCFCompareGreaterThan : kCFCompareLessThan);
    if (a->time < b->time)
        return kCFCompareLessThan;
    return a->time > b->time ? kCFCompareGreaterThan : kCFCompareEqualTo;
}

} // extern "C"

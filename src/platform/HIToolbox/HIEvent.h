#pragma once
// Internal to HIToolbox: the event object. Its reference count and queue mark are atomic so
// that workers may create, fill and post events; parameters are only touched by one thread at
// a time (the poster before posting, the main thread after).

#include <HIToolbox/CarbonEvents.h>

#include <atomic>
#include <vector>

struct OpaqueEventRef {
    struct Param {
        EventParamName name;
        EventParamType type;
        std::vector<UInt8> bytes;
    };
    std::atomic<int> refs{1};
    EventClass eventClass = 0;
    EventKind kind = 0;
    EventTime time = 0;
    EventAttributes attributes = 0;
    std::vector<Param> params;
    std::atomic<bool> queued{false};
};

namespace hi {
/// The window of a window target, or null.
WindowRef WindowOfTarget(EventTargetRef target);
}

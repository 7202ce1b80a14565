//===- EventHack.cpp - Wakes the main loop after a cross-thread post ------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "EventHack.h"

#include <HIToolbox/CarbonEvents.h>

namespace {

void PerformNothing(void*) {}

// Made at load, as the posting workers may start before anyone else asks for it.
EventHack& gLoadedEventHack = EventHack::instance();

} // namespace

EventHack& EventHack::instance() {
    // Never destroyed: workers may still wake the loop while the process exits.
    static EventHack* hack = new EventHack;
    return *hack;
}

int EventHack::testHack() {
    if (mAdded.exchange(true))
        return -1;
    CFRunLoopSourceContext context{};
    context.perform = PerformNothing;
    CFRunLoopSourceRef source = CFRunLoopSourceCreate(kCFAllocatorDefault, 0, &context);
    if (!source) {
        mAdded = false; // a later call may try again
        return -5;
    }
    CFRunLoopAddSource(CFRunLoopGetCurrent(), source, kCFRunLoopCommonModes);
    mSource = source; // kept for the life of the process
    return 0;
}

void EventHack::wakeHack() {
    if (CFRunLoopSourceRef source = mSource.load())
        CFRunLoopSourceSignal(source);
    auto loop = static_cast<CFRunLoopRef>(
        const_cast<void*>(GetCFRunLoopFromEventLoop(GetMainEventLoop())));
    if (loop)
        CFRunLoopWakeUp(loop);
}

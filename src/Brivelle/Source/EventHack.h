//===- EventHack.h - Wakes the main loop after a cross-thread post -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_EVENTHACK_H
#define PIGMENTOR_BRIVELLE_EVENTHACK_H

#include <CoreFoundation/CoreFoundation.h>

#include <atomic>

/// The process-wide wake-up of the main event loop for events posted from a worker thread.
///
/// One instance exists, made when the library is loaded and never destroyed (the run loop
/// keeps its source for the life of the process). `testHack` runs on the thread whose run
/// loop is to be woken, the main one; `wakeHack` may be called from any thread.
class EventHack {
public:
    /// The one instance.
    static EventHack& instance();

    /// Once: adds a source with an empty perform routine to the current run loop in the
    /// common modes. 0 when added, -1 when already done, -5 when the source could not be made.
    int testHack();
    /// Signals that source (once added) and wakes the main event loop's run loop, so that a
    /// just-posted event is dispatched at once.
    void wakeHack();

private:
    EventHack() = default;
    ~EventHack() = default;
    EventHack(const EventHack&) = delete;
    EventHack& operator=(const EventHack&) = delete;

    std::atomic<bool> mAdded{false};
    std::atomic<CFRunLoopSourceRef> mSource{nullptr};
};

#endif // PIGMENTOR_BRIVELLE_EVENTHACK_H

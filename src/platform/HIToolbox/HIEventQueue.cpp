// The main event queue (any thread posts), the run-loop source that wakes the main thread,
// and the event loops that dispatch: RunCurrentEventLoop and the nesting modal loops.
#include "HIEvent.h"
#include "HIObjects.h"
#include <HIToolbox/HIBackend.h>

#include <CoreFoundation/CFRunLoop.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <mutex>
#include <sys/syscall.h>
#include <unistd.h>

struct OpaqueEventQueueRef {
    std::mutex lock;
    std::deque<EventRef> byPriority[3]; // low, standard, high; guarded by lock
    CFRunLoopSourceRef source = nullptr;
};

namespace {

void NothingToPerform(void*) {}

OpaqueEventQueueRef& Main() {
    // Made on first use from any thread; never destroyed (workers may post during exit).
    static OpaqueEventQueueRef* queue = [] {
        auto* q = new OpaqueEventQueueRef;
        CFRunLoopSourceContext context{};
        context.perform = NothingToPerform;
        q->source = CFRunLoopSourceCreate(nullptr, 0, &context);
        CFRunLoopAddSource(CFRunLoopGetMain(), q->source, kCFRunLoopCommonModes);
        return q;
    }();
    return *queue;
}

bool IsMainThread() { return syscall(SYS_gettid) == getpid(); }

/// The next event to dispatch (the caller releases it), or null.
EventRef Take() {
    OpaqueEventQueueRef& q = Main();
    std::lock_guard<std::mutex> guard(q.lock);
    for (int p = 2; p >= 0; --p) {
        if (!q.byPriority[p].empty()) {
            EventRef e = q.byPriority[p].front();
            q.byPriority[p].pop_front();
            e->queued.store(false);
            return e;
        }
    }
    return nullptr;
}

void Dispatch(EventRef e) {
    if (hi::PerformSimulated(e))
        return;
    EventTargetRef target = nullptr;
    if (GetEventParameter(e, kEventParamPostTarget, typeEventTargetRef, nullptr, sizeof target,
                          nullptr, &target) != noErr)
        target = GetApplicationEventTarget();
    // A target whose window went away after the post gets nothing.
    SendEventToEventTarget(e, target);
}

/// Dispatches one queued event; false when the queue was empty.
bool DispatchOne() {
    EventRef e = Take();
    if (e == nullptr)
        return false;
    Dispatch(e);
    ReleaseEvent(e);
    return true;
}

using Clock = std::chrono::steady_clock;

/// Dispatches until `done()` or the timeout (negative: none). True when done() ended it.
template <class Done> bool Loop(Done done, double timeout) {
    const bool forever = timeout < 0;
    const Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(forever ? 0.0 : std::min(timeout, 86400.0)));
    for (;;) {
        if (done())
            return true;
        if (DispatchOne())
            continue;
        double left = forever ? -1.0 : std::chrono::duration<double>(end - Clock::now()).count();
        if (!forever && left <= 0)
            return false;
        HICurrentBackend().waitForEvents(left);
    }
}

bool gQuitApplication = false;
UInt32 gModalDepth = 0;

/// Drops the queued events whose post target `doomed` says is going away.
template <class Doomed> void DropPostedTo(Doomed doomed) {
    OpaqueEventQueueRef& q = Main();
    std::vector<EventRef> dropped;
    {
        std::lock_guard<std::mutex> guard(q.lock);
        for (auto& list : q.byPriority) {
            for (auto it = list.begin(); it != list.end();) {
                EventTargetRef target = nullptr;
                if (GetEventParameter(*it, kEventParamPostTarget, typeEventTargetRef, nullptr,
                                      sizeof target, nullptr, &target) == noErr &&
                    doomed(target)) {
                    (*it)->queued.store(false);
                    dropped.push_back(*it);
                    it = list.erase(it);
                } else {
                    ++it;
                }
            }
        }
    }
    for (EventRef e : dropped)
        ReleaseEvent(e);
}

} // namespace

namespace hi {
void WindowGoing(WindowRef window) {
    window->quitModal = true;
    // Events posted to the window or its controls are dropped with it.
    DropPostedTo([window](EventTargetRef target) { return WindowOfTarget(target) == window; });
}

void ControlGoing(ControlRef control) {
    EventTargetRef mine = GetControlEventTarget(control);
    DropPostedTo([mine](EventTargetRef target) { return target == mine; });
}
} // namespace hi

extern "C" {

EventQueueRef GetMainEventQueue(void) { return &Main(); }

// The one event loop is the main thread's; its reference is the main run loop itself.
EventLoopRef GetMainEventLoop(void) { return reinterpret_cast<EventLoopRef>(CFRunLoopGetMain()); }
EventLoopRef GetCurrentEventLoop(void) { return IsMainThread() ? GetMainEventLoop() : nullptr; }
CFTypeRef GetCFRunLoopFromEventLoop(EventLoopRef loop) { return loop ? static_cast<CFTypeRef>(static_cast<void*>(loop)) : nullptr; }
EventQueueRef GetCurrentEventQueue(void) { return IsMainThread() ? &Main() : nullptr; }

OSStatus PostEventToQueue(EventQueueRef queue, EventRef event, EventPriority priority) {
    if (queue == nullptr || event == nullptr || priority < kEventPriorityLow ||
        priority > kEventPriorityHigh)
        return paramErr;
    if (event->queued.exchange(true))
        return eventAlreadyPostedErr;
    RetainEvent(event);
    {
        std::lock_guard<std::mutex> guard(queue->lock);
        queue->byPriority[priority].push_back(event);
    }
    CFRunLoopSourceSignal(queue->source);
    CFRunLoopWakeUp(CFRunLoopGetMain());
    return noErr;
}

OSStatus RemoveEventFromQueue(EventQueueRef queue, EventRef event) {
    if (queue == nullptr || event == nullptr)
        return paramErr;
    {
        std::lock_guard<std::mutex> guard(queue->lock);
        for (auto& list : queue->byPriority) {
            auto found = std::find(list.begin(), list.end(), event);
            if (found != list.end()) {
                list.erase(found);
                event->queued.store(false);
                goto removed;
            }
        }
        return eventNotInQueueErr;
    }
removed:
    ReleaseEvent(event);
    return noErr;
}

Boolean IsEventInQueue(EventQueueRef queue, EventRef event) {
    if (queue == nullptr || event == nullptr)
        return false;
    std::lock_guard<std::mutex> guard(queue->lock);
    for (auto& list : queue->byPriority)
        if (std::find(list.begin(), list.end(), event) != list.end())
            return true;
    return false;
}

ItemCount GetNumEventsInQueue(EventQueueRef queue) {
    if (queue == nullptr)
        return 0;
    std::lock_guard<std::mutex> guard(queue->lock);
    ItemCount n = 0;
    for (auto& list : queue->byPriority)
        n += list.size();
    return n;
}

OSStatus FlushEventsMatchingListFromQueue(EventQueueRef queue, ItemCount numTypes,
                                          const EventTypeSpec* list) {
    if (queue == nullptr || (numTypes > 0 && list == nullptr))
        return paramErr;
    std::vector<EventRef> dropped;
    {
        std::lock_guard<std::mutex> guard(queue->lock);
        for (auto& events : queue->byPriority)
            for (auto it = events.begin(); it != events.end();) {
                bool match = std::any_of(list, list + numTypes, [&](const EventTypeSpec& s) {
                    return s.eventClass == (*it)->eventClass && s.eventKind == (*it)->kind;
                });
                if (match) {
                    (*it)->queued.store(false);
                    dropped.push_back(*it);
                    it = events.erase(it);
                } else {
                    ++it;
                }
            }
    }
    for (EventRef e : dropped)
        ReleaseEvent(e);
    return noErr;
}

OSStatus RunCurrentEventLoop(EventTimeout timeout) {
    if (!IsMainThread())
        return paramErr;
    if (timeout == kEventDurationNoWait) {
        // Only what is queued now: events posted by these handlers wait for the next pass.
        ItemCount n = GetNumEventsInQueue(&Main());
        bool any = n > 0;
        while (n-- > 0 && DispatchOne()) {
        }
        return any ? OSStatus(noErr) : eventLoopTimedOutErr;
    }
    gQuitApplication = false;
    bool quit = Loop([] { return gQuitApplication; }, timeout);
    gQuitApplication = false;
    return quit ? eventLoopQuitErr : eventLoopTimedOutErr;
}

void RunApplicationEventLoop(void) { RunCurrentEventLoop(kEventDurationForever); }

void QuitApplicationEventLoop(void) {
    gQuitApplication = true;
    CFRunLoopWakeUp(CFRunLoopGetMain());
}

OSStatus RunAppModalLoopForWindow(WindowRef window) {
    if (!hi::IsLiveWindow(window))
        return errInvalidWindowRef;
    if (window->modalRunning)
        return errAlreadyInModalDialog;
    const uint64_t serial = window->serial;
    auto gone = [window, serial] { return !hi::IsLiveWindow(window) || window->serial != serial; };
    window->modalRunning = true;
    window->quitModal = false;
    ++gModalDepth;
    Loop([&] { return gone() || window->quitModal; }, -1);
    --gModalDepth;
    if (gone())
        return eventLoopQuitErr;
    window->modalRunning = false;
    window->quitModal = false;
    return noErr;
}

OSStatus QuitAppModalLoopForWindow(WindowRef window) {
    if (!hi::IsLiveWindow(window))
        return errInvalidWindowRef;
    if (window->modalRunning)
        window->quitModal = true;
    return noErr;
}

OSStatus BeginAppModalStateForWindow(WindowRef window) {
    return hi::IsLiveWindow(window) ? OSStatus(noErr) : errInvalidWindowRef;
}
OSStatus EndAppModalStateForWindow(WindowRef window) {
    return hi::IsLiveWindow(window) ? OSStatus(noErr) : errInvalidWindowRef;
}

UInt32 HIAppModalDepth(void) { return gModalDepth; }

} // extern "C"

// Posting from worker threads and the run-loop wake-up. These also run under ThreadSanitizer.
#include "HIToolboxTestSupport.h"

#include <CoreFoundation/CFRunLoop.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Burst {
    std::vector<UInt32> seen;
    UInt32 expected = 0;
    WindowRef window = nullptr;
};

OSStatus CountCommand(EventHandlerCallRef, EventRef e, void* data) {
    auto* b = static_cast<Burst*>(data);
    HICommand command{};
    GetEventParameter(e, kEventParamDirectObject, typeHICommand, nullptr, sizeof command, nullptr, &command);
    b->seen.push_back(command.commandID);
    if (b->seen.size() == b->expected)
        QuitAppModalLoopForWindow(b->window);
    return noErr;
}

/// Posts `count` commands numbered from 1 to the window, as the fetch's progress handler does.
void PostBurst(WindowRef window, UInt32 count) {
    EventTargetRef target = GetWindowEventTarget(window);
    for (UInt32 i = 1; i <= count; ++i) {
        EventRef e = nullptr;
        CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, 0, kEventAttributeUserEvent, &e);
        HICommand command{0, i, {nullptr, 0}};
        SetEventParameter(e, kEventParamDirectObject, typeHICommand, 14, &command);
        SetEventParameter(e, kEventParamPostTarget, typeEventTargetRef, sizeof target, &target);
        PostEventToQueue(GetMainEventQueue(), e, kEventPriorityHigh);
        ReleaseEvent(e);
    }
}

} // namespace

TEST(Threads, ABurstFromAWorkerIsDispatchedInOrderInsideAModalLoop) {
    TestWindow w;
    Burst burst;
    burst.expected = 500;
    burst.window = w;
    const EventTypeSpec command{kEventClassCommand, kEventCommandProcess};
    InstallWindowEventHandler(w, CountCommand, 1, &command, &burst, nullptr);
    std::thread worker(PostBurst, w.window, burst.expected);
    EXPECT_EQ(RunAppModalLoopForWindow(w), noErr);
    worker.join();
    ASSERT_EQ(burst.seen.size(), 500u);
    for (UInt32 i = 0; i < 500; ++i)
        ASSERT_EQ(burst.seen[i], i + 1);
}

TEST(Threads, TwoWorkersKeepTheirOwnOrder) {
    TestWindow a, b;
    Burst first, second;
    first.expected = second.expected = 200;
    first.window = a;
    second.window = b;
    const EventTypeSpec command{kEventClassCommand, kEventCommandProcess};
    InstallWindowEventHandler(a, CountCommand, 1, &command, &first, nullptr);
    InstallWindowEventHandler(b, CountCommand, 1, &command, &second, nullptr);
    std::thread one(PostBurst, a.window, 200), two(PostBurst, b.window, 200);
    one.join();
    two.join();
    EXPECT_EQ(GetNumEventsInQueue(GetMainEventQueue()), 400u);
    HIProcessPendingEvents();
    ASSERT_EQ(first.seen.size(), 200u);
    ASSERT_EQ(second.seen.size(), 200u);
    for (UInt32 i = 0; i < 200; ++i) {
        EXPECT_EQ(first.seen[i], i + 1);
        EXPECT_EQ(second.seen[i], i + 1);
    }
}

namespace {
struct SourceCounter {
    std::atomic<int> performed{0};
};
void Perform(void* info) { static_cast<SourceCounter*>(info)->performed++; }
} // namespace

TEST(RunLoop, ASourceSignalledByAWorkerWakesTheMainLoop) {
    // Sources of the other tests (the event queue's) may still be signalled: perform them now.
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
    SourceCounter counter;
    CFRunLoopSourceContext context{};
    context.info = &counter;
    context.perform = Perform;
    CFRunLoopSourceRef source = CFRunLoopSourceCreate(nullptr, 0, &context);
    CFRunLoopAddSource(CFRunLoopGetCurrent(), source, kCFRunLoopCommonModes);
    EXPECT_TRUE(CFRunLoopContainsSource(CFRunLoopGetMain(), source, kCFRunLoopDefaultMode));
    EXPECT_EQ(CFRunLoopGetCurrent(), CFRunLoopGetMain());
    std::thread worker([source] {
        EXPECT_NE(CFRunLoopGetCurrent(), CFRunLoopGetMain());
        CFRunLoopSourceSignal(source);
        CFRunLoopWakeUp(CFRunLoopGetMain());
    });
    // Long enough never to end by itself in a passing run: the wake-up ends it.
    SInt32 result = CFRunLoopRunInMode(kCFRunLoopDefaultMode, 60, true);
    worker.join();
    EXPECT_EQ(result, kCFRunLoopRunHandledSource);
    EXPECT_EQ(counter.performed.load(), 1);
    // Without a signal the loop times out; a stop from another thread ends it at once.
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true), kCFRunLoopRunTimedOut);
    std::thread stopper([] { CFRunLoopStop(CFRunLoopGetMain()); });
    stopper.join();
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 60, false), kCFRunLoopRunStopped);
    CFRunLoopSourceInvalidate(source);
    EXPECT_FALSE(CFRunLoopSourceIsValid(source));
    EXPECT_FALSE(CFRunLoopContainsSource(CFRunLoopGetMain(), source, kCFRunLoopCommonModes));
    CFRelease(source);
    // A mode with no sources finishes at once.
    EXPECT_EQ(CFRunLoopRunInMode(CFSTR("nothing here"), 60, false), kCFRunLoopRunFinished);
}

namespace {
std::atomic<int> gHookCalls{0};
void CountWakeUp(void*) { gHookCalls++; }
} // namespace

TEST(RunLoop, AWakeUpHookHearsWorkersPost) {
    // What a back end with a loop of its own (GTK) installs to be woken by posts.
    _CFRunLoopSetWakeUpHook(CFRunLoopGetMain(), CountWakeUp, nullptr);
    TestWindow w;
    Burst burst;
    burst.expected = 50;
    burst.window = w;
    const EventTypeSpec command{kEventClassCommand, kEventCommandProcess};
    InstallWindowEventHandler(w, CountCommand, 1, &command, &burst, nullptr);
    std::thread worker(PostBurst, w.window, burst.expected);
    EXPECT_EQ(RunAppModalLoopForWindow(w), noErr);
    worker.join();
    _CFRunLoopSetWakeUpHook(CFRunLoopGetMain(), nullptr, nullptr);
    EXPECT_EQ(burst.seen.size(), 50u);
    EXPECT_GE(gHookCalls.load(), 50); // one per post at least
}

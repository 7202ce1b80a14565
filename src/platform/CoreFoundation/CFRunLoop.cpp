//===- CFRunLoop.cpp - Run loops and their sources ------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFRunLoop.h>
#include <CoreFoundation/CFRuntime.h>
#include <CoreFoundation/CFStringInternal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

const CFStringRef kCFRunLoopDefaultMode = CFSTR("kCFRunLoopDefaultMode");
const CFStringRef kCFRunLoopCommonModes = CFSTR("kCFRunLoopCommonModes");

/// A version-0 source. `signalled` is atomic so that any thread may signal without a lock.
struct __CFRunLoopSource final : pmcf::Object {
    static CFTypeID TypeID() { return CFRunLoopSourceGetTypeID(); }
    __CFRunLoopSource(CFIndex o, const CFRunLoopSourceContext& c)
        : Object(TypeID()), order(o), context(c) {
        if (context.retain && context.info)
            context.info = const_cast<void*>(context.retain(context.info));
    }
    ~__CFRunLoopSource() override {
        if (context.release && context.info)
            context.release(context.info);
    }
    const CFIndex order;
    CFRunLoopSourceContext context;
    std::atomic<bool> signalled{false};
    std::atomic<bool> valid{true};
};

/// One thread's loop. Every member below `lock` is guarded by it.
struct __CFRunLoop final : pmcf::Object {
    static CFTypeID TypeID() { return CFRunLoopGetTypeID(); }
    __CFRunLoop() : Object(TypeID(), true) { commonModes.insert(u"kCFRunLoopDefaultMode"); }

    std::mutex lock;
    std::condition_variable changed;
    std::map<std::u16string, std::vector<__CFRunLoopSource*>> modes;
    std::vector<__CFRunLoopSource*> commonSources;
    std::set<std::u16string> commonModes;
    bool woken = false;
    bool stopped = false;
    bool waiting = false;
    void (*hook)(void*) = nullptr;
    void* hookInfo = nullptr;
};

namespace {

// Loops are immortal: the registry keeps every one reachable for the life of the process.
std::mutex& RegistryLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}
std::vector<__CFRunLoop*>& Registry() {
    static auto* loops = new std::vector<__CFRunLoop*>;
    return *loops;
}

__CFRunLoop* NewLoop() {
    auto* loop = new __CFRunLoop;
    std::lock_guard<std::mutex> guard(RegistryLock());
    Registry().push_back(loop);
    return loop;
}

__CFRunLoop* MainLoop() {
    static __CFRunLoop* main = NewLoop();
    return main;
}

// On Linux the process's first thread is the one whose thread id is the process id.
bool IsMainThread() { return syscall(SYS_gettid) == getpid(); }

__CFRunLoop* Loop(CFRunLoopRef rl) { return pmcf::CastMutable<__CFRunLoop>(rl); }
__CFRunLoopSource* Source(CFRunLoopSourceRef s) { return pmcf::CastMutable<__CFRunLoopSource>(s); }

std::u16string ModeName(CFStringRef mode) {
    if (pmcf::Cast<__CFString>(mode) == nullptr)
        return u"";
    return std::u16string(pmcf::Units(mode));
}

bool IsCommonPseudoMode(const std::u16string& mode) { return mode == u"kCFRunLoopCommonModes"; }

/// The list a source goes into for `mode` (caller holds the loop's lock).
std::vector<__CFRunLoopSource*>* ListFor(__CFRunLoop& loop, const std::u16string& mode) {
    if (mode.empty())
        return nullptr;
    if (IsCommonPseudoMode(mode))
        return &loop.commonSources;
    return &loop.modes[mode];
}

/// Signalled, valid sources of `mode`, each retained, in order; their signal is cleared.
std::vector<__CFRunLoopSource*> TakeReady(__CFRunLoop& loop, const std::u16string& mode,
                                          bool* any) {
    std::vector<__CFRunLoopSource*> all;
    auto found = loop.modes.find(mode);
    if (found != loop.modes.end())
        all = found->second;
    if (loop.commonModes.count(mode) != 0)
        all.insert(all.end(), loop.commonSources.begin(), loop.commonSources.end());
    *any = !all.empty();
    std::vector<__CFRunLoopSource*> ready;
    for (__CFRunLoopSource* s : all) {
        if (s->valid.load() && s->signalled.exchange(false)) {
            s->retain();
            ready.push_back(s);
        }
    }
    std::stable_sort(ready.begin(), ready.end(),
                     [](const __CFRunLoopSource* a, const __CFRunLoopSource* b) {
                         return a->order < b->order;
                     });
    return ready;
}

void Perform(const std::vector<__CFRunLoopSource*>& ready) {
    for (__CFRunLoopSource* s : ready) {
        if (s->valid.load() && s->context.perform)
            s->context.perform(s->context.info);
        s->release();
    }
}

void Schedule(__CFRunLoopSource* s, CFRunLoopRef rl, CFStringRef mode, bool add) {
    auto call = add ? s->context.schedule : s->context.cancel;
    if (call)
        call(s->context.info, rl, mode);
}

// Raises `flag` of a loop (stop, wake-up), wakes a thread waiting in it and calls the wake-up
// hook outside the lock, since the hook may post to another event loop.
void Signal(__CFRunLoop* loop, bool __CFRunLoop::*flag) {
    if (loop == nullptr)
        return;
    void (*hook)(void*) = nullptr;
    void* info = nullptr;
    {
        std::lock_guard<std::mutex> guard(loop->lock);
        loop->*flag = true;
        hook = loop->hook;
        info = loop->hookInfo;
    }
    loop->changed.notify_all();
    if (hook)
        hook(info);
}

} // namespace

extern "C" {

CFTypeID CFRunLoopGetTypeID(void) {
    static const CFTypeID id = pmcf::RegisterType("CFRunLoop");
    return id;
}

CFTypeID CFRunLoopSourceGetTypeID(void) {
    static const CFTypeID id = pmcf::RegisterType("CFRunLoopSource");
    return id;
}

CFRunLoopRef CFRunLoopGetMain(void) { return MainLoop(); }

CFRunLoopRef CFRunLoopGetCurrent(void) {
    if (IsMainThread())
        return MainLoop();
    thread_local __CFRunLoop* mine = NewLoop();
    return mine;
}

SInt32 CFRunLoopRunInMode(CFStringRef modeName, CFTimeInterval seconds,
                          Boolean returnAfterSourceHandled) {
    __CFRunLoop& loop = *Loop(CFRunLoopGetCurrent());
    const std::u16string mode = ModeName(modeName);
    using Clock = std::chrono::steady_clock;
    // Clamp so that the deadline cannot overflow; a day is "for ever" for every caller here.
    const double limit = std::min(std::max(seconds, 0.0), 86400.0);
    const Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(limit));
    bool handledAny = false;
    for (;;) {
        std::vector<__CFRunLoopSource*> ready;
        {
            std::unique_lock<std::mutex> guard(loop.lock);
            if (loop.stopped) {
                loop.stopped = false;
                return kCFRunLoopRunStopped;
            }
            bool any = false;
            ready = TakeReady(loop, mode, &any);
            if (!any)
                return kCFRunLoopRunFinished;
            if (ready.empty()) {
                if (handledAny && returnAfterSourceHandled)
                    return kCFRunLoopRunHandledSource;
                if (loop.woken) {
                    // A wake-up with nothing signalled ends this run, as a timeout would.
                    loop.woken = false;
                    return kCFRunLoopRunTimedOut;
                }
                if (Clock::now() >= deadline)
                    return kCFRunLoopRunTimedOut;
                loop.waiting = true;
                loop.changed.wait_until(guard, deadline);
                loop.waiting = false;
                continue;
            }
            loop.woken = false;
        }
        Perform(ready);
        handledAny = true;
        if (returnAfterSourceHandled)
            return kCFRunLoopRunHandledSource;
    }
}

void CFRunLoopRun(void) {
    for (;;) {
        SInt32 result = CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0e10, false);
        if (result == kCFRunLoopRunStopped || result == kCFRunLoopRunFinished)
            return;
    }
}

void CFRunLoopStop(CFRunLoopRef rl) { Signal(Loop(rl), &__CFRunLoop::stopped); }

void CFRunLoopWakeUp(CFRunLoopRef rl) { Signal(Loop(rl), &__CFRunLoop::woken); }

Boolean CFRunLoopIsWaiting(CFRunLoopRef rl) {
    __CFRunLoop* loop = Loop(rl);
    if (loop == nullptr)
        return false;
    std::lock_guard<std::mutex> guard(loop->lock);
    return loop->waiting;
}

void CFRunLoopAddCommonMode(CFRunLoopRef rl, CFStringRef mode) {
    __CFRunLoop* loop = Loop(rl);
    std::u16string name = ModeName(mode);
    if (loop == nullptr || name.empty() || IsCommonPseudoMode(name))
        return;
    std::lock_guard<std::mutex> guard(loop->lock);
    loop->commonModes.insert(name);
}

CFRunLoopSourceRef CFRunLoopSourceCreate(CFAllocatorRef, CFIndex order,
                                         CFRunLoopSourceContext* context) {
    if (context == nullptr || context->version != 0)
        return nullptr;
    return new __CFRunLoopSource(order, *context);
}

void CFRunLoopAddSource(CFRunLoopRef rl, CFRunLoopSourceRef source, CFStringRef mode) {
    __CFRunLoop* loop = Loop(rl);
    __CFRunLoopSource* s = Source(source);
    if (loop == nullptr || s == nullptr || !s->valid.load())
        return;
    {
        std::lock_guard<std::mutex> guard(loop->lock);
        std::vector<__CFRunLoopSource*>* list = ListFor(*loop, ModeName(mode));
        if (list == nullptr || std::find(list->begin(), list->end(), s) != list->end())
            return;
        s->retain();
        list->push_back(s);
    }
    Schedule(s, rl, mode, true);
    // A source signalled before it was added is performed by the next pass.
    loop->changed.notify_all();
}

void CFRunLoopRemoveSource(CFRunLoopRef rl, CFRunLoopSourceRef source, CFStringRef mode) {
    __CFRunLoop* loop = Loop(rl);
    __CFRunLoopSource* s = Source(source);
    if (loop == nullptr || s == nullptr)
        return;
    {
        std::lock_guard<std::mutex> guard(loop->lock);
        std::vector<__CFRunLoopSource*>* list = ListFor(*loop, ModeName(mode));
        if (list == nullptr)
            return;
        auto found = std::find(list->begin(), list->end(), s);
        if (found == list->end())
            return;
        list->erase(found);
    }
    Schedule(s, rl, mode, false);
    s->release();
}

Boolean CFRunLoopContainsSource(CFRunLoopRef rl, CFRunLoopSourceRef source, CFStringRef mode) {
    __CFRunLoop* loop = Loop(rl);
    __CFRunLoopSource* s = Source(source);
    std::u16string name = ModeName(mode);
    if (loop == nullptr || s == nullptr || name.empty())
        return false;
    std::lock_guard<std::mutex> guard(loop->lock);
    auto has = [s](const std::vector<__CFRunLoopSource*>& list) {
        return std::find(list.begin(), list.end(), s) != list.end();
    };
    if (IsCommonPseudoMode(name))
        return has(loop->commonSources);
    auto found = loop->modes.find(name);
    if (found != loop->modes.end() && has(found->second))
        return true;
    return loop->commonModes.count(name) != 0 && has(loop->commonSources);
}

void CFRunLoopSourceSignal(CFRunLoopSourceRef source) {
    if (__CFRunLoopSource* s = Source(source))
        s->signalled.store(true);
}

void CFRunLoopSourceInvalidate(CFRunLoopSourceRef source) {
    __CFRunLoopSource* s = Source(source);
    if (s == nullptr || !s->valid.exchange(false))
        return;
    std::vector<__CFRunLoop*> loops;
    {
        std::lock_guard<std::mutex> guard(RegistryLock());
        loops = Registry();
    }
    for (__CFRunLoop* loop : loops) {
        std::vector<std::u16string> removedFrom;
        {
            std::lock_guard<std::mutex> guard(loop->lock);
            auto drop = [s, &removedFrom](std::vector<__CFRunLoopSource*>& list,
                                          const std::u16string& name) {
                auto found = std::find(list.begin(), list.end(), s);
                if (found != list.end()) {
                    list.erase(found);
                    removedFrom.push_back(name);
                }
            };
            drop(loop->commonSources, u"kCFRunLoopCommonModes");
            for (auto& [name, list] : loop->modes)
                drop(list, name);
        }
        for (const std::u16string& name : removedFrom) {
            CFStringRef mode = pmcf::CreateString(name);
            Schedule(s, loop, mode, false);
            CFRelease(mode);
            s->release();
        }
    }
}

Boolean CFRunLoopSourceIsValid(CFRunLoopSourceRef source) {
    __CFRunLoopSource* s = Source(source);
    return s != nullptr && s->valid.load();
}

CFIndex CFRunLoopSourceGetOrder(CFRunLoopSourceRef source) {
    __CFRunLoopSource* s = Source(source);
    return s ? s->order : 0;
}

void CFRunLoopSourceGetContext(CFRunLoopSourceRef source, CFRunLoopSourceContext* context) {
    __CFRunLoopSource* s = Source(source);
    if (s != nullptr && context != nullptr)
        *context = s->context;
}

void _CFRunLoopSetWakeUpHook(CFRunLoopRef rl, void (*hook)(void* info), void* info) {
    __CFRunLoop* loop = Loop(rl);
    if (loop == nullptr)
        return;
    std::lock_guard<std::mutex> guard(loop->lock);
    loop->hook = hook;
    loop->hookInfo = info;
}

} // extern "C"

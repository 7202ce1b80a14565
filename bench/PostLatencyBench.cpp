//===- PostLatencyBench.cpp - From a worker's post to the main thread's handler -===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// bench_post_latency [headless|gtk|both] [COUNT]
//
// A worker posts COUNT command events to a window, as the background fetch's progress handler
// does (PostEventToQueue with priority 2, which wakes the main run loop), a fraction of a
// millisecond apart so that the main thread is asleep for most of them; the window's handler
// on the main thread, inside an application-modal loop, takes the time from the post to its
// call. Printed: the distribution in milliseconds and the p99 as a ratio of the 5 ms target,
// for the headless back end and for GTK (which needs a display: scripts/bench runs it under
// xvfb-run when there is none).
//
//===----------------------------------------------------------------------===//
#include <HIToolbox/HIGtkBackend.h>
#include <HIToolbox/HIToolbox.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kTargetMs = 5.0;
constexpr EventParamName kStamp = 'stmp';

struct Run {
    WindowRef window = nullptr;
    size_t expected = 0;
    std::vector<double> latencies; // milliseconds
};

double Now() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

OSStatus OnCommand(EventHandlerCallRef, EventRef event, void* data) {
    auto* run = static_cast<Run*>(data);
    double stamp = 0;
    GetEventParameter(event, kStamp, 'doub', nullptr, sizeof stamp, nullptr, &stamp);
    run->latencies.push_back(Now() - stamp);
    if (run->latencies.size() == run->expected)
        QuitAppModalLoopForWindow(run->window);
    return noErr;
}

void Post(WindowRef window, size_t count) {
    EventTargetRef target = GetWindowEventTarget(window);
    for (size_t i = 0; i < count; ++i) {
        // Spaced out so that most posts find the main thread waiting, as a fetch's do.
        std::this_thread::sleep_for(std::chrono::microseconds(300 + (i % 7) * 100));
        EventRef event = nullptr;
        CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, 0, kEventAttributeUserEvent, &event);
        HICommand command{0, 'QVFe', {nullptr, 0}};
        SetEventParameter(event, kEventParamDirectObject, typeHICommand, 14, &command);
        SetEventParameter(event, kEventParamPostTarget, typeEventTargetRef, sizeof target, &target);
        const double stamp = Now();
        SetEventParameter(event, kStamp, 'doub', sizeof stamp, &stamp);
        PostEventToQueue(GetMainEventQueue(), event, kEventPriorityHigh);
        ReleaseEvent(event);
    }
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    size_t index = static_cast<size_t>(p / 100.0 * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(index, v.size() - 1)];
}

bool Measure(const char* name, size_t count, bool show) {
    Rect bounds{100, 100, 300, 400};
    Run run;
    run.expected = count;
    if (CreateNewWindow(kDocumentWindowClass, 0, &bounds, &run.window) != noErr)
        return false;
    if (show) {
        ShowWindow(run.window);
        HIGtkWaitUntilShown(run.window, 5);
    }
    const EventTypeSpec type{kEventClassCommand, kEventCommandProcess};
    InstallWindowEventHandler(run.window, OnCommand, 1, &type, &run, nullptr);
    std::thread worker(Post, run.window, count);
    RunAppModalLoopForWindow(run.window);
    worker.join();
    DisposeWindow(run.window);
    const double p99 = Percentile(run.latencies, 99);
    std::printf("%-9s %6zu posts  p50 %.3f ms  p90 %.3f ms  p99 %.3f ms  max %.3f ms  "
                "p99/target(5 ms) = %.3f\n",
                name, run.latencies.size(), Percentile(run.latencies, 50), Percentile(run.latencies, 90),
                p99, Percentile(run.latencies, 100), p99 / kTargetMs);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const std::string which = argc > 1 ? argv[1] : "both";
    const size_t count = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 2000;
    if ((which != "headless" && which != "gtk" && which != "both") || count == 0 || count > 1000000) {
        std::fprintf(stderr, "usage: bench_post_latency [headless|gtk|both] [COUNT]\n");
        return 2;
    }
    std::printf("PostEventToQueue on a worker to the handler on the main thread (%zu posts)\n", count);
    if (which != "gtk")
        Measure("headless", count, false);
    if (which != "headless") {
        if (!HIGtkInstall(&argc, &argv)) {
            std::fprintf(stderr, "bench_post_latency: no display for GTK (run under xvfb-run)\n");
            return 1;
        }
        Measure("gtk", count, true);
    }
    return 0;
}

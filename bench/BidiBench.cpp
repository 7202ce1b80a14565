//===- bench_bidi - The two-way colour read against plain HTTP round trips -===//
//
// bench_bidi [Google Benchmark flags]
//
// Starts tovrane-server with the example description on a free loopback port, then times in
// one run: the whole colour read of the two-way item list done with the server classes
// (connect, features, device names, encodings, languages, colour settings and the device
// link of every source and output value pair), and the floor: as many HTTP round trips to
// the same server as the read makes requests, all on one kept-alive connection with
// TCP_NODELAY (the least any client could do). The request count is learnt first through a
// counting relay, untimed. A second server that answers each request after 20 ms (a remote
// server's round trip) times the same read again. Ends with the count, both loopback times
// and their ratio, and the time against the slow server, each against its target.
//
//===----------------------------------------------------------------------===//
#include "BidiRead.h"
#include "CountingProxy.h"
#include "HttpFloor.h"
#include "RatioReporter.h"
#include "TestServer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const kAddress = "127.0.0.1";
/// The slow server's delay per request, and the targets the read is held to.
constexpr int kLatencyMs = 20;
constexpr size_t kMaxRequests = 25;
constexpr double kMaxRatio = 1.5;
constexpr double kMaxSlowSeconds = 0.6;

void PointSdkAt(int port) {
    setenv("TOVRANE_SERVER_PORT", std::to_string(port).c_str(), 1);
}

void benchColourRead(benchmark::State& state, int port) {
    PointSdkAt(port);
    for (auto _ : state) {
        ColourReadResult result = RunColourRead(kAddress);
        if (!result.connected) {
            state.SkipWithError("could not connect");
            return;
        }
        benchmark::DoNotOptimize(result);
    }
}

/// The floor: `requests` round trips of the smallest request on one kept-alive connection.
void benchFloor(benchmark::State& state, int port, size_t requests) {
    for (auto _ : state)
        if (!RunHttpFloor(port, requests)) {
            state.SkipWithError("request failed");
            return;
        }
}

void printResult(const ColourReadResult& r) {
    std::printf("colour read: connected %s, %d features (colour features %s), device \"%s\", "
                "%d encodings, %d languages, %d colour keywords, %d value pairs, %d links\n",
                r.connected ? "yes" : "no", r.features, r.supportsColour ? "yes" : "no",
                r.device.c_str(), r.encodings, r.languages, r.keywords, r.pairs, r.links);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    TestServer server;
    if (!server.Started()) {
        std::fprintf(stderr, "bench_bidi: tovrane-server did not start\n");
        return 1;
    }
    size_t requests = 0;
    {
        CountingProxy proxy(server.Port());
        if (proxy.Port() <= 0) {
            std::fprintf(stderr, "bench_bidi: the counting relay could not bind\n");
            return 1;
        }
        PointSdkAt(proxy.Port());
        ColourReadResult result = RunColourRead(kAddress);
        printResult(result);
        requests = proxy.Count();
        if (!result.connected || result.links == 0 || requests == 0) {
            std::fprintf(stderr, "bench_bidi: the colour read did not complete\n");
            return 1;
        }
    }
    std::printf("requests per colour read: %zu\n\n", requests);
    std::fflush(stdout);
    TestServer remote({"--latency-ms", std::to_string(kLatencyMs)});
    if (!remote.Started()) {
        std::fprintf(stderr, "bench_bidi: the slow tovrane-server did not start\n");
        return 1;
    }

    // Real time: the work is waiting on the network, not computing.
    benchmark::RegisterBenchmark("bidi/colour-read", benchColourRead, server.Port())
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("bidi/colour-read-latency-20ms", benchColourRead, remote.Port())
        ->UseRealTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("floor/http-keepalive", benchFloor, server.Port(), requests)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double read = 0, floor = 0, ratio = 0, slow = 0;
    const TimeTable& times = reporter.Times();
    std::printf("\nrequests per colour read: %zu (target <= %zu: %s)\n", requests, kMaxRequests,
                requests <= kMaxRequests ? "met" : "MISSED");
    if (times.Seconds("bidi/colour-read", read) && times.Seconds("floor/http-keepalive", floor) &&
        times.Ratio("bidi/colour-read", "floor/http-keepalive", ratio))
        std::printf("loopback: colour read %.2f ms, floor %.2f ms for %zu kept-alive round trips "
                    "(%.1f us each); read / floor = %.2f (target <= %.1f: %s)\n",
                    read * 1e3, floor * 1e3, requests, floor * 1e6 / static_cast<double>(requests),
                    ratio, kMaxRatio, ratio <= kMaxRatio ? "met" : "MISSED");
    if (times.Seconds("bidi/colour-read-latency-20ms", slow))
        std::printf("with --latency-ms %d: colour read %.3f s (target <= %.1f s: %s)\n",
                    kLatencyMs, slow, kMaxSlowSeconds, slow <= kMaxSlowSeconds ? "met" : "MISSED");
    benchmark::Shutdown();
    return 0;
}

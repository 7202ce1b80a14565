//===- bench_bidi - The two-way colour read against plain HTTP round trips -===//
//
// bench_bidi [Google Benchmark flags]
//
// Starts tovrane-server with the example description on a free loopback port, then times in
// one run: the whole colour read of the two-way item list done with the server classes
// (connect, features, device names, encodings, languages, colour settings and the device
// link of every source and output value pair), and the floor: as many plain HTTP GETs to the
// same server as the read makes requests, each on a connection of its own as the SDK's
// requests are. The request count is learnt first through a counting relay, untimed. Ends
// with both times, the count and the ratio read / floor.
//
//===----------------------------------------------------------------------===//
#include "BidiRead.h"
#include "CountingProxy.h"
#include "RatioReporter.h"
#include "TestServer.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const kAddress = "127.0.0.1";

void PointSdkAt(int port) {
    setenv("TOVRANE_SERVER_PORT", std::to_string(port).c_str(), 1);
}

void benchColourRead(benchmark::State& state) {
    for (auto _ : state) {
        ColourReadResult result = RunColourRead(kAddress);
        if (!result.connected) {
            state.SkipWithError("could not connect");
            return;
        }
        benchmark::DoNotOptimize(result);
    }
}

void benchFloor(benchmark::State& state, int port, size_t requests) {
    for (auto _ : state) {
        for (size_t i = 0; i < requests; ++i) {
            httplib::Client client(kAddress, port);
            auto reply = client.Get("/v1/hello");
            if (!reply) {
                state.SkipWithError("request failed");
                return;
            }
            benchmark::DoNotOptimize(reply->body.data());
        }
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
    PointSdkAt(server.Port());

    // Real time: the work is waiting on the network, not computing.
    benchmark::RegisterBenchmark("bidi/colour-read", benchColourRead)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("floor/http-get", benchFloor, server.Port(), requests)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double read = 0, floor = 0, ratio = 0;
    const TimeTable& times = reporter.Times();
    if (times.Seconds("bidi/colour-read", read) && times.Seconds("floor/http-get", floor) &&
        times.Ratio("bidi/colour-read", "floor/http-get", ratio))
        std::printf("\ncolour read %.2f ms, floor %.2f ms for %zu round trips "
                    "(%.1f us each); read / floor = %.2f\n",
                    read * 1e3, floor * 1e3, requests, floor * 1e6 / static_cast<double>(requests),
                    ratio);
    benchmark::Shutdown();
    return 0;
}

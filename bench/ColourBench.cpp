//===- bench_colour - The colour data controller against its HTTP floor ---===//
//
// bench_colour [Google Benchmark flags]
//
// Starts tovrane-server with the example description on a free loopback port and times, in
// one run: building the colour data controller for the C5000 example with that server as its
// two-way address, up to a valid expert list (the background fetch joined); the floor of that
// work, as many kept-alive HTTP round trips to the same server as the build makes requests (the
// count is learnt first through a counting relay, untimed); the same build and floor against a
// second server that answers each request after 20 ms; and OutPostscriptData of a built
// two-way controller into a fresh job ticket; for scale, the build without a server. Ends with
// the request count, the times and the ratios of each build to its floor against the 1.5
// target.
//
//===----------------------------------------------------------------------===//
#include "CountingProxy.h"
#include "HttpFloor.h"
#include "RatioReporter.h"
#include "TestServer.h"

#include "ExpertColorFeatures.h"
#include "PigmentorData.h"
#include "PigmentorPPDItemList.h"

#include "PDEIdentity.h"
#include "PrintSettingsTicket.h"
#include "QRVJobTicket.h"
#include "QRVPPD.h"

#include <CoreFoundation/PMCFUtilities.h>
#include <PrintCore/PMHost.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

const char* const kAddress = "127.0.0.1";
const char* const kPPD = PIGMENTOR_SOURCE_DIR "/examples/Tarvo-C5000.ppd";
constexpr int kLatencyMs = 20;
constexpr double kMaxRatio = 1.5;

void PointSdkAt(int port) {
    setenv("TOVRANE_SERVER_PORT", std::to_string(port).c_str(), 1);
}

/// A print session for the example printer, its job ticket and a freshly parsed model.
class Printer {
public:
    Printer() {
        CFStringRef name = PMCFStringCreateWithUTF8("Tarvo C5000");
        CFStringRef path = PMCFStringCreateWithUTF8(kPPD);
        PMHostPrinterDescription description = {name, nullptr, path, nullptr, nullptr, true};
        if (PMHostCreatePrinter(&description, &mPrinter) == noErr)
            PMHostCreateSession(mPrinter, &mSession);
        CFRelease(name);
        CFRelease(path);
        mSettings = new PrintSettingsTicket(mSession);
        mKey = CreatePostscriptDataFileKey();
    }
    ~Printer() {
        delete mSettings;
        CFRelease(mKey);
        if (mSession)
            PMRelease(mSession);
        if (mPrinter)
            PMRelease(mPrinter);
    }
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    /// A new model of the example (the caller releases it).
    static QRVPPD* Parse() {
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            kCFAllocatorDefault, reinterpret_cast<const UInt8*>(kPPD),
            static_cast<CFIndex>(std::strlen(kPPD)), false);
        QRVPPD* model = new QRVPPD(url, kShowAll, nullptr);
        CFRelease(url);
        return model;
    }
    PMPrintSession Session() const { return mSession; }
    /// A new job ticket over the session's print settings (the caller deletes it).
    QRVJobTicket* NewJobTicket() const { return new QRVJobTicket(mSettings, mKey); }

private:
    PMPrinter mPrinter = nullptr;
    PMPrintSession mSession = nullptr;
    PrintSettingsTicket* mSettings = nullptr;
    CFStringRef mKey = nullptr;
};

/// Builds the controller (two-way on the server unless `twoWay` is false) and waits for its
/// fetch; the controller, or null (deleted) when it has no valid expert list.
PigmentorData* BuildController(Printer& printer, QRVPPD* model, bool twoWay = true) {
    QRVJobTicket* ticket = printer.NewJobTicket();
    auto* data = new PigmentorData(printer.Session(), model, *ticket, twoWay,
                                   twoWay ? kAddress : nullptr);
    delete ticket;
    if (ExpertColorFeatures* features = data->GetExpertColorFeatures())
        features->cancelExpertColorFeaturesAsync(); // joins the finished fetch
    PigmentorPPDItemList* expert = data->GetExpertColorFeaturesList();
    if (!data->Valid() || !expert || !expert->isValid()) {
        delete data;
        return nullptr;
    }
    return data;
}

/// `port` 0: the controller without a server, its expert list from the PPD alone (the part
/// of the build that is not the fetch).
void benchBuild(benchmark::State& state, int port) {
    PointSdkAt(port);
    Printer printer;
    for (auto _ : state) {
        state.PauseTiming();
        QRVPPD* model = Printer::Parse();
        state.ResumeTiming();
        PigmentorData* data = BuildController(printer, model, port != 0);
        state.PauseTiming();
        bool ok = data != nullptr;
        delete data;
        model->Release();
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("no valid expert list");
            return;
        }
    }
}

void benchFloor(benchmark::State& state, int port, size_t requests) {
    for (auto _ : state)
        if (!RunHttpFloor(port, requests)) {
            state.SkipWithError("request failed");
            return;
        }
}

void benchOutput(benchmark::State& state, int port) {
    PointSdkAt(port);
    Printer printer;
    QRVPPD* model = Printer::Parse();
    PigmentorData* data = BuildController(printer, model);
    if (!data) {
        model->Release();
        state.SkipWithError("no valid expert list");
        return;
    }
    long entries = 0;
    for (auto _ : state) {
        QRVJobTicket* ticket = printer.NewJobTicket();
        data->OutPostscriptData(*ticket);
        entries = ticket->InjectionCount();
        delete ticket;
    }
    state.counters["entries"] = static_cast<double>(entries);
    delete data;
    model->Release();
}

/// $HOME in a scratch folder: the controller reads the user's address list from there.
std::string UseScratchHome() {
    char pattern[] = "/tmp/bench_colour.XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (dir)
        setenv("HOME", dir, 1);
    return dir ? dir : "";
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    std::string home = UseScratchHome();

    TestServer server;
    if (!server.Started()) {
        std::fprintf(stderr, "bench_colour: tovrane-server did not start\n");
        return 1;
    }
    size_t requests = 0;
    {
        CountingProxy proxy(server.Port());
        if (proxy.Port() <= 0) {
            std::fprintf(stderr, "bench_colour: the counting relay could not bind\n");
            return 1;
        }
        PointSdkAt(proxy.Port());
        Printer printer;
        QRVPPD* model = Printer::Parse();
        PigmentorData* data = BuildController(printer, model);
        requests = proxy.Count();
        bool ok = data != nullptr;
        delete data;
        model->Release();
        if (!ok || requests == 0) {
            std::fprintf(stderr, "bench_colour: the controller got no valid expert list\n");
            return 1;
        }
    }
    std::printf("requests per controller build: %zu\n\n", requests);
    std::fflush(stdout);
    TestServer remote({"--latency-ms", std::to_string(kLatencyMs)});
    if (!remote.Started()) {
        std::fprintf(stderr, "bench_colour: the slow tovrane-server did not start\n");
        return 1;
    }

    // Real time: the work waits on the network and on the fetch thread.
    benchmark::RegisterBenchmark("colour/build-to-expert-list", benchBuild, server.Port())
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("floor/http-keepalive", benchFloor, server.Port(), requests)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("colour/build-to-expert-list-latency-20ms", benchBuild,
                                 remote.Port())
        ->UseRealTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("floor/http-keepalive-latency-20ms", benchFloor, remote.Port(),
                                 requests)
        ->UseRealTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("colour/build-without-server", benchBuild, 0)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("colour/out-postscript-data", benchOutput, server.Port())
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const TimeTable& times = reporter.Times();
    std::printf("\nrequests per controller build: %zu\n", requests);
    const char* pairs[][3] = {
        {"colour/build-to-expert-list", "floor/http-keepalive", "loopback"},
        {"colour/build-to-expert-list-latency-20ms", "floor/http-keepalive-latency-20ms",
         "with --latency-ms 20"},
    };
    for (const auto& pair : pairs) {
        double build = 0, floor = 0, ratio = 0;
        if (times.Seconds(pair[0], build) && times.Seconds(pair[1], floor) &&
            times.Ratio(pair[0], pair[1], ratio))
            std::printf("%s: build to a valid expert list %.2f ms, floor %.2f ms for %zu "
                        "kept-alive round trips; build / floor = %.2f (target <= %.1f: %s)\n",
                        pair[2], build * 1e3, floor * 1e3, requests, ratio, kMaxRatio,
                        ratio <= kMaxRatio ? "met" : "MISSED");
    }
    double local = 0;
    if (times.Seconds("colour/build-without-server", local))
        std::printf("the same build without a server (expert list from the PPD): %.2f ms\n",
                    local * 1e3);
    double output = 0;
    if (times.Seconds("colour/out-postscript-data", output))
        std::printf("OutPostscriptData of the two-way controller: %.1f us\n", output * 1e6);
    benchmark::Shutdown();
    if (!home.empty())
        rmdir(home.c_str()); // nothing is written there
    return 0;
}

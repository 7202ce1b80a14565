//===- bench_colour - The colour data controller against its HTTP floor ---===//
//
// bench_colour [Google Benchmark flags]
//
// Starts tovrane-server with the example description on a free loopback port and times, in
// one run: building the colour data controller for the C5000 example with that server as its
// two-way address, up to a valid expert list (the background fetch joined); the floor of that
// work, as many kept-alive HTTP round trips to the same server as the build makes requests (the
// count is learnt first through a counting relay, untimed), run back to back; build and floor
// once more in turn, each after the same untimed work, compared by their medians (the fair
// comparison on a shared virtual machine); the same build and floor against a second server
// that answers each request after 20 ms; and OutPostscriptData of a built two-way controller
// into a fresh job ticket; for scale, the build without a server. Ends with the request count,
// the times and the ratios of each build to its floor against the 1.5 target, and where the
// time of the loopback build and floor goes: the CPU time this process spent (all its threads:
// main, fetch and the SDK's workers) and the CPU time the server spent, per build and per
// floor.
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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

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

/// CPU seconds of this process, every thread (those that ended included).
double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

/// CPU seconds (user and system) of process `pid` so far, in clock ticks' resolution; 0 when
/// it cannot be read.
double ProcessCpuSeconds(pid_t pid) {
    if (pid <= 0)
        return 0;
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The command name in parentheses may hold spaces: fields are counted after its ')'.
    const size_t close = text.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i == 14)
            utime = std::strtoull(field.c_str(), nullptr, 10);
        else if (i == 15)
            stime = std::strtoull(field.c_str(), nullptr, 10);
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

/// CPU milliseconds per iteration of a benchmark, by name: this process's and the server's.
struct CpuShare {
    double client = 0;
    double server = 0;
};
std::map<std::string, CpuShare> gCpu;

/// Measures the CPU time of this process inside the timed parts and of the server over the
/// whole run; stores both per iteration under the benchmark's name and as counters.
class CpuMeter {
public:
    /// `key` names the run in gCpu (the last run of a benchmark is the one reported).
    CpuMeter(benchmark::State& state, pid_t server, const char* key)
        : mState(state), mServer(server), mKey(key), mServerStart(ProcessCpuSeconds(server)) {}
    ~CpuMeter() {
        const double n = static_cast<double>(mState.iterations());
        if (n <= 0)
            return;
        CpuShare share{mClient * 1e3 / n, (ProcessCpuSeconds(mServer) - mServerStart) * 1e3 / n};
        mState.counters["client_cpu_ms"] = share.client;
        if (mServer > 0)
            mState.counters["server_cpu_ms"] = share.server;
        gCpu[mKey] = share;
    }
    void Start() { mStart = ProcessCpuSeconds(); }
    void Stop() { mClient += ProcessCpuSeconds() - mStart; }

private:
    benchmark::State& mState;
    pid_t mServer;
    const char* mKey;
    double mServerStart;
    double mStart = 0;
    double mClient = 0;
};

double MonotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

/// `port` 0: the controller without a server, its expert list from the PPD alone (the part
/// of the build that is not the fetch).
void benchBuild(benchmark::State& state, int port, pid_t server, const char* key) {
    PointSdkAt(port);
    Printer printer;
    CpuMeter cpu(state, server, key);
    for (auto _ : state) {
        state.PauseTiming();
        QRVPPD* model = Printer::Parse();
        state.ResumeTiming();
        cpu.Start();
        PigmentorData* data = BuildController(printer, model, port != 0);
        cpu.Stop();
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

void benchFloor(benchmark::State& state, int port, pid_t server, size_t requests,
                const char* key) {
    CpuMeter cpu(state, server, key);
    for (auto _ : state) {
        cpu.Start();
        const bool ok = RunHttpFloor(port, requests);
        cpu.Stop();
        if (!ok) {
            state.SkipWithError("request failed");
            return;
        }
    }
}

/// Median milliseconds of the alternating run: a build, then its floor.
struct Alternation {
    double build = 0;
    double floor = 0;
};
Alternation gAlternation;

double MedianMs(std::vector<double>& seconds) {
    if (seconds.empty())
        return 0;
    std::nth_element(seconds.begin(), seconds.begin() + seconds.size() / 2, seconds.end());
    return seconds[seconds.size() / 2] * 1e3;
}

/// A build and its floor in turn, each framed by the same untimed work (a model parsed
/// before, released after), compared by their medians; every other iteration runs the floor
/// first, so that neither always follows the other's teardown. Separate runs drift apart on
/// a shared virtual machine (the same work a few tenths slower from one second to the next),
/// and a floor run back to back keeps the server's processor awake, where a build finds it
/// idle and pays its wake-up (tens of microseconds here) on the connect and the first round
/// trip.
void benchAlternating(benchmark::State& state, int port, size_t requests) {
    PointSdkAt(port);
    Printer printer;
    std::vector<double> builds, floors;
    // One timed part: false when it failed.
    auto timeBuild = [&] {
        state.PauseTiming();
        QRVPPD* model = Printer::Parse();
        state.ResumeTiming();
        const double start = MonotonicSeconds();
        PigmentorData* data = BuildController(printer, model);
        builds.push_back(MonotonicSeconds() - start);
        state.PauseTiming();
        const bool built = data != nullptr;
        delete data;
        model->Release();
        state.ResumeTiming();
        return built;
    };
    auto timeFloor = [&] {
        state.PauseTiming();
        QRVPPD* model = Printer::Parse();
        state.ResumeTiming();
        const double start = MonotonicSeconds();
        const bool answered = RunHttpFloor(port, requests);
        floors.push_back(MonotonicSeconds() - start);
        state.PauseTiming();
        model->Release();
        state.ResumeTiming();
        return answered;
    };
    bool buildFirst = true;
    for (auto _ : state) {
        bool built = true, answered = true;
        if (buildFirst) {
            built = timeBuild();
            answered = built && timeFloor();
        } else {
            answered = timeFloor();
            built = answered && timeBuild();
        }
        buildFirst = !buildFirst;
        if (!built || !answered) {
            state.SkipWithError(built ? "request failed" : "no valid expert list");
            return;
        }
    }
    gAlternation = {MedianMs(builds), MedianMs(floors)};
    state.counters["build_median_ms"] = gAlternation.build;
    state.counters["floor_median_ms"] = gAlternation.floor;
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
    benchmark::RegisterBenchmark("colour/build-to-expert-list", benchBuild, server.Port(),
                                 server.Pid(), "build")
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("floor/http-keepalive", benchFloor, server.Port(),
                                 server.Pid(), requests, "floor")
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    // Longer than the others: its medians then span more of the machine's drift.
    benchmark::RegisterBenchmark("colour/build-and-floor-alternating", benchAlternating,
                                 server.Port(), requests)
        ->UseRealTime()
        ->MinTime(3.0)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("colour/build-to-expert-list-latency-20ms", benchBuild,
                                 remote.Port(), remote.Pid(), "build-20ms")
        ->UseRealTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("floor/http-keepalive-latency-20ms", benchFloor, remote.Port(),
                                 remote.Pid(), requests, "floor-20ms")
        ->UseRealTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("colour/build-without-server", benchBuild, 0, 0,
                                 "local")
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
    if (gAlternation.floor > 0) {
        const double ratio = gAlternation.build / gAlternation.floor;
        std::printf("loopback, alternating (medians of single runs, each after the same untimed "
                    "work): build %.2f ms, floor %.2f ms; build / floor = %.2f (target <= %.1f: "
                    "%s)\n",
                    gAlternation.build, gAlternation.floor, ratio, kMaxRatio,
                    ratio <= kMaxRatio ? "met" : "MISSED");
    }
    // Where the loopback time goes: the CPU each side spent per build and per floor; the rest
    // of the wall time is waiting (the network, and threads waiting to be scheduled).
    const auto build = gCpu.find("build");
    const auto floor = gCpu.find("floor");
    if (build != gCpu.end() && floor != gCpu.end())
        std::printf("loopback CPU per run: build %.2f ms here + %.2f ms in the server; floor "
                    "%.2f ms here + %.2f ms in the server\n",
                    build->second.client, build->second.server, floor->second.client,
                    floor->second.server);
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

//===- bench_parse - PPD parse speed against libcups and the reading floor -===//
//
// bench_parse [Google Benchmark flags]
//
// Times, in one run and over the same files: the engine's parse (a QRVPPD built and released),
// libcups's ppdOpenFile + ppdClose, and the floor (open/read/close of the whole file and a pass
// that finds its lines). Each iteration reads a whole set: the example PPDs, and real-world
// PPDs from Debian's printer-driver packages where installed. Ends with the ratios
// libcups / QRVPPD and QRVPPD / floor of each set.
//
//===----------------------------------------------------------------------===//
#include "CupsPPD.h"
#include "PPDFileSet.h"
#include "PhysicalFloor.h"
#include "RatioReporter.h"

#include "QRVPPD.h"

#include <CoreFoundation/CoreFoundation.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

/// Orphans and hidden elements kept: the options the shared model list parses with.
const _PARSE_OPTIONS_ kParseOptions = 3;

const double kCupsTarget = 5.0;  // libcups / QRVPPD at least
const double kFloorTarget = 4.0; // QRVPPD / floor at most

/// A set with the file URLs the engine is given, made once so that the timed loop measures
/// the parse alone. Owns the URLs.
struct BenchSet {
    PPDFileSet files;
    std::vector<CFURLRef> urls;

    explicit BenchSet(PPDFileSet set) : files(std::move(set)) {
        for (const std::string& path : files.paths)
            urls.push_back(CFURLCreateFromFileSystemRepresentation(
                kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path.c_str()),
                static_cast<CFIndex>(path.size()), false));
    }
    ~BenchSet() {
        for (CFURLRef url : urls)
            if (url)
                CFRelease(url);
    }
    BenchSet(const BenchSet&) = delete;
    BenchSet& operator=(const BenchSet&) = delete;
};

std::string baseName(const std::string& path) {
    std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// Reads every file of the set once each way, which also brings them into the page cache,
/// and says what each reader made of them: a ratio means little if one reader stops early.
void warmAndCheck(const BenchSet& set) {
    std::vector<char> buffer;
    std::size_t lines = 0;
    std::size_t qrvValid = 0;
    std::size_t cupsOpened = 0;
    std::map<int, int> errorCodes;
    std::string stopped;
    std::string cupsFailed;
    for (std::size_t i = 0; i < set.files.paths.size(); ++i) {
        const std::string& path = set.files.paths[i];
        long size = PhysicalFloor::ReadWholeFile(path.c_str(), buffer);
        if (size > 0)
            lines += PhysicalFloor::CountLines(buffer.data(), static_cast<std::size_t>(size));

        QRVPPD* ppd =
            set.urls[i] ? new (std::nothrow) QRVPPD(set.urls[i], kParseOptions, nullptr) : nullptr;
        if (ppd) {
            bool fatal = false;
            for (ConstPointerListItr it = ppd->GetErrors()->List().Begin();
                 it != ppd->GetErrors()->List().End(); ++it) {
                const PPDXErrorObj* error = static_cast<const PPDXErrorObj*>(*it);
                ++errorCodes[error->Code()];
                fatal = fatal || error->IsFatal();
            }
            if (ppd->IsValidPPD())
                ++qrvValid;
            if (fatal)
                stopped += " " + baseName(path);
            ppd->Release();
        }

        if (CupsPPD::OpenAndClose(path.c_str())) {
            ++cupsOpened;
        } else {
            int line = 0;
            const char* message = CupsPPD::LastError(line);
            cupsFailed += " " + baseName(path) + " (" + (message ? message : "?") + ", line " +
                          std::to_string(line) + ")";
        }
    }
    std::string codes;
    for (const auto& [code, count] : errorCodes)
        codes += " " + std::to_string(code) + "x" + std::to_string(count);
    std::printf("%s: %zu files, %llu bytes, %zu lines\n", set.files.name.c_str(),
                set.files.paths.size(), static_cast<unsigned long long>(set.files.bytes), lines);
    std::printf("  QRVPPD: %zu valid; error codes:%s\n", qrvValid,
                codes.empty() ? " none" : codes.c_str());
    if (!stopped.empty())
        std::printf("  QRVPPD stopped early (fatal error) on:%s\n", stopped.c_str());
    std::printf("  libcups: %zu opened\n", cupsOpened);
    if (!cupsFailed.empty())
        std::printf("  libcups failed on:%s\n", cupsFailed.c_str());
}

void countPass(benchmark::State& state, const BenchSet& set) {
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(set.files.bytes));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(set.files.paths.size()));
}

void benchQRVPPD(benchmark::State& state, const BenchSet* set) {
    for (auto _ : state) {
        for (CFURLRef url : set->urls) {
            QRVPPD* ppd = new (std::nothrow) QRVPPD(url, kParseOptions, nullptr);
            if (!ppd) {
                state.SkipWithError("out of memory");
                return;
            }
            benchmark::DoNotOptimize(ppd);
            ppd->Release();
        }
    }
    countPass(state, *set);
}

void benchCups(benchmark::State& state, const BenchSet* set) {
    for (auto _ : state)
        for (const std::string& path : set->files.paths)
            benchmark::DoNotOptimize(CupsPPD::OpenAndClose(path.c_str()));
    countPass(state, *set);
}

void benchFloor(benchmark::State& state, const BenchSet* set) {
    std::vector<char> buffer; // grown by the first pass, reused after
    for (auto _ : state) {
        for (const std::string& path : set->files.paths) {
            long size = PhysicalFloor::ReadWholeFile(path.c_str(), buffer);
            if (size < 0) {
                state.SkipWithError(("cannot read " + path).c_str());
                return;
            }
            benchmark::DoNotOptimize(
                PhysicalFloor::CountLines(buffer.data(), static_cast<std::size_t>(size)));
        }
    }
    countPass(state, *set);
}

void registerSet(const BenchSet& set) {
    const std::string& name = set.files.name;
    // Real time: reading files is what is measured, and the ratios are of wall-clock times.
    for (benchmark::internal::Benchmark* b :
         {benchmark::RegisterBenchmark(("floor/" + name).c_str(), benchFloor, &set),
          benchmark::RegisterBenchmark(("QRVPPD/" + name).c_str(), benchQRVPPD, &set),
          benchmark::RegisterBenchmark(("libcups/" + name).c_str(), benchCups, &set)})
        b->UseRealTime()->Unit(benchmark::kMicrosecond);
}

void printRatio(const TimeTable& times, const std::string& top, const std::string& bottom,
                bool atLeast, double target) {
    double ratio = 0;
    if (!times.Ratio(top, bottom, ratio)) {
        std::printf("  %8s %-6s", "n/a", "");
        return;
    }
    bool met = atLeast ? ratio >= target : ratio <= target;
    std::printf("  %8.2f %-6s", ratio, met ? "met" : "MISSED");
}

void printRatios(const TimeTable& times, const std::vector<const BenchSet*>& sets) {
    std::printf("\nRatios of real time per pass over a set (median of repetitions):\n");
    std::printf("  %-12s %17s %17s\n", "set", "libcups/QRVPPD", "QRVPPD/floor");
    std::printf("  %-12s %17s %17s\n", "", "(target >= 5)", "(target <= 4)");
    for (const BenchSet* set : sets) {
        const std::string& name = set->files.name;
        std::printf("  %-12s", name.c_str());
        printRatio(times, "libcups/" + name, "QRVPPD/" + name, true, kCupsTarget);
        printRatio(times, "QRVPPD/" + name, "floor/" + name, false, kFloorTarget);
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    PPDFileSet examples{"examples", {}, 0};
    AddPPDDirectory(examples, PIGMENTOR_SOURCE_DIR "/examples");
    PPDFileSet realWorld{"real-world", {}, 0};
    AddPPDDirectory(realWorld, "/usr/share/ppd/okidata");
    AddPPDDirectory(realWorld, "/usr/share/ppd/cupsfilters");

    BenchSet exampleSet(std::move(examples));
    BenchSet realWorldSet(std::move(realWorld));
    std::vector<const BenchSet*> sets;
    for (const BenchSet* set : {&exampleSet, &realWorldSet}) {
        if (set->files.paths.empty()) {
            std::printf("%s: no PPD files found, set skipped\n", set->files.name.c_str());
            continue;
        }
        warmAndCheck(*set);
        registerSet(*set);
        sets.push_back(set);
    }
    std::printf("\n");
    std::fflush(stdout);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter.Times(), sets);
    benchmark::Shutdown();
    return 0;
}

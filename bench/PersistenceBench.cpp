//===- bench_persistence - the model's archive against parsing its PPD ----===//
//
// bench_persistence [Google Benchmark flags]
//
// Times, in one run and on the largest example model (the one whose archive is largest): its
// parse (a QRVPPD built from the PPD and released), the whole round trip through a Settings
// archive (save, flatten, unflatten, rebuild, release) and the rebuild alone (unflatten,
// rebuild, release: what the pane pays instead of a parse when the print settings hold the
// model), and the unflattening alone that the rebuild includes. Ends with the ratios to the
// parse.
//
//===----------------------------------------------------------------------===//
#include "PPDFileSet.h"
#include "RatioReporter.h"

#include "QRVPPD.h"
#include "Settings.h"

#include <CarbonCore/MacMemory.h>
#include <CoreFoundation/CoreFoundation.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

/// Orphans and hidden elements kept: the options the shared model list parses with.
const _PARSE_OPTIONS_ kParseOptions = 3;

/// The PPD the benchmarks read, its URL and the flattened archive of its model. Owns the URL.
struct Subject {
    std::string path;
    CFURLRef url = nullptr;
    std::vector<char> archive;

    ~Subject() {
        if (url)
            CFRelease(url);
    }
};

CFURLRef createURL(const std::string& path) {
    return CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault,
                                                   reinterpret_cast<const UInt8*>(path.c_str()),
                                                   static_cast<CFIndex>(path.size()), false);
}

/// The flattened archive of `ppd`; empty when it cannot be saved.
std::vector<char> archiveOf(QRVPPD& ppd) {
    Settings settings;
    char** handle = nullptr;
    if (!ppd.Save(settings) || settings.GetSettingsHandle(&handle) != 0 || !handle)
        return {};
    std::vector<char> bytes(*handle, *handle + GetHandleSize(handle));
    DisposeHandle(handle);
    return bytes;
}

/// Saves, flattens and releases nothing of the model; returns the flattened handle.
char** saveAndFlatten(QRVPPD& ppd) {
    Settings settings;
    char** handle = nullptr;
    if (!ppd.Save(settings) || settings.GetSettingsHandle(&handle) != 0)
        return nullptr;
    return handle;
}

/// Unflattens `handle` and rebuilds the model from it; false when no valid model came back.
bool unflattenAndRebuild(char** handle) {
    Settings settings(handle);
    QRVPPD* rebuilt = new (std::nothrow) QRVPPD(settings, nullptr, nullptr);
    bool valid = rebuilt && rebuilt->IsValidPPD();
    if (rebuilt)
        rebuilt->Release();
    return valid;
}

/// Picks the example whose model gives the largest archive.
bool chooseSubject(Subject& subject) {
    PPDFileSet examples{"examples", {}, 0};
    AddPPDDirectory(examples, PIGMENTOR_SOURCE_DIR "/examples");
    for (const std::string& path : examples.paths) {
        CFURLRef url = createURL(path);
        QRVPPD* ppd = url ? new (std::nothrow) QRVPPD(url, kParseOptions, nullptr) : nullptr;
        std::vector<char> archive = ppd ? archiveOf(*ppd) : std::vector<char>();
        if (ppd)
            ppd->Release();
        if (archive.size() > subject.archive.size()) {
            if (subject.url)
                CFRelease(subject.url);
            subject.path = path;
            subject.url = url;
            subject.archive = std::move(archive);
        } else if (url) {
            CFRelease(url);
        }
    }
    return !subject.archive.empty();
}

void benchParse(benchmark::State& state, const Subject* subject) {
    for (auto _ : state) {
        QRVPPD* ppd = new (std::nothrow) QRVPPD(subject->url, kParseOptions, nullptr);
        if (!ppd) {
            state.SkipWithError("out of memory");
            return;
        }
        benchmark::DoNotOptimize(ppd);
        ppd->Release();
    }
}

void benchRoundTrip(benchmark::State& state, const Subject* subject) {
    // The model to save is parsed once, outside the timed loop.
    QRVPPD* ppd = new (std::nothrow) QRVPPD(subject->url, kParseOptions, nullptr);
    if (!ppd) {
        state.SkipWithError("out of memory");
        return;
    }
    for (auto _ : state) {
        char** handle = saveAndFlatten(*ppd);
        bool rebuilt = handle && unflattenAndRebuild(handle);
        DisposeHandle(handle);
        if (!rebuilt) {
            state.SkipWithError("the model did not come back");
            break;
        }
    }
    ppd->Release();
}

void benchRebuild(benchmark::State& state, const Subject* subject) {
    Handle handle = nullptr;
    if (PtrToHand(subject->archive.data(), &handle, long(subject->archive.size())) != noErr) {
        state.SkipWithError("out of memory");
        return;
    }
    for (auto _ : state) {
        if (!unflattenAndRebuild(handle)) {
            state.SkipWithError("the model did not come back");
            break;
        }
    }
    DisposeHandle(handle);
}

void benchUnflatten(benchmark::State& state, const Subject* subject) {
    Handle handle = nullptr;
    if (PtrToHand(subject->archive.data(), &handle, long(subject->archive.size())) != noErr) {
        state.SkipWithError("out of memory");
        return;
    }
    for (auto _ : state) {
        Settings settings(handle);
        if (!settings.Valid()) {
            state.SkipWithError("the archive did not unflatten");
            break;
        }
    }
    DisposeHandle(handle);
}

void printRatio(const TimeTable& times, const char* label, const std::string& numerator) {
    double ratio = 0;
    if (times.Ratio(numerator, "parse", ratio))
        std::printf("  %-34s %8.3f\n", label, ratio);
    else
        std::printf("  %-34s %8s\n", label, "n/a");
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    Subject subject;
    if (!chooseSubject(subject)) {
        std::fprintf(stderr, "bench_persistence: no example model could be saved\n");
        return 1;
    }
    std::printf("model: %s (archive of %zu bytes)\n\n", subject.path.c_str(),
                subject.archive.size());
    std::fflush(stdout);
    for (benchmark::internal::Benchmark* b :
         {benchmark::RegisterBenchmark("parse", benchParse, &subject),
          benchmark::RegisterBenchmark("roundtrip", benchRoundTrip, &subject),
          benchmark::RegisterBenchmark("rebuild", benchRebuild, &subject),
          benchmark::RegisterBenchmark("unflatten", benchUnflatten, &subject)})
        b->UseRealTime()->Unit(benchmark::kMicrosecond);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios of real time to the parse of the same PPD (median of repetitions):\n");
    printRatio(reporter.Times(), "save+flatten+unflatten+rebuild", "roundtrip");
    printRatio(reporter.Times(), "unflatten+rebuild", "rebuild");
    printRatio(reporter.Times(), "unflatten alone", "unflatten");
    benchmark::Shutdown();
    return 0;
}

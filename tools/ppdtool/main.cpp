//===- ppdtool - the command line over the PPD engine ---------------------===//
//
// ppdtool header FILE                                   header keywords, errors, validity
// ppdtool check FILE --accept NAME...                   is the *PCFileName accepted?
// ppdtool dump FILE [--accept NAME]... [--parse-options N]   the whole model as JSON
// ppdtool ps FILE [--set KEYWORD=VALUE]... [KEYWORD...] the feature code of the controls
//
// Exit status: 0 a valid PPD (or an accepted name), 1 a PPD that parsed but is not valid (or a
// name not accepted), 2 a usage or file error, with a one-line message on standard error.
//
//===----------------------------------------------------------------------===//
#include "BundleResources.h"
#include "ModelDump.h"

#include "PPDHeader.h"
#include "PPDXControl.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "QRVPPD.h"

#include <CoreFoundation/CoreFoundation.h>
#include <CoreFoundation/PMCFUtilities.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const int kExitValid = 0;
const int kExitInvalid = 1;
const int kExitUsage = 2;

const char kUsage[] =
    "usage: ppdtool header FILE\n"
    "       ppdtool check FILE --accept NAME...\n"
    "       ppdtool dump FILE [--accept NAME]... [--parse-options N]\n"
    "       ppdtool ps FILE [--set KEYWORD=VALUE]... [KEYWORD...]\n";

int usage(const char* problem) {
    std::fprintf(stderr, "ppdtool: %s\n%s", problem, kUsage);
    return kExitUsage;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "ppdtool: %s\n", message.c_str());
    return kExitUsage;
}

/// A file URL for `path`, or null when it names no regular file.
CFURLRef createFileURL(const char* path) {
    struct stat info;
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
    return CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault,
                                                   reinterpret_cast<const UInt8*>(path),
                                                   static_cast<CFIndex>(std::strlen(path)), false);
}

CFMutableArrayRef createNames(const std::vector<const char*>& names) {
    CFMutableArrayRef array = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    for (const char* name : names) {
        CFStringRef s = PMCFStringCreateWithUTF8(name);
        if (s) {
            CFArrayAppendValue(array, s);
            CFRelease(s);
        }
    }
    return array;
}

/// Standard output carries only the tool's own output: the engine's few console lines (an
/// encoding note for UTF-8 PPDs) go to standard error while the model is built.
class ConsoleToStandardError {
public:
    ConsoleToStandardError() {
        std::fflush(stdout);
        mSaved = dup(STDOUT_FILENO);
        dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    ~ConsoleToStandardError() {
        std::fflush(stdout);
        if (mSaved >= 0) {
            dup2(mSaved, STDOUT_FILENO);
            close(mSaved);
        }
    }

private:
    int mSaved = -1;
};

/// Builds the model of `path`; null (after a message) when the file cannot be read.
QRVPPD* openModel(const char* path, const std::vector<const char*>& accepted, _PARSE_OPTIONS_ options) {
    CFURLRef url = createFileURL(path);
    if (!url) {
        fail(std::string(path) + ": no such file");
        return nullptr;
    }
    CFMutableArrayRef names = accepted.empty() ? nullptr : createNames(accepted);
    QRVPPD* ppd;
    {
        ConsoleToStandardError quiet;
        ppd = new QRVPPD(url, options, names);
    }
    if (names)
        CFRelease(names);
    CFRelease(url);
    return ppd;
}

int finish(QRVPPD* ppd) {
    bool valid = ppd->IsValidPPD();
    ppd->Release();
    return valid ? kExitValid : kExitInvalid;
}

void printField(const char* name, const char* value) {
    std::printf("%-17s %s\n", name, value ? value : "(absent)");
}

int header(int argc, char** argv) {
    if (argc != 3)
        return usage("header takes one file");
    CFURLRef url = createFileURL(argv[2]);
    if (!url)
        return fail(std::string(argv[2]) + ": no such file");
    PPDHeader* ppd;
    {
        ConsoleToStandardError quiet;
        ppd = new PPDHeader(url, nullptr);
    }
    CFRelease(url);
    printField("FormatVersion", ppd->FormatVersion());
    printField("FileVersion", ppd->FileVersion());
    printField("PCFileName", ppd->PCFileName());
    printField("LanguageVersion", ppd->LanguageVersion());
    printField("LanguageEncoding", ppd->LanguageEncoding());
    printField("ModelName", ppd->ModelName());
    for (PPDXErrorObj* e = ppd->GetErrors()->First(); e; e = ppd->GetErrors()->Next())
        std::printf("error %d%s: %s\n", e->Code(), e->IsFatal() ? " (fatal)" : "",
                    e->Description() ? e->Description() : "");
    bool valid = ppd->IsValidPPD();
    std::printf("valid             %s\n", valid ? "yes" : "no");
    ppd->Release();
    return valid ? kExitValid : kExitInvalid;
}

int check(int argc, char** argv) {
    if (argc < 5 || std::strcmp(argv[3], "--accept") != 0)
        return usage("check takes a file, --accept and at least one name");
    CFURLRef url = createFileURL(argv[2]);
    if (!url)
        return fail(std::string(argv[2]) + ": no such file");
    CFMutableArrayRef accepted = createNames(std::vector<const char*>(argv + 4, argv + argc));
    bool ok = PPDX::ValidateFileName(url, accepted, nullptr);
    CFRelease(accepted);
    CFRelease(url);
    std::printf("%s\n", ok ? "accepted" : "not accepted");
    return ok ? kExitValid : kExitInvalid;
}

int dump(int argc, char** argv) {
    std::vector<const char*> accepted;
    _PARSE_OPTIONS_ options = kShowAll;
    const char* path = nullptr;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--accept") == 0 && i + 1 < argc) {
            accepted.push_back(argv[++i]);
        } else if (std::strcmp(argv[i], "--parse-options") == 0 && i + 1 < argc) {
            char* end = nullptr;
            long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 0 || value > 3)
                return usage("--parse-options takes 0, 1, 2 or 3");
            options = static_cast<_PARSE_OPTIONS_>(value);
        } else if (argv[i][0] != '-' && !path) {
            path = argv[i];
        } else {
            return usage((std::string("unexpected argument ") + argv[i]).c_str());
        }
    }
    if (!path)
        return usage("dump takes a file");
    QRVPPD* ppd = openModel(path, accepted, options);
    if (!ppd)
        return kExitUsage;
    DumpModel(*ppd, stdout);
    return finish(ppd);
}

/// The control `keyword` of the model, whatever the display options.
PPDXControl* findControl(QRVPPD& ppd, const char* keyword) {
    ScopedDisplayOptions seeEverything(kShowAll);
    CNTL_TYPE type;
    return ppd.GetControls() ? ppd.GetControls()->Find(keyword, type, true) : nullptr;
}

/// Writes `control`'s feature code by measuring, then writing into a buffer of that size.
void writePostScript(PPDXControl& control) {
    long size = control.PostScript(nullptr);
    if (size <= 0)
        return;
    std::vector<unsigned char> buffer(static_cast<size_t>(size));
    long written = control.PostScript(buffer.data());
    if (written > 0)
        std::fwrite(buffer.data(), 1, static_cast<size_t>(written), stdout);
}

int postScript(int argc, char** argv) {
    std::vector<std::pair<std::string, std::string>> settings;
    std::vector<const char*> named;
    const char* path = nullptr;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--set") == 0 && i + 1 < argc) {
            const char* assignment = argv[++i];
            const char* equals = std::strchr(assignment, '=');
            if (!equals || equals == assignment)
                return usage("--set takes KEYWORD=VALUE");
            settings.emplace_back(std::string(assignment, equals), std::string(equals + 1));
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            return usage((std::string("unexpected argument ") + argv[i]).c_str());
        } else if (!path) {
            path = argv[i];
        } else {
            named.push_back(argv[i]);
        }
    }
    if (!path)
        return usage("ps takes a file");
    QRVPPD* ppd = openModel(path, {}, kShowAll);
    if (!ppd)
        return kExitUsage;
    for (const auto& setting : settings) {
        PPDXControl* control = findControl(*ppd, setting.first.c_str());
        if (!control) {
            ppd->Release();
            return fail("no control " + setting.first);
        }
        CFStringRef value = PMCFStringCreateWithUTF8(setting.second);
        control->SetCurrentControlWithCFString(value);
        if (value)
            CFRelease(value);
    }
    for (const char* keyword : named)
        if (!findControl(*ppd, keyword)) {
            ppd->Release();
            return fail(std::string("no control ") + keyword);
        }
    {
        // Model order, whichever order the keywords were named in.
        ScopedDisplayOptions seeEverything(kShowAll);
        CNTL_TYPE type;
        PPDXControls* all = ppd->GetControls();
        for (PPDXControl* c = all ? all->First(type) : nullptr; c; c = all->Next(type)) {
            bool wanted = named.empty();
            for (const char* keyword : named)
                wanted = wanted || (c->Keyword() && std::strcmp(c->Keyword(), keyword) == 0);
            if (wanted)
                writePostScript(*c);
        }
    }
    std::fflush(stdout);
    return finish(ppd);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return usage("a command and a file are needed");
    BundleResources resources; // error descriptions come from the plug-in's resource file
    std::string command = argv[1];
    if (command == "header")
        return header(argc, argv);
    if (command == "check")
        return check(argc, argv);
    if (command == "dump")
        return dump(argc, argv);
    if (command == "ps")
        return postScript(argc, argv);
    return usage(("unknown command " + command).c_str());
}

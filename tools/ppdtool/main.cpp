//===- ppdtool - the command line over the PPD engine ---------------------===//
//
// ppdtool header FILE                                   header keywords, errors, validity
// ppdtool check FILE --accept NAME...                   is the *PCFileName accepted?
// ppdtool dump FILE [--accept NAME]... [--parse-options N]   the whole model as JSON
// ppdtool ps FILE [--set KEYWORD=VALUE]... [KEYWORD...] the feature code of the controls
// ppdtool constraints FILE KEYWORD [ITEM]               what a choice constrains, as JSON
// ppdtool requires FILE KEYWORD                         what a control requires, as JSON
// ppdtool archive FILE OUT [--set KEYWORD=VALUE]...     the model's Settings archive, flattened
// ppdtool restore ARCHIVE [--ppd FILE] [--accept NAME]...   the model rebuilt from it, as dump
// ppdtool colour FILE [--server ADDR] [--mode standard|expert|grayscale] [--set KEYWORD=VALUE]...
//                [--accept NAME]...                     what the colour pane gets, as JSON
//
// Exit status: 0 a valid PPD (or an accepted name, or a valid colour controller), 1 a PPD that
// parsed but is not valid (or a name not accepted, or an invalid controller), 2 a usage or file
// error, with a one-line message on standard error.
//
//===----------------------------------------------------------------------===//
#include "ArchiveFile.h"
#include "ColourCommand.h"
#include "BundleResources.h"
#include "JsonWriter.h"
#include "ModelDump.h"
#include "ToolSupport.h"

#include "PPDHeader.h"
#include "PPDXControl.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "PPDXArchiveItems.h"
#include "QRVPPD.h"
#include "Settings.h"
#include "SharedConstraintRec.h"

#include <CarbonCore/MacMemory.h>

#include <CoreFoundation/CoreFoundation.h>
#include <CoreFoundation/PMCFUtilities.h>

#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const int kExitValid = 0;
const int kExitInvalid = 1;
const int kExitUsage = 2;

const char kUsage[] = "usage: ppdtool header FILE\n"
                      "       ppdtool check FILE --accept NAME...\n"
                      "       ppdtool dump FILE [--accept NAME]... [--parse-options N]\n"
                      "       ppdtool ps FILE [--set KEYWORD=VALUE]... [KEYWORD...]\n"
                      "       ppdtool constraints FILE KEYWORD [ITEM]\n"
                      "       ppdtool requires FILE KEYWORD\n"
                      "       ppdtool archive FILE OUT [--set KEYWORD=VALUE]...\n"
                      "       ppdtool restore ARCHIVE [--ppd FILE] [--accept NAME]...\n"
                      "       ppdtool colour FILE [--server ADDR] [--mode standard|expert|grayscale]\n"
                      "                      [--set KEYWORD=VALUE]... [--accept NAME]...\n";

/// The largest archive restore reads: far above any model's, far below what would hurt.
const size_t kMaxArchiveSize = 16 * 1024 * 1024;

int usage(const char* problem) {
    std::fprintf(stderr, "ppdtool: %s\n%s", problem, kUsage);
    return kExitUsage;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "ppdtool: %s\n", message.c_str());
    return kExitUsage;
}

/// Builds the model of `path`; null (after a message) when the file cannot be read.
QRVPPD* openModel(const char* path, const std::vector<const char*>& accepted,
                  _PARSE_OPTIONS_ options) {
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

typedef std::vector<std::pair<std::string, std::string>> ValueList;

/// Takes "KEYWORD=VALUE" into `values`; false when it is not of that form.
bool addValue(const char* assignment, ValueList& values) {
    const char* equals = std::strchr(assignment, '=');
    if (!equals || equals == assignment)
        return false;
    values.emplace_back(std::string(assignment, equals), std::string(equals + 1));
    return true;
}

/// Sets each value as the dialog would; false, after a message, when a control is missing.
bool applyValues(QRVPPD& ppd, const ValueList& values) {
    for (const auto& value : values) {
        PPDXControl* control = findControl(ppd, value.first.c_str());
        if (!control) {
            fail("no control " + value.first);
            return false;
        }
        CFStringRef text = PMCFStringCreateWithUTF8(value.second);
        control->SetCurrentControlWithCFString(text);
        if (text)
            CFRelease(text);
    }
    return true;
}

int postScript(int argc, char** argv) {
    ValueList settings;
    std::vector<const char*> named;
    const char* path = nullptr;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--set") == 0 && i + 1 < argc) {
            if (!addValue(argv[++i], settings))
                return usage("--set takes KEYWORD=VALUE");
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
    if (!applyValues(*ppd, settings)) {
        ppd->Release();
        return kExitUsage;
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

/// Writes the records of a constraint query as a JSON array of (keyword, item) objects; item
/// is null for a record that names any choice of its control.
void printRecords(const SharedConstraintRec* records, long count) {
    JsonWriter json(stdout);
    json.BeginArray();
    for (long i = 0; i < count; ++i) {
        // Packed records: copy the fields out rather than bind to them.
        PPDXControl* control = records[i].control;
        uint16_t item = records[i].item;
        json.BeginObject();
        json.Key("keyword");
        json.String(control ? control->Keyword() : nullptr);
        json.Key("item");
        if (item == kAnyConstraintItem)
            json.Null();
        else
            json.Number(static_cast<long>(item));
        json.EndObject();
    }
    json.EndArray();
}

/// "constraints FILE KEYWORD [ITEM]" (`requires` false) and "requires FILE KEYWORD" (true).
int constraints(int argc, char** argv, bool requires) {
    int most = requires ? 4 : 5;
    if (argc < 4 || argc > most)
        return usage(requires ? "requires takes a file and a keyword"
                              : "constraints takes a file, a keyword and maybe an item");
    long item = 0;
    if (argc == 5) {
        char* end = nullptr;
        errno = 0;
        item = std::strtol(argv[4], &end, 10);
        if (*argv[4] == '\0' || *end != '\0' || errno != 0)
            return usage("the item is a number");
    }
    QRVPPD* ppd = openModel(argv[2], {}, kShowAll);
    if (!ppd)
        return kExitUsage;
    PPDXControl* control = findControl(*ppd, argv[3]);
    if (!control) {
        ppd->Release();
        return fail(std::string("no control ") + argv[3]);
    }
    SharedConstraintRec* records = nullptr;
    long count = requires ? ppd->GetRequiresList(control, &records)
                          : ppd->GetConstraintList(control, item, &records);
    printRecords(records, records ? count : 0);
    QRVPPD::ReleaseConstraintList(records);
    return finish(ppd);
}

int archive(int argc, char** argv) {
    ValueList values;
    std::vector<const char*> paths;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--set") == 0 && i + 1 < argc) {
            if (!addValue(argv[++i], values))
                return usage("--set takes KEYWORD=VALUE");
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            return usage((std::string("unexpected argument ") + argv[i]).c_str());
        } else {
            paths.push_back(argv[i]);
        }
    }
    if (paths.size() != 2)
        return usage("archive takes a file and the archive to write");
    QRVPPD* ppd = openModel(paths[0], {}, kShowAll);
    if (!ppd)
        return kExitUsage;
    if (!applyValues(*ppd, values)) {
        ppd->Release();
        return kExitUsage;
    }
    Settings settings;
    char** flattened = nullptr;
    bool saved = settings.Valid() && ppd->Save(settings) &&
                 settings.GetSettingsHandle(&flattened) == 0 && flattened;
    if (!saved) {
        ppd->Release();
        return fail(std::string(paths[0]) + ": the model cannot be saved");
    }
    int error = WriteNewFile(paths[1], *flattened, static_cast<size_t>(GetHandleSize(flattened)));
    DisposeHandle(flattened);
    if (error != 0) {
        ppd->Release();
        return fail(std::string(paths[1]) + ": " + std::strerror(error));
    }
    return finish(ppd);
}

int restore(int argc, char** argv) {
    std::vector<const char*> accepted;
    const char* ppdPath = nullptr;
    const char* path = nullptr;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--accept") == 0 && i + 1 < argc)
            accepted.push_back(argv[++i]);
        else if (std::strcmp(argv[i], "--ppd") == 0 && i + 1 < argc && !ppdPath)
            ppdPath = argv[++i];
        else if (argv[i][0] != '-' && !path)
            path = argv[i];
        else
            return usage((std::string("unexpected argument ") + argv[i]).c_str());
    }
    if (!path)
        return usage("restore takes an archive");
    std::vector<unsigned char> bytes;
    if (int error = ReadSmallFile(path, kMaxArchiveSize, bytes))
        return fail(std::string(path) + ": " + std::strerror(error));
    Handle block = nullptr;
    if (PtrToHand(bytes.data(), &block, static_cast<long>(bytes.size())) != noErr)
        return fail(std::string(path) + ": out of memory");
    Settings settings(block);
    DisposeHandle(block);
    if (!settings.Valid())
        return fail(std::string(path) + ": not a settings archive");
    if (!PPDXArchive::HasModel(settings))
        return fail(std::string(path) + ": no model in the archive");

    CFURLRef url = nullptr;
    if (ppdPath && !(url = createFileURL(ppdPath)))
        return fail(std::string(ppdPath) + ": no such file");
    CFMutableArrayRef names = accepted.empty() ? nullptr : createNames(accepted);
    QRVPPD* ppd;
    {
        ConsoleToStandardError quiet;
        ppd = new QRVPPD(settings, url, names);
    }
    if (names)
        CFRelease(names);
    if (url)
        CFRelease(url);
    DumpModel(*ppd, stdout);
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
    if (command == "constraints")
        return constraints(argc, argv, false);
    if (command == "requires")
        return constraints(argc, argv, true);
    if (command == "archive")
        return archive(argc, argv);
    if (command == "restore")
        return restore(argc, argv);
    if (command == "colour")
        return ColourCommand(argc, argv, kUsage);
    return usage(("unknown command " + command).c_str());
}

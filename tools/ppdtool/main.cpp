//===- ppdtool - the command line over the PPD engine ---------------------===//
//
// ppdtool header FILE                     the header keywords and the errors met
// ppdtool check FILE --accept NAME...     whether the file's *PCFileName is accepted
//
// Exit status: 0 a valid PPD (or an accepted name), 1 a PPD that is not valid (or a name not
// accepted), 2 a usage or file error, with a one-line message on standard error.
//
//===----------------------------------------------------------------------===//
#include "BundleResources.h"

#include "PPDHeader.h"

#include <CoreFoundation/CoreFoundation.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const int kExitValid = 0;
const int kExitInvalid = 1;
const int kExitUsage = 2;

int usage() {
    std::fprintf(stderr, "usage: ppdtool header FILE | ppdtool check FILE --accept NAME...\n");
    return kExitUsage;
}

/// A file URL for `path`, or null (with a message) when it names no readable file.
CFURLRef createFileURL(const char* path) {
    struct stat info;
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fprintf(stderr, "ppdtool: %s: no such file\n", path);
        return nullptr;
    }
    return CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault,
                                                   reinterpret_cast<const UInt8*>(path),
                                                   static_cast<CFIndex>(std::strlen(path)), false);
}

void printField(const char* name, const char* value) {
    std::printf("%-17s %s\n", name, value ? value : "(absent)");
}

int header(const char* path) {
    CFURLRef url = createFileURL(path);
    if (!url)
        return kExitUsage;
    PPDHeader* ppd = new PPDHeader(url, nullptr);
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

int check(const char* path, const std::vector<const char*>& names) {
    CFURLRef url = createFileURL(path);
    if (!url)
        return kExitUsage;
    CFMutableArrayRef accepted = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    for (const char* name : names) {
        CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, name, kCFStringEncodingUTF8);
        if (s) {
            CFArrayAppendValue(accepted, s);
            CFRelease(s);
        }
    }
    bool ok = PPDX::ValidateFileName(url, accepted, nullptr);
    CFRelease(accepted);
    CFRelease(url);
    std::printf("%s\n", ok ? "accepted" : "not accepted");
    return ok ? kExitValid : kExitInvalid;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return usage();
    BundleResources resources; // error descriptions come from the plug-in's resource file
    std::string command = argv[1];
    if (command == "header" && argc == 3)
        return header(argv[2]);
    if (command == "check" && argc >= 5 && std::strcmp(argv[3], "--accept") == 0)
        return check(argv[2], std::vector<const char*>(argv + 4, argv + argc));
    return usage();
}

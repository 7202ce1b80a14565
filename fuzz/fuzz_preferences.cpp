// The user's preference list on arbitrary bytes: read as the pane reads it, asked about
// printers, changed and saved. Saving never loses what was there: an unreadable file is kept
// beside the new one, whose list holds every readable entry and the new one.
#include "QRVTovranePrinterPList.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A home folder of the fuzzer's own, made once.
const std::string& Preferences() {
    static const std::string path = [] {
        char home[] = "/tmp/pigmentor-fuzz-home-XXXXXX";
        if (!mkdtemp(home))
            std::abort();
        setenv("HOME", home, 1);
        std::string library = std::string(home) + "/Library";
        mkdir(library.c_str(), 0700);
        mkdir((library + "/Preferences").c_str(), 0700);
        return std::string(home) + QRVTovranePrinterPList::kRelativePath;
    }();
    return path;
}

void Write(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = Preferences();
    Write(path, data, size);
    CFIndex before = 0;
    bool kept = false;
    {
        QRVTovranePrinterPList list;
        if (!list.Valid())
            std::abort();
        before = CFArrayGetCount(list.Printers());
        kept = list.KeepsOldFile();
        bool found = false;
        for (CFStringRef printer : {CFSTR("Office"), CFSTR("TARVO C5000"), CFSTR("\u0141\u00F3d\u017A")}) {
            list.Exists(printer, found);
            list.Find(printer);
            list.getIPEnabled(printer);
        }
        if (!list.Add(CFSTR("Fuzz Printer"), CFSTR("127.0.0.1"), true) || !list.Save())
            std::abort();
    }
    struct stat st;
    const std::string backup = path + ".unreadable";
    if (kept != (stat(backup.c_str(), &st) == 0))
        std::abort(); // kept exactly when the read was not whole
    unlink(backup.c_str());
    // What was read, plus the new entry, is what the saved file holds.
    QRVTovranePrinterPList again;
    CFIndex after = CFArrayGetCount(again.Printers());
    if (again.KeepsOldFile() || (after != before && after != before + 3))
        std::abort();
    return 0;
}

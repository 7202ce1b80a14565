// The PPD parse from arbitrary bytes: the model is built, walked and asked for the PostScript
// of every control, as the dialog and the job ticket would.
#include "PPDXControl.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "PPDXGroup.h"
#include "PPDXGroups.h"
#include "PPDXProperties.h"
#include "PPDXProperty.h"
#include "QRVPPD.h"

#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string& scratchPath() {
    static const std::string path = "/tmp/fuzz-ppd-" + std::to_string(getpid()) + ".ppd";
    return path;
}

void exercise(QRVPPD& ppd) {
    ScopedDisplayOptions all(kShowAll);
    if (PPDXGroups* groups = ppd.GetGroups())
        for (PPDXGroup* g = groups->First(); g; g = groups->Next())
            (void)g->UserName();
    if (PPDXProperties* pages = ppd.GetProperties())
        for (PPDXProperty* p = pages->First(); p; p = pages->Next())
            (void)p->Keyword();
    PPDXControls* controls = ppd.GetControls();
    CNTL_TYPE type;
    for (PPDXControl* c = controls ? controls->First(type) : nullptr; c; c = controls->Next(type)) {
        long size = c->PostScript(nullptr);
        if (size > 0 && size < (1L << 24)) {
            std::vector<unsigned char> out(static_cast<size_t>(size));
            c->PostScript(out.data());
        }
        if (CFStringRef value = c->GetCurrentControlValueString()) {
            c->SetCurrentControlWithCFString(value);
            CFRelease(value);
        }
        c->ResetToDefaultValue();
        (void)c->UserName();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = scratchPath();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path.c_str()),
        static_cast<CFIndex>(path.size()), false);
    for (_PARSE_OPTIONS_ options : {_PARSE_OPTIONS_(kShowAll), _PARSE_OPTIONS_(0)}) {
        QRVPPD* ppd = new QRVPPD(url, options, nullptr);
        exercise(*ppd);
        ppd->Release();
    }
    CFRelease(url);
    unlink(path.c_str());
    return 0;
}

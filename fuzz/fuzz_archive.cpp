// The Settings archive reader on arbitrary bytes: a block is unflattened as the pane does with
// the one it finds in the print settings ticket, and every item of an accepted archive is then
// read back in each way the model reads items. An accepted block written in this machine's byte
// order must flatten back to exactly the same bytes.

#include "Settings.h"

#include <CarbonCore/MacMemory.h>
#include <CoreFoundation/CFString.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kMagic = 0x5067436F; // 'PgCo' as this machine writes it
constexpr long kPersistent = 0x40000000;

bool WrittenHere(const uint8_t* data, size_t size) {
    uint32_t magic = 0;
    if (size < sizeof magic)
        return false;
    std::memcpy(&magic, data, sizeof magic);
    return magic == kMagic;
}

// Reads one item every way; returns false if the archive contradicts itself.
bool ReadItem(Settings& settings, unsigned long tag, long id, long size) {
    long reported = -1;
    if (settings.Get(tag, id, nullptr, reported, false) != 0 || reported != size)
        return false;
    std::vector<uint8_t> bytes(size_t(size) + 1);
    long got = size;
    if (settings.Get(tag, id, bytes.data(), got, false) != 0 || got != size)
        return false;
    got = size;
    short fixed = settings.Get(tag, id, bytes.data(), got, true);
    if (fixed != 0 && fixed != Settings::kUnfixableSize)
        return false;
    delete GetSettingsString(settings, tag, id);
    if (CFStringRef text = GetSettingsCFString(settings, tag, id))
        CFRelease(text);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Handle block = NewHandle(Size(size));
    if (block == nullptr)
        return 0;
    if (size != 0)
        std::memcpy(*block, data, size);
    Settings settings(block);
    DisposeHandle(block);
    if (!settings.Valid())
        return 0;

    bool allPersistent = true;
    long walked = 0;
    unsigned long tag;
    long id, length, attributes;
    for (short err = settings.First(tag, id, length, attributes); err == 0;
         err = settings.Next(tag, id, length, attributes)) {
        if (!ReadItem(settings, tag, id, length))
            std::abort();
        allPersistent = allPersistent && (attributes & kPersistent) != 0;
        ++walked;
    }
    if (walked != settings.Count())
        std::abort();

    char** again = nullptr;
    if (settings.GetSettingsHandle(&again) != 0)
        std::abort();
    if (allPersistent && WrittenHere(data, size) &&
        (size_t(GetHandleSize(again)) != size || std::memcmp(*again, data, size) != 0))
        std::abort();
    Settings reread(again);
    DisposeHandle(again);
    if (!reread.Valid())
        std::abort();
    return 0;
}

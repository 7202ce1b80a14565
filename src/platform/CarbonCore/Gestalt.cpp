/// The Gestalt selector registry over a mutex-guarded map.

#include <CarbonCore/Gestalt.h>
#include <CarbonCore/MacErrors.h>

#include <map>
#include <mutex>

namespace {

// Never destroyed: code running in static destructors may still look a selector up.
std::mutex& Lock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}
std::map<OSType, long>& Table() {
    static auto* table = new std::map<OSType, long>;
    return *table;
}

} // namespace

OSErr Gestalt(OSType selector, long* response) {
    if (response == nullptr)
        return paramErr;
    std::lock_guard<std::mutex> guard(Lock());
    auto found = Table().find(selector);
    *response = found == Table().end() ? 0 : found->second;
    return found == Table().end() ? OSErr(gestaltUndefSelectorErr) : OSErr(noErr);
}

OSErr NewGestaltValue(OSType selector, long newValue) {
    std::lock_guard<std::mutex> guard(Lock());
    return Table().emplace(selector, newValue).second ? OSErr(noErr) : OSErr(gestaltDupSelectorErr);
}

OSErr ReplaceGestaltValue(OSType selector, long replacementValue) {
    std::lock_guard<std::mutex> guard(Lock());
    auto found = Table().find(selector);
    if (found == Table().end())
        return gestaltUndefSelectorErr;
    found->second = replacementValue;
    return noErr;
}

OSErr SetGestaltValue(OSType selector, long newValue) {
    std::lock_guard<std::mutex> guard(Lock());
    Table()[selector] = newValue;
    return noErr;
}

OSErr DeleteGestaltValue(OSType selector) {
    std::lock_guard<std::mutex> guard(Lock());
    return Table().erase(selector) ? OSErr(noErr) : OSErr(gestaltUndefSelectorErr);
}

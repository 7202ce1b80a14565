//===- CFBundle.cpp - Bundles, their information and the registry ---------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFBundleInternal.h>
#include <CoreFoundation/CFPropertyList.h>
#include <CoreFoundation/CFStringInternal.h>
#include <CoreFoundation/CFURLAccess.h>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The registry of live bundles. Never freed: bundles may be destroyed by static destructors.
std::mutex& RegistryLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}
std::vector<__CFBundle*>& Registry() {
    static auto* bundles = new std::vector<__CFBundle*>;
    return *bundles;
}

CFDictionaryRef EmptyDictionary() {
    return CFDictionaryCreate(nullptr, nullptr, nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                              &kCFTypeDictionaryValueCallBacks);
}

// The information dictionary of the bundle at `path`; empty when missing or malformed.
CFDictionaryRef ReadInfo(const std::string& path) {
    std::string file = path + "/Contents/Info.plist";
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(file.data()), static_cast<CFIndex>(file.size()),
        false);
    CFDataRef data = nullptr;
    CFPropertyListRef plist = nullptr;
    if (url &&
        CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, nullptr, nullptr, nullptr))
        plist =
            CFPropertyListCreateWithData(nullptr, data, kCFPropertyListImmutable, nullptr, nullptr);
    if (data)
        CFRelease(data);
    if (url)
        CFRelease(url);
    if (CFGetTypeID(plist) == CFDictionaryGetTypeID())
        return static_cast<CFDictionaryRef>(plist);
    if (plist)
        CFRelease(plist);
    return EmptyDictionary();
}

CFBundleRef CreateBundleAt(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return nullptr;
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
        true);
    if (url == nullptr)
        return nullptr;
    __CFBundle* bundle = new __CFBundle(url, path, ReadInfo(path));
    CFRelease(url);
    return bundle;
}

} // namespace

__CFBundle::__CFBundle(CFURLRef u, std::string p, CFDictionaryRef i)
    : Object(TypeID()), url(static_cast<CFURLRef>(CFRetain(u))), path(std::move(p)), info(i) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Registry().push_back(this);
}

__CFBundle::~__CFBundle() {
    {
        // Leave the registry first: a look-up must never find a bundle being torn down.
        std::lock_guard<std::mutex> guard(RegistryLock());
        auto& bundles = Registry();
        for (auto it = bundles.begin(); it != bundles.end(); ++it) {
            if (*it == this) {
                bundles.erase(it);
                break;
            }
        }
    }
    pmcf::ForgetPlugIn(this);
    pmcf::CloseExecutable(*this);
    for (auto& entry : tables)
        if (entry.second)
            CFRelease(entry.second);
    CFRelease(info);
    CFRelease(url);
}

std::u16string __CFBundle::describe() const {
    return u"CFBundle <" + pmcf::Widen(path) + u">";
}

extern "C" {

const CFStringRef kCFBundleInfoDictionaryVersionKey = CFSTR("CFBundleInfoDictionaryVersion");
const CFStringRef kCFBundleExecutableKey = CFSTR("CFBundleExecutable");
const CFStringRef kCFBundleIdentifierKey = CFSTR("CFBundleIdentifier");
const CFStringRef kCFBundleVersionKey = CFSTR("CFBundleVersion");
const CFStringRef kCFBundleDevelopmentRegionKey = CFSTR("CFBundleDevelopmentRegion");
const CFStringRef kCFBundleNameKey = CFSTR("CFBundleName");
const CFStringRef kCFBundleLocalizationsKey = CFSTR("CFBundleLocalizations");

CFTypeID CFBundleGetTypeID(void) {
    static const CFTypeID id = pmcf::RegisterType("CFBundle");
    return id;
}

CFBundleRef CFBundleCreate(CFAllocatorRef, CFURLRef bundleURL) {
    char path[PATH_MAX];
    if (!CFURLGetFileSystemRepresentation(bundleURL, true, reinterpret_cast<UInt8*>(path),
                                          sizeof path))
        return nullptr;
    return CreateBundleAt(path);
}

CFBundleRef CFBundleGetMainBundle(void) {
    // Made once and kept for the life of the process, as on the platform.
    static CFBundleRef main = [] {
        char exe[PATH_MAX];
        ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
        std::string folder = n > 0 ? std::string(exe, static_cast<size_t>(n)) : ".";
        size_t slash = folder.rfind('/');
        folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
        return CreateBundleAt(folder);
    }();
    return main;
}

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID) {
    if (pmcf::Cast<__CFString>(bundleID) == nullptr)
        return nullptr;
    std::lock_guard<std::mutex> guard(RegistryLock());
    auto& bundles = Registry();
    for (auto it = bundles.rbegin(); it != bundles.rend(); ++it) {
        // A count of 0 means the last release is under way; that bundle is gone already.
        if ((*it)->retainCount() > 0 && CFEqual(CFBundleGetIdentifier(*it), bundleID))
            return *it;
    }
    return nullptr;
}

CFStringRef CFBundleGetIdentifier(CFBundleRef bundle) {
    CFTypeRef id = CFBundleGetValueForInfoDictionaryKey(bundle, kCFBundleIdentifierKey);
    return CFGetTypeID(id) == CFStringGetTypeID() ? static_cast<CFStringRef>(id) : nullptr;
}

CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle) {
    const __CFBundle* b = pmcf::Cast<__CFBundle>(bundle);
    return b ? static_cast<CFURLRef>(CFRetain(b->url)) : nullptr;
}

CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle) {
    const __CFBundle* b = pmcf::Cast<__CFBundle>(bundle);
    return b ? b->info : nullptr;
}

CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key) {
    return CFDictionaryGetValue(CFBundleGetInfoDictionary(bundle), key);
}

CFStringRef CFBundleGetDevelopmentRegion(CFBundleRef bundle) {
    CFTypeRef region = CFBundleGetValueForInfoDictionaryKey(bundle, kCFBundleDevelopmentRegionKey);
    return CFGetTypeID(region) == CFStringGetTypeID() ? static_cast<CFStringRef>(region) : nullptr;
}

} // extern "C"

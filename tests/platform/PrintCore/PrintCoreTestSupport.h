#pragma once
// Helpers shared by the PrintCore tests: owned CF objects, a scratch folder, ticket numbers.

#include <PrintCore/PMCore.h>
#include <PrintCore/PMHost.h>

#include <CoreFoundation/PMCFUtilities.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

/// Releases one CF reference at scope exit.
template <class T> struct Owned {
    T ref;
    explicit Owned(T r = nullptr) : ref(r) {}
    ~Owned() {
        if (ref)
            CFRelease(ref);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    operator T() const { return ref; }
};

/// A new folder under /tmp, removed with everything in it at scope exit.
struct Scratch {
    std::string path;
    Scratch() {
        char name[] = "/tmp/pigmentor-printcore-XXXXXX";
        path = mkdtemp(name) ? name : "";
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string operator/(const std::string& leaf) const { return path + "/" + leaf; }
};

/// The ticket a session data item designates, converted as the extensions convert it.
inline PMTicketRef TicketFromNumber(CFTypeRef number) {
    SInt32 value = 0;
    if (CFGetTypeID(number) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(number), kCFNumberSInt32Type, &value))
        return nullptr;
    return reinterpret_cast<PMTicketRef>(static_cast<intptr_t>(value));
}

inline std::string UTF8(CFStringRef s) {
    return PMCFStringCopyUTF8(s);
}

// The property-list reader on arbitrary bytes, XML or binary, as every file and ticket item of
// the system is read. What it accepts must write out as XML and read back as the same tree.
#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CFDataRef bytes = CFDataCreate(nullptr, data, static_cast<CFIndex>(size));
    if (!bytes)
        return 0;
    for (CFOptionFlags mutability : {kCFPropertyListImmutable, kCFPropertyListMutableContainers,
                                     kCFPropertyListMutableContainersAndLeaves}) {
        CFErrorRef error = nullptr;
        CFPropertyListRef plist =
            CFPropertyListCreateWithData(nullptr, bytes, mutability, nullptr, &error);
        if (!plist) {
            if (!error)
                std::abort(); // a refusal always says why
            CFRelease(error);
            continue;
        }
        // Strings holding U+0000 and the like read but cannot be written: only what writes
        // must come back equal.
        if (CFDataRef xml = CFPropertyListCreateData(nullptr, plist, kCFPropertyListXMLFormat_v1_0,
                                                     0, nullptr)) {
            CFPropertyListRef back = CFPropertyListCreateWithData(
                nullptr, xml, kCFPropertyListImmutable, nullptr, nullptr);
            if (!back || !CFEqual(back, plist))
                std::abort();
            CFRelease(back);
            CFRelease(xml);
        }
        CFRelease(plist);
    }
    CFRelease(bytes);
    return 0;
}

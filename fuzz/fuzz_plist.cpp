// The property-list reader on arbitrary bytes, XML or binary, as every file and ticket item of
// the system is read. What it accepts and can write as XML must read back to the same XML.
#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>

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
        // Strings holding U+0000 and the like read but cannot be written. What writes must read
        // back and write again to the same bytes (the XML form keeps dates to the second, so a
        // binary list's fractions are the one thing the first write may drop).
        if (CFDataRef xml = CFPropertyListCreateData(nullptr, plist, kCFPropertyListXMLFormat_v1_0,
                                                     0, nullptr)) {
            CFPropertyListRef back = CFPropertyListCreateWithData(
                nullptr, xml, kCFPropertyListImmutable, nullptr, nullptr);
            CFDataRef again = back ? CFPropertyListCreateData(nullptr, back,
                                                              kCFPropertyListXMLFormat_v1_0, 0,
                                                              nullptr)
                                   : nullptr;
            if (!again || !CFEqual(again, xml))
                std::abort();
            CFRelease(again);
            CFRelease(back);
            CFRelease(xml);
        }
        CFRelease(plist);
    }
    CFRelease(bytes);
    return 0;
}

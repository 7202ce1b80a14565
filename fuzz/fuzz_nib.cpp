// Arbitrary bytes read as a NIB. An accepted NIB must build every one of its windows, dump
// each as JSON, and drive a click into every control without crashing; everything is freed.

#include <HIToolbox/HIDump.h>
#include <HIToolbox/HIToolbox.h>

#include <cstdint>
#include <cstdlib>

namespace {

OSStatus Swallow(EventHandlerCallRef, EventRef, void*) { return eventNotHandledErr; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IBNibRef nib = nullptr;
    if (HICreateNibReferenceFromBytes(data, size, &nib) != noErr)
        return 0;
    for (ItemCount i = 0; i < HINibCountWindows(nib); ++i) {
        CFStringRef name = HINibCopyWindowName(nib, i);
        WindowRef window = nullptr;
        if (CreateWindowFromNib(nib, name, &window) != noErr)
            abort(); // a NIB that validated must build
        CFRelease(name);
        const EventTypeSpec types[] = {{kEventClassCommand, kEventCommandProcess},
                                       {kEventClassControl, kEventControlHit}};
        InstallWindowEventHandler(window, Swallow, 2, types, nullptr, nullptr);
        if (HICopyWindowJSON(window).empty())
            abort();
        ControlRef root = nullptr;
        GetRootControl(window, &root);
        UInt16 count = 0;
        CountSubControls(root, &count);
        for (UInt16 k = 1; k <= count && k <= 64; ++k) {
            ControlRef c = nullptr;
            if (GetIndexedSubControl(root, k, &c) == noErr) {
                HIPerformClick(c);
                HIPerformChoosePopupItem(c, 1);
            }
        }
        DisposeWindow(window);
    }
    DisposeNibReference(nib);
    return 0;
}

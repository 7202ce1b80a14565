// The live-object registries and small shared helpers of the toolbox.
#include "HIObjects.h"
#include <HIToolbox/HIBackend.h>

#include <CoreFoundation/PMCFUtilities.h>
#include <CoreFoundation/CFRunLoop.h>

#include <algorithm>
#include <unordered_set>

namespace hi {
namespace {
// Heap-allocated and never freed: references may be checked during static destruction.
std::unordered_set<const void*>& Live() {
    static auto* live = new std::unordered_set<const void*>;
    return *live;
}
std::vector<WindowRef>& Windows() {
    static auto* windows = new std::vector<WindowRef>;
    return *windows;
}
void Mark(const void* object, bool live) {
    if (live)
        Live().insert(object);
    else
        Live().erase(object);
}
} // namespace

bool IsLiveWindow(WindowRef window) {
    return window != nullptr &&
           std::find(Windows().begin(), Windows().end(), window) != Windows().end();
}
bool IsLiveControl(ControlRef control) { return control != nullptr && Live().count(control) != 0; }
bool IsLiveMenu(MenuRef menu) { return menu != nullptr && Live().count(menu) != 0; }

void RegisterWindow(WindowRef window, bool live) {
    RegisterTarget(&window->target, live);
    auto& all = Windows();
    all.erase(std::remove(all.begin(), all.end(), window), all.end());
    if (live)
        all.push_back(window);
}
void RegisterControl(ControlRef control, bool live) {
    Mark(control, live);
    RegisterTarget(&control->target, live);
}
void RegisterTarget(Target* target, bool live) { Mark(target, live); }
bool IsLiveTarget(const Target* target) {
    return target == &ApplicationTarget() || (target != nullptr && Live().count(target) != 0);
}
void RegisterMenu(MenuRef menu, bool live) { Mark(menu, live); }
const std::vector<WindowRef>& LiveWindows() { return Windows(); }

void ControlChanged(ControlRef control) { HICurrentBackend().controlChanged(control); }
void WindowChanged(WindowRef window) { HICurrentBackend().windowChanged(window); }

std::string UTF8(CFStringRef s) { return PMCFStringCopyUTF8(s); }
CFStringRef NewString(const std::string& utf8) { return PMCFStringCreateWithUTF8(utf8); }
void SetString(CFStringRef& slot, CFStringRef value) {
    if (value)
        CFRetain(value);
    if (slot)
        CFRelease(slot);
    slot = value;
}

SInt16 ControlFontSize(ControlRef control) {
    if (control != nullptr && (control->font.flags & kControlUseSizeMask) != 0)
        return control->font.size;
    return 0;
}

} // namespace hi

namespace {
HIBackend gHeadless;
HIBackend* gBackend = nullptr;
} // namespace

bool HIBackend::waitForEvents(double seconds) {
    // The queue's run-loop source is signalled by every post, so the wait ends on a post.
    SInt32 result = CFRunLoopRunInMode(kCFRunLoopDefaultMode, seconds < 0 ? 1.0e10 : seconds, true);
    return result == kCFRunLoopRunHandledSource;
}

HIBackend& HICurrentBackend() { return gBackend ? *gBackend : gHeadless; }
void HISetBackend(HIBackend* backend) { gBackend = backend; }

// Windows: creation, titles, visibility, sheets and bounds.
#include "HIObjects.h"
#include <HIToolbox/HIBackend.h>

#include <algorithm>

namespace {
std::vector<WindowRef>& Order() { // visible windows, front first
    static auto* order = new std::vector<WindowRef>;
    return *order;
}
void Unorder(WindowRef w) {
    auto& o = Order();
    o.erase(std::remove(o.begin(), o.end(), w), o.end());
}
bool IsAttachedClass(WindowClass c) { return c == kSheetWindowClass || c == kDrawerWindowClass; }

void SendWindowEvent(WindowRef w, EventKind kind) {
    EventRef e = nullptr;
    CreateEvent(nullptr, kEventClassWindow, kind, 0, 0, &e);
    SetEventParameter(e, kEventParamDirectObject, typeWindowRef, sizeof w, &w);
    SendEventToEventTarget(e, GetWindowEventTarget(w));
    ReleaseEvent(e);
}

/// Tells the windows when the front one changes (deactivated first, then activated).
void FrontChanged(WindowRef before) {
    WindowRef now = FrontWindow();
    if (now == before)
        return;
    if (hi::IsLiveWindow(before))
        SendWindowEvent(before, kEventWindowDeactivated);
    if (hi::IsLiveWindow(now))
        SendWindowEvent(now, kEventWindowActivated);
}
uint64_t gSerial = 0;
} // namespace

extern "C" {

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes,
                         const Rect* contentBounds, WindowRef* outWindow) {
    if (contentBounds == nullptr || outWindow == nullptr || windowClass == 0 || windowClass > 20)
        return paramErr;
    if (contentBounds->right < contentBounds->left || contentBounds->bottom < contentBounds->top)
        return paramErr;
    auto* w = new OpaqueWindowPtr;
    w->windowClass = windowClass;
    w->attributes = attributes;
    w->bounds = *contentBounds;
    w->port.port.window = w;
    w->target.kind = hi::TargetKind::window;
    w->target.owner = w;
    w->serial = ++gSerial;
    hi::RegisterWindow(w, true);
    Rect local{0, 0, static_cast<short>(contentBounds->bottom - contentBounds->top),
               static_cast<short>(contentBounds->right - contentBounds->left)};
    OSStatus err = hi::NewControl(w, &local, kControlKindRoot, &w->root);
    if (err != noErr) {
        hi::RegisterWindow(w, false);
        delete w;
        return err;
    }
    HICurrentBackend().windowCreated(w);
    *outWindow = w;
    return noErr;
}

Boolean IsValidWindowPtr(WindowRef window) { return hi::IsLiveWindow(window); }

void DisposeWindow(WindowRef window) {
    if (!hi::IsLiveWindow(window))
        return;
    hi::WindowGoing(window);
    // Sheets attached to this window go away with it, as their parent is gone.
    for (WindowRef other : std::vector<WindowRef>(hi::LiveWindows()))
        if (other->sheetParent == window)
            other->sheetParent = nullptr, other->visible = false;
    HICurrentBackend().windowDisposing(window);
    DisposeControl(window->root);
    hi::ClearTarget(window->target);
    const bool wasFront = FrontWindow() == window;
    Unorder(window);
    GrafPtr port = nullptr;
    GetPort(&port);
    if (port == &window->port)
        SetPort(nullptr);
    hi::SetString(window->title, nullptr);
    hi::RegisterWindow(window, false);
    delete window;
    if (wasFront)
        FrontChanged(nullptr);
}

OSStatus GetWindowClass(WindowRef window, WindowClass* outClass) {
    if (!hi::IsLiveWindow(window))
        return errInvalidWindowRef;
    if (outClass == nullptr)
        return paramErr;
    *outClass = window->windowClass;
    return noErr;
}

OSStatus SetWindowTitleWithCFString(WindowRef window, CFStringRef title) {
    if (!hi::IsLiveWindow(window))
        return errInvalidWindowRef;
    if (title == nullptr)
        return paramErr;
    hi::SetString(window->title, title);
    hi::WindowChanged(window);
    return noErr;
}

OSStatus CopyWindowTitleAsCFString(WindowRef window, CFStringRef* outTitle) {
    if (!hi::IsLiveWindow(window))
        return errInvalidWindowRef;
    if (outTitle == nullptr)
        return paramErr;
    *outTitle = window->title ? static_cast<CFStringRef>(CFRetain(window->title))
                              : CFStringCreateWithCString(nullptr, "", kCFStringEncodingUTF8);
    return noErr;
}

void ShowWindow(WindowRef window) {
    if (!hi::IsLiveWindow(window))
        return;
    WindowRef before = FrontWindow();
    window->visible = true;
    if (std::find(Order().begin(), Order().end(), window) == Order().end())
        Order().push_back(window);
    DrawControls(window);
    hi::WindowChanged(window);
    FrontChanged(before);
}

void HideWindow(WindowRef window) {
    if (!hi::IsLiveWindow(window))
        return;
    WindowRef before = FrontWindow();
    window->visible = false;
    Unorder(window);
    hi::WindowChanged(window);
    FrontChanged(before);
}

Boolean IsWindowVisible(WindowRef window) { return hi::IsLiveWindow(window) && window->visible; }

void SelectWindow(WindowRef window) {
    if (!hi::IsLiveWindow(window))
        return;
    WindowRef before = FrontWindow();
    Unorder(window);
    Order().insert(Order().begin(), window);
    hi::WindowChanged(window);
    FrontChanged(before);
}

WindowRef FrontWindow(void) {
    for (WindowRef w : Order())
        if (w->visible)
            return w;
    return nullptr;
}

OSStatus ShowSheetWindow(WindowRef sheet, WindowRef parent) {
    if (!hi::IsLiveWindow(sheet) || !hi::IsLiveWindow(parent) || sheet == parent)
        return errInvalidWindowRef;
    if (!IsAttachedClass(sheet->windowClass))
        return paramErr;
    sheet->sheetParent = parent;
    // A sheet sits at the top of its parent, centred across it.
    const short width = static_cast<short>(sheet->bounds.right - sheet->bounds.left);
    const short height = static_cast<short>(sheet->bounds.bottom - sheet->bounds.top);
    const short left = static_cast<short>(parent->bounds.left +
                                          (parent->bounds.right - parent->bounds.left - width) / 2);
    sheet->bounds = Rect{parent->bounds.top, left, static_cast<short>(parent->bounds.top + height),
                         static_cast<short>(left + width)};
    ShowWindow(sheet);
    SelectWindow(sheet);
    return noErr;
}

OSStatus HideSheetWindow(WindowRef sheet) {
    if (!hi::IsLiveWindow(sheet))
        return errInvalidWindowRef;
    if (!IsAttachedClass(sheet->windowClass))
        return paramErr;
    HideWindow(sheet);
    WindowRef parent = sheet->sheetParent;
    sheet->sheetParent = nullptr;
    if (hi::IsLiveWindow(parent) && parent->visible)
        SelectWindow(parent);
    return noErr;
}

OSStatus GetSheetWindowParent(WindowRef sheet, WindowRef* outParent) {
    if (!hi::IsLiveWindow(sheet))
        return errInvalidWindowRef;
    if (outParent == nullptr)
        return paramErr;
    *outParent = sheet->sheetParent;
    return noErr;
}

OSStatus GetWindowBounds(WindowRef window, WindowRegionCode region, Rect* outBounds) {
    if (!hi::IsLiveWindow(window))
        return errInvalidWindowRef;
    if (outBounds == nullptr)
        return paramErr;
    *outBounds = window->bounds;
    if (region == kWindowStructureRgn) // a 22-pixel title bar above the content
        outBounds->top = static_cast<short>(outBounds->top - 22);
    return noErr;
}

OSStatus SetWindowBounds(WindowRef window, WindowRegionCode region, const Rect* bounds) {
    if (!hi::IsLiveWindow(window))
        return errInvalidWindowRef;
    if (bounds == nullptr || bounds->right < bounds->left || bounds->bottom < bounds->top)
        return paramErr;
    window->bounds = *bounds;
    if (region == kWindowStructureRgn)
        window->bounds.top = static_cast<short>(window->bounds.top + 22);
    window->root->bounds = Rect{0, 0, static_cast<short>(window->bounds.bottom - window->bounds.top),
                                static_cast<short>(window->bounds.right - window->bounds.left)};
    hi::WindowChanged(window);
    return noErr;
}

Rect* GetWindowPortBounds(WindowRef window, Rect* bounds) {
    if (bounds == nullptr)
        return bounds;
    *bounds = Rect{0, 0, 0, 0};
    if (hi::IsLiveWindow(window))
        *bounds = Rect{0, 0, static_cast<short>(window->bounds.bottom - window->bounds.top),
                       static_cast<short>(window->bounds.right - window->bounds.left)};
    return bounds;
}

void SetWRefCon(WindowRef window, void* data) {
    if (hi::IsLiveWindow(window))
        window->refCon = data;
}
void* GetWRefCon(WindowRef window) { return hi::IsLiveWindow(window) ? window->refCon : nullptr; }

void DrawControls(WindowRef window) {
    if (!hi::IsLiveWindow(window))
        return;
    hi::Walk(window->root, [](ControlRef c) {
        if (c->kind == kControlKindUserPane && IsControlVisible(c))
            hi::DrawUserPane(c);
    });
}

} // extern "C"

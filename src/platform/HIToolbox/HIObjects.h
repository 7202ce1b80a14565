#pragma once
// Internal to HIToolbox: the objects behind the opaque references. Everything here lives on
// the main thread except events (HIEvent.h), which any thread may create and post.

#include <HIToolbox/CarbonEvents.h>
#include <HIToolbox/HIToolboxErrors.h>
#include <HIToolbox/QuickDraw.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace hi {

/// A registered handler on one target.
struct Handler {
    EventHandlerUPP proc = nullptr;
    std::vector<EventTypeSpec> types;
    void* userData = nullptr;
    struct Target* target = nullptr;
    bool removed = false; // removed while a dispatch held it; freed with the target's list
};

/// Kinds of target.
enum class TargetKind { application, window, control };

/// An event target: its handlers, the latest installed first.
struct Target {
    TargetKind kind = TargetKind::application;
    void* owner = nullptr; // the window or control
    std::vector<std::shared_ptr<Handler>> handlers;
};

/// One recorded drawing command of a user pane.
struct DrawCommand {
    std::string op;     // moveTo, lineTo, penSize, penPat, penMode, foreColor, backColor,
                        // frameRect, paintRect, fillRect, eraseRect, invertRect, frameOval,
                        // paintOval, penNormal
    int a = 0, b = 0, c = 0, d = 0; // h v / width height / rect top left bottom right / rgb
    Pattern pattern{};
};

/// The port of a window: text settings and the pen.
struct Port {
    WindowRef window = nullptr;
    short textFont = systemFont, textSize = 0, textFace = normal;
    Point pen{0, 0};
};

} // namespace hi

struct OpaqueMenuRef {
    struct Item {
        CFStringRef text = nullptr; // retained
        UInt32 command = 0;
        bool enabled = true;
        bool checked = false;
    };
    int refs = 1;
    MenuID id = 0;
    bool enabled = true;
    std::vector<Item> items;
    std::vector<ControlRef> owners; // popups showing this menu (for redraws)
};

struct OpaqueControlRef {
    WindowRef window = nullptr;
    ControlRef parent = nullptr;
    std::vector<ControlRef> children;
    OSType kind = 0;
    ControlID id{0, 0};
    Rect bounds{0, 0, 0, 0};
    CFStringRef title = nullptr; // retained
    CFStringRef text = nullptr;  // static / editable text, retained
    SInt32 value = 0, minimum = 0, maximum = 0;
    bool visible = true, enabled = true, active = true;
    bool autoToggle = true;
    UInt32 command = 0;
    SRefCon reference = nullptr;
    ControlPartCode hilite = 0;
    ControlFontStyleRec font{};
    MenuRef menu = nullptr; // popup buttons; one reference held
    ControlUserPaneDrawUPP drawProc = nullptr;
    std::vector<hi::DrawCommand> drawing;
    hi::Target target;
    void* backendData = nullptr;
};

struct OpaqueGrafPtr {
    hi::Port port;
};

struct OpaqueWindowPtr {
    WindowClass windowClass = kDocumentWindowClass;
    WindowAttributes attributes = 0;
    Rect bounds{0, 0, 0, 0}; // content, global
    CFStringRef title = nullptr; // retained
    bool visible = false;
    WindowRef sheetParent = nullptr;
    void* refCon = nullptr;
    ControlRef root = nullptr;
    ControlRef focus = nullptr;
    OpaqueGrafPtr port;
    hi::Target target;
    bool modalRunning = false, quitModal = false;
    uint64_t serial = 0; // tells a live window from a new one at a reused address
    void* backendData = nullptr;
};

namespace hi {

/// Live-object checks (the registries of live windows, controls and menus).
bool IsLiveWindow(WindowRef window);
bool IsLiveControl(ControlRef control);
bool IsLiveMenu(MenuRef menu);
void RegisterWindow(WindowRef window, bool live);
void RegisterControl(ControlRef control, bool live);
void RegisterMenu(MenuRef menu, bool live);
/// All live windows, oldest first (front-to-back order is kept separately).
const std::vector<WindowRef>& LiveWindows();

/// Registry of live targets (windows' and controls'), so that a target reference can be
/// checked before it is looked at; main thread only.
void RegisterTarget(Target* target, bool live);
bool IsLiveTarget(const Target* target);

/// The application target.
Target& ApplicationTarget();
/// Removes every handler of a target (its owner is going away).
void ClearTarget(Target& target);

/// Tells the back end about a change.
void ControlChanged(ControlRef control);
void WindowChanged(WindowRef window);

/// Makes a control of `kind` in `window`'s root (or the root itself with window's root null).
OSStatus NewControl(WindowRef window, const Rect* bounds, OSType kind, ControlRef* out);
/// Tree order walk: `control` first, then its sub-controls, depth first.
template <class F> void Walk(ControlRef control, F&& f) {
    f(control);
    for (ControlRef child : std::vector<ControlRef>(control->children))
        Walk(child, f);
}

/// The user pane whose draw procedure is running (recording target), or null.
ControlRef& RecordingPane();
/// Runs a user pane's draw procedure, recording its pen calls.
void DrawUserPane(ControlRef pane);

/// Ends every modal loop of a window being disposed and drops its queued events.
void WindowGoing(WindowRef window);
/// Drops the queued events posted to a control being disposed.
void ControlGoing(ControlRef control);
/// Sends a fresh event of class/kind with a direct object of `control` to the control.
OSStatus SendControlEvent(ControlRef control, EventKind kind, ControlPartCode part);
/// Sends a command event to `target`.
OSStatus SendCommand(const HICommand& command, EventTargetRef target);

/// Runs a queued simulated action; false when `event` is not one.
bool PerformSimulated(EventRef event);

/// Text as UTF-8 / a new CFString from UTF-8 (null for invalid UTF-8).
std::string UTF8(CFStringRef s);
CFStringRef NewString(const std::string& utf8);
/// Replaces a retained string slot.
void SetString(CFStringRef& slot, CFStringRef value);

/// The control's font size from its style record (0: the kind's default).
SInt16 ControlFontSize(ControlRef control);

} // namespace hi

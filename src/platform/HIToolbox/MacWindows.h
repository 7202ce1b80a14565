#pragma once
/// Windows: the top of each control tree.
///
/// A window owns its root control and, through it, every control embedded in it; disposing of
/// the window disposes of them. Windows are made by `CreateNewWindow` or from a NIB and are
/// used on the main thread only. Bounds are global (screen) coordinates of the content; the
/// content's own coordinates start at (0, 0). Titles are CFStrings (UTF-8 on the way out).
/// Class 11 (sheet) and 15 (drawer) windows are shown attached to a parent window.

#include <CoreFoundation/CFString.h>
#include <HIToolbox/QuickDraw.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef UInt32 WindowClass;
enum {
    kAlertWindowClass = 1,
    kMovableAlertWindowClass = 2,
    kModalWindowClass = 3,
    kMovableModalWindowClass = 4,
    kFloatingWindowClass = 5,
    kDocumentWindowClass = 6,
    kUtilityWindowClass = 8,
    kHelpWindowClass = 10,
    kSheetWindowClass = 11,
    kToolbarWindowClass = 12,
    kPlainWindowClass = 13,
    kOverlayWindowClass = 14,
    kDrawerWindowClass = 15, ///< shown attached to its parent, like a sheet
};

typedef UInt32 WindowAttributes;
enum { kWindowNoAttributes = 0, kWindowCloseBoxAttribute = 1, kWindowStandardHandlerAttribute = 1u << 25 };

typedef UInt16 WindowRegionCode;
enum { kWindowStructureRgn = 32, kWindowContentRgn = 33 };

/// A new hidden window of `windowClass` whose content has `contentBounds` (global).
OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes,
                         const Rect* contentBounds, WindowRef* outWindow);
/// Disposes of the window, its controls, handlers and any events posted to it; a running modal
/// loop for it ends.
void DisposeWindow(WindowRef window);
/// True for a live window.
Boolean IsValidWindowPtr(WindowRef window);

OSStatus GetWindowClass(WindowRef window, WindowClass* outClass);
OSStatus SetWindowTitleWithCFString(WindowRef window, CFStringRef title);
/// The title (caller releases).
OSStatus CopyWindowTitleAsCFString(WindowRef window, CFStringRef* outTitle);

void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);
Boolean IsWindowVisible(WindowRef window);
/// Brings the window to the front and makes it the active one.
void SelectWindow(WindowRef window);
/// The active (front) visible window, or NULL.
WindowRef FrontWindow(void);
/// Shows `sheet` (class 11 or 15) attached to `parent`; errInvalidWindowRef for a bad window,
/// paramErr for a window of another class.
OSStatus ShowSheetWindow(WindowRef sheet, WindowRef parent);
/// Hides a sheet shown by ShowSheetWindow.
OSStatus HideSheetWindow(WindowRef sheet);
/// The parent of a shown sheet.
OSStatus GetSheetWindowParent(WindowRef sheet, WindowRef* outParent);

/// Content (kWindowContentRgn) or structure bounds, global.
OSStatus GetWindowBounds(WindowRef window, WindowRegionCode region, Rect* outBounds);
OSStatus SetWindowBounds(WindowRef window, WindowRegionCode region, const Rect* bounds);
/// The content in the window's own coordinates: (0, 0, height, width).
Rect* GetWindowPortBounds(WindowRef window, Rect* bounds);

/// The caller's value kept with the window.
void SetWRefCon(WindowRef window, void* data);
void* GetWRefCon(WindowRef window);

/// Draws every visible control (user panes run their draw procedures).
void DrawControls(WindowRef window);

#ifdef __cplusplus
}
#endif

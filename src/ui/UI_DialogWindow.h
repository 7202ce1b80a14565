//===- UI_DialogWindow.h - The plumbing the dialog classes share -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_UI_UI_DIALOGWINDOW_H
#define PIGMENTOR_UI_UI_DIALOGWINDOW_H

#include <CoreFoundation/CoreFoundation.h>
#include <HIToolbox/HIToolbox.h>

/// What the dialog classes (UI_DialogWait, UI_PigmentorDialogBase and their subclasses) do the
/// same way with their NIB window: finding controls, showing and hiding it as a sheet or a
/// window, its event handler, its modal loop and the standard button titles. The windows,
/// parents and controls are the caller's (borrowed); the handler and its UPP live in the
/// caller's members, passed by reference. A null window is refused or ignored, never used.
/// Main thread only.
namespace UI_DialogWindow {

/// The window's control `signature`/`id`, or null (also for a null window).
ControlRef FindControl(WindowRef window, OSType signature, SInt32 id);

/// Shows `window`: as a sheet over `parent` when its class is sheet or drawer and the parent
/// takes it (true is answered then), else selected and shown as a window of its own (false).
bool Show(WindowRef window, WindowRef parent);
/// Hides what Show showed: the sheet when `shownAsSheet` (which is then cleared), else the
/// window. True when a window of its own was hidden. Nothing for a null window.
bool Hide(WindowRef window, bool& shownAsSheet);

/// Replaces the handler in `handler` (removed when set) by `proc` on `window` for `types`
/// (`count` of them), with `userData`; `upp` is made anew for `proc`. paramErr for a null
/// window, else what the install answers.
OSStatus InstallHandler(WindowRef window, EventHandlerProcPtr proc, ItemCount count,
                        const EventTypeSpec* types, void* userData, EventHandlerUPP& upp,
                        EventHandlerRef& handler);
/// Removes and disposes of what InstallHandler made, clearing both.
void RemoveHandler(EventHandlerUPP& upp, EventHandlerRef& handler);

/// Runs the window's application-modal loop with `running` true while it runs; paramErr for
/// a null window.
OSStatus RunModal(WindowRef window, bool& running);

/// Puts the localised "OK" and "Cancel" on the buttons 'ok  ' 0 and 'canc' 0, each sized to
/// fit. The texts come from the bundle table `table`, or its default table when null.
void SetStandardButtonTitles(WindowRef window, CFStringRef table);

/// The HI command an event carries; false when it carries none.
bool GetCommand(EventRef event, HICommand& command);

} // namespace UI_DialogWindow

#endif // PIGMENTOR_UI_UI_DIALOGWINDOW_H

#pragma once
/// Simulated input, of our own: what a person does, for tests and for the host that drives the
/// plug-in without a display. Each call queues the action on the main event queue (from the
/// main thread) and returns; the action runs when the main loop next dispatches (an
/// application-modal loop, RunCurrentEventLoop, or HIProcessPendingEvents), so input queued
/// before a modal dialog opens is performed inside that dialog's loop. The window and control
/// are looked up when the action runs.
///
/// An action produces exactly the events a person's would, in the same order, in both back
/// ends:
/// - click: kEventControlClick to the control; when no handler takes it, the control tracks
///   (a check box toggles, a radio button turns on in its group), then kEventControlHit; when
///   no handler takes the hit and the control has a command, kEventCommandProcess with
///   kHICommandFromControl. A disabled or hidden control ignores the click.
/// - choose: the same for a popup button, with the value set to the item before the hit and the
///   command (the item's command or else the control's) carrying kHICommandFromMenu and the item.
/// - type: focus moves to the editable text; per character a kEventRawKeyDown (parameter
///   kEventParamKeyMacCharCodes, the character's UTF-8 bytes as typeChar); unhandled ones edit
///   the text (backspace 0x08 deletes the last character).
/// - key: a kEventRawKeyDown to the focused control or else the window; an unhandled return
///   (0x0D) or enter (0x03) presses the window's 'ok  ' button, escape (0x1B) its 'not!' one.
/// - press: a click on the window's push button whose command is `command`.
/// Actions that find no window or control are dropped and counted (HISimulationFailures).

#include <HIToolbox/CarbonEvents.h>

#ifdef __cplusplus
extern "C" {
#endif

OSStatus HISimulateClick(WindowRef window, const ControlID* id);
/// Chooses menu item `item` (from 1) of the popup button.
OSStatus HISimulateChoosePopupItem(WindowRef window, const ControlID* id, MenuItemIndex item);
/// Types UTF-8 `text` into the editable text control.
OSStatus HISimulateTypeText(WindowRef window, const ControlID* id, const char* text);
/// Presses key `charCode` (0x0D return, 0x1B escape, ...).
OSStatus HISimulateKey(WindowRef window, UInt8 charCode);
/// Clicks the push button whose command is `command` ('ok  ', 'not!', ...).
OSStatus HISimulatePressButton(WindowRef window, UInt32 command);
/// Dispatches every queued event now (main thread).
void HIProcessPendingEvents(void);
/// The number of simulated actions that found no target.
UInt32 HISimulationFailures(void);

/// Performs the actions at once instead of queueing them (the GTK back end turns a person's
/// input into these). Main thread.
OSStatus HIPerformClick(ControlRef control);
OSStatus HIPerformChoosePopupItem(ControlRef control, MenuItemIndex item);
OSStatus HIPerformKey(WindowRef window, ControlRef focus, const char* utf8Char);

#ifdef __cplusplus
}
#endif

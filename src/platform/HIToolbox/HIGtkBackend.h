#pragma once
/// The GTK 3 back end, of our own: every window of the control tree as a real window.
///
/// Each window becomes a GtkWindow holding a GtkFixed; each control a GTK widget placed at its
/// window coordinates (push button, check box, radio button, combo box over the popup's menu,
/// label, entry, frame, separator, spinner for the chasing arrows, a drawing area that replays
/// a user pane's recorded drawing with cairo). Sheets are dialogs attached to their parent.
/// Widgets only show the tree: a person's click, menu choice or key is turned into the
/// toolbox's own HIPerform... calls, so the events arrive exactly as in the simulation, and the
/// widget then shows the tree's state again (a handler that swallows a click undoes it).
/// Text is drawn at pixel sizes no wider than the theme metrics of Appearance.h.
/// Main thread only; the run loop's wake-up also wakes GTK's main loop, so events posted by
/// workers are dispatched while GTK waits.

#include <HIToolbox/MacWindows.h>

/// Starts GTK and installs the back end (and the desktop's beep for SysBeep); false when GTK
/// cannot open a display (the headless back end stays).
bool HIGtkInstall(int* argc, char*** argv);
/// True once HIGtkInstall succeeded.
bool HIGtkIsInstalled();
/// Lets GTK draw and handle input for `seconds` (events of the toolbox queue are dispatched).
void HIGtkRunFor(double seconds);
/// Waits (running GTK) until the window is mapped and drawn, at most `seconds`.
bool HIGtkWaitUntilShown(WindowRef window, double seconds);
/// Writes a PNG of the window's content as GTK draws it; paramErr without GTK or window,
/// ioErr when the file cannot be written.
OSStatus HIGtkWriteScreenshot(WindowRef window, const char* pngPath);
/// The X window id of the window's toplevel and its content's origin on the screen (for real
/// input in tests); false when not shown.
bool HIGtkWindowGeometry(WindowRef window, unsigned long* xid, int* x, int* y);

typedef struct _GtkWidget GtkWidget;
/// Of our own, for a host that shows a window's content inside a widget of its own (a print
/// dialog's tab): the GTK widget holding the window's controls, taken out of the window's
/// toplevel, which stays hidden from then on. The caller adds it to its container; the widget
/// lives until the window is disposed (which destroys it wherever it is). The same widget on
/// later calls; null without GTK or window.
GtkWidget* HIGtkTakeWindowContent(WindowRef window);

#pragma once
/// The back end that shows the control tree, of our own.
///
/// One back end serves the process. The headless one is the default: it shows nothing, beeps by
/// counting and waits for input on the main run loop. The GTK back end (HIGtkBackend.h) shows
/// every window and turns a person's input into the same events as the simulation.
/// Main thread only; install a back end before making windows.

#include <HIToolbox/Controls.h>

class HIBackend {
public:
    virtual ~HIBackend() = default;
    /// A window was created, changed (title, bounds, visibility, class) or is being disposed.
    virtual void windowCreated(WindowRef) {}
    virtual void windowChanged(WindowRef) {}
    virtual void windowDisposing(WindowRef) {}
    /// A control was created, changed in any way (including its menu or drawing), or is being
    /// disposed (its sub-controls first).
    virtual void controlCreated(ControlRef) {}
    virtual void controlChanged(ControlRef) {}
    virtual void controlDisposing(ControlRef) {}
    /// Blocks until the main run loop has something to do or `seconds` passed (negative: no
    /// limit); performs the run loop's signalled sources. Returns false on a timeout.
    virtual bool waitForEvents(double seconds);
    /// A name for diagnostics ("headless", "gtk").
    virtual const char* name() const { return "headless"; }
};

/// The current back end (never null).
HIBackend& HICurrentBackend();
/// Installs `backend` (not owned; null restores the headless one).
void HISetBackend(HIBackend* backend);

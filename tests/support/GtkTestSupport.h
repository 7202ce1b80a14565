// Shared by the GTK tests (run under xvfb-run): starting GTK once, real X input through
// xdotool, and the screen point of a control to click.
#ifndef PIGMENTOR_TESTS_GTKTESTSUPPORT_H
#define PIGMENTOR_TESTS_GTKTESTSUPPORT_H

#include <HIToolbox/HIGtkBackend.h>
#include <HIToolbox/HIToolbox.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

/// Starts the GTK backend the first time it is called, as program `program`; true when a
/// display could be opened. Later calls answer the first call's outcome.
inline bool StartGtk(const char* program) {
    static const bool started = [program] {
        std::string name = program;
        int argc = 1;
        char* args[] = {&name[0], nullptr};
        char** argv = args;
        return HIGtkInstall(&argc, &argv);
    }();
    return started;
}

/// Runs xdotool with `args` (a failure fails the test) and lets GTK handle what it sent.
inline void Xdo(const std::string& args) {
    const std::string command = "xdotool " + args;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    HIGtkRunFor(0.4);
}

/// The screen point "X Y" `dx` pixels into control `c` of window `w` (its middle when
/// negative), half-way down.
inline std::string ScreenPoint(WindowRef w, ControlRef c, int dx = -1) {
    unsigned long xid = 0;
    int x = 0, y = 0;
    HIGtkWindowGeometry(w, &xid, &x, &y);
    Rect r{};
    if (c)
        GetControlBounds(c, &r);
    const int h = dx >= 0 ? r.left + dx : (r.left + r.right) / 2;
    return std::to_string(x + h) + " " + std::to_string(y + (r.top + r.bottom) / 2);
}

#endif // PIGMENTOR_TESTS_GTKTESTSUPPORT_H

//===- XvfbReexec.h - Run a GTK tool again under a virtual display -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_TOOLS_XVFBREEXEC_H
#define PIGMENTOR_TOOLS_XVFBREEXEC_H

namespace toolsupport {

/// Replaces the process with `argv` (null-terminated, as main got it) run under
/// "xvfb-run -a" on a 1280x1024x24 screen, so that a tool that found no display can still
/// draw and take screenshots. `guard` names an environment variable set for the child: when
/// it is already set this is the child, and nothing is done. Returns only when the tool is not
/// run again (the guard was set, or xvfb-run could not be started); the caller then reports
/// that it has no display.
void ReexecUnderXvfb(char** argv, const char* guard);

} // namespace toolsupport

#endif // PIGMENTOR_TOOLS_XVFBREEXEC_H

#pragma once
/// The JSON description of a window, of our own (nibtool dump, tests, the GTK tests' reference).
///
/// {"title", "class", "bounds": [top, left, bottom, right], "visible", "controls": [...]} with
/// one entry per control in tree order (an embedder before its sub-controls): "index",
/// "parent" (index of the embedder, null for the root's children), "kind" (the four-character
/// kind code), "signature", "id", "title", "text" (static and editable text), "value",
/// "minimum", "maximum", "visible", "enabled", "command", "bounds", "font_size", and for popup
/// buttons "menu": [{"title", "enabled"}], for user panes "drawing": the recorded commands
/// [{"op": "moveTo"|"lineTo"|..., ...}]. Four-character codes are text when printable, else
/// "0x%08X". User panes are drawn first, so their drawing is current.

#include <HIToolbox/MacWindows.h>

#include <string>
#include <vector>

/// The window's description, pretty-printed with `indent` spaces (negative: one line).
std::string HICopyWindowJSON(WindowRef window, int indent = 2);
/// A four-character code as text (see above).
std::string HIFourCharCodeText(UInt32 code);
/// Every live window, oldest first (hosts dump "every open window" with it).
std::vector<WindowRef> HICopyWindowList();

//===- PPDXShortcutFunctions.h - Flat functions over shortcuts --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXSHORTCUTFUNCTIONS_H
#define PIGMENTOR_PPDX_PPDXSHORTCUTFUNCTIONS_H

#include <cstdint>

class PPDXPopupControl;
class PPDXShortcuts;

/// The exported plain functions over a model's shortcut list, for code that holds only
/// opaque pointers into a model.
///
/// Each forwards to the PPDXShortcuts member of the same meaning. A null list does nothing
/// and gives null, 0, or true for the emptiness test. Nothing returned is owned by the
/// caller. The names are C names, unmangled.
extern "C" {

/// PPDXShortcuts::Empty, or true.
bool IsShortcutsListEmpty(PPDXShortcuts* shortcuts);
/// PPDXShortcuts::Count, or 0.
uint32_t GetShortcutCount(PPDXShortcuts* shortcuts);
/// PPDXShortcuts::PageSize, or null.
PPDXPopupControl* GetPageSizeShortcut(PPDXShortcuts* shortcuts);
/// PPDXShortcuts::InputSlot, or null.
PPDXPopupControl* GetInputSlotShortcut(PPDXShortcuts* shortcuts);
/// PPDXShortcuts::Duplex, or null.
PPDXPopupControl* GetDuplexShortcut(PPDXShortcuts* shortcuts);
/// PPDXShortcuts::Orientation, or null.
PPDXPopupControl* GetOrientationShortcut(PPDXShortcuts* shortcuts);
/// PPDXShortcuts::Pigmentor: always null.
PPDXPopupControl* GetPigmentorShortcut(PPDXShortcuts* shortcuts);
/// PPDXShortcuts::MediaSource: always null.
PPDXPopupControl* GetMediaSourceShortcut(PPDXShortcuts* shortcuts);
/// PPDXShortcuts::Find, or null.
PPDXPopupControl* FindShortcut(PPDXShortcuts* shortcuts, const char* keyword, const bool& exact);
/// PPDXShortcuts::First, or null.
PPDXPopupControl* FirstShortcut(PPDXShortcuts* shortcuts);
/// PPDXShortcuts::Next, or null.
PPDXPopupControl* NextShortcut(PPDXShortcuts* shortcuts);

} // extern "C"

#endif // PIGMENTOR_PPDX_PPDXSHORTCUTFUNCTIONS_H

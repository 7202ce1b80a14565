//===- PPDXShortcutFunctions.cpp - Flat functions over shortcuts ----------===//
//
// Callers hold opaque pointers and may hand over null at any time, so every function checks
// its list before it forwards.
//
//===----------------------------------------------------------------------===//
#include "PPDXShortcutFunctions.h"

#include "PPDXShortcuts.h"

extern "C" {

bool IsShortcutsListEmpty(PPDXShortcuts* shortcuts) {
    return shortcuts ? shortcuts->Empty() : true;
}

uint32_t GetShortcutCount(PPDXShortcuts* shortcuts) {
    return shortcuts ? shortcuts->Count() : 0;
}

PPDXPopupControl* GetPageSizeShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts ? shortcuts->PageSize() : nullptr;
}

PPDXPopupControl* GetInputSlotShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts ? shortcuts->InputSlot() : nullptr;
}

PPDXPopupControl* GetDuplexShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts ? shortcuts->Duplex() : nullptr;
}

PPDXPopupControl* GetOrientationShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts ? shortcuts->Orientation() : nullptr;
}

PPDXPopupControl* GetPigmentorShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts ? shortcuts->Pigmentor() : nullptr;
}

PPDXPopupControl* GetMediaSourceShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts ? shortcuts->MediaSource() : nullptr;
}

PPDXPopupControl* FindShortcut(PPDXShortcuts* shortcuts, const char* keyword, const bool& exact) {
    return shortcuts ? shortcuts->Find(keyword, exact) : nullptr;
}

PPDXPopupControl* FirstShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts ? shortcuts->First() : nullptr;
}

PPDXPopupControl* NextShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts ? shortcuts->Next() : nullptr;
}

} // extern "C"

//===- SharedPPDManager.cpp - Parsed models shared in the process ---------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "SharedPPDManager.h"

#include "PointerList.h"
#include "QRVPPD.h"

#include <CarbonCore/Gestalt.h>

#include <new>

namespace {

const OSType kSelector = kSharedPPDManagerSelector;

// The registered list, or null when the selector is unregistered or holds no list. The
// registry keeps the list's address; only this file's functions register one there.
PointerList* RegisteredList(bool& registered) {
    long value = 0;
    registered = Gestalt(kSelector, &value) == noErr;
    return registered ? reinterpret_cast<PointerList*>(value) : nullptr;
}

long AsValue(PointerList* list) {
    return reinterpret_cast<long>(list);
}

} // namespace

bool InstallSharedPPDManager(QRVPPD* model) {
    if (model == nullptr)
        return false;
    bool registered = false;
    PointerList* list = RegisteredList(registered);
    if (list) {
        if (list->PushBack(model) == PointerListItr())
            return false;
    } else {
        list = new (std::nothrow) PointerList;
        if (list == nullptr)
            return false;
        if (list->PushBack(model) == PointerListItr()) {
            delete list;
            return false;
        }
        OSErr status = registered ? ReplaceGestaltValue(kSelector, AsValue(list))
                                  : NewGestaltValue(kSelector, AsValue(list));
        if (status != noErr) {
            delete list;
            return false;
        }
    }
    model->Retain();
    return true;
}

QRVPPD* GetSharedPPDManager() {
    bool registered = false;
    PointerList* list = RegisteredList(registered);
    if (list == nullptr)
        return nullptr;
    QRVPPD* last = nullptr;
    for (PointerListItr it = list->Begin(); it != list->End(); ++it) {
        QRVPPD* model = static_cast<QRVPPD*>(*it);
        if (model && model->PPDXManagerVersion() == 9) {
            model->Retain();
            last = model;
        }
    }
    return last;
}

void ReleasePPDManager() {
    bool registered = false;
    PointerList* list = RegisteredList(registered);
    if (list == nullptr)
        return;
    for (PointerListItr it = list->Begin(); it != list->End();) {
        QRVPPD* model = static_cast<QRVPPD*>(*it);
        // Release answers true when it destroyed the model: its entry goes with it.
        if (model == nullptr || model->Release())
            it = list->Erase(it);
        else
            ++it;
    }
    if (list->Empty()) {
        DeleteGestaltValue(kSelector);
        delete list;
    }
}

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
#include <vector>

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

bool Listed(PointerList& list, const QRVPPD* model) {
    for (PointerListItr it = list.Begin(); it != list.End(); ++it)
        if (static_cast<const QRVPPD*>(*it) == model)
            return true;
    return false;
}

// Drops the entries of a model that is being destroyed, whoever released it last, so that the
// list never points at a dead model; an emptied list goes as in ReleasePPDManager.
void ForgetModel(const PPDX* dying) {
    bool registered = false;
    PointerList* list = RegisteredList(registered);
    if (list == nullptr)
        return;
    for (PointerListItr it = list->Begin(); it != list->End();) {
        if (static_cast<const PPDX*>(static_cast<QRVPPD*>(*it)) == dying)
            it = list->Erase(it);
        else
            ++it;
    }
    if (list->Empty()) {
        DeleteGestaltValue(kSelector);
        delete list;
    }
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
    PPDX::SetDestroyObserver(ForgetModel);
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
    // Each release may destroy its model, whose entries (and, with the last, the whole list)
    // then go through ForgetModel: so walk a copy, and release an entry only while its model
    // is still listed, that is alive.
    std::vector<QRVPPD*> models;
    for (PointerListItr it = list->Begin(); it != list->End(); ++it)
        models.push_back(static_cast<QRVPPD*>(*it));
    for (QRVPPD* model : models) {
        list = RegisteredList(registered);
        if (model && list && Listed(*list, model))
            model->Release();
    }
    list = RegisteredList(registered);
    if (list && list->Empty()) {
        DeleteGestaltValue(kSelector);
        delete list;
    }
}

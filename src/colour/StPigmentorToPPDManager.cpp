//===- StPigmentorToPPDManager.cpp - Server colour keywords into the model ===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "StPigmentorToPPDManager.h"

#include "ColourText.h"
#include "KeywordContainer.h"
#include "MenuItemsTriplet.h"
#include "PigmentorSession.h"
#include "PointerList.h"
#include "QRVPPD.h"
#include "_PopupItem.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

/// What one server keyword becomes: the control's keyword, name, items and default.
struct ServerPopup {
    char keyword[kColourTextSize];
    char name[kColourTextSize];
    PointerList items;
    CString* defaultKeyword = nullptr;

    ServerPopup() = default;
    ServerPopup(const ServerPopup&) = delete;
    ServerPopup& operator=(const ServerPopup&) = delete;
    /// Deletes what the model did not take over.
    ~ServerPopup() { Discard(); }

    void Discard() {
        for (PointerListItr it = items.Begin(); it != items.End(); ++it)
            delete static_cast<_PopupItem*>(*it);
        items.MakeEmpty();
        delete defaultKeyword;
        defaultKeyword = nullptr;
    }
    /// The model took everything over.
    void Release() {
        items.MakeEmpty();
        defaultKeyword = nullptr;
    }
};

bool Offers(const KeywordContainer* container, const char* keyword) {
    for (auto it = container->FirstSetting(); it != container->EndSetting(); ++it)
        if ((*it)->GetKeyword() && std::strcmp((*it)->GetKeyword(), keyword) == 0)
            return true;
    return false;
}

/// Fills `popup` from `container`; false for a keyword that is empty or too long to take
/// "Bidi", or when memory runs out.
bool Build(const KeywordContainer* container, ServerPopup& popup) {
    const char* keyword = container->GetKeyword();
    const int length = std::snprintf(popup.keyword, sizeof popup.keyword, "%sBidi", keyword);
    if (!keyword[0] || length < 0 || length >= static_cast<int>(sizeof popup.keyword))
        return false;
    if (!ColourText::Get(container->GetLocalizedName(), popup.name, sizeof popup.name))
        ColourText::Copy(popup.name, sizeof popup.name, keyword);

    const char* firstKeyword = nullptr;
    for (auto it = container->FirstSetting(); it != container->EndSetting(); ++it) {
        const char* option = (*it)->GetKeyword();
        if (!option)
            continue;
        if (!firstKeyword)
            firstKeyword = option;
        CFStringRef name = (*it)->GetDisplayName();
        if (name)
            CFRetain(name);
        CString* optionKeyword = new (std::nothrow) CString(option);
        _PopupItem* item =
            optionKeyword ? new (std::nothrow) _PopupItem(optionKeyword, name, nullptr, 0) : nullptr;
        if (!item) {
            delete optionKeyword;
            if (name)
                CFRelease(name);
            return false;
        }
        if (!popup.items.PushBack(item).mNode) {
            delete item;
            return false;
        }
    }
    // A popup needs a selection to write code and to be reconciled later: a default the
    // server does not offer (or none) falls back to its first value.
    const char* chosen = container->GetDefaultItem();
    if (!chosen[0] || !Offers(container, chosen))
        chosen = firstKeyword;
    if (chosen) {
        popup.defaultKeyword = new (std::nothrow) CString(chosen);
        if (!popup.defaultKeyword)
            return false;
    }
    return true;
}

} // namespace

StPigmentorToPPDManager::StPigmentorToPPDManager(PigmentorSession* session, QRVPPD* model,
                                                 const char* group) {
    if (!session || !model || !group)
        return;
    for (auto it = session->KeywordObjectBegin(); it != session->KeywordObjectEnd(); ++it) {
        ServerPopup popup;
        if (!it->second || !Build(it->second, popup))
            continue;
        if (model->PPDCreatePopupMenu(group, popup.keyword, popup.name, popup.items,
                                      popup.defaultKeyword))
            popup.Release();
    }
    StResyncPigmentorToPPDManager resync(session, model);
}

StPigmentorToPPDManager::~StPigmentorToPPDManager() = default;

StResyncPigmentorToPPDManager::StResyncPigmentorToPPDManager(PigmentorSession* session,
                                                             QRVPPD* model) {
    if (!session || !model)
        return;
    for (auto it = session->KeywordObjectBegin(); it != session->KeywordObjectEnd(); ++it) {
        ServerPopup popup;
        if (!it->second || !Build(it->second, popup))
            continue;
        if (model->PPDReconcilePopupMenu(popup.keyword, popup.name, popup.items,
                                         popup.defaultKeyword))
            popup.Release();
    }
}

StResyncPigmentorToPPDManager::~StResyncPigmentorToPPDManager() = default;

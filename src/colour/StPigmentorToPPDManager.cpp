//===- StPigmentorToPPDManager.cpp - Server colour keywords into the model ===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "StPigmentorToPPDManager.h"

#include "ColourText.h"
#include "ExpertColorKeywords.h"
#include "KeywordContainer.h"
#include "MenuItemsTriplet.h"
#include "PigmentorSession.h"
#include "PPDXPopupControl.h"
#include "PPDXControls.h"
#include "PointerList.h"
#include "QRVPPD.h"
#include "_PopupItem.h"

#include <cstring>
#include <new>
#include <memory>
#include <vector>

namespace {

/// What one server keyword becomes: the control's keyword, name, items and default.
struct ServerPopup {
    char keyword[kColourTextSize];
    char name[kColourTextSize];
    /// The container's display name when it reads the same as `name` would (not owned).
    CFStringRef displayName = nullptr;
    PointerList items;
    CString* defaultKeyword = nullptr;

    ServerPopup() = default;
    ServerPopup(const ServerPopup&) = delete;
    ServerPopup& operator=(const ServerPopup&) = delete;
    /// Deletes what the model did not take over.
    ~ServerPopup() { Discard(); }

    /// Deletes what the model did not take over and readies the popup for the next keyword.
    void Discard() {
        for (PointerListItr it = items.Begin(); it != items.End(); ++it)
            delete static_cast<_PopupItem*>(*it);
        items.MakeEmpty();
        delete defaultKeyword;
        defaultKeyword = nullptr;
        displayName = nullptr;
    }
    /// The model took everything over.
    void Release() {
        items.MakeEmpty();
        defaultKeyword = nullptr;
    }
};

bool Offers(const KeywordContainer* container, const char* keyword) {
    for (auto it = container->FirstSetting(); it != container->EndSetting(); ++it)
        if (it->GetKeyword() && std::strcmp(it->GetKeyword(), keyword) == 0)
            return true;
    return false;
}

/// The control's keyword for `container`: its keyword with "Bidi" appended; false when that
/// is empty or too long.
bool BidiKeyword(const KeywordContainer* container, char (&keyword)[kColourTextSize]) {
    static constexpr char kSuffix[] = "Bidi";
    const char* plain = container->GetKeyword();
    const size_t length = std::strlen(plain);
    if (!length || length + sizeof kSuffix > sizeof keyword)
        return false;
    std::memcpy(keyword, plain, length);
    std::memcpy(keyword + length, kSuffix, sizeof kSuffix);
    return true;
}

/// Whether `name` comes back unchanged from the text form the popup's name could also take
/// (the application encoding, cut to the buffer): short enough even at three bytes a unit,
/// no NUL (which would cut it) and no surrogate (an unpaired one stops the conversion). Such
/// a name is handed over as it is instead of being converted there and back.
bool KeepsItsText(CFStringRef name) {
    constexpr CFIndex kMaxUnits = (kColourTextSize - 1) / 3;
    const CFIndex length = name ? CFStringGetLength(name) : 0;
    if (!name || length > kMaxUnits)
        return false;
    if (CFStringGetCStringPtr(name, kCFStringEncodingUTF8))
        return true; // plain ASCII
    UniChar units[kMaxUnits];
    CFStringGetCharacters(name, CFRangeMake(0, length), units);
    for (CFIndex i = 0; i < length; ++i)
        if (units[i] == 0 || (units[i] >= 0xD800 && units[i] <= 0xDFFF))
            return false;
    return true;
}

/// Fills `popup` from `container`; false for a keyword that is empty or too long to take
/// "Bidi", or when memory runs out.
/// `asText`: the name is wanted as text even when the string itself could be handed over.
bool Build(const KeywordContainer* container, ServerPopup& popup, bool asText) {
    if (!BidiKeyword(container, popup.keyword))
        return false;
    const char* keyword = container->GetKeyword();
    if (!asText && KeepsItsText(container->GetLocalizedName()))
        popup.displayName = container->GetLocalizedName();
    else if (!ColourText::Get(container->GetLocalizedName(), popup.name, sizeof popup.name))
        ColourText::Copy(popup.name, sizeof popup.name, keyword);

    const char* firstKeyword = nullptr;
    for (auto it = container->FirstSetting(); it != container->EndSetting(); ++it) {
        const char* option = it->GetKeyword();
        if (!option)
            continue;
        if (!firstKeyword)
            firstKeyword = option;
        CFStringRef name = it->GetDisplayName();
        if (name)
            CFRetain(name);
        _PopupItem* item = new (std::nothrow) _PopupItem(option, name, nullptr, 0);
        if (!item) {
            if (name)
                CFRelease(name);
            return false;
        }
        if (!item->Keyword()) { // no memory for the keyword's copy
            delete item;
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

/// Reconciles the popup of every keyword of the session. `fresh` (may be null) holds, by the
/// keyword's position in the session, the popup the creating pass has just made from that
/// same keyword (null where it made none). Reconciling such a popup would replace its items
/// by equal ones and select the same default again, so it is skipped, provided it is the
/// first popup of its keyword in the model: else the reconcile finds an older one and runs.
/// The keywords of the model's popups that end in "Bidi" (owned by the model).
std::vector<const char*> BidiPopupKeywords(QRVPPD* model) {
    std::vector<const char*> keywords;
    if (PPDXControls* controls = model->GetControls())
        for (PPDXPopupControl* popup = controls->FirstPopupControl(); popup;
             popup = controls->NextPopupControl())
            if (isBidiKeyword(popup->Keyword()))
                keywords.push_back(popup->Keyword());
    return keywords;
}

bool Contains(const std::vector<const char*>& keywords, const char* keyword) {
    for (const char* k : keywords)
        if (std::strcmp(k, keyword) == 0)
            return true;
    return false;
}

/// Rebuilds the popup of every keyword object from the server's data; `fresh`, when given,
/// holds by key position the popups just made that need no second pass.
void Reconcile(PigmentorSession* session, QRVPPD* model, PPDXControl* const* fresh) {
    ServerPopup popup; // one for all keywords: its list is made once
    size_t position = 0;
    for (auto it = session->KeywordObjectBegin(); it != session->KeywordObjectEnd();
         ++it, ++position) {
        if (!it->second)
            continue;
        if (fresh && fresh[position])
            continue;
        popup.Discard();
        if (!Build(it->second, popup, true))
            continue;
        if (model->PPDReconcilePopupMenu(popup.keyword, popup.name, popup.items,
                                         popup.defaultKeyword))
            popup.Release();
    }
}

} // namespace

StPigmentorToPPDManager::StPigmentorToPPDManager(PigmentorSession* session, QRVPPD* model,
                                                 const char* group) {
    if (!session || !model || !group)
        return;
    size_t count = 0;
    for (auto it = session->KeywordObjectBegin(); it != session->KeywordObjectEnd(); ++it)
        ++count;
    // The popups made here by key position; without memory for it everything is reconciled.
    std::unique_ptr<PPDXControl*[]> made(new (std::nothrow) PPDXControl*[count ? count : 1]());
    // A popup made here is complete unless the model had a popup of that keyword before:
    // the reconciling pass finds that older one first and rebuilds it from the server.
    const std::vector<const char*> older = BidiPopupKeywords(model);
    size_t position = 0;
    ServerPopup popup; // one for all keywords: its list is made once
    for (auto it = session->KeywordObjectBegin(); it != session->KeywordObjectEnd();
         ++it, ++position) {
        popup.Discard();
        if (!it->second || !Build(it->second, popup, false))
            continue;
        PPDXControl* control =
            popup.displayName
                ? model->PPDCreatePopupMenuNamed(group, popup.keyword, popup.displayName,
                                                 popup.items, popup.defaultKeyword)
                : model->PPDCreatePopupMenu(group, popup.keyword, popup.name, popup.items,
                                            popup.defaultKeyword);
        if (!control)
            continue;
        popup.Release();
        if (made && !Contains(older, popup.keyword))
            made[position] = control;
    }
    Reconcile(session, model, made.get());
}

StPigmentorToPPDManager::~StPigmentorToPPDManager() = default;

StResyncPigmentorToPPDManager::StResyncPigmentorToPPDManager(PigmentorSession* session,
                                                             QRVPPD* model) {
    if (session && model)
        Reconcile(session, model, nullptr);
}

StResyncPigmentorToPPDManager::~StResyncPigmentorToPPDManager() = default;

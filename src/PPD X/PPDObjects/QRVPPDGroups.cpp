//===- QRVPPDGroups.cpp - Pages, group names, parents and groups ----------===//
//
// The hierarchy is declared bottom-up by name and top-down by placement: a page by
// "*%QRVPropPage", each group's name by "*%QRVGroupName", then "*%QRVParent" lines that make a
// scroll pane under a page and roll-downs under a scroll pane, then per control a "*%QRVGroup"
// line that puts the control into a roll-down.
//
//===----------------------------------------------------------------------===//
#include "QRVPPD.h"

#include "GroupName.h"
#include "PPDXControl.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "PPDXGroups.h"
#include "PPDXProperties.h"
#include "PPDXProperty.h"
#include "PPDXRollDown.h"
#include "PPDXScrollPane.h"

#include <cstring>
#include <new>

namespace {

bool is(const char* word, const char* text) { return std::strcmp(word, text) == 0; }

} // namespace

PPDXErrorObj* QRVPPD::ParsePropertyPage(PPDStream& line) {
    char keyword[PPDStream::kLineBufferSize];
    if (!NextToken(line, keyword, kOptionDelimiters, true) || keyword[0] == '\0')
        return new (std::nothrow) PPDXErrorObj(4, false);
    if (mProperties->Find(keyword, true))
        return new (std::nothrow) PPDXErrorObj(23, CString(keyword), false);
    char text[PPDStream::kLineBufferSize];
    if (!NextToken(line, text, kColonDelimiters, false))
        return nullptr;
    CFStringRef translation = CreateTranslation(text);

    // Pages start hidden and shown both in the print properties and in the application.
    bool visible = false, showInPrintProp = true, showInApp = true;
    char flag[PPDStream::kLineBufferSize];
    while (NextToken(line, flag, kFlagDelimiters, true)) {
        if (is(flag, "True"))
            visible = true;
        else if (is(flag, "Prop"))
            showInApp = false;
        else if (is(flag, "App"))
            showInPrintProp = false;
    }
    if (visible || ParseHidden()) {
        if (PPDXProperty* page = new (std::nothrow)
                PPDXProperty(keyword, translation, visible, showInPrintProp, showInApp))
            mProperties->Add(page);
    }
    CFRelease(translation);
    return nullptr;
}

PPDXErrorObj* QRVPPD::ParseGroupName(PPDStream& line) {
    char keyword[PPDStream::kLineBufferSize];
    if (!NextToken(line, keyword, kOptionDelimiters, true) || keyword[0] == '\0')
        return new (std::nothrow) PPDXErrorObj(12, false);
    if (mGroups->Find(keyword, true))
        return new (std::nothrow) PPDXErrorObj(23, CString(keyword), false);
    char text[PPDStream::kLineBufferSize];
    if (!NextToken(line, text, kColonDelimiters, false))
        return nullptr;
    CFStringRef translation = CreateTranslation(text);
    bool visible = false;
    char flag[PPDStream::kLineBufferSize];
    while (NextToken(line, flag, kFlagDelimiters, true))
        if (is(flag, "True"))
            visible = true;
    if (visible || ParseHidden())
        AddGroupNameToList(keyword, translation, visible);
    CFRelease(translation);
    return nullptr;
}

PPDXErrorObj* QRVPPD::ParseParent(PPDStream& line) {
    char child[PPDStream::kLineBufferSize];
    if (!NextToken(line, child, kOptionDelimiters, true) || child[0] == '\0')
        return new (std::nothrow) PPDXErrorObj(15, false);
    char parent[PPDStream::kLineBufferSize];
    if (!NextToken(line, parent, kOptionDelimiters, true) || parent[0] == '\0')
        return new (std::nothrow) PPDXErrorObj(15, CString(child), false);

    enum { kNoKind, kScrollPane, kRollDown } kind = kNoKind;
    bool visible = false;
    char flag[PPDStream::kLineBufferSize];
    while (NextToken(line, flag, kFlagDelimiters, true)) {
        if (is(flag, "True"))
            visible = true;
        else if (is(flag, "Scrollpane"))
            kind = kScrollPane;
        else if (is(flag, "Rolldown"))
            kind = kRollDown;
    }
    if (!visible && !ParseHidden())
        return nullptr;
    GroupName* declared = FindGroupNameFromList(child);
    if (!declared)
        return nullptr;

    if (kind == kScrollPane) {
        PPDXProperty* page = mProperties->Find(parent, true);
        if (!page)
            return new (std::nothrow) PPDXErrorObj(14, CString(parent), false);
        PPDXScrollPane* pane = new (std::nothrow)
            PPDXScrollPane(declared->Keyword(), declared->Translation(), visible);
        if (!pane)
            return nullptr;
        pane->SetParent(page);
        page->SetScrollDown(pane);
        mGroups->Add(pane);
    } else if (kind == kRollDown) {
        PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(mGroups->Find(parent, true));
        if (!pane)
            return new (std::nothrow) PPDXErrorObj(14, CString(parent), false);
        PPDXRollDown* rollDown = new (std::nothrow)
            PPDXRollDown(declared->Keyword(), declared->Translation(), visible);
        if (!rollDown)
            return nullptr;
        rollDown->SetParent(pane);
        if (pane->RollDowns())
            pane->RollDowns()->Add(rollDown);
        mGroups->Add(rollDown);
    }
    return nullptr;
}

PPDXErrorObj* QRVPPD::ParseGroup(PPDStream& line, const char* controlKeyword, PointerList& flags) {
    char keyword[PPDStream::kLineBufferSize];
    if (!NextToken(line, keyword, kKeywordDelimiters, true) || keyword[0] == '\0')
        return new (std::nothrow) PPDXErrorObj(5, CString(""), false);
    if (!is(keyword, controlKeyword))
        return nullptr;
    char groupKeyword[PPDStream::kLineBufferSize];
    if (!NextToken(line, groupKeyword, kOptionDelimiters, true) || groupKeyword[0] == '\0')
        return nullptr;
    PPDXGroup* group = mGroups->Find(groupKeyword, true);
    if (!group)
        group = FindAndCreateParent(groupKeyword);
    char ignored[PPDStream::kLineBufferSize];
    NextToken(line, ignored, nullptr, false);

    char next[PPDStream::kLineBufferSize];
    if (!ReadBlockLine(next))
        return nullptr;
    PPDStream block(next, static_cast<long>(std::strlen(next)));
    char blockKeyword[PPDStream::kLineBufferSize];
    if (!NextToken(block, blockKeyword, kKeywordDelimiters, true) || blockKeyword[0] == '\0')
        return nullptr;
    if (is(blockKeyword, "*%QRVRange") || is(blockKeyword, "*%QRVUnitRange"))
        return ParseRange(block, controlKeyword, flags, group);
    if (is(blockKeyword, "*OpenUI") || is(blockKeyword, "*QVOpenUI") ||
        is(blockKeyword, "*OpenUIQRV") || is(blockKeyword, "*BeginUI"))
        return ParseOpenUI(block, controlKeyword, flags, group);
    if (is(blockKeyword, "*%QRVJobNote"))
        return ParseJobNote(block, controlKeyword, flags, dynamic_cast<PPDXRollDown*>(group));
    return new (std::nothrow) PPDXErrorObj(5, CString(controlKeyword), false);
}

void QRVPPD::AddGroupNameToList(const char* keyword, CFStringRef translation, bool visible) {
    if (!keyword || !mGroups || mGroups->Find(keyword, true) ||
        (mProperties && mProperties->Find(keyword, true)))
        return;
    if (GroupName* name = new (std::nothrow) GroupName(keyword, translation, visible))
        mGroupNames.PushBack(name);
}

GroupName* QRVPPD::FindGroupNameFromList(const char* keyword) {
    if (!keyword)
        return nullptr;
    for (PointerListItr it = mGroupNames.Begin(); it != mGroupNames.End(); ++it) {
        GroupName* name = static_cast<GroupName*>(*it);
        if (name->Keyword() && is(name->Keyword(), keyword))
            return name;
    }
    return nullptr;
}

void QRVPPD::ClearGroupNameList() {
    for (PointerListItr it = mGroupNames.Begin(); it != mGroupNames.End(); ++it)
        delete static_cast<GroupName*>(*it);
    mGroupNames.MakeEmpty();
}

PPDXGroup* QRVPPD::FindAndCreateParent(const char* groupKeyword) {
    if (!mGroups)
        return nullptr;
    GroupName* declared = FindGroupNameFromList(groupKeyword);
    if (!declared)
        return nullptr;
    if (PPDXGroup* existing = mGroups->Find(groupKeyword, true))
        return existing;
    PPDXGroup* group = new (std::nothrow)
        PPDXGroup(declared->Keyword(), declared->Translation(), declared->IsVisible());
    if (group)
        mGroups->Add(group);
    return group;
}

void QRVPPD::CollectOrphanGroups() {
    if (!ParseOrphans() || !mGroups)
        return;
    for (PointerListItr it = mGroupNames.Begin(); it != mGroupNames.End(); ++it) {
        GroupName* declared = static_cast<GroupName*>(*it);
        if (!declared->Keyword() || mGroups->Find(declared->Keyword(), true))
            continue;
        if (PPDXGroup* group = new (std::nothrow)
                PPDXGroup(declared->Keyword(), declared->Translation(), declared->IsVisible()))
            mGroups->Add(group);
    }
}

void QRVPPD::ResolveHeirarchy() {
    // A restored element knows its parent only by keyword until this runs; an element whose
    // parent is not found stays an orphan.
    if (mGroups && mProperties) {
        for (PPDXGroup* group = mGroups->First(); group; group = mGroups->Next()) {
            if (!group->ParentKeyword())
                continue;
            CString parentKeyword(group->ParentKeyword());
            group->ClearParentKeyword();
            group->SetParent(nullptr);
            if (PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(group)) {
                if (PPDXProperty* page = mProperties->Find(parentKeyword, true)) {
                    pane->SetParent(page);
                    page->SetScrollDown(pane);
                }
            } else if (PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(group)) {
                PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(mGroups->Find(parentKeyword, true));
                if (pane) {
                    rollDown->SetParent(pane);
                    if (pane->RollDowns())
                        pane->RollDowns()->Add(rollDown);
                }
            }
        }
    }
    if (mControls && mGroups) {
        CNTL_TYPE type;
        for (PPDXControl* control = mControls->First(type); control; control = mControls->Next(type)) {
            if (!control->ParentKeyword())
                continue;
            CString parentKeyword(control->ParentKeyword());
            control->ClearParentKeyword();
            control->SetParent(nullptr);
            PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(mGroups->Find(parentKeyword, true));
            if (rollDown && rollDown->Controls()) {
                control->SetParent(rollDown);
                rollDown->Controls()->Add(control);
            }
        }
    }
}

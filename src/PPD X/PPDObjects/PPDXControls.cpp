//===- PPDXControls.cpp - The model's list of controls --------------------===//
#include "PPDXControls.h"

#include "PPDXArchiveItems.h"
#include "PPDXBooleanControl.h"
#include "PPDXDisplayOptions.h"
#include "PPDXFloatRangeControl.h"
#include "PPDXJobNote.h"
#include "PPDXPopupControl.h"
#include "PPDXRangeControl.h"
#include "PPDXSpecialOption.h"

#include <CarbonCore/Collections.h>

#include <cstring>
#include <new>

namespace {

using ControlList = std::vector<PPDXControl*>;

PPDXControl* controlAt(const ControlList& list, size_t cursor) {
    return cursor < list.size() ? list[cursor] : nullptr;
}

bool atEnd(const ControlList& list, size_t cursor) {
    return cursor >= list.size();
}

/// The cursor at the first control, or past the end of an empty list.
size_t firstCursor(const ControlList& list) {
    return list.empty() ? PPDXControls::kEnd : 0;
}

/// The cursor after `cursor`: past the end stays there, even when controls are added later.
size_t nextCursor(const ControlList& list, size_t cursor) {
    return cursor + 1 < list.size() ? cursor + 1 : PPDXControls::kEnd;
}

/// Whether `marker` is saved under `id`; `skip` is set when the probe itself failed, which
/// makes the object unreadable.
bool marked(Settings& settings, unsigned long marker, long id, bool& skip) {
    short error = 0;
    if (PPDXArchive::Has(settings, marker, id, &error))
        return true;
    skip = skip || error != collectionItemNotFoundErr;
    return false;
}

/// The control saved under `id`, of the kind its first marker names; null for none.
PPDXControl* loadControl(Settings& settings, long id, CString* languageEncoding) {
    using namespace PPDXArchive;
    bool skip = false;
    if (marked(settings, kBooleanMarker, id, skip))
        return new (std::nothrow) PPDXBooleanControl(settings, id);
    if (!skip && marked(settings, kJobNoteMarker, id, skip))
        return new (std::nothrow) PPDXJobNote(settings, id, languageEncoding);
    if (!skip && marked(settings, kPopupMarker, id, skip))
        return new (std::nothrow) PPDXPopupControl(settings, id);
    if (!skip && marked(settings, kRangeMarker, id, skip)) {
        if (marked(settings, kFloatRangeMarker, id, skip))
            return new (std::nothrow) PPDXFloatRangeControl(settings, id);
        return skip ? nullptr : new (std::nothrow) PPDXRangeControl(settings, id);
    }
    if (!skip && marked(settings, kSpecialOptionMarker, id, skip))
        return new (std::nothrow) PPDXSpecialOption(settings, id);
    return nullptr;
}

} // namespace

PPDXControls::PPDXControls(Settings& settings) {
    using namespace PPDXArchive;
    int32_t count = 0;
    GetNumber(settings, kControlsTag, kControlCountId, count);
    long controls = PlausibleCount(settings, count);
    // Job notes keep the PPD's encoding name beside their texts.
    CString* encoding = GetText(settings, kHeaderTag, kLanguageEncodingId);
    for (long n = 0; n < controls; ++n) {
        PPDXControl* control = loadControl(settings, kFirstControlId + n, encoding);
        if (!control)
            continue;
        const size_t before = mAll.size();
        Add(control);
        // Not listed means not owned by anyone.
        if (mAll.size() == before)
            delete control;
    }
    delete encoding;
}

PPDXControls::~PPDXControls() = default;

short PPDXControls::Save(Settings& settings) {
    using namespace PPDXArchive;
    short error =
        PutNumber(settings, kControlsTag, kControlCountId, static_cast<int32_t>(mAll.size()));
    long id = kFirstControlId;
    for (size_t n = 0; !error && n < mAll.size(); ++n, ++id)
        if (PPDXControl* control = mAll[n])
            error = control->Save(settings, id);
    return error;
}

short PPDXControls::Restore(Settings& settings) {
    short error = 0;
    long id = PPDXArchive::kFirstControlId;
    for (size_t n = 0; !error && n < mAll.size(); ++n, ++id)
        if (PPDXControl* control = mAll[n])
            error = control->Restore(settings, id);
    return error;
}

void PPDXControls::Add(PPDXControl* control) {
    if (!control)
        return;
    mAll.push_back(control);
    KindList* kind = nullptr;
    // The kind decides, and the class must agree: a floating-point range is of the range
    // kind without being a PPDXRangeControl, and belongs to no kind list.
    switch (control->Type()) {
    case kJobNoteType:
        kind = dynamic_cast<PPDXJobNote*>(control) ? &mJobNotes : nullptr;
        break;
    case kBooleanType:
        kind = dynamic_cast<PPDXBooleanControl*>(control) ? &mBooleans : nullptr;
        break;
    case kPopupType:
        kind = dynamic_cast<PPDXPopupControl*>(control) ? &mPopups : nullptr;
        break;
    case kRangeType:
        kind = dynamic_cast<PPDXRangeControl*>(control) ? &mRanges : nullptr;
        break;
    case kSpecialOptionType:
        kind = dynamic_cast<PPDXSpecialOption*>(control) ? &mSpecialOptions : nullptr;
        break;
    default:
        break;
    }
    if (kind) {
        kind->list.push_back(control);
        Increment(control, kind->counts);
    }
}

void PPDXControls::Increment(PPDXControl* control, CountArray& counts) {
    if (!control)
        return;
    bool orphan = control->IsOrphan();
    bool hidden = !control->IsVisible();
    ++counts.total;
    counts.orphans += orphan;
    counts.hidden += hidden;
    counts.hiddenOrphans += orphan && hidden;
}

uint32_t PPDXControls::Count(const CountArray& counts) {
    switch (PPDXDisplay::Get()) {
    case 0:
        // Hidden orphans were taken away twice.
        return counts.total + counts.hiddenOrphans - counts.orphans - counts.hidden;
    case kShowOrphans:
        return counts.total - counts.hidden;
    case kShowHidden:
        return counts.total - counts.orphans;
    case kShowAll:
        return counts.total;
    default:
        return 0;
    }
}

uint32_t PPDXControls::JobNoteCount() const {
    ScopedDisplayOptions orphansShown(kShowOrphans);
    return Count(mJobNotes.counts);
}

uint32_t PPDXControls::SpecialOptionsCount() const {
    ScopedDisplayOptions everything(kShowAll);
    return Count(mSpecialOptions.counts);
}

uint32_t PPDXControls::ControlCount() const {
    return PopupCount() + BooleanCount() + RangeCount() + JobNoteCount();
}

bool PPDXControls::Empty() const {
    return NoPopups() && NoBooleanControls() && NoRangeControls() && NoJobNotes();
}

PPDXControl* PPDXControls::ShownFrom(CNTL_TYPE& type) {
    _DISPLAY_OPTIONS_ options = PPDXDisplay::Get();
    for (; !atEnd(mAll, mAllCursor); mAllCursor = nextCursor(mAll, mAllCursor)) {
        PPDXControl* control = controlAt(mAll, mAllCursor);
        if (control && control->OkayToDisplay(options)) {
            type = control->Type();
            return control;
        }
    }
    type = kNoControlType;
    return nullptr;
}

PPDXControl* PPDXControls::First(CNTL_TYPE& type) {
    mAllCursor = firstCursor(mAll);
    return ShownFrom(type);
}

PPDXControl* PPDXControls::Next(CNTL_TYPE& type) {
    if (!atEnd(mAll, mAllCursor))
        mAllCursor = nextCursor(mAll, mAllCursor);
    return ShownFrom(type);
}

PPDXControl* PPDXControls::FirstOf(KindList& kind) {
    kind.cursor = firstCursor(kind.list);
    return controlAt(kind.list, kind.cursor);
}

PPDXControl* PPDXControls::NextOf(KindList& kind) {
    if (atEnd(kind.list, kind.cursor))
        return nullptr;
    kind.cursor = nextCursor(kind.list, kind.cursor);
    return controlAt(kind.list, kind.cursor);
}

PPDXPopupControl* PPDXControls::FirstPopupControl() {
    return static_cast<PPDXPopupControl*>(FirstOf(mPopups));
}

PPDXPopupControl* PPDXControls::NextPopupControl() {
    return static_cast<PPDXPopupControl*>(NextOf(mPopups));
}

PPDXBooleanControl* PPDXControls::FirstBooleanControl() {
    return static_cast<PPDXBooleanControl*>(FirstOf(mBooleans));
}

PPDXBooleanControl* PPDXControls::NextBooleanControl() {
    return static_cast<PPDXBooleanControl*>(NextOf(mBooleans));
}

PPDXRangeControl* PPDXControls::FirstRangeControl() {
    return static_cast<PPDXRangeControl*>(FirstOf(mRanges));
}

PPDXRangeControl* PPDXControls::NextRangeControl() {
    return static_cast<PPDXRangeControl*>(NextOf(mRanges));
}

PPDXJobNote* PPDXControls::FirstJobNote() {
    return static_cast<PPDXJobNote*>(FirstOf(mJobNotes));
}

PPDXJobNote* PPDXControls::NextJobNote() {
    return static_cast<PPDXJobNote*>(NextOf(mJobNotes));
}

PPDXSpecialOption* PPDXControls::FirstSpecialOption() {
    return static_cast<PPDXSpecialOption*>(FirstOf(mSpecialOptions));
}

PPDXSpecialOption* PPDXControls::NextSpecialOption() {
    return static_cast<PPDXSpecialOption*>(NextOf(mSpecialOptions));
}

bool PPDXControls::Matches(const PPDXControl* control, const char* keyword, bool exact) {
    const char* mine = control->Keyword();
    if (!mine)
        return false;
    return exact ? std::strcmp(mine, keyword) == 0 : std::strstr(mine, keyword) != nullptr;
}

PPDXControl* PPDXControls::Find(const char* keyword, CNTL_TYPE& type, const bool& exact) {
    type = kNoControlType;
    if (!keyword)
        return nullptr;
    for (PPDXControl* control = First(type); control; control = Next(type))
        if (Matches(control, keyword, exact))
            return control;
    return nullptr;
}

PPDXControl* PPDXControls::FindIn(KindList& kind, const char* keyword, bool exact) {
    if (!keyword)
        return nullptr;
    for (PPDXControl* control = FirstOf(kind); control; control = NextOf(kind))
        if (Matches(control, keyword, exact))
            return control;
    return nullptr;
}

PPDXPopupControl* PPDXControls::FindPopup(const char* keyword, const bool& exact) {
    return static_cast<PPDXPopupControl*>(FindIn(mPopups, keyword, exact));
}

PPDXBooleanControl* PPDXControls::FindBoolean(const char* keyword, const bool& exact) {
    return static_cast<PPDXBooleanControl*>(FindIn(mBooleans, keyword, exact));
}

PPDXRangeControl* PPDXControls::FindRangeControl(const char* keyword, const bool& exact) {
    return static_cast<PPDXRangeControl*>(FindIn(mRanges, keyword, exact));
}

PPDXJobNote* PPDXControls::FindJobNote(const char* keyword, const bool& exact) {
    return static_cast<PPDXJobNote*>(FindIn(mJobNotes, keyword, exact));
}

PPDXSpecialOption* PPDXControls::FindSpecialOption(const char* keyword, const bool& exact) {
    return static_cast<PPDXSpecialOption*>(FindIn(mSpecialOptions, keyword, exact));
}

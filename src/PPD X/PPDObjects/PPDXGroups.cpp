//===- PPDXGroups.cpp - A container of groups -----------------------------===//
#include "PPDXGroups.h"

#include "PPDXArchiveItems.h"
#include "PPDXDisplayOptions.h"
#include "PPDXGroup.h"
#include "PPDXKeywordMatch.h"
#include "PPDXRollDown.h"
#include "PPDXScrollPane.h"

#include <CarbonCore/Collections.h>
#include <CarbonCore/MacErrors.h>

#include <new>

namespace {

/// The group saved under `id`, of the kind its marker names; null for none, or when probing
/// the archive failed otherwise than by a missing item.
PPDXGroup* loadGroup(Settings& settings, long id) {
    using namespace PPDXArchive;
    short error = 0;
    if (Has(settings, kGroupMarker, id, &error))
        return new (std::nothrow) PPDXGroup(settings, id);
    if (error == collectionItemNotFoundErr && Has(settings, kRollDownMarker, id, &error))
        return new (std::nothrow) PPDXRollDown(settings, id);
    if (error == collectionItemNotFoundErr && Has(settings, kScrollPaneMarker, id, &error))
        return new (std::nothrow) PPDXScrollPane(settings, id);
    return nullptr;
}

} // namespace

PPDXGroups::PPDXGroups(Settings& settings) {
    using namespace PPDXArchive;
    int32_t count = 0;
    GetNumber(settings, kGroupsTag, kGroupCountId, count);
    long groups = PlausibleCount(settings, count);
    if (groups > kMaxAllGroups)
        groups = kMaxAllGroups;
    for (long n = 0; n < groups; ++n) {
        PPDXGroup* group = loadGroup(settings, GroupId(n));
        if (!group)
            continue;
        uint32_t before = mList.Size();
        Add(group);
        if (mList.Size() == before)
            delete group;
    }
}

short PPDXGroups::Save(Settings& settings) {
    using namespace PPDXArchive;
    if (mList.Size() > static_cast<uint32_t>(kMaxAllGroups))
        return paramErr;
    short error =
        PutNumber(settings, kGroupsTag, kGroupCountId, static_cast<int32_t>(mList.Size()));
    long n = 0;
    for (PointerListItr it = mList.Begin(); !error && it != mList.End(); ++it, ++n)
        if (PPDXGroup* group = static_cast<PPDXGroup*>(*it))
            error = group->Save(settings, GroupId(n));
    return error;
}

// The list's nodes go; the groups stay with the model.
PPDXGroups::~PPDXGroups() = default;

void PPDXGroups::Add(PPDXGroup* group) {
    if (!group)
        return;
    // A node that could not be allocated leaves the group out; keep the counters true to the list.
    if (!mList.PushBack(group).mNode)
        return;
    const bool orphan = group->IsOrphan();
    const bool hidden = !group->IsVisible();
    ++mTotal;
    mOrphans += orphan;
    mHidden += hidden;
    mHiddenOrphans += orphan && hidden;
}

PPDXGroup* PPDXGroups::First() {
    mCursor = mList.Begin();
    return SkipHidden();
}

PPDXGroup* PPDXGroups::Next() {
    // Without a First() the cursor holds no node; past the end it rests on the tail sentinel.
    if (!mCursor.mNode || mCursor == mList.End())
        return nullptr;
    ++mCursor;
    return SkipHidden();
}

PPDXGroup* PPDXGroups::SkipHidden() {
    const _DISPLAY_OPTIONS_ options = PPDXDisplay::Get();
    for (; mCursor.mNode && mCursor != mList.End(); ++mCursor) {
        PPDXGroup* group = static_cast<PPDXGroup*>(*mCursor);
        if (group && group->OkayToDisplay(options))
            return group;
    }
    return nullptr;
}

PPDXGroup* PPDXGroups::Find(const char* keyword, const bool& exact) const {
    if (!keyword)
        return nullptr;
    for (ConstPointerListItr it = mList.Begin(); it != mList.End(); ++it) {
        PPDXGroup* group = static_cast<PPDXGroup*>(const_cast<void*>(*it));
        if (group && PPDXKeywordMatches(*group, keyword, exact))
            return group;
    }
    return nullptr;
}

uint32_t PPDXGroups::Count() const {
    // The counters mirror OkayToDisplay: any value beyond the two bits shows every group.
    switch (PPDXDisplay::Get()) {
    case 0:
        return mTotal - mOrphans - mHidden + mHiddenOrphans;
    case kShowOrphans:
        return mTotal - mHidden;
    case kShowHidden:
        return mTotal - mOrphans;
    default:
        return mTotal;
    }
}

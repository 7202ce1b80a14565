//===- PPDXGroups.cpp - A container of groups -----------------------------===//
#include "PPDXGroups.h"

#include "PPDXDisplayOptions.h"
#include "PPDXGroup.h"
#include "PPDXKeywordMatch.h"

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

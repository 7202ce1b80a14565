//===- DeviceLinkHelper.cpp - The device link for a pair of values --------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "DeviceLinkHelper.h"

#include "BrivelleText.h"
#include "ColrSession.h"
#include "KeywordContainer.h"
#include "MenuItemsTriplet.h"
#include "PigmentorSession.h"

#include <cstring>

namespace {

bool Same(const char* a, const char* b) {
    return a && b && std::strcmp(a, b) == 0;
}

/// Maps the value text of every setting of `container` whose keyword is `value` into `id`;
/// a later match overwrites an earlier one.
void MapSide(ColrSession* profiles, const KeywordContainer* container, const char* value,
             char* id) {
    for (auto it = container->FirstSetting(); it != container->EndSetting(); ++it) {
        const MenuItemsTriplet* setting = &*it;
        if (Same(setting->GetKeyword(), value) && setting->GetValue())
            profiles->DescriptionToProfileID(setting->GetValue(), id);
    }
}

} // namespace

DeviceLinkHelper::DeviceLinkHelper(PigmentorSession* defaults, ColrSession* profiles)
    : mDefaults(defaults), mProfiles(profiles) {}

DeviceLinkHelper::~DeviceLinkHelper() = default;

bool DeviceLinkHelper::FindDeviceLink(const char* sourceKeyword, const char* sourceValue,
                                      const char* destinationKeyword, const char* destinationValue,
                                      char* linkName, CFStringRef* displayName) {
    if (!mDefaults || !mProfiles)
        return false;
    char sourceId[kBrivelleTextBufferSize] = "";
    char destinationId[kBrivelleTextBufferSize] = "";
    for (auto it = mDefaults->KeywordObjectBegin(); it != mDefaults->KeywordObjectEnd(); ++it) {
        const KeywordContainer* container = it->second;
        if (Same(container->GetKeyword(), sourceKeyword))
            MapSide(mProfiles, container, sourceValue, sourceId);
        if (Same(container->GetKeyword(), destinationKeyword))
            MapSide(mProfiles, container, destinationValue, destinationId);
    }
    if (sourceId[0] == '\0' || destinationId[0] == '\0')
        return false;
    return mProfiles->GetDeviceLinkNameByProfileID(sourceId, destinationId, linkName, displayName);
}

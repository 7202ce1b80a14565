//===- DeviceLinkHelper.h - The device link for a pair of values -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_DEVICELINKHELPER_H
#define PIGMENTOR_BRIVELLE_DEVICELINKHELPER_H

#include <CoreFoundation/CoreFoundation.h>

class ColrSession;
class PigmentorSession;

/// Finds the device link between the profiles that two colour keyword values stand for: the
/// values are looked up in the colour defaults read by the colour-defaults session, their
/// value texts mapped to profile ids by the colour-profile session (which must be open), and
/// the server asked for a link between the two ids.
///
/// Ownership: neither session is owned; both outlive the helper. Outputs as
/// ColrSession::GetDeviceLinkNameByProfileID (256-byte link-name buffer, new display name).
class DeviceLinkHelper {
public:
    DeviceLinkHelper(PigmentorSession* defaults, ColrSession* profiles);
    virtual ~DeviceLinkHelper();
    DeviceLinkHelper(const DeviceLinkHelper&) = delete;
    DeviceLinkHelper& operator=(const DeviceLinkHelper&) = delete;

    /// True with the link's name and display name when both values map to profiles and the
    /// server holds a link between them; false otherwise (also for an absent keyword).
    bool FindDeviceLink(const char* sourceKeyword, const char* sourceValue,
                        const char* destinationKeyword, const char* destinationValue,
                        char* linkName, CFStringRef* displayName);

private:
    PigmentorSession* mDefaults;
    ColrSession* mProfiles;
};

#endif // PIGMENTOR_BRIVELLE_DEVICELINKHELPER_H

//===- ColrSession.h - A device's colour profiles and device links -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_COLRSESSION_H
#define PIGMENTOR_BRIVELLE_COLRSESSION_H

#include "PigmentorSession.h"

#include <CoreFoundation/CoreFoundation.h>

/// The colour-profile session of one printer device of the server: it maps profile
/// descriptions to profile ids and asks whether the server holds a device link between two
/// profiles. It opens on a device name of its own, which only its open calls set; the
/// inherited keyword map stays empty.
///
/// Ownership: owned by the connection, which creates it on first request. It owns its copy of
/// the device name; the destructor closes an open session. Profile ids and link names are
/// copied into caller buffers of kBrivelleTextBufferSize (256) bytes, cut to 255; display
/// names are new strings (the caller releases them).
class ColrSession : public PigmentorSession {
public:
    /// No device name of its own, whatever name is given.
    ColrSession(Brivelle* owner, const char* deviceName);
    ~ColrSession() override;

    /// OpenSession(null).
    long OpenSession() override;
    /// OpenSessionAsync(null).
    AsyncTicket* OpenSessionAsync() override;
    /// Closes an open session with `COLR_closeSession`; its status, else 0.
    long CloseSession() override;
    /// A pending open completes: the session counts as open.
    void AsyncCompletion(AsyncTicket* ticket) override;
    /// Opens the colour session of `deviceName` (null: the stored name) in the connection's
    /// current locale and waits; the status (sign-extended), 0 marking the session open.
    long OpenSession(const char* deviceName) override;
    /// Starts that open on the inline ticket (poll with IsDone); a fresh ticket the SDK does
    /// not use (the caller deletes it), or null.
    AsyncTicket* OpenSessionAsync(const char* deviceName) override;

    /// The id of the profile `description` names, into `profileId`: true with the id, true
    /// with "" when no profile has that description, false with "" when the query failed.
    bool DescriptionToProfileID(const char* description, char* profileId);
    /// The device link from profile `sourceId` to `destinationId`: its name into `linkName`
    /// and its localised name into `displayName` (may be null; may receive null); false when
    /// there is none or the query failed (the outputs are then empty and null).
    bool GetDeviceLinkNameByProfileID(const char* sourceId, const char* destinationId,
                                      char* linkName, CFStringRef* displayName);
    /// Maps both descriptions to ids, then as GetDeviceLinkNameByProfileID; false when a
    /// mapping failed.
    bool GetDeviceLinkNameByKeywords(const char* sourceDescription,
                                     const char* destinationDescription, char* linkName,
                                     CFStringRef* displayName);
    /// The device this session opens on, or null.
    const char* GetColrDeviceName() const { return mColrDeviceName; }

private:
    /// The locale of the connection's localisation object ("" without one).
    const char* CurrentLocale() const;

    char* mColrDeviceName;
    KeywordMap mColrKeywords;
};

#endif // PIGMENTOR_BRIVELLE_COLRSESSION_H

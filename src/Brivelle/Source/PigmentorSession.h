//===- PigmentorSession.h - A device's colour defaults ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_PIGMENTORSESSION_H
#define PIGMENTOR_BRIVELLE_PIGMENTORSESSION_H

#include "SessionBasedClass.h"

#include <map>
#include <string>

class KeywordContainer;

/// The colour-defaults session of one printer device of the server: every colour keyword
/// with its localised name, default value and possible values, gathered into a map of
/// `KeywordContainer`s in byte-wise key order.
///
/// Ownership: owned by the connection, which creates it on first request. It owns its copy of
/// the device name and every container of the map; containers handed out live until a later
/// read replaces their key or the session goes. The destructor closes an open session. The
/// map accumulates over reads. Names and keys are the server's UTF-8 bytes.
///
/// Virtual slots: those of SessionBasedClass, then OpenSession(const char*) and
/// OpenSessionAsync(const char*).
class PigmentorSession : public SessionBasedClass {
public:
    using KeywordMap = std::map<std::string, KeywordContainer*>;

    /// Copies `deviceName` when given.
    PigmentorSession(Brivelle* owner, const char* deviceName);
    ~PigmentorSession() override;

    /// OpenSession(null).
    long OpenSession() override;
    /// OpenSessionAsync(null).
    AsyncTicket* OpenSessionAsync() override;
    /// Closes an open session with `CLDF_closeSession`; its status, else 0.
    long CloseSession() override;
    /// A pending open completes: the session counts as open.
    void AsyncCompletion(AsyncTicket* ticket) override;
    /// Opens the colour defaults of `deviceName` (null: the stored name) and waits; the
    /// status, 0 marking the session open.
    virtual long OpenSession(const char* deviceName);
    /// Starts that open on the inline ticket (poll with IsDone); a fresh ticket the SDK does
    /// not use (the caller deletes it), or null.
    virtual AsyncTicket* OpenSessionAsync(const char* deviceName);

    /// Reads every colour keyword of the open session into the map; 0 at the normal end,
    /// else the status that ended the read.
    long GetColorSettings();
    /// The container of `keyword`, or null.
    KeywordContainer* GetKeywordObject(const char* keyword) const;
    KeywordMap::const_iterator KeywordObjectBegin() const { return mKeywords.begin(); }
    KeywordMap::const_iterator KeywordObjectEnd() const { return mKeywords.end(); }
    /// The device the session opens on, or null.
    const char* GetDeviceName() const { return mDeviceName; }

protected:
    /// Replaces `name` with a copy of `fresh` when `fresh` is given.
    static void ReplaceName(char*& name, const char* fresh);

private:
    char* mDeviceName;
    KeywordMap mKeywords;
};

#endif // PIGMENTOR_BRIVELLE_PIGMENTORSESSION_H

//===- Sessions.h - Open sessions and the state they keep -------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_SESSIONS_H
#define TOVRANE_CLIENT_SESSIONS_H

#include "Connection.h"
#include "LocalisedTable.h"
#include "ReplyDecoder.h"

#include <t10.h>

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tovrane::client {

enum class SessionKind { Attributes, Jobs, Localisation, ColourDefaults, Colour };

/// What one open session knows. The connection is shared with its handle; the rest belongs
/// to the session and is guarded by `mutex` (a session is meant for one thread at a time,
/// the lock only keeps misuse from corrupting it).
struct Session {
    Session(SessionKind kind, std::shared_ptr<Connection> connection)
        : kind(kind), connection(std::move(connection)) {}

    const SessionKind kind;
    const std::shared_ptr<Connection> connection;
    std::mutex mutex;

    /// Localisation: the resolved locale and encoding, the encoding's iconv name, and the
    /// strings, fetched all at once by LOCL_cacheStrings or the first look-up (finished, so
    /// one per (context, key), looked up by binary search).
    std::string locale;
    std::string encoding;
    const char* iconvName = nullptr;
    bool cached = false;
    LocalisedTable strings;

    /// Colour defaults: the keys and the walk's position. `key` is the index of the current
    /// key (keys.size() at the end, `kBeforeFirst` before the first); `value` the next value.
    static constexpr size_t kBeforeFirst = static_cast<size_t>(-1);
    ColourDefaultList keys;
    size_t key = kBeforeFirst;
    size_t value = 0;

    /// Colour sessions (and colour defaults): the device the session is on.
    std::string device;

    /// Colour sessions: the device's profile and device-link tables, each fetched on its
    /// first look-up and kept for the session's life (the server's answers do not change
    /// while it runs).
    bool profilesFetched = false;
    std::vector<ProfileEntry> profiles;
    bool linksFetched = false;
    std::vector<DeviceLinkEntry> links;
};

/// Enters `session` in the process-wide table and returns its word (never 0).
tovrane_session RegisterSession(std::shared_ptr<Session> session);
/// The open session `*word` names when it is of `kind` and its connection is up:
/// T10_ERR_PARAM for a null word pointer, T10_ERR_BAD_SESSION for an unknown word or another
/// kind, T10_ERR_NOT_CONNECTED when its handle was disconnected.
t10_status FindSession(const tovrane_session* word, SessionKind kind,
                       std::shared_ptr<Session>& out);
/// Removes the session and sets *word to 0 (whether or not its handle is still connected).
t10_status CloseSession(tovrane_session* word, SessionKind kind);
/// Removes the sessions of retired connections.
void ReapSessions();
/// Sessions in the table.
size_t SessionCount();

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_SESSIONS_H

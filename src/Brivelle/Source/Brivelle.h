//===- Brivelle.h - The connection to a print server ------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_BRIVELLE_H
#define PIGMENTOR_BRIVELLE_BRIVELLE_H

#include <CoreFoundation/CoreFoundation.h>

#include <t10.h>

class ColrSession;
class Localization;
class PigmentorSession;
class ServerFeatures;
class ServerInfo;

/// The one connection to a print server: the server's address, the SDK's server handle and
/// the per-service objects that talk to the server over that handle.
///
/// Ownership: the object owns its copy of the address, the connection (closed in the
/// destructor, after which `tovrane_unload` releases what the SDK still holds) and the five
/// service objects, each created on first request while connected and deleted with the
/// connection. Service-object pointers handed out stay valid for the connection's lifetime;
/// callers never delete them. Addresses and names are zero-terminated bytes (host names and
/// dotted IPv4 addresses; device names UTF-8 as the server gives them).
///
/// The server's port is not part of the address: the SDK takes it from TOVRANE_SERVER_PORT,
/// else its default port. No locks: one thread at a time uses the connection and its
/// service objects; the synchronous connect and every synchronous request block that thread.
class Brivelle {
public:
    /// No address, not connected, no timeout, no service objects.
    Brivelle();
    /// The same with a copy of `address` and `timeout` (seconds; 0 sets none).
    Brivelle(const char* address, int timeout);
    /// Abandons a pending connect, deletes the service objects, disconnects, unloads the SDK.
    ~Brivelle();
    Brivelle(const Brivelle&) = delete;
    Brivelle& operator=(const Brivelle&) = delete;

    /// Replaces the stored address (null clears it); takes effect at the next connect.
    void SetTargetServer(const char* address);
    /// Stores the timeout; when connected also sets it on the handle and returns that status.
    long SetServerTimeout(int seconds);
    /// Connects synchronously (false) or starts a ticketed connect (true); the second flag is
    /// ignored. True when connected (synchronous) or when the ticketed connect started.
    bool ConnectToServer(bool ticketed, bool unused = false);
    /// Progress of a ticketed connect: true when none is pending or it has just completed
    /// (the connection then counts as up); `percent` (may be null) is written while pending.
    bool IsDone(float* percent);
    /// The SDK's server handle (null before a connect).
    tovrane_server* GetServerHandle() const { return mServer; }

    /// The features object, created first while connected; null when there is none.
    ServerFeatures* GetFeaturesObject();
    /// The server-information object, created first while connected; null when there is none.
    ServerInfo* GetServerInfoObject();
    /// The localisation object, created first while connected; null when there is none.
    Localization* GetLocalizationObject();
    /// The colour-defaults session, created first (on `deviceName`) while connected.
    PigmentorSession* GetPigmentorObject(const char* deviceName);
    /// The colour-profile session, created first while connected; the name is not used.
    ColrSession* GetColrObject(const char* deviceName);

    /// The server's locales, freshly fetched (default first; not retained); null without a
    /// localisation object.
    CFArrayRef GetLanguages();
    /// The server's encodings, freshly fetched (default first; not retained); null without a
    /// localisation object.
    CFArrayRef GetEncodings();
    /// Chooses the server locale; true when the localisation session reopened on it (or
    /// nothing changed).
    bool SetLanguage(const char* locale);
    /// Chooses the encoding of the server's texts; true when the session reopened on it.
    bool SetEncoding(const char* encoding);

    /// The stored address, or null.
    const char* GetTargetServer() const { return mAddress; }
    /// The stored timeout in seconds (0: none).
    int GetServerTimeout() const { return mTimeout; }
    /// Whether a connect has succeeded.
    bool IsConnected() const { return mConnected; }
    /// -1 idle, 1 a ticketed connect is pending.
    int GetConnectState() const { return mConnectState; }

    /// The connect-state values.
    enum { kConnectIdle = -1, kConnectPending = 1 };

private:
    /// Abandons a pending connect and ends a live connection before the handle is replaced.
    void DropConnection();
    /// Connected: the timeout is applied when one is set.
    void ApplyTimeout();
    /// Connected anew: service objects made over an earlier connection move their sessions
    /// to this one (colour sessions, reopened for each read, are closed).
    void RebindServices();

    char* mAddress;
    tovrane_server* mServer;
    bool mConnected;
    int mTimeout;
    ServerFeatures* mFeatures;
    ServerInfo* mServerInfo;
    PigmentorSession* mPigmentor;
    ColrSession* mColr;
    Localization* mLocalization;
    tovrane_ticket mConnectTicket;
    int mConnectState;
};

#endif // PIGMENTOR_BRIVELLE_BRIVELLE_H

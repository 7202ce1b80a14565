/*===- t10.h - Print server client SDK: connection, devices, localisation -===*
 *
 * Part of Pigmentor, the colour pane of a colour print server's printer driver.
 *
 *===----------------------------------------------------------------------===*/
#ifndef TOVRANE_T10_H
#define TOVRANE_T10_H

/// The print server's client library `t10`: connections, non-blocking tickets, memory,
/// attributes, devices and trays, features, jobs and localisation. Colour defaults, colour
/// sessions and profiles are in `tqrv_color.h`.
///
/// Conventions every call keeps:
/// - The result is a `t10_status`, 16 bits, 0 for success; the values are the T10_ERR_
///   constants below. No call aborts or throws on bad input or a misbehaving server.
/// - The last argument is reserved and must be null, except where a ticket is passed. A
///   non-null reserved argument is refused with T10_ERR_PARAM.
/// - Strings and arrays handed back are owned by the caller and released with
///   `tovrane_free`. An array of strings is one block: release the array only, never its
///   elements. Every output pointer is set (to null or 0 on failure) when the call returns,
///   or, for a ticketed call, when the ticket reports 100 percent.
/// - Text is UTF-8 unless a call says otherwise; localised strings are in the encoding of
///   their localisation session, tray records in Mac Roman.
/// - A server handle (`tovrane_server*`) comes from `INIT_connect`; its first word is
///   non-zero while connected and 0 after `INIT_disconnectFromServer`. The block stays
///   readable until `tovrane_unload`.
/// - A session is a one-word value (`tovrane_session`) owned by the caller and passed by
///   address; opening fills it in, closing sets it to 0. Sessions of a disconnected handle
///   answer T10_ERR_NOT_CONNECTED.
/// - A ticket is an 8-byte block from `tovrane_malloc(8)` (or any 8 bytes the caller owns),
///   passed as the last argument of the calls that accept one. Such a call then returns at
///   once (0 when the operation started) and runs on a thread of its own; its outputs are
///   written when `NB_checkTicket` reports 100 percent. The caller keeps the outputs' storage
///   alive until then or until `NB_cancel`. Release a `tovrane_malloc` ticket with
///   `NB_destroy`.
/// - Every network request is bounded by the handle's timeout (seconds): a server that does
///   not answer, answers late, drops the connection or answers with anything malformed gives
///   a non-zero status within that time.
/// - Calls are safe from several threads at once; one session is used by one thread at a time.

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Types ------------------------------------------------------------------------------ */

/// Status of every t10 call: 0 success, else one of the T10_ERR_ values.
typedef int16_t t10_status;

/// A connection to a print server. Only the first word is public.
typedef struct tovrane_server {
    /// Non-zero while connected, 0 once disconnected.
    uintptr_t connected;
} tovrane_server;

/// A session: one word, owned by the caller, 0 when closed.
typedef uintptr_t tovrane_session;

/// A non-blocking ticket: 8 bytes whose content belongs to the library.
typedef struct tovrane_ticket {
    uint64_t opaque;
} tovrane_ticket;

/* ---- Status values ----------------------------------------------------------------------- */

#define T10_OK 0
/// A null, out-of-range or too long argument, or a non-null reserved argument.
#define T10_ERR_PARAM 1
/// Memory or a thread could not be had.
#define T10_ERR_NO_MEMORY 2
/// The server's name does not resolve to an IPv4 address.
#define T10_ERR_HOST_NOT_FOUND 3
/// The server refused the connection or could not be reached.
#define T10_ERR_CONNECT 4
/// The server did not answer within the timeout.
#define T10_ERR_TIMEOUT 5
/// The connection failed while a request or reply was under way.
#define T10_ERR_IO 6
/// The reply was not what the protocol allows (bad JSON, types, sizes).
#define T10_ERR_PROTOCOL 7
/// The server reported a failure of its own.
#define T10_ERR_SERVER 8
/// The handle is not a connected handle of this library.
#define T10_ERR_NOT_CONNECTED 9
/// The session is not an open session of the kind the call needs.
#define T10_ERR_BAD_SESSION 10
/// The ticket names no operation (never started, cancelled or destroyed).
#define T10_ERR_BAD_TICKET 11
/// The operation was cancelled.
#define T10_ERR_CANCELLED 12
/// The server has no such device, attribute, locale, encoding, key or string.
#define T10_ERR_NOT_FOUND 13
/// A transport, protocol version, service or level the server or library does not offer.
#define T10_ERR_UNSUPPORTED 14
/// A text cannot be converted into the session's encoding.
#define T10_ERR_ENCODING 15
/// A walk has no further item.
#define T10_ERR_END 16

/// The port used when neither the call nor TOVRANE_SERVER_PORT names one.
#define T10_DEFAULT_PORT 9631
/// The timeout, in seconds, of a handle whose connect call passed none.
#define T10_DEFAULT_TIMEOUT 15
/// The protocol version this library speaks.
#define T10_PROTOCOL_VERSION 1
/// The transport name `INIT_connect` accepts besides null (HTTP/1.1 with JSON bodies).
#define T10_TRANSPORT_RPC "trpc"

/// Ticket states reported by `NB_checkTicket`.
#define T10_TICKET_PENDING 0
#define T10_TICKET_DONE 1

/// Kinds of attribute values.
#define T10_ATTR_TEXT 0
#define T10_ATTR_INTEGER 1
/// A keyword whose display text is localised within the attribute name's context.
#define T10_ATTR_KEYWORD 2

/// The attribute scope of the server itself; devices are scopes 0 to count - 1.
#define T10_SCOPE_SERVER (-1)

/* ---- Tray records ------------------------------------------------------------------------ */

#define T10_TRAY_NAME_BYTES 64
#define T10_TRAY_MEDIA_BYTES 256

/// One input tray of a device, as `DEV_getTrayInfo` hands it back (texts in Mac Roman).
typedef struct t10_tray_record {
    /// The tray's name, zero-terminated, cut to 63 bytes.
    char name[T10_TRAY_NAME_BYTES];
    /// Sheets the tray holds.
    int32_t max_capacity;
    /// Sheets in the tray now (may exceed max_capacity when the sensor says so).
    int32_t current_level;
    /// Number of names in `media`.
    int32_t media_count;
    /// The media the tray is set up for: media_count zero-terminated names one after the
    /// other, the first being the loaded one, followed by an empty name. Names that do not
    /// fit are left out.
    char media[T10_TRAY_MEDIA_BYTES];
} t10_tray_record;

/* ---- Memory ------------------------------------------------------------------------------ */

/// A zero-filled block of `size` bytes (null when size is 0 or memory runs out).
void* tovrane_malloc(size_t size);
/// Releases a block from this library (null is allowed).
void tovrane_free(void* block);
/// Releases what disconnected handles, their sessions and their finished tickets still hold;
/// handles and sessions of live connections are left alone. Call it when a connection object
/// goes away.
void tovrane_unload(void);

/* ---- Connection -------------------------------------------------------------------------- */

/// Connects to `server` (a host name or dotted IPv4 address). `user`, `password`,
/// `client_name` and `client_version` may be null; `transport` null or T10_TRANSPORT_RPC.
/// `port` 1-65535, or -1 for TOVRANE_SERVER_PORT or else T10_DEFAULT_PORT; `timeout` seconds
/// (1-3600) or -1 for T10_DEFAULT_TIMEOUT; `attempts` how often a refused connection is tried
/// (clamped to 1-10, 20 ms apart); `protocol_version` T10_PROTOCOL_VERSION; `non_blocking` 0
/// or 1. Synchronous (`non_blocking` 0, ticket null): *handle is the connected handle, or null
/// on failure. Ticketed (`non_blocking` 1): *handle is written at 100 percent, null on failure.
t10_status INIT_connect(const char* server, const char* user, const char* password,
                        const char* client_name, const char* client_version, const char* transport,
                        int32_t port, int32_t timeout, int32_t attempts, int32_t protocol_version,
                        int32_t non_blocking, tovrane_server** handle, tovrane_ticket* ticket);
/// Sets the timeout (1-3600 seconds) of every later request on `handle`.
t10_status INIT_setTimeout(tovrane_server* handle, int32_t seconds, void* reserved);
/// 0 when `handle` is a connected handle of this library (no request is made).
t10_status INIT_handleIsValid(tovrane_server* handle, void* reserved);
/// Ends the connection: the handle's first word becomes 0 and later calls on it or its
/// sessions fail; operations under way finish on their own.
t10_status INIT_disconnectFromServer(tovrane_server* handle, void* reserved);

/* ---- Tickets ----------------------------------------------------------------------------- */

/// Progress of a ticketed operation: *percent 0-100 (100 = done), *state T10_TICKET_PENDING
/// or T10_TICKET_DONE, *result the operation's status (0 until done). Null outputs are
/// skipped. T10_ERR_BAD_TICKET when the ticket names no operation.
t10_status NB_checkTicket(tovrane_ticket* ticket, float* percent, int32_t* state,
                          t10_status* result);
/// Waits until the operation is done (bounded by the handle's timeout).
t10_status NB_block(tovrane_ticket* ticket);
/// Abandons the operation: it finishes in the background, its result is discarded and its
/// outputs are not written. The ticket names no operation afterwards.
t10_status NB_cancel(tovrane_ticket* ticket);
/// Cancels the operation if it is still pending and releases the `tovrane_malloc` block.
t10_status NB_destroy(tovrane_ticket* ticket);

/* ---- Attributes -------------------------------------------------------------------------- */

/// Opens an attribute session on `handle` (ticket may be null).
t10_status ATTR_openSession(tovrane_server* handle, tovrane_session* session,
                            tovrane_ticket* ticket);
/// The values of attribute `name` in `scope`: *values (strings) and *kinds (T10_ATTR_) are
/// parallel arrays of *count entries. T10_ERR_NOT_FOUND for an unknown attribute or scope.
t10_status ATTR_getAttributeValues(tovrane_session* session, int32_t scope, const char* name,
                                   char*** values, int32_t** kinds, int32_t* count, void* reserved);
/// The scope itself followed by the scopes within it (the server scope holds the devices).
t10_status ATTR_getScopes(tovrane_session* session, int32_t scope, int32_t** scopes, int32_t* count,
                          void* reserved);
/// Every attribute of `scope` whose name starts with `prefix` (null: all), with its first
/// value and kind: three parallel arrays of *count entries.
t10_status ATTR_getAttributeKeys(tovrane_session* session, int32_t scope, const char* prefix,
                                 char*** keys, char*** values, int32_t* count, int32_t** kinds,
                                 void* reserved);
/// Closes the session (*session becomes 0). Closing a closed (0) session is T10_ERR_BAD_SESSION.
t10_status ATTR_closeSession(tovrane_session* session, void* reserved);

/* ---- Devices ----------------------------------------------------------------------------- */

/// Number of printer devices of the server.
t10_status DEV_getNumDevices(tovrane_server* handle, int32_t* count, void* reserved);
/// The devices' display names, in device order (ticket may be null).
t10_status DEV_getPrettyDeviceNameList(tovrane_server* handle, char*** names, int32_t* count,
                                       tovrane_ticket* ticket);
/// The input trays of device `device`: an array of *count records.
t10_status DEV_getTrayInfo(tovrane_server* handle, int32_t device, t10_tray_record** records,
                           int32_t* count, void* reserved);
/// The device's two status messages; either may be null when the device has none.
t10_status DEV_getMessages(tovrane_server* handle, int32_t device, char** first, char** second,
                           void* reserved);

/* ---- Features ---------------------------------------------------------------------------- */

/// The server's features: parallel arrays of *count names and value texts.
t10_status FEAT_getFeatureList(tovrane_server* handle, char*** names, char*** values,
                               int32_t* count, void* reserved);

/* ---- Jobs -------------------------------------------------------------------------------- */

/// Opens a job-management session on `handle` (ticket may be null).
t10_status JOBM_openSession(tovrane_server* handle, tovrane_session* session,
                            tovrane_ticket* ticket);
/// Number of jobs the server holds.
t10_status JOBM_getNumJobs(tovrane_session* session, int32_t* count, void* reserved);
/// Closes the session (*session becomes 0).
t10_status JOBM_closeSession(tovrane_session* session, void* reserved);

/* ---- Localisation ------------------------------------------------------------------------ */

/// Opens a localisation session. `language` 0 uses `locale` (empty or null: the server's
/// default), 1-256 the server's n-th locale; `encoding` empty or null is the server's default.
/// T10_ERR_NOT_FOUND for a locale or encoding the server does not offer, T10_ERR_UNSUPPORTED
/// for an encoding this library cannot convert to. Ticket may be null.
t10_status LOCL_openSession(tovrane_server* handle, int32_t language, const char* locale,
                            const char* encoding, tovrane_session* session, tovrane_ticket* ticket);
/// The server's default locale name.
t10_status LOCL_getDefaultLocale(tovrane_server* handle, char** locale, void* reserved);
/// The server's locale names, in the server's order.
t10_status LOCL_getLocales(tovrane_server* handle, char*** locales, int32_t* count, void* reserved);
/// The server's default encoding name.
t10_status LOCL_getDefaultEncoding(tovrane_server* handle, char** encoding, void* reserved);
/// The server's encoding names, in the server's order.
t10_status LOCL_getEncodings(tovrane_server* handle, char*** encodings, int32_t* count,
                             void* reserved);
/// The session locale's text of `key` within `context` (null: no context), in the session's
/// encoding. No fallback between contexts: T10_ERR_NOT_FOUND when that pair has no text.
t10_status LOCL_getStringWithContext(tovrane_session* session, const char* context, const char* key,
                                     char** text, void* reserved);
/// Fetches every string of the session's locale at once; later look-ups make no request.
t10_status LOCL_cacheStrings(tovrane_session* session, void* reserved);
/// Closes the session (*session becomes 0).
t10_status LOCL_closeSession(tovrane_session* session, void* reserved);

#ifdef __cplusplus
}
#endif

#endif /* TOVRANE_T10_H */

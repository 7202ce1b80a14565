/*===- tqrv_color.h - Print server client SDK: colour defaults and profiles -===*
 *
 * Part of Pigmentor, the colour pane of a colour print server's printer driver.
 *
 *===----------------------------------------------------------------------===*/
#ifndef TOVRANE_TQRV_COLOR_H
#define TOVRANE_TQRV_COLOR_H

/// The print server's colour library `tqrv_color`: the colour-default keys of a device with
/// their default and possible values, and the colour session that maps profile descriptions
/// to profile ids and finds device links between profiles.
///
/// It keeps every convention of `t10.h` (handles, sessions, tickets, reserved last argument,
/// `tovrane_free` for what it hands back, bounded requests) with one difference: its
/// statuses are 8 bits wide (`tqrv_status`). Their values are the T10_ERR_ values of `t10.h`,
/// all of which fit, under the TQRV_ names below. Texts are UTF-8.

#include "t10.h"

#ifdef __cplusplus
extern "C" {
#endif

/// Status of every tqrv_color call: 0 success, else one of the TQRV_ERR_ values.
typedef int8_t tqrv_status;

#define TQRV_OK T10_OK
#define TQRV_ERR_PARAM T10_ERR_PARAM
#define TQRV_ERR_NO_MEMORY T10_ERR_NO_MEMORY
#define TQRV_ERR_CONNECT T10_ERR_CONNECT
#define TQRV_ERR_TIMEOUT T10_ERR_TIMEOUT
#define TQRV_ERR_IO T10_ERR_IO
#define TQRV_ERR_PROTOCOL T10_ERR_PROTOCOL
#define TQRV_ERR_SERVER T10_ERR_SERVER
#define TQRV_ERR_NOT_CONNECTED T10_ERR_NOT_CONNECTED
#define TQRV_ERR_BAD_SESSION T10_ERR_BAD_SESSION
#define TQRV_ERR_NOT_FOUND T10_ERR_NOT_FOUND
#define TQRV_ERR_UNSUPPORTED T10_ERR_UNSUPPORTED
/// The colour-default walk has no further key or value.
#define TQRV_ERR_END T10_ERR_END

/// Colour-default levels: only the device's current defaults are served.
#define TQRV_LEVEL_DEVICE 2
/// The colour session's service name.
#define TQRV_SERVICE_COLOR_SET "CSET"
/// Rendering-intent bits of a device-link query (all intents: 0x7fffffff).
#define TQRV_INTENT_PERCEPTUAL 0x1
#define TQRV_INTENT_RELATIVE 0x2
#define TQRV_INTENT_SATURATION 0x4
#define TQRV_INTENT_ABSOLUTE 0x8

/* ---- Colour defaults --------------------------------------------------------------------- */

/// Opens the colour defaults of `device` (a pretty name from DEV_getPrettyDeviceNameList).
/// `queue`, `user`, `password` and `job` are reserved for queue-level defaults: pass "" or
/// null. `level` must be TQRV_LEVEL_DEVICE. The walk starts before the first key. Ticket may
/// be null.
tqrv_status CLDF_openSession(tovrane_server* handle, const char* device, const char* queue,
                             const char* user, const char* password, const char* job, int32_t level,
                             tovrane_session* session, tovrane_ticket* ticket);
/// Moves to the next key (the first after opening). Moving past the last key succeeds once
/// and leaves no current key; moving again is TQRV_ERR_END.
tqrv_status CLDF_setNextKey(tovrane_session* session, void* reserved);
/// The current key (null, with 0, when there is none). The text belongs to the session and
/// stays valid until the next CLDF_setNextKey or CLDF_closeSession; do not free it.
tqrv_status CLDF_getCurrentKey(tovrane_session* session, const char** key, void* reserved);
/// The current key's default value, or null when it has none; TQRV_ERR_END without a key.
tqrv_status CLDF_getDefaultValue(tovrane_session* session, char** value, void* reserved);
/// The current key's next possible value; TQRV_ERR_END after the last one or without a key.
tqrv_status CLDF_getNextValue(tovrane_session* session, char** value, void* reserved);
/// Closes the session (*session becomes 0).
tqrv_status CLDF_closeSession(tovrane_session* session, void* reserved);

/* ---- Colour sessions --------------------------------------------------------------------- */

/// Opens a colour session on `device` (a pretty name). `service` must be
/// TQRV_SERVICE_COLOR_SET; `user`, `locale`, `application` and `password` identify the client
/// and may be null or "". Ticket may be null.
tqrv_status COLR_openSession(tovrane_server* handle, const char* device, const char* service,
                             const char* user, const char* locale, const char* application,
                             const char* password, tovrane_session* session,
                             tovrane_ticket* ticket);
/// Closes the session (*session becomes 0).
tqrv_status COLR_closeSession(tovrane_session* session, void* reserved);
/// The id of the device's profile that `description` names; 0 with a null *profile_id when
/// no profile has that description.
tqrv_status ICCM_mapDescriptionToProfile(tovrane_session* session, const char* description,
                                         char** profile_id, void* reserved);
/// The name of the device link from profile `source_id` to `destination_id` for any of the
/// rendering intents in `intents`; 0 with a null *link_name when there is none.
tqrv_status ICCM_doesDeviceLinkProfileExist(tovrane_session* session, const char* source_id,
                                            const char* destination_id, int32_t intents,
                                            char** link_name, void* reserved);

#ifdef __cplusplus
}
#endif

#endif /* TOVRANE_TQRV_COLOR_H */

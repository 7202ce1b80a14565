//===- LocalisationCalls.cpp - LOCL_ calls --------------------------------===//
#include "CBlocks.h"
#include "Call.h"
#include "Guard.h"
#include "ReplyDecoder.h"
#include "RequestBuilder.h"
#include "SessionOpen.h"
#include "StringListReader.h"
#include "TextEncoding.h"
#include "Utf8.h"

#include <t10.h>

#include <cstdint>
#include <string_view>

using namespace tovrane::client;
using tovrane::protocol::Endpoint;

namespace {

/// The default and the list of "locales" or "encodings".
t10_status FetchNamedList(tovrane_server* handle, const void* reserved, Endpoint endpoint,
                          const char* field, NamedList& list) {
    std::shared_ptr<Connection> connection;
    t10_status status = BeginOnHandle(handle, reserved, connection);
    if (status != T10_OK)
        return status;
    return Ask(*connection, endpoint, "{}", nullptr,
               [&](std::string_view reply) { return DecodeNamedList(reply, field, list); });
}

t10_status GetDefault(tovrane_server* handle, const void* reserved, Endpoint endpoint,
                      const char* field, char** out) {
    if (!out)
        return T10_ERR_PARAM;
    *out = nullptr;
    NamedList list;
    t10_status status = FetchNamedList(handle, reserved, endpoint, field, list);
    if (status != T10_OK)
        return status;
    return (*out = MakeString(list.defaultName)) ? T10_OK : T10_ERR_NO_MEMORY;
}

t10_status GetList(tovrane_server* handle, const void* reserved, Endpoint endpoint,
                   const char* field, char*** out, int32_t* count) {
    if (!out || !count)
        return T10_ERR_PARAM;
    *out = nullptr;
    *count = 0;
    NamedList list;
    t10_status status = FetchNamedList(handle, reserved, endpoint, field, list);
    if (status != T10_OK || list.names.empty())
        return status;
    if (!(*out = MakeStringArray(list.names)))
        return T10_ERR_NO_MEMORY;
    *count = static_cast<int32_t>(list.names.size());
    return T10_OK;
}

/// A new session takes the locale and encoding the server resolved, provided this library
/// can convert into that encoding.
t10_status FillLocalisation(std::string_view reply, Session& session) {
    SessionReply opened;
    t10_status status = DecodeSession(reply, opened);
    if (status != T10_OK)
        return status;
    if (opened.locale.empty() || opened.encoding.empty())
        return T10_ERR_PROTOCOL;
    session.iconvName = IconvNameFor(opened.encoding);
    if (!session.iconvName)
        return T10_ERR_UNSUPPORTED;
    session.locale = opened.locale;
    session.encoding = opened.encoding;
    return T10_OK;
}

/// `text` (UTF-8) in the session's encoding, as a block for the caller.
t10_status HandOver(const Session& session, std::string_view text, char** out) {
    // Into UTF-8 the text only needs checking: it goes straight into the caller's block.
    if (IsUtf8Name(session.iconvName)) {
        if (!tovrane::IsUtf8(text))
            return T10_ERR_ENCODING;
        return (*out = MakeString(text)) ? T10_OK : T10_ERR_NO_MEMORY;
    }
    std::string converted;
    if (!ConvertFromUtf8(text, session.iconvName, converted))
        return T10_ERR_ENCODING;
    return (*out = MakeString(converted)) ? T10_OK : T10_ERR_NO_MEMORY;
}

/// Fetches every string of the session's locale into the session.
t10_status FetchStrings(Session& session) {
    LocalisedTable strings;
    t10_status status = Ask(*session.connection, Endpoint::Strings,
                            RequestBuilder().Text("locale", session.locale).Body(), nullptr,
                            [&](std::string_view reply) { return ReadStringList(reply, strings); });
    if (status != T10_OK)
        return status;
    strings.Finish();
    session.strings = std::move(strings);
    session.cached = true;
    return T10_OK;
}

} // namespace

extern "C" t10_status LOCL_openSession(tovrane_server* handle, int32_t language, const char* locale,
                                       const char* encoding, tovrane_session* session,
                                       tovrane_ticket* ticket) {
    return Guard([&]() -> t10_status {
        if (!session)
            return T10_ERR_PARAM;
        *session = 0;
        if (language < 0 || language > static_cast<int32_t>(tovrane::protocol::kMaxSmallList) ||
            !FitsRequest(locale) || !FitsRequest(encoding))
            return T10_ERR_PARAM;
        std::shared_ptr<Connection> connection;
        t10_status status = FindConnection(handle, connection);
        if (status != T10_OK)
            return status;
        std::string body = RequestBuilder()
                               .Text("service", tovrane::protocol::kServiceLocalisation)
                               .Int("language", language)
                               .Text("locale", locale ? locale : "")
                               .Text("encoding", encoding ? encoding : "")
                               .Body();
        return OpenSessionCall(ticket, connection, SessionKind::Localisation, Endpoint::OpenSession,
                               body, FillLocalisation, session);
    });
}

extern "C" t10_status LOCL_getDefaultLocale(tovrane_server* handle, char** locale, void* reserved) {
    return Guard(
        [&] { return GetDefault(handle, reserved, Endpoint::Locales, "locales", locale); });
}

extern "C" t10_status LOCL_getLocales(tovrane_server* handle, char*** locales, int32_t* count,
                                      void* reserved) {
    return Guard(
        [&] { return GetList(handle, reserved, Endpoint::Locales, "locales", locales, count); });
}

extern "C" t10_status LOCL_getDefaultEncoding(tovrane_server* handle, char** encoding,
                                              void* reserved) {
    return Guard(
        [&] { return GetDefault(handle, reserved, Endpoint::Encodings, "encodings", encoding); });
}

extern "C" t10_status LOCL_getEncodings(tovrane_server* handle, char*** encodings, int32_t* count,
                                        void* reserved) {
    return Guard([&] {
        return GetList(handle, reserved, Endpoint::Encodings, "encodings", encodings, count);
    });
}

extern "C" t10_status LOCL_getStringWithContext(tovrane_session* session, const char* context,
                                                const char* key, char** text, void* reserved) {
    return Guard([&]() -> t10_status {
        if (!text)
            return T10_ERR_PARAM;
        *text = nullptr;
        if (reserved || !key || !FitsRequest(key) || !FitsRequest(context))
            return T10_ERR_PARAM;
        std::shared_ptr<Session> open;
        t10_status status = FindSession(session, SessionKind::Localisation, open);
        if (status != T10_OK)
            return status;
        std::lock_guard<std::mutex> lock(open->mutex);
        // A null and an empty context are the same: no context.
        const std::string_view contextText = context ? context : "";
        // A session is asked for many strings: the first look-up fetches them all. Should
        // that fail, the one string is still asked for on its own.
        if (!open->cached)
            FetchStrings(*open);
        if (open->cached) {
            std::string_view found;
            return open->strings.Find(contextText, key, found) ? HandOver(*open, found, text)
                                                               : T10_ERR_NOT_FOUND;
        }
        RequestBuilder request;
        request.Text("locale", open->locale).Text("key", key);
        request.Text("context", contextText.empty() ? nullptr : context);
        std::string found;
        status = Ask(*open->connection, Endpoint::String, request.Body(), nullptr,
                     [&](std::string_view reply) { return DecodeText(reply, found); });
        return status != T10_OK ? status : HandOver(*open, found, text);
    });
}

extern "C" t10_status LOCL_cacheStrings(tovrane_session* session, void* reserved) {
    return Guard([&]() -> t10_status {
        if (reserved)
            return T10_ERR_PARAM;
        std::shared_ptr<Session> open;
        t10_status status = FindSession(session, SessionKind::Localisation, open);
        if (status != T10_OK)
            return status;
        std::lock_guard<std::mutex> lock(open->mutex);
        return FetchStrings(*open);
    });
}

extern "C" t10_status LOCL_closeSession(tovrane_session* session, void* reserved) {
    return Guard([&] {
        return reserved ? T10_ERR_PARAM : CloseSession(session, SessionKind::Localisation);
    });
}

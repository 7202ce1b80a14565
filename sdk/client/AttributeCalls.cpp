//===- AttributeCalls.cpp - ATTR_ calls -----------------------------------===//
#include "CBlocks.h"
#include "Call.h"
#include "Guard.h"
#include "ReplyDecoder.h"
#include "RequestBuilder.h"
#include "SessionOpen.h"

#include <t10.h>

using namespace tovrane::client;
using tovrane::protocol::Endpoint;

namespace {

/// The connection of an open attribute session, after the checks every read makes.
t10_status BeginRead(const tovrane_session* session, int32_t scope, const void* reserved,
                     std::shared_ptr<Session>& open) {
    if (reserved || scope < T10_SCOPE_SERVER)
        return T10_ERR_PARAM;
    return FindSession(session, SessionKind::Attributes, open);
}

} // namespace

extern "C" t10_status ATTR_openSession(tovrane_server* handle, tovrane_session* session,
                                       tovrane_ticket* ticket) {
    return Guard([&] {
        if (!session)
            return static_cast<t10_status>(T10_ERR_PARAM);
        *session = 0;
        std::shared_ptr<Connection> connection;
        t10_status status = FindConnection(handle, connection);
        if (status != T10_OK)
            return status;
        std::string body =
            RequestBuilder().Text("service", tovrane::protocol::kServiceAttributes).Body();
        return OpenSessionCall(
            ticket, connection, SessionKind::Attributes, Endpoint::OpenSession, body,
            [](std::string_view reply, Session&) { return DecodeStatus(reply); }, session);
    });
}

extern "C" t10_status ATTR_getAttributeValues(tovrane_session* session, int32_t scope,
                                              const char* name, char*** values, int32_t** kinds,
                                              int32_t* count, void* reserved) {
    return Guard([&]() -> t10_status {
        if (values)
            *values = nullptr;
        if (kinds)
            *kinds = nullptr;
        if (count)
            *count = 0;
        if (!values || !count || !name || !FitsRequest(name))
            return T10_ERR_PARAM;
        std::shared_ptr<Session> open;
        t10_status status = BeginRead(session, scope, reserved, open);
        if (status != T10_OK)
            return status;
        std::vector<AttributeValue> decoded;
        std::string body = RequestBuilder().Int("scope", scope).Text("name", name).Body();
        status = Ask(*open->connection, Endpoint::Attribute, body, nullptr,
                     [&](std::string_view reply) { return DecodeAttributeValues(reply, decoded); });
        if (status != T10_OK || decoded.empty())
            return status;
        std::vector<std::string> texts;
        std::vector<int32_t> numbers;
        for (const AttributeValue& value : decoded) {
            texts.push_back(value.value);
            numbers.push_back(value.kind);
        }
        char** textBlock = MakeStringArray(texts);
        int32_t* kindBlock = kinds ? MakeIntArray(numbers) : nullptr;
        if (!textBlock || (kinds && !kindBlock)) {
            tovrane_free(textBlock);
            tovrane_free(kindBlock);
            return T10_ERR_NO_MEMORY;
        }
        *values = textBlock;
        if (kinds)
            *kinds = kindBlock;
        *count = static_cast<int32_t>(decoded.size());
        return T10_OK;
    });
}

extern "C" t10_status ATTR_getScopes(tovrane_session* session, int32_t scope, int32_t** scopes,
                                     int32_t* count, void* reserved) {
    return Guard([&]() -> t10_status {
        if (scopes)
            *scopes = nullptr;
        if (count)
            *count = 0;
        if (!scopes || !count)
            return T10_ERR_PARAM;
        std::shared_ptr<Session> open;
        t10_status status = BeginRead(session, scope, reserved, open);
        if (status != T10_OK)
            return status;
        std::vector<int32_t> decoded;
        status =
            Ask(*open->connection, Endpoint::Scopes, RequestBuilder().Int("scope", scope).Body(),
                nullptr, [&](std::string_view reply) { return DecodeScopes(reply, decoded); });
        if (status != T10_OK || decoded.empty())
            return status;
        if (!(*scopes = MakeIntArray(decoded)))
            return T10_ERR_NO_MEMORY;
        *count = static_cast<int32_t>(decoded.size());
        return T10_OK;
    });
}

extern "C" t10_status ATTR_getAttributeKeys(tovrane_session* session, int32_t scope,
                                            const char* prefix, char*** keys, char*** values,
                                            int32_t* count, int32_t** kinds, void* reserved) {
    return Guard([&]() -> t10_status {
        if (keys)
            *keys = nullptr;
        if (values)
            *values = nullptr;
        if (count)
            *count = 0;
        if (kinds)
            *kinds = nullptr;
        if (!keys || !values || !count || !FitsRequest(prefix))
            return T10_ERR_PARAM;
        std::shared_ptr<Session> open;
        t10_status status = BeginRead(session, scope, reserved, open);
        if (status != T10_OK)
            return status;
        std::vector<AttributeEntry> decoded;
        std::string body = RequestBuilder().Int("scope", scope).Text("prefix", prefix).Body();
        status = Ask(*open->connection, Endpoint::AttributeKeys, body, nullptr,
                     [&](std::string_view reply) { return DecodeAttributeKeys(reply, decoded); });
        if (status != T10_OK || decoded.empty())
            return status;
        std::vector<std::string> names, texts;
        std::vector<int32_t> numbers;
        for (const AttributeEntry& entry : decoded) {
            names.push_back(entry.name);
            texts.push_back(entry.value);
            numbers.push_back(entry.kind);
        }
        char** nameBlock = MakeStringArray(names);
        char** textBlock = MakeStringArray(texts);
        int32_t* kindBlock = kinds ? MakeIntArray(numbers) : nullptr;
        if (!nameBlock || !textBlock || (kinds && !kindBlock)) {
            tovrane_free(nameBlock);
            tovrane_free(textBlock);
            tovrane_free(kindBlock);
            return T10_ERR_NO_MEMORY;
        }
        *keys = nameBlock;
        *values = textBlock;
        if (kinds)
            *kinds = kindBlock;
        *count = static_cast<int32_t>(decoded.size());
        return T10_OK;
    });
}

extern "C" t10_status ATTR_closeSession(tovrane_session* session, void* reserved) {
    return Guard(
        [&] { return reserved ? T10_ERR_PARAM : CloseSession(session, SessionKind::Attributes); });
}

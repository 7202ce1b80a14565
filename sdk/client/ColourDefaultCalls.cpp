//===- ColourDefaultCalls.cpp - CLDF_ calls -------------------------------===//
#include "CBlocks.h"
#include "Call.h"
#include "Guard.h"
#include "ReplyDecoder.h"
#include "RequestBuilder.h"
#include "SessionOpen.h"

#include <tqrv_color.h>

using namespace tovrane::client;
using tovrane::protocol::Endpoint;

namespace {

/// Every status of this library fits in 8 bits.
tqrv_status Narrow(t10_status status) {
    return static_cast<tqrv_status>(status);
}

/// The open colour-defaults session `word` names, locked for the caller's step.
t10_status Walk(const tovrane_session* word, const void* reserved, std::shared_ptr<Session>& open) {
    if (reserved)
        return T10_ERR_PARAM;
    return FindSession(word, SessionKind::ColourDefaults, open);
}

/// The current key of the walk, or null before the first and after the last.
const ColourDefault* CurrentKey(const Session& session) {
    return session.key < session.keys.size() ? &session.keys[session.key] : nullptr;
}

} // namespace

extern "C" tqrv_status CLDF_openSession(tovrane_server* handle, const char* device,
                                        const char* queue, const char* user, const char* password,
                                        const char* job, int32_t level, tovrane_session* session,
                                        tovrane_ticket* ticket) {
    return Narrow(Guard([&]() -> t10_status {
        if (!session)
            return T10_ERR_PARAM;
        *session = 0;
        if (!device || !FitsRequest(device) || !FitsRequest(queue) || !FitsRequest(user) ||
            !FitsRequest(password) || !FitsRequest(job))
            return T10_ERR_PARAM;
        if (level != TQRV_LEVEL_DEVICE)
            return T10_ERR_UNSUPPORTED;
        std::shared_ptr<Connection> connection;
        t10_status status = FindConnection(handle, connection);
        if (status != T10_OK)
            return status;
        std::string name = device;
        std::string body = RequestBuilder().Text("device", name).Int("level", level).Body();
        return OpenSessionCall(
            ticket, connection, SessionKind::ColourDefaults, Endpoint::ColourDefaults, body,
            [name](std::string_view reply, Session& opened) {
                opened.device = name;
                return DecodeColourDefaults(reply, opened.keys);
            },
            session);
    }));
}

extern "C" tqrv_status CLDF_setNextKey(tovrane_session* session, void* reserved) {
    return Narrow(Guard([&]() -> t10_status {
        std::shared_ptr<Session> open;
        t10_status status = Walk(session, reserved, open);
        if (status != T10_OK)
            return status;
        std::lock_guard<std::mutex> lock(open->mutex);
        // Stepping past the last key succeeds once, so that a walk ends with "no key" and
        // status 0; only a step beyond that is an error.
        if (open->key == Session::kBeforeFirst)
            open->key = 0;
        else if (open->key < open->keys.size())
            ++open->key;
        else
            return T10_ERR_END;
        open->value = 0;
        return T10_OK;
    }));
}

extern "C" tqrv_status CLDF_getCurrentKey(tovrane_session* session, const char** key,
                                          void* reserved) {
    return Narrow(Guard([&]() -> t10_status {
        if (!key)
            return T10_ERR_PARAM;
        *key = nullptr;
        std::shared_ptr<Session> open;
        t10_status status = Walk(session, reserved, open);
        if (status != T10_OK)
            return status;
        std::lock_guard<std::mutex> lock(open->mutex);
        // The keys never change after the open, so the text lives as long as the session.
        if (const ColourDefault* current = CurrentKey(*open))
            *key = current->key.c_str();
        return T10_OK;
    }));
}

extern "C" tqrv_status CLDF_getDefaultValue(tovrane_session* session, char** value,
                                            void* reserved) {
    return Narrow(Guard([&]() -> t10_status {
        if (!value)
            return T10_ERR_PARAM;
        *value = nullptr;
        std::shared_ptr<Session> open;
        t10_status status = Walk(session, reserved, open);
        if (status != T10_OK)
            return status;
        std::lock_guard<std::mutex> lock(open->mutex);
        const ColourDefault* current = CurrentKey(*open);
        if (!current)
            return T10_ERR_END;
        if (!current->hasDefault)
            return T10_OK;
        return (*value = MakeString(current->defaultValue)) ? T10_OK : T10_ERR_NO_MEMORY;
    }));
}

extern "C" tqrv_status CLDF_getNextValue(tovrane_session* session, char** value, void* reserved) {
    return Narrow(Guard([&]() -> t10_status {
        if (!value)
            return T10_ERR_PARAM;
        *value = nullptr;
        std::shared_ptr<Session> open;
        t10_status status = Walk(session, reserved, open);
        if (status != T10_OK)
            return status;
        std::lock_guard<std::mutex> lock(open->mutex);
        const ColourDefault* current = CurrentKey(*open);
        if (!current || open->value >= current->values.size())
            return T10_ERR_END;
        if (!(*value = MakeString(current->values[open->value])))
            return T10_ERR_NO_MEMORY;
        ++open->value;
        return T10_OK;
    }));
}

extern "C" tqrv_status CLDF_closeSession(tovrane_session* session, void* reserved) {
    return Narrow(Guard([&] {
        return reserved ? T10_ERR_PARAM : CloseSession(session, SessionKind::ColourDefaults);
    }));
}

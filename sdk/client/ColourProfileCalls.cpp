//===- ColourProfileCalls.cpp - COLR_ and ICCM_ calls ---------------------===//
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

tqrv_status Narrow(t10_status status) {
    return static_cast<tqrv_status>(status);
}

/// Asks the session's device for the optional name `field` and hands it over (or null).
t10_status AskName(const tovrane_session* word, const void* reserved, Endpoint endpoint,
                   RequestBuilder& request, const char* field, char** out) {
    if (reserved)
        return T10_ERR_PARAM;
    std::shared_ptr<Session> open;
    t10_status status = FindSession(word, SessionKind::Colour, open);
    if (status != T10_OK)
        return status;
    request.Text("device", open->device);
    bool present = false;
    std::string name;
    status =
        Ask(*open->connection, endpoint, request.Body(), nullptr, [&](const std::string& reply) {
            return DecodeOptionalName(reply, field, present, name);
        });
    if (status != T10_OK || !present)
        return status;
    return (*out = MakeString(name)) ? T10_OK : T10_ERR_NO_MEMORY;
}

} // namespace

extern "C" tqrv_status COLR_openSession(tovrane_server* handle, const char* device,
                                        const char* service, const char* user, const char* locale,
                                        const char* application, const char* password,
                                        tovrane_session* session, tovrane_ticket* ticket) {
    return Narrow(Guard([&]() -> t10_status {
        if (!session)
            return T10_ERR_PARAM;
        *session = 0;
        if (!device || !service || !FitsRequest(device) || !FitsRequest(service) ||
            !FitsRequest(user) || !FitsRequest(locale) || !FitsRequest(application) ||
            !FitsRequest(password))
            return T10_ERR_PARAM;
        std::shared_ptr<Connection> connection;
        t10_status status = FindConnection(handle, connection);
        if (status != T10_OK)
            return status;
        // The password stays here: the server does not ask for one and it would travel in
        // clear text.
        std::string name = device;
        std::string body = RequestBuilder()
                               .Text("service", tovrane::protocol::kServiceColour)
                               .Text("device", name)
                               .Text("colour_service", service)
                               .Text("user", user)
                               .Text("locale", locale)
                               .Text("application", application)
                               .Body();
        return OpenSessionCall(
            ticket, connection, SessionKind::Colour, Endpoint::OpenSession, body,
            [name](std::string_view reply, Session& opened) {
                opened.device = name;
                return DecodeStatus(reply);
            },
            session);
    }));
}

extern "C" tqrv_status COLR_closeSession(tovrane_session* session, void* reserved) {
    return Narrow(Guard(
        [&] { return reserved ? T10_ERR_PARAM : CloseSession(session, SessionKind::Colour); }));
}

extern "C" tqrv_status ICCM_mapDescriptionToProfile(tovrane_session* session,
                                                    const char* description, char** profile_id,
                                                    void* reserved) {
    return Narrow(Guard([&]() -> t10_status {
        if (!profile_id)
            return T10_ERR_PARAM;
        *profile_id = nullptr;
        if (!description || !FitsRequest(description))
            return T10_ERR_PARAM;
        RequestBuilder request;
        request.Text("description", description);
        return AskName(session, reserved, Endpoint::Profile, request, "id", profile_id);
    }));
}

extern "C" tqrv_status ICCM_doesDeviceLinkProfileExist(tovrane_session* session,
                                                       const char* source_id,
                                                       const char* destination_id, int32_t intents,
                                                       char** link_name, void* reserved) {
    return Narrow(Guard([&]() -> t10_status {
        if (!link_name)
            return T10_ERR_PARAM;
        *link_name = nullptr;
        if (!source_id || !destination_id || !FitsRequest(source_id) ||
            !FitsRequest(destination_id) || intents < 0)
            return T10_ERR_PARAM;
        RequestBuilder request;
        request.Text("source", source_id)
            .Text("destination", destination_id)
            .Int("intents", intents);
        return AskName(session, reserved, Endpoint::DeviceLink, request, "name", link_name);
    }));
}

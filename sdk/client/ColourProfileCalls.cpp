//===- ColourProfileCalls.cpp - COLR_ and ICCM_ calls ---------------------===//
#include "CBlocks.h"
#include "Call.h"
#include "Guard.h"
#include "ReplyDecoder.h"
#include "RequestBuilder.h"
#include "SessionOpen.h"

#include <tqrv_color.h>

#include <string_view>

using namespace tovrane::client;
using tovrane::protocol::Endpoint;

namespace {

tqrv_status Narrow(t10_status status) {
    return static_cast<tqrv_status>(status);
}

/// Hands `name` over as a block, or null when absent.
t10_status HandOverName(bool present, const std::string& name, char** out) {
    if (!present)
        return T10_OK;
    return (*out = MakeString(name)) ? T10_OK : T10_ERR_NO_MEMORY;
}

/// Fetches the device's table `endpoint` into the session once; later calls find it there.
template <typename Entry>
t10_status FetchTable(Session& session, Endpoint endpoint,
                      t10_status (*decode)(std::string_view, std::vector<Entry>&), bool& fetched,
                      std::vector<Entry>& table) {
    if (fetched)
        return T10_OK;
    std::string body = RequestBuilder().Text("device", session.device).Body();
    t10_status status = Ask(*session.connection, endpoint, body, nullptr,
                            [&](std::string_view reply) { return decode(reply, table); });
    fetched = status == T10_OK;
    if (!fetched)
        table.clear();
    return status;
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
        if (reserved)
            return T10_ERR_PARAM;
        std::shared_ptr<Session> open;
        t10_status status = FindSession(session, SessionKind::Colour, open);
        if (status != T10_OK)
            return status;
        std::lock_guard<std::mutex> lock(open->mutex);
        status = FetchTable(*open, Endpoint::Profiles, DecodeProfiles, open->profilesFetched,
                            open->profiles);
        if (status != T10_OK)
            return status;
        // The first profile that lists the description, as the server searches. Compared as
        // views, so that names of another length are passed over without a byte compare.
        const std::string_view wanted(description);
        for (const ProfileEntry& profile : open->profiles)
            for (const std::string& named : profile.descriptions)
                if (named == wanted)
                    return HandOverName(true, profile.id, profile_id);
        return T10_OK;
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
        if (reserved)
            return T10_ERR_PARAM;
        std::shared_ptr<Session> open;
        t10_status status = FindSession(session, SessionKind::Colour, open);
        if (status != T10_OK)
            return status;
        std::lock_guard<std::mutex> lock(open->mutex);
        status = FetchTable(*open, Endpoint::DeviceLinks, DecodeDeviceLinks, open->linksFetched,
                            open->links);
        if (status != T10_OK)
            return status;
        // The first link between the two profiles for any of the asked intents.
        const std::string_view source(source_id), destination(destination_id);
        for (const DeviceLinkEntry& link : open->links)
            if (link.source == source && link.destination == destination &&
                (link.intents & intents) != 0)
                return HandOverName(true, link.name, link_name);
        return T10_OK;
    }));
}

//===- JobCalls.cpp - JOBM_ calls -----------------------------------------===//
#include "Call.h"
#include "Guard.h"
#include "ReplyDecoder.h"
#include "RequestBuilder.h"
#include "SessionOpen.h"

#include <t10.h>

using namespace tovrane::client;
using tovrane::protocol::Endpoint;

extern "C" t10_status JOBM_openSession(tovrane_server* handle, tovrane_session* session,
                                       tovrane_ticket* ticket) {
    return Guard([&]() -> t10_status {
        if (!session)
            return T10_ERR_PARAM;
        *session = 0;
        std::shared_ptr<Connection> connection;
        t10_status status = FindConnection(handle, connection);
        if (status != T10_OK)
            return status;
        std::string body = RequestBuilder().Text("service", tovrane::protocol::kServiceJobs).Body();
        return OpenSessionCall(
            ticket, connection, SessionKind::Jobs, Endpoint::OpenSession, body,
            [](std::string_view reply, Session&) { return DecodeStatus(reply); }, session);
    });
}

extern "C" t10_status JOBM_getNumJobs(tovrane_session* session, int32_t* count, void* reserved) {
    return Guard([&]() -> t10_status {
        if (!count)
            return T10_ERR_PARAM;
        *count = 0;
        if (reserved)
            return T10_ERR_PARAM;
        std::shared_ptr<Session> open;
        t10_status status = FindSession(session, SessionKind::Jobs, open);
        if (status != T10_OK)
            return status;
        int32_t jobs = 0;
        status = Ask(*open->connection, Endpoint::Jobs, "{}", nullptr,
                     [&](std::string_view reply) { return DecodeJobCount(reply, jobs); });
        if (status == T10_OK)
            *count = jobs;
        return status;
    });
}

extern "C" t10_status JOBM_closeSession(tovrane_session* session, void* reserved) {
    return Guard(
        [&] { return reserved ? T10_ERR_PARAM : CloseSession(session, SessionKind::Jobs); });
}

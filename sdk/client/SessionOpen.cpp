//===- SessionOpen.cpp - The open call every session kind shares ----------===//
#include "SessionOpen.h"

#include "Call.h"
#include "Operations.h"

namespace tovrane::client {

t10_status OpenSessionCall(tovrane_ticket* ticket, std::shared_ptr<Connection> connection,
                           SessionKind kind, protocol::Endpoint endpoint, std::string body,
                           SessionFiller fill, tovrane_session* word) {
    *word = 0;
    // The session is built off to the side and only entered in the table when published, so
    // a cancelled open leaves nothing behind.
    auto session = std::make_shared<Session>(kind, connection);
    Work work;
    work.run = [session, endpoint, body = std::move(body),
                fill = std::move(fill)](Progress& progress) {
        return Ask(*session->connection, endpoint, body, &progress,
                   [&](std::string_view reply) { return fill(reply, *session); });
    };
    work.publish = [session, word](t10_status status) {
        *word = status == T10_OK ? RegisterSession(session) : 0;
        return status;
    };
    return Perform(ticket, std::move(connection), std::move(work));
}

} // namespace tovrane::client

//===- Sessions.cpp - Open sessions and the state they keep ---------------===//
#include "Sessions.h"

#include <map>

namespace tovrane::client {

namespace {

struct Table {
    std::mutex mutex;
    std::map<tovrane_session, std::shared_ptr<Session>> sessions;
    // Words are counted up from an odd, unlikely value so that a stray small integer or a
    // pointer is not taken for a session.
    tovrane_session next = 0x5e55100000000001ULL & UINTPTR_MAX;
};

Table& Sessions() {
    static Table* table = new Table;
    return *table;
}

} // namespace

tovrane_session RegisterSession(std::shared_ptr<Session> session) {
    Table& table = Sessions();
    std::lock_guard<std::mutex> lock(table.mutex);
    tovrane_session word = table.next;
    table.next += 2;
    table.sessions.emplace(word, std::move(session));
    return word;
}

t10_status FindSession(const tovrane_session* word, SessionKind kind,
                       std::shared_ptr<Session>& out) {
    out.reset();
    if (!word)
        return T10_ERR_PARAM;
    Table& table = Sessions();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.sessions.find(*word);
    if (it == table.sessions.end() || it->second->kind != kind)
        return T10_ERR_BAD_SESSION;
    if (it->second->connection->retired.load())
        return T10_ERR_NOT_CONNECTED;
    out = it->second;
    return T10_OK;
}

t10_status CloseSession(tovrane_session* word, SessionKind kind) {
    if (!word)
        return T10_ERR_PARAM;
    Table& table = Sessions();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.sessions.find(*word);
    if (it == table.sessions.end() || it->second->kind != kind)
        return T10_ERR_BAD_SESSION;
    table.sessions.erase(it);
    *word = 0;
    return T10_OK;
}

void ReapSessions() {
    Table& table = Sessions();
    std::lock_guard<std::mutex> lock(table.mutex);
    for (auto it = table.sessions.begin(); it != table.sessions.end();) {
        if (it->second->connection->retired.load())
            it = table.sessions.erase(it);
        else
            ++it;
    }
}

size_t SessionCount() {
    Table& table = Sessions();
    std::lock_guard<std::mutex> lock(table.mutex);
    return table.sessions.size();
}

} // namespace tovrane::client

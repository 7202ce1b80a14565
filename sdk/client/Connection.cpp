//===- Connection.cpp - One server connection's address and kept sockets --===//
#include "Connection.h"

#include <unistd.h>

namespace tovrane::client {

Connection::~Connection() {
    CloseIdleSockets();
}

int Connection::TakeIdleSocket(int& armedMs) {
    std::lock_guard<std::mutex> lock(mIdleMutex);
    armedMs = 0;
    if (mIdle.empty())
        return -1;
    // The most recently used socket is the least likely to have been closed by the server.
    IdleSocket kept = mIdle.back();
    mIdle.pop_back();
    armedMs = kept.armedMs;
    return kept.fd;
}

void Connection::KeepIdleSocket(int fd, int armedMs) {
    {
        std::lock_guard<std::mutex> lock(mIdleMutex);
        if (!retired.load() && mIdle.size() < kMaxIdleSockets) {
            mIdle.push_back({fd, armedMs});
            return;
        }
    }
    close(fd);
}

void Connection::CloseIdleSockets() {
    std::vector<IdleSocket> idle;
    {
        std::lock_guard<std::mutex> lock(mIdleMutex);
        idle.swap(mIdle);
    }
    for (const IdleSocket& kept : idle)
        close(kept.fd);
}

size_t Connection::IdleSocketCount() {
    std::lock_guard<std::mutex> lock(mIdleMutex);
    return mIdle.size();
}

} // namespace tovrane::client

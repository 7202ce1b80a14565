//===- Connection.cpp - One server connection's address and kept sockets --===//
#include "Connection.h"

#include <unistd.h>

namespace tovrane::client {

Connection::~Connection() {
    CloseIdleSockets();
}

int Connection::TakeIdleSocket() {
    std::lock_guard<std::mutex> lock(mIdleMutex);
    if (mIdle.empty())
        return -1;
    // The most recently used socket is the least likely to have been closed by the server.
    int fd = mIdle.back();
    mIdle.pop_back();
    return fd;
}

void Connection::KeepIdleSocket(int fd) {
    {
        std::lock_guard<std::mutex> lock(mIdleMutex);
        if (!retired.load() && mIdle.size() < kMaxIdleSockets) {
            mIdle.push_back(fd);
            return;
        }
    }
    close(fd);
}

void Connection::CloseIdleSockets() {
    std::vector<int> idle;
    {
        std::lock_guard<std::mutex> lock(mIdleMutex);
        idle.swap(mIdle);
    }
    for (int fd : idle)
        close(fd);
}

size_t Connection::IdleSocketCount() {
    std::lock_guard<std::mutex> lock(mIdleMutex);
    return mIdle.size();
}

} // namespace tovrane::client

//===- HostileServer.cpp - A loopback peer that answers as a test scripts it -===//
#include "HostileServer.h"

#include "LoopbackSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

HostileServer::HostileServer(Script script) : mScript(std::move(script)) {
    mListen = BindLoopback(mPort, 16);
    if (mListen < 0)
        return;
    mThread = std::thread([this] {
        while (!mStop.load()) {
            pollfd poller{mListen, POLLIN, 0};
            if (poll(&poller, 1, 50) <= 0)
                continue;
            int fd = accept4(mListen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            mScript(fd, mStop);
            close(fd);
        }
    });
}

HostileServer::~HostileServer() {
    mStop.store(true);
    if (mThread.joinable())
        mThread.join();
    if (mListen >= 0)
        close(mListen);
}

bool HostileServer::ReadRequestHead(int fd) {
    std::string head;
    char c;
    while (head.size() < 65536) {
        pollfd poller{fd, POLLIN, 0};
        if (poll(&poller, 1, 5000) <= 0 || recv(fd, &c, 1, 0) != 1)
            return false;
        head.push_back(c);
        if (head.size() >= 4 && head.compare(head.size() - 4, 4, "\r\n\r\n") == 0)
            return true;
    }
    return false;
}

bool HostileServer::WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

long ResidentKiB() {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmRSS:", 6) == 0)
            kib = std::atol(line + 6);
    std::fclose(status);
    return kib;
}

// TCP sockets on the loopback interface for the tests' own servers and raw clients.
#ifndef PIGMENTOR_TESTS_SDK_LOOPBACKSOCKET_H
#define PIGMENTOR_TESTS_SDK_LOOPBACKSOCKET_H

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

/// The IPv4 loopback address with `port` (0: any port).
inline sockaddr_in LoopbackAddress(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

/// A close-on-exec TCP socket bound to a loopback port the system chooses, listening with
/// `backlog` when it is positive; that port into `port`. -1 (and nothing left open) when any
/// step fails.
inline int BindLoopback(int& port, int backlog) {
    port = 0;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address = LoopbackAddress(0);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        (backlog > 0 && listen(fd, backlog) != 0) ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

/// A close-on-exec TCP connection to the loopback `port`, or -1.
inline int DialLoopback(int port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const sockaddr_in address = LoopbackAddress(port);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

#endif // PIGMENTOR_TESTS_SDK_LOOPBACKSOCKET_H

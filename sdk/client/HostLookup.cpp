//===- HostLookup.cpp - Host name or dotted address to an IPv4 address ----===//
#include "HostLookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cstring>

namespace tovrane::client {

t10_status ResolveIPv4(const char* host, std::string& dotted) {
    dotted.clear();
    if (!host || !*host || strnlen(host, 256) > 255)
        return T10_ERR_PARAM;
    in_addr address{};
    char text[INET_ADDRSTRLEN];
    if (inet_pton(AF_INET, host, &address) == 1) {
        dotted = host;
        return T10_OK;
    }
    // getaddrinfo rather than gethostbyname: it is safe from several threads at once.
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found)
        return T10_ERR_HOST_NOT_FOUND;
    t10_status status = T10_ERR_HOST_NOT_FOUND;
    for (addrinfo* entry = found; entry; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET || entry->ai_addrlen < sizeof(sockaddr_in))
            continue;
        const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
        if (inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text)) {
            dotted = text;
            status = T10_OK;
            break;
        }
    }
    freeaddrinfo(found);
    return status;
}

} // namespace tovrane::client

//===- HostAddress.cpp - Host names to IPv4 addresses ----------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "HostAddress.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <cstdio>
#include <cstring>

in_addr_t InetToAddr(const char* text) {
    return text ? inet_addr(text) : INADDR_NONE;
}

int LookupHostAddress(const char* host, sockaddr_in* out) {
    if (!host || !out)
        return kHostLookupParamErr;
    std::memset(out, 0, sizeof *out);
    in_addr_t dotted = inet_addr(host);
    if (dotted != INADDR_NONE) {
        out->sin_addr.s_addr = dotted;
        out->sin_family = AF_INET;
        return 0;
    }
    hostent* entry = gethostbyname(host);
    if (!entry || !entry->h_addr_list || !entry->h_addr_list[0])
        return kHostLookupNotFound;
    out->sin_family = static_cast<sa_family_t>(entry->h_addrtype);
    // Only an IPv4 address fits the record; a longer one is cut rather than overrun it.
    size_t length = entry->h_length > 0 ? static_cast<size_t>(entry->h_length) : 0;
    if (length > sizeof out->sin_addr)
        length = sizeof out->sin_addr;
    std::memcpy(&out->sin_addr, entry->h_addr_list[0], length);
    return 0;
}

bool ResolveHostToAddrString(const char* host, char* out) {
    sockaddr_in address;
    if (!out || LookupHostAddress(host, &address) != 0)
        return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&address.sin_addr);
    std::snprintf(out, 16, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
    return true;
}

bool ResolveHostToAddr(const char* host, unsigned long* out) {
    sockaddr_in address;
    if (!out || LookupHostAddress(host, &address) != 0)
        return false;
    *out = address.sin_addr.s_addr;
    return true;
}

//===- HostLookup.h - Host name or dotted address to an IPv4 address --------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_HOSTLOOKUP_H
#define TOVRANE_CLIENT_HOSTLOOKUP_H

#include <t10.h>

#include <string>

namespace tovrane::client {

/// The dotted IPv4 address of `host`, which is a dotted address (used as it is) or a name
/// (resolved, first IPv4 address). T10_ERR_PARAM for a null, empty or over-long (255 bytes)
/// text, T10_ERR_HOST_NOT_FOUND when the name does not resolve. Thread-safe.
t10_status ResolveIPv4(const char* host, std::string& dotted);

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_HOSTLOOKUP_H

//===- HostAddress.h - Host names to IPv4 addresses --------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_HOSTADDRESS_H
#define PIGMENTOR_BRIVELLE_HOSTADDRESS_H

#include <netinet/in.h>

/// Turning the server name a user typed into an IPv4 address: a dotted address is taken as
/// it is, anything else goes to the system resolver (`gethostbyname`, which reads the hosts
/// file before asking the network). Names are zero-terminated bytes. The resolver keeps
/// process-wide state: call these from one thread at a time. Nothing is kept between calls.

/// LookupHostAddress's status for a null argument.
constexpr int kHostLookupParamErr = 22;
/// LookupHostAddress's status for a name that does not resolve.
constexpr int kHostLookupNotFound = 65;

/// The dotted-address parse of `text` (`inet_addr`): the address in network order, or
/// INADDR_NONE when the text is not a dotted address (or is null).
in_addr_t InetToAddr(const char* text);
/// Fills `out` (all 16 bytes cleared first; port and length byte stay 0) with the address of
/// `host`: 0, 22 for a null argument, 65 when the name does not resolve.
int LookupHostAddress(const char* host, sockaddr_in* out);
/// Writes the address of `host` as "a.b.c.d" into `out` (at least 16 bytes); false when the
/// lookup fails.
bool ResolveHostToAddrString(const char* host, char* out);
/// The 32-bit address of `host` in network order; false when the lookup fails.
bool ResolveHostToAddr(const char* host, unsigned long* out);

#endif // PIGMENTOR_BRIVELLE_HOSTADDRESS_H

//===- Guard.h - Keeps C++ exceptions from crossing the C interface ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_GUARD_H
#define TOVRANE_CLIENT_GUARD_H

#include <t10.h>

#include <exception>

namespace tovrane::client {

/// Runs `body` (which returns a t10_status) and answers T10_ERR_NO_MEMORY should the
/// standard library throw (out of memory, no thread or lock to be had). Our own code never
/// throws; this only keeps the library's failures from unwinding into a C caller.
template <typename Body> t10_status Guard(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return T10_ERR_NO_MEMORY;
    }
}

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_GUARD_H

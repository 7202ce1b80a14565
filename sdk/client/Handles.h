//===- Handles.h - Server handles and the connections behind them -----------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_HANDLES_H
#define TOVRANE_CLIENT_HANDLES_H

#include "Connection.h"

#include <t10.h>

#include <cstddef>
#include <memory>

/// The process-wide table of handles. A handle is a small block whose first word is 1 while
/// connected; the table maps it to its connection. Handles are only ever compared, never
/// read, to be looked up, so a stale or made-up pointer is simply not found. Disconnecting
/// clears the word and retires the connection; the block is freed by `ReapHandles`.
/// Thread-safe.
namespace tovrane::client {

/// A new connected handle for `connection`; null when memory runs out.
tovrane_server* RegisterHandle(std::shared_ptr<Connection> connection);
/// The connection of `handle` when it is connected: T10_ERR_NOT_CONNECTED otherwise.
t10_status FindConnection(const tovrane_server* handle, std::shared_ptr<Connection>& out);
/// Clears the handle's word and retires its connection; T10_ERR_NOT_CONNECTED when it is
/// not a connected handle.
t10_status DisconnectHandle(tovrane_server* handle);
/// Frees the blocks of disconnected handles.
void ReapHandles();
/// Handles in the table (connected or not yet reaped).
size_t HandleCount();

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_HANDLES_H

//===- HttpFloor.h - The least any client could do per request --*- C++ -*-===//
#ifndef PIGMENTOR_BENCH_HTTPFLOOR_H
#define PIGMENTOR_BENCH_HTTPFLOOR_H

#include <cstddef>

/// The floor of a piece of two-way work that makes `requests` requests: as many round trips
/// of the smallest request (POST /v1/hello) to tovrane-server on 127.0.0.1:`port`, all on one
/// kept-alive connection with TCP_NODELAY, each reply read whole. False when the connection or
/// any exchange failed. Blocking; one connection per call.
bool RunHttpFloor(int port, size_t requests);

#endif // PIGMENTOR_BENCH_HTTPFLOOR_H

//===- PMIconvCache.h - Reused iconv descriptors ----------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// Not part of the platform API: shared by this library's string codecs and the Text Encoding
// Converter above it.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_PMICONVCACHE_H
#define PIGMENTOR_CF_PMICONVCACHE_H

#include <iconv.h>

/// A per-thread cache of iconv descriptors keyed by (to, from) encoding names.
///
/// Opening a descriptor makes glibc load its conversion module and closing the last one
/// unloads it again, which costs far more than a conversion of a short string; so each thread
/// opens a pair once and keeps it until the thread ends. The descriptors belong to the cache:
/// callers never close them, and never hand them to another thread. Names are iconv's (at most
/// 31 bytes). The pairs a process asks for come from fixed tables, so the cache does not evict;
/// should a thread ever ask for more pairs than it holds, each further descriptor stays valid
/// until two more such pairs have been asked for.
namespace pmcf {

/// The calling thread's descriptor from `from` to `to`, reset to its initial shift state;
/// (iconv_t)-1 with errno set when iconv cannot convert between them (failures are not cached).
iconv_t IconvAcquire(const char* to, const char* from);

} // namespace pmcf

#endif

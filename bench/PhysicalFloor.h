//===- PhysicalFloor.h - Reading a file and finding its lines ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BENCH_PHYSICALFLOOR_H
#define PIGMENTOR_BENCH_PHYSICALFLOOR_H

#include <cstddef>
#include <vector>

/// The least work any PPD reader must do: read the whole file and find its lines. A parser's
/// time divided by this one's tells how much it spends beyond touching the bytes once.
///
/// The caller owns the buffer and passes the same one again, so that repeated reads of the
/// same files allocate nothing. Bytes are not interpreted; no encoding is assumed.
namespace PhysicalFloor {

/// Files larger than this are refused rather than read.
constexpr std::size_t kMaxFileSize = 64u << 20;

/// Reads the file at `path` whole into `buffer` (grown when too small, never shrunk) with
/// open/read/close. Returns the bytes read, or -1 when the file cannot be read or is too large.
long ReadWholeFile(const char* path, std::vector<char>& buffer);

/// The lines of `size` bytes at `data`: CR LF, CR and LF each end one, and bytes after the
/// last line end make one more. Looks at every byte.
std::size_t CountLines(const char* data, std::size_t size);

} // namespace PhysicalFloor

#endif // PIGMENTOR_BENCH_PHYSICALFLOOR_H

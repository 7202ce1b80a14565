//===- ArchiveFile.h - Archive bytes to and from files ----------*- C++ -*-===//
#ifndef PIGMENTOR_TOOLS_ARCHIVEFILE_H
#define PIGMENTOR_TOOLS_ARCHIVEFILE_H

#include <cstddef>
#include <vector>

/// Writes `size` bytes into a new file at `path` (mode 0644 less the umask). An existing path,
/// a symbolic link included, is refused and left alone; a file that could not be written
/// whole is removed again. Returns 0 or the errno of the failure.
int WriteNewFile(const char* path, const void* bytes, size_t size);

/// Reads the regular file at `path`, of at most `limit` bytes, into `bytes`. Returns 0 or an
/// errno: EINVAL for something other than a regular file, EFBIG for one larger than `limit`.
int ReadSmallFile(const char* path, size_t limit, std::vector<unsigned char>& bytes);

#endif // PIGMENTOR_TOOLS_ARCHIVEFILE_H

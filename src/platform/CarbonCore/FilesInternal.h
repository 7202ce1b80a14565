#pragma once
/// Private to the CarbonCore library: the node table behind directory ids and FSRefs, and the
/// conversions between fsSpecs, refs and paths that the File Manager calls share.
///
/// Paths here are canonical: absolute, no "." or ".." or empty components, no trailing '/'
/// except for "/" itself, directories with their symbolic links resolved.

#include <CarbonCore/Files.h>

#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace carboncore {

/// Path of a node id; false for an id never handed out.
bool NodePath(UInt32 nodeID, std::string* path);
/// Id of a canonical path, assigned on first sight; memFullErr when the table is full.
OSErr NodeIDForPath(const std::string& path, UInt32* nodeID);

/// The platform status for a failed POSIX call's errno.
OSErr OSErrFromErrno(int err);
/// Whether `name` is a legal leaf name of at most 63 bytes (255 with `longName`).
OSErr CheckLeafName(const unsigned char* name, size_t length, bool longName = false);
/// Splits a canonical path other than "/" into its parent directory and leaf name.
void SplitPath(const std::string& path, std::string* parent, std::string* leaf);

/// Path a fsSpec names; its parent directory must exist.
OSErr SpecToPath(const FSSpec* fsSpec, std::string* path);
/// The path SpecToPath gives, without its check that the parent directory still exists; false
/// whenever SpecToPath might fail, so that callers can ask it for the status then. For callers
/// whose next system call fails anyway when the directory is gone.
bool SpecToPathUnchecked(const FSSpec* fsSpec, std::string* path);
/// FSSpec for a canonical path. A leaf of 64 to 255 bytes is carried as a short name (its
/// first bytes, '#', the node id of the path in upper-case hexadecimal) that SpecToPath turns
/// back into the path; bdNamErr beyond 255.
OSErr PathToSpec(const std::string& path, FSSpec* fsSpec);
/// Path of the existing node a ref names: errFSBadFSRef if it is not a ref, fnfErr if gone.
/// The node's lstat is left in *st when one is given.
OSErr RefToPath(const FSRef* ref, std::string* path, struct stat* st = nullptr);
/// Ref for a canonical path.
OSErr PathToRef(const std::string& path, FSRef* ref);

/// Whether an open fork refers to the file (dev, ino); FSpDelete refuses to delete those.
bool IsForkOpen(dev_t dev, ino_t ino);

} // namespace carboncore

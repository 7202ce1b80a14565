#pragma once
/// File Manager over POSIX files.
///
/// There is one volume, the whole file system, with reference number -1 ("/"); 0 (the default
/// volume) is accepted as the same one. Directories and other nodes get ids from a process-wide
/// table that maps id <-> canonical absolute path (symbolic links in directories resolved),
/// assigned on first sight and never reused; 2 is "/" and 1 (fsRtParID) its pseudo-parent.
/// The table holds at most 65536 nodes; past that, new nodes give memFullErr.
///
/// FSSpec: (volume, parent directory id, name). The name is a Pascal string of at most 63 bytes
/// holding the file system's bytes unchanged (UTF-8 on Linux, not Mac Roman); it may not be
/// empty (except in the root's fsSpec {-1, fsRtParID, ""}), contain '/' or NUL, or be "." or "..".
/// The platform's FSSpec is 70 bytes (68k alignment, 4-byte long); here `long` is 8 bytes and
/// alignment natural, so sizeof(FSSpec) is 80: never write one to a file or a wire.
///
/// FSRef: 80 opaque bytes naming an existing node of the table; a ref made of other bytes, or
/// whose node has gone, gives errFSBadFSRef or fnfErr. Specs and refs that cannot be resolved are
/// simply not valid: every call checks them and returns an error, none crashes.
///
/// Forks: a file reference number names an open data fork (a POSIX descriptor) in a table of
/// at most 64 entries; FSClose frees it. Opening for writing never follows a symbolic link
/// (permErr), FSpCreate never replaces anything (dupFNErr, also for a planted link), only
/// regular files open (notAFileErr otherwise), and a second write access path to the same file
/// is refused with opWrErr. Resource forks do not exist: a file's data is its data fork.
///
/// Threads: the tables are process-wide and guarded by mutexes; fork I/O runs under the fork
/// table's mutex, so calls on forks are serialised across threads.

#include <CarbonCore/MacErrors.h>
#include <CarbonCore/MacTypes.h>
#include <CoreFoundation/CFURL.h>

typedef SInt16 FSVolumeRefNum;
typedef Str63 StrFileName;

/// A file named by volume, parent directory id and name; see the header comment.
struct FSSpec {
    short vRefNum;
    long parID;
    StrFileName name;
};
typedef struct FSSpec FSSpec;
typedef FSSpec* FSSpecPtr;

/// A reference to an existing file or directory; its bytes are private to the File Manager.
struct FSRef {
    UInt8 hidden[80];
};
typedef struct FSRef FSRef;
typedef FSRef* FSRefPtr;

/// A long name in UTF-16.
struct HFSUniStr255 {
    UInt16 length;
    UniChar unicode[255];
};
typedef struct HFSUniStr255 HFSUniStr255;

typedef UInt32 FSCatalogInfoBitmap;
enum {
    kFSCatInfoNone = 0x00000000,
    kFSCatInfoNodeFlags = 0x00000002,
    kFSCatInfoVolume = 0x00000004,
    kFSCatInfoParentDirID = 0x00000008,
    kFSCatInfoNodeID = 0x00000010,
    kFSCatInfoDataSizes = 0x00004000,
    kFSCatInfoRsrcSizes = 0x00008000,
};

enum {
    kFSNodeLockedMask = 0x0001,      ///< not writable by this process
    kFSNodeIsDirectoryMask = 0x0010, ///< a directory
};

/// The part of the platform's catalog information that this port provides; other bits of the
/// bitmap are ignored. Resource fork sizes are always 0.
struct FSCatalogInfo {
    UInt16 nodeFlags;
    FSVolumeRefNum volume;
    UInt32 parentDirID;
    UInt32 nodeID;
    UInt64 dataLogicalSize;
    UInt64 dataPhysicalSize;
    UInt64 rsrcLogicalSize;
    UInt64 rsrcPhysicalSize;
};
typedef struct FSCatalogInfo FSCatalogInfo;

// Permissions for opening a fork.
enum {
    fsCurPerm = 0,  ///< read and write if allowed, else read only
    fsRdPerm = 1,   ///< read only
    fsWrPerm = 2,   ///< write only
    fsRdWrPerm = 3, ///< read and write
};

// Positioning modes of SetFPos (the bits above the low two are cache hints and are ignored).
enum {
    fsAtMark = 0, ///< leave the mark where it is
    fsFromStart = 1,
    fsFromLEOF = 2, ///< relative to the logical end of file
    fsFromMark = 3,
};

enum {
    fsRtParID = 1, ///< the pseudo-parent of the root directory
    fsRtDirID = 2, ///< the root directory
};

/// The one volume of this port (not a platform name).
enum { kPigmentorVolumeRefNum = -1 };

#ifdef __cplusplus
extern "C" {
#endif

/// Fills *fsSpec for `fileName` in directory `dirID` (0 = current directory; empty name = the
/// directory itself). noErr if it exists, fnfErr if not (the fsSpec is still filled and valid for
/// FSpCreate), bdNamErr, nsvErr or dirNFErr if no fsSpec can be made. Names of 64 to 255 bytes
/// are carried in the fsSpec as a short name of at most 63 bytes (the first bytes of the name,
/// '#', a hexadecimal node id) that every call taking the fsSpec resolves in this process.
OSErr FSMakeFSSpec(short vRefNum, long dirID, ConstStr255Param fileName, FSSpec* fsSpec);
/// Opens the fsSpec's data fork; *refNum gets the file reference number (0 on failure).
OSErr FSpOpenDF(const FSSpec* fsSpec, SInt8 permission, short* refNum);
/// Creates an empty file; dupFNErr if anything (even a symbolic link) has that name. Creator and
/// type are not kept: this file system has nowhere to put them.
OSErr FSpCreate(const FSSpec* fsSpec, OSType creator, OSType fileType, ScriptCode scriptTag);
/// Deletes a file or an empty directory; fBsyErr if it is open or not empty.
OSErr FSpDelete(const FSSpec* fsSpec);
/// Reads *count bytes at the mark; at end of file *count gets what was read and eofErr returns.
OSErr FSRead(short refNum, long* count, void* buffer);
/// Writes *count bytes at the mark; *count gets what was written.
OSErr FSWrite(short refNum, long* count, const void* buffer);
/// Closes the fork; rfNumErr if `refNum` is not open.
OSErr FSClose(short refNum);
/// Logical end of file (the file's size).
OSErr GetEOF(short refNum, long* logEOF);
/// Sets the file's size; the mark moves back to the end if it was past it.
OSErr SetEOF(short refNum, long logEOF);
/// The mark (current position).
OSErr GetFPos(short refNum, long* filePos);
/// Moves the mark; posErr before the start (mark unchanged), eofErr past the end (mark at end).
OSErr SetFPos(short refNum, short posMode, long posOff);

/// Ref for an existing path (a NUL-terminated UTF-8 path; relative to the current directory
/// unless absolute; symbolic links followed); *isDirectory (may be NULL) tells what it is.
OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);
/// The ref's canonical absolute path, NUL-terminated; buffersTooSmall if it does not fit.
OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize);
/// Information on the ref's node; each of catalogInfo, outName, fsSpec, parentRef may be NULL.
/// outName is the name in UTF-16 (kTextMalformedInputErr if the file system's bytes are not
/// UTF-8); fsSpec fails with bdNamErr for names over 63 bytes. The root's parentRef is all zero
/// bytes (no node) and its fsSpec is {-1, fsRtParID, ""}.
OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfo,
                       HFSUniStr255* outName, FSSpec* fsSpec, FSRef* parentRef);
/// Ref for the node a fsSpec names; fnfErr if it does not exist.
OSErr FSpMakeFSRef(const FSSpec* source, FSRef* newRef);

/// Ref for a file URL's node; false if the URL is not a file URL or names nothing.
Boolean CFURLGetFSRef(CFURLRef url, FSRef* fsRef);
/// New file URL for the ref's node (directories end in '/'); NULL if the ref is not valid.
CFURLRef CFURLCreateFromFSRef(CFAllocatorRef allocator, const FSRef* fsRef);

#ifdef __cplusplus
}
#endif

#include "FilesInternal.h"

#include <CarbonCore/TextEncodingConverter.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace carboncore;

namespace {

// Canonical path of an existing node, or the status of why there is none.
OSErr canonicalPath(const char* path, std::string* out) {
    char resolved[PATH_MAX];
    if (realpath(path, resolved) == nullptr)
        return OSErrFromErrno(errno);
    *out = resolved;
    return noErr;
}

// The directory a FSMakeFSSpec call starts from.
OSErr directoryForID(long dirID, std::string* dir) {
    if (dirID == 0) {
        char cwd[PATH_MAX];
        if (getcwd(cwd, sizeof cwd) == nullptr)
            return dirNFErr;
        return canonicalPath(cwd, dir) == noErr ? OSErr(noErr) : OSErr(dirNFErr);
    }
    struct stat st;
    if (dirID < fsRtDirID || dirID > long(UINT32_MAX) || !NodePath(UInt32(dirID), dir) ||
        stat(dir->c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return dirNFErr;
    return noErr;
}

// Leaf name as UTF-16; file names here are UTF-8 bytes.
OSErr leafToUnicode(const std::string& path, HFSUniStr255* outName) {
    std::memset(outName, 0, sizeof *outName);
    if (path == "/")
        return noErr;
    std::string parent, leaf;
    SplitPath(path, &parent, &leaf);
    TECObjectRef converter = nullptr;
    TextEncoding utf8 =
        CreateTextEncoding(kTextEncodingUnicodeDefault, kUnicodeNoSubset, kUnicodeUTF8Format);
    TextEncoding utf16 =
        CreateTextEncoding(kTextEncodingUnicodeDefault, kUnicodeNoSubset, kUnicode16BitFormat);
    OSStatus status = TECCreateConverter(&converter, utf8, utf16);
    if (status != noErr)
        return OSErr(status);
    ByteCount used = 0, produced = 0;
    status = TECConvertText(converter, reinterpret_cast<ConstTextPtr>(leaf.data()), leaf.size(),
                            &used, reinterpret_cast<TextPtr>(outName->unicode),
                            sizeof outName->unicode, &produced);
    if (status == noErr && used != leaf.size())
        status = kTextMalformedInputErr; // ends in a cut-off character
    TECDisposeConverter(converter);
    if (status != noErr) {
        std::memset(outName, 0, sizeof *outName);
        return status == kTECOutputBufferFullStatus ? OSErr(buffersTooSmall) : OSErr(status);
    }
    outName->length = UInt16(produced / sizeof(UniChar));
    return noErr;
}

void fillCatalogInfo(const std::string& path, const struct stat& st, UInt32 nodeID,
                     FSCatalogInfoBitmap whichInfo, FSCatalogInfo* info) {
    std::memset(info, 0, sizeof *info);
    if (whichInfo & kFSCatInfoNodeFlags) {
        if (S_ISDIR(st.st_mode))
            info->nodeFlags |= kFSNodeIsDirectoryMask;
        if (access(path.c_str(), W_OK) != 0)
            info->nodeFlags |= kFSNodeLockedMask;
    }
    if (whichInfo & kFSCatInfoVolume)
        info->volume = kPigmentorVolumeRefNum;
    if (whichInfo & kFSCatInfoNodeID)
        info->nodeID = nodeID;
    if (whichInfo & kFSCatInfoParentDirID) {
        info->parentDirID = fsRtParID;
        if (path != "/") {
            std::string parent, leaf;
            SplitPath(path, &parent, &leaf);
            if (NodeIDForPath(parent, &info->parentDirID) != noErr)
                info->parentDirID = 0;
        }
    }
    if (whichInfo & kFSCatInfoDataSizes) {
        info->dataLogicalSize = UInt64(st.st_size);
        info->dataPhysicalSize = UInt64(st.st_blocks) * 512;
    }
}

} // namespace

extern "C" {

OSErr FSMakeFSSpec(short vRefNum, long dirID, ConstStr255Param fileName, FSSpec* fsSpec) {
    if (fsSpec == nullptr)
        return paramErr;
    std::memset(fsSpec, 0, sizeof *fsSpec);
    if (vRefNum != kPigmentorVolumeRefNum && vRefNum != 0)
        return nsvErr;
    size_t length = fileName != nullptr ? fileName[0] : 0;
    if (dirID == fsRtParID) {
        if (length != 0)
            return dirNFErr;
        fsSpec->vRefNum = kPigmentorVolumeRefNum;
        fsSpec->parID = fsRtParID;
        return noErr;
    }
    std::string dir;
    if (OSErr err = directoryForID(dirID, &dir))
        return err;
    if (length == 0) // the directory itself
        return PathToSpec(dir, fsSpec);
    if (OSErr err = CheckLeafName(fileName + 1, length, true))
        return err;
    // The directory was just checked and the leaf name too: the FSSpec path is theirs joined.
    std::string path = dir == "/" ? dir : dir + "/";
    path.append(reinterpret_cast<const char*>(fileName + 1), length);
    // PathToSpec carries a name longer than an FSSpec holds (even of a file not made yet).
    if (OSErr err = PathToSpec(path, fsSpec))
        return err;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return OSErrFromErrno(errno);
    return noErr;
}

OSErr FSpCreate(const FSSpec* fsSpec, OSType /*creator*/, OSType /*fileType*/,
                ScriptCode /*scriptTag*/) {
    std::string path;
    if (OSErr err = SpecToPath(fsSpec, &path))
        return err;
    if (path == "/")
        return dupFNErr;
    // O_EXCL with O_NOFOLLOW: whatever is already there, a planted symbolic link included, is
    // left alone.
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return OSErrFromErrno(errno);
    close(fd);
    return noErr;
}

OSErr FSpDelete(const FSSpec* fsSpec) {
    std::string path;
    if (OSErr err = SpecToPath(fsSpec, &path))
        return err;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return OSErrFromErrno(errno);
    if (S_ISDIR(st.st_mode))
        return rmdir(path.c_str()) == 0 ? OSErr(noErr) : OSErrFromErrno(errno);
    if (IsForkOpen(st.st_dev, st.st_ino))
        return fBsyErr;
    return unlink(path.c_str()) == 0 ? OSErr(noErr) : OSErrFromErrno(errno);
}

OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory) {
    if (path == nullptr || ref == nullptr)
        return paramErr;
    const char* p = reinterpret_cast<const char*>(path);
    size_t length = strnlen(p, PATH_MAX);
    if (length == PATH_MAX)
        return bdNamErr;
    if (length == 0)
        return fnfErr;
    std::string canonical;
    if (OSErr err = canonicalPath(p, &canonical))
        return err;
    // realpath has just found the node; only the caller's question needs its stat.
    struct stat st;
    if (isDirectory != nullptr && stat(canonical.c_str(), &st) != 0)
        return OSErrFromErrno(errno);
    if (OSErr err = PathToRef(canonical, ref))
        return err;
    if (isDirectory != nullptr)
        *isDirectory = S_ISDIR(st.st_mode) ? 1 : 0;
    return noErr;
}

OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize) {
    if (path == nullptr || maxPathSize == 0)
        return paramErr;
    path[0] = 0;
    std::string resolved;
    if (OSErr err = RefToPath(ref, &resolved))
        return err;
    if (resolved.size() + 1 > maxPathSize)
        return buffersTooSmall;
    std::memcpy(path, resolved.c_str(), resolved.size() + 1);
    return noErr;
}

OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfo,
                       HFSUniStr255* outName, FSSpec* fsSpec, FSRef* parentRef) {
    std::string path;
    struct stat st;
    if (OSErr err = RefToPath(ref, &path, &st))
        return err;
    if (catalogInfo != nullptr) {
        UInt32 nodeID = 0;
        if (OSErr err = NodeIDForPath(path, &nodeID))
            return err;
        fillCatalogInfo(path, st, nodeID, whichInfo, catalogInfo);
    }
    if (outName != nullptr) {
        if (OSErr err = leafToUnicode(path, outName))
            return err;
    }
    if (fsSpec != nullptr) {
        if (OSErr err = PathToSpec(path, fsSpec))
            return err;
    }
    if (parentRef != nullptr) {
        std::memset(parentRef, 0, sizeof *parentRef);
        if (path != "/") {
            std::string parent, leaf;
            SplitPath(path, &parent, &leaf);
            if (OSErr err = PathToRef(parent, parentRef))
                return err;
        }
    }
    return noErr;
}

OSErr FSpMakeFSRef(const FSSpec* source, FSRef* newRef) {
    if (newRef == nullptr)
        return paramErr;
    std::string path;
    if (OSErr err = SpecToPath(source, &path))
        return err;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return OSErrFromErrno(errno);
    return PathToRef(path, newRef);
}

} // extern "C"

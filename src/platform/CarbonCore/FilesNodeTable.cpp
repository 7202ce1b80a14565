#include "FilesInternal.h"

#include <CoreFoundation/PMASCII.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>

namespace carboncore {

namespace {

constexpr size_t kMaxNodes = 65536;
constexpr size_t kMaxLeafName = 63;
constexpr size_t kMaxLongLeafName = 255; // what Linux file systems allow
// Marks our refs, so that a ref of zeros or stray bytes is told apart from a real one.
constexpr UInt8 kRefMagic[4] = {'P', 'g', 'R', 'f'};
constexpr size_t kRefIDOffset = 4;

struct NodeTable {
    std::mutex mutex;
    std::vector<std::string> paths; // index = id - fsRtDirID
    std::unordered_map<std::string, UInt32> ids;
};

NodeTable& table() {
    static NodeTable* t = [] {
        auto* fresh = new NodeTable; // outlives static destructors, like the nodes' users
        fresh->paths.push_back("/");
        fresh->ids.emplace("/", UInt32(fsRtDirID));
        return fresh;
    }();
    return *t;
}

bool isDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

bool NodePath(UInt32 nodeID, std::string* path) {
    NodeTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (nodeID < UInt32(fsRtDirID) || nodeID - fsRtDirID >= t.paths.size())
        return false;
    *path = t.paths[nodeID - fsRtDirID];
    return true;
}

OSErr NodeIDForPath(const std::string& path, UInt32* nodeID) {
    NodeTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.ids.find(path);
    if (it != t.ids.end()) {
        *nodeID = it->second;
        return noErr;
    }
    if (t.paths.size() >= kMaxNodes)
        return memFullErr;
    UInt32 id = UInt32(t.paths.size()) + fsRtDirID;
    t.paths.push_back(path);
    t.ids.emplace(path, id);
    *nodeID = id;
    return noErr;
}

OSErr OSErrFromErrno(int err) {
    switch (err) {
    case ENOENT:
        return fnfErr;
    case ENOTDIR:
        return dirNFErr;
    case EACCES:
    case EPERM:
    case ELOOP: // a symbolic link where we refuse to follow one
        return permErr;
    case EROFS:
        return wPrErr;
    case EEXIST:
        return dupFNErr;
    case ENAMETOOLONG:
        return bdNamErr;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return dskFulErr;
    case EMFILE:
    case ENFILE:
        return tmfoErr;
    case EISDIR:
        return notAFileErr;
    case ENOTEMPTY:
    case EBUSY:
    case ETXTBSY:
        return fBsyErr;
    case ENOMEM:
        return memFullErr;
    case EBADF:
        return rfNumErr;
    case EINVAL:
        return paramErr;
    default:
        return ioErr;
    }
}

OSErr CheckLeafName(const unsigned char* name, size_t length, bool longName) {
    if (length == 0 || length > (longName ? kMaxLongLeafName : kMaxLeafName))
        return bdNamErr;
    if (std::memchr(name, '/', length) != nullptr || std::memchr(name, '\0', length) != nullptr)
        return bdNamErr;
    if ((length == 1 && name[0] == '.') || (length == 2 && name[0] == '.' && name[1] == '.'))
        return bdNamErr;
    return noErr;
}

void SplitPath(const std::string& path, std::string* parent, std::string* leaf) {
    size_t slash = path.rfind('/');
    *parent = slash == 0 ? std::string("/") : path.substr(0, slash);
    *leaf = path.substr(slash + 1);
}

namespace {

bool validVolume(const FSSpec* fsSpec) {
    return fsSpec->vRefNum == kPigmentorVolumeRefNum || fsSpec->vRefNum == 0;
}

// The path of the directory a fsSpec's parID names, as the table knows it.
bool parentPath(const FSSpec* fsSpec, std::string* dir) {
    return fsSpec->parID >= fsRtDirID && fsSpec->parID <= long(UINT32_MAX) &&
           NodePath(UInt32(fsSpec->parID), dir);
}

// A name longer than an FSSpec holds is carried as its first bytes, '#' and the hexadecimal
// node id of the whole path (the platform's own scheme for long names); the node table gives
// the whole path back. The id is only believed when that node lies in the same directory and
// its name is a long one beginning with those bytes: a short name that merely contains '#'
// stays itself.
bool longNamePath(const std::string& dir, const unsigned char* name, size_t length,
                  std::string* path) {
    const unsigned char* mark =
        static_cast<const unsigned char*>(memrchr(name, '#', length));
    if (mark == nullptr || mark == name + length - 1 || name + length - mark - 1 > 8)
        return false;
    UInt32 id = 0;
    for (const unsigned char* p = mark + 1; p < name + length; ++p) {
        int digit = pmcf::HexDigitValue(static_cast<char>(*p));
        if (digit < 0 || (*p >= 'a' && *p <= 'f'))
            return false;
        id = id << 4 | UInt32(digit);
    }
    std::string full, parent, leaf;
    if (!NodePath(id, &full))
        return false;
    SplitPath(full, &parent, &leaf);
    const size_t prefix = size_t(mark - name);
    if (parent != dir || leaf.size() <= kMaxLeafName ||
        leaf.compare(0, prefix, reinterpret_cast<const char*>(name), prefix) != 0)
        return false;
    *path = full;
    return true;
}

void joinPath(const std::string& dir, const FSSpec* fsSpec, std::string* path) {
    if (longNamePath(dir, fsSpec->name + 1, fsSpec->name[0], path))
        return;
    *path = dir == "/" ? dir : dir + "/";
    path->append(reinterpret_cast<const char*>(fsSpec->name + 1), fsSpec->name[0]);
}

} // namespace

OSErr SpecToPath(const FSSpec* fsSpec, std::string* path) {
    if (fsSpec == nullptr)
        return paramErr;
    if (!validVolume(fsSpec))
        return nsvErr;
    size_t length = fsSpec->name[0];
    if (fsSpec->parID == fsRtParID) {
        if (length != 0)
            return dirNFErr;
        *path = "/";
        return noErr;
    }
    std::string dir;
    if (!parentPath(fsSpec, &dir) || !isDirectory(dir))
        return dirNFErr;
    if (OSErr err = CheckLeafName(fsSpec->name + 1, length))
        return err;
    joinPath(dir, fsSpec, path);
    return noErr;
}

bool SpecToPathUnchecked(const FSSpec* fsSpec, std::string* path) {
    std::string dir;
    if (fsSpec == nullptr || !validVolume(fsSpec) || fsSpec->parID == fsRtParID ||
        !parentPath(fsSpec, &dir) || CheckLeafName(fsSpec->name + 1, fsSpec->name[0]) != noErr)
        return false;
    joinPath(dir, fsSpec, path);
    return true;
}

OSErr PathToSpec(const std::string& path, FSSpec* fsSpec) {
    std::memset(fsSpec, 0, sizeof *fsSpec);
    fsSpec->vRefNum = kPigmentorVolumeRefNum;
    if (path == "/") {
        fsSpec->parID = fsRtParID;
        return noErr;
    }
    std::string parent, leaf;
    SplitPath(path, &parent, &leaf);
    if (leaf.size() > kMaxLongLeafName)
        return bdNamErr;
    UInt32 parentID = 0;
    if (OSErr err = NodeIDForPath(parent, &parentID))
        return err;
    if (leaf.size() > kMaxLeafName) {
        UInt32 leafID = 0;
        if (OSErr err = NodeIDForPath(path, &leafID))
            return err;
        char suffix[10];
        int suffixLength = std::snprintf(suffix, sizeof suffix, "#%X", unsigned(leafID));
        // Cut at a character boundary, so that the short name is still valid UTF-8.
        size_t prefix = kMaxLeafName - size_t(suffixLength);
        while (prefix > 0 && (static_cast<unsigned char>(leaf[prefix]) & 0xC0) == 0x80)
            --prefix;
        leaf = leaf.substr(0, prefix) + suffix;
    }
    fsSpec->parID = long(parentID);
    fsSpec->name[0] = static_cast<unsigned char>(leaf.size());
    std::memcpy(fsSpec->name + 1, leaf.data(), leaf.size());
    return noErr;
}

OSErr RefToPath(const FSRef* ref, std::string* path, struct stat* st) {
    if (ref == nullptr)
        return paramErr;
    UInt32 id = 0;
    std::memcpy(&id, ref->hidden + kRefIDOffset, sizeof id);
    if (std::memcmp(ref->hidden, kRefMagic, sizeof kRefMagic) != 0 || !NodePath(id, path))
        return errFSBadFSRef;
    struct stat local;
    if (lstat(path->c_str(), st ? st : &local) != 0)
        return OSErrFromErrno(errno);
    return noErr;
}

OSErr PathToRef(const std::string& path, FSRef* ref) {
    UInt32 id = 0;
    if (OSErr err = NodeIDForPath(path, &id))
        return err;
    std::memset(ref, 0, sizeof *ref);
    std::memcpy(ref->hidden, kRefMagic, sizeof kRefMagic);
    std::memcpy(ref->hidden + kRefIDOffset, &id, sizeof id);
    return noErr;
}

} // namespace carboncore

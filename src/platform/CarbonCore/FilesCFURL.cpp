#include <CarbonCore/Files.h>

#include <CoreFoundation/CFURL.h>

#include <climits>
#include <cstring>

extern "C" {

Boolean CFURLGetFSRef(CFURLRef url, FSRef* fsRef) {
    if (url == nullptr || fsRef == nullptr)
        return false;
    UInt8 path[PATH_MAX];
    if (!CFURLGetFileSystemRepresentation(url, true, path, sizeof path))
        return false;
    return FSPathMakeRef(path, fsRef, nullptr) == noErr;
}

CFURLRef CFURLCreateFromFSRef(CFAllocatorRef allocator, const FSRef* fsRef) {
    UInt8 path[PATH_MAX];
    FSCatalogInfo info;
    if (FSRefMakePath(fsRef, path, sizeof path) != noErr ||
        FSGetCatalogInfo(fsRef, kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr) != noErr)
        return nullptr;
    Boolean isDirectory = (info.nodeFlags & kFSNodeIsDirectoryMask) != 0;
    return CFURLCreateFromFileSystemRepresentation(
        allocator, path, CFIndex(std::strlen(reinterpret_cast<const char*>(path))), isDirectory);
}

} // extern "C"

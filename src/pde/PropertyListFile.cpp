//===- PropertyListFile.cpp - A property list file ------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PropertyListFile.h"

#include <CarbonCore/MacErrors.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// The file-system path of `url`, or "" when it has none.
std::string PathOf(CFURLRef url) {
    char path[PATH_MAX];
    if (!url || !CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(path),
                                                  sizeof path))
        return std::string();
    return path;
}

CFURLRef URLOf(const std::string& path) {
    return CFURLCreateFromFileSystemRepresentation(
        kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path.data()),
        static_cast<CFIndex>(path.size()), false);
}

/// Writes all of `bytes` to a new file `path` (never an existing one, never through a link).
bool WriteNewFile(const std::string& path, CFDataRef bytes) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const UInt8* p = CFDataGetBytePtr(bytes);
    size_t left = static_cast<size_t>(CFDataGetLength(bytes));
    bool ok = true;
    while (ok && left > 0) {
        ssize_t n = write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok) {
            p += n;
            left -= static_cast<size_t>(n);
        }
    }
    ok = close(fd) == 0 && ok;
    if (!ok)
        unlink(path.c_str());
    return ok;
}

} // namespace

PropertyListFile::PropertyListFile(CFURLRef url, bool flag, CFPropertyListMutabilityOptions options)
    : mFlag(flag) {
    // URLs of this platform layer are absolute from the start.
    if (url) {
        CFRetain(url);
        mURL = url;
    }
    Read(options);
}

PropertyListFile::PropertyListFile(CFURLRef folder, CFStringRef name, bool flag,
                                   CFPropertyListMutabilityOptions options)
    : mFlag(flag) {
    if (folder && name)
        mURL = CFURLCreateCopyAppendingPathComponent(kCFAllocatorDefault, folder, name, false);
    Read(options);
}

PropertyListFile::PropertyListFile(const char* path, bool flag,
                                   CFPropertyListMutabilityOptions options)
    : mFlag(flag) {
    const char* home = std::getenv("HOME");
    if (home && *home && path && *path) {
        // The path goes to the file system as the bytes HOME and the caller gave, whatever
        // their encoding; a text conversion could only change which file is meant.
        std::string full = std::string(home) + path;
        if (full.size() < PATH_MAX)
            mURL = CFURLCreateFromFileSystemRepresentation(
                kCFAllocatorDefault, reinterpret_cast<const UInt8*>(full.data()),
                static_cast<CFIndex>(full.size()), false);
    }
    Read(options);
}

PropertyListFile::~PropertyListFile() {
    if (mURL)
        CFRelease(mURL);
    if (mData)
        CFRelease(mData);
    if (mPropertyList)
        CFRelease(mPropertyList);
}

void PropertyListFile::Read(CFPropertyListMutabilityOptions options) {
    mValid = mURL != nullptr;
    if (mValid)
        CreatePropertyListFromFile(mURL, options);
}

bool PropertyListFile::CreatePropertyListFromFile(CFURLRef url,
                                                  CFPropertyListMutabilityOptions options) {
    CFDataRef data = nullptr;
    SInt32 error = 0;
    if (!CFURLCreateDataAndPropertiesFromResource(kCFAllocatorDefault, url, &data, nullptr, nullptr,
                                                  &error)) {
        mLastError = error ? error : kCFURLUnknownError;
        // A file that is there but could not be read must survive the next Save.
        mKeepOldFile = mLastError != kCFURLResourceNotFoundError;
        return false;
    }
    CFPropertyListRef root =
        CFPropertyListCreateFromXMLData(kCFAllocatorDefault, data, options, nullptr);
    if (mData)
        CFRelease(mData);
    mData = data;
    mKeepOldFile = root == nullptr;
    if (root == nullptr) {
        mLastError = kCFPropertyListReadCorruptError;
        return false;
    }
    if (mPropertyList)
        CFRelease(mPropertyList);
    mPropertyList = root;
    mLastError = 0;
    return true;
}

CFArrayRef PropertyListFile::GetAsArray() const {
    if (mPropertyList && CFGetTypeID(mPropertyList) == CFArrayGetTypeID())
        return static_cast<CFArrayRef>(mPropertyList);
    return nullptr;
}

CFURLRef PropertyListFile::CreateTargetURL() {
    const std::string path = PathOf(mURL);
    struct stat link;
    if (path.empty() || lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
        CFRetain(mURL);
        return mURL;
    }
    // A user may keep preferences elsewhere behind a link of their own; anything else (a link
    // planted by someone else, or leading to another's file) is refused, never followed.
    char target[PATH_MAX];
    struct stat file;
    if (link.st_uid != geteuid() || !realpath(path.c_str(), target) ||
        stat(target, &file) != 0 || !S_ISREG(file.st_mode) || file.st_uid != geteuid()) {
        mLastError = kCFURLResourceAccessViolationError;
        return nullptr;
    }
    CFURLRef url = URLOf(target);
    if (!url)
        mLastError = memFullErr;
    return url;
}

bool PropertyListFile::KeepOldFile(CFURLRef target) {
    const std::string path = PathOf(target);
    if (path.empty())
        return false;
    for (int n = 1; n <= 100; ++n) {
        std::string keep = path + ".unreadable";
        if (n > 1)
            keep += "-" + std::to_string(n);
        // A hard link keeps the file itself, whatever it holds; the bytes read are the
        // fall-back where the file system has no links.
        if (::link(path.c_str(), keep.c_str()) == 0)
            return true;
        if (errno == EEXIST)
            continue;
        if (errno == ENOENT)
            return true; // nothing there any more to keep
        return mData && WriteNewFile(keep, mData);
    }
    return false;
}

bool PropertyListFile::Save(CFArrayRef array) {
    if (mURL == nullptr || array == nullptr)
        return false;
    CFURLRef target = CreateTargetURL();
    if (target == nullptr)
        return false;
    if (mKeepOldFile && !KeepOldFile(target)) {
        mLastError = kCFURLResourceAccessViolationError;
        CFRelease(target);
        return false;
    }
    CFDataRef xml = CFPropertyListCreateXMLData(kCFAllocatorDefault, array);
    if (xml == nullptr) {
        mLastError = memFullErr;
        CFRelease(target);
        return false;
    }
    SInt32 error = 0;
    bool written = CFURLWriteDataAndPropertiesToResource(target, xml, nullptr, &error);
    CFRelease(target);
    if (!written) {
        mLastError = error ? error : kCFURLUnknownError;
        CFRelease(xml);
        return false;
    }
    mLastError = 0;
    mKeepOldFile = false;
    if (mData)
        CFRelease(mData);
    mData = xml;
    return true;
}

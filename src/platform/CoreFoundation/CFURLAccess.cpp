//===- CFURLAccess.cpp - Reading and writing the data of file URLs --------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFURLAccess.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Fail(SInt32* errorCode, CFIndex code) {
    if (errorCode)
        *errorCode = static_cast<SInt32>(code);
    return false;
}

CFIndex ErrorForErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return kCFURLResourceNotFoundError;
    case EACCES:
    case EPERM:
    case ELOOP:
    case EROFS:
    case EISDIR:
        return kCFURLResourceAccessViolationError;
    default:
        return kCFURLUnknownError;
    }
}

// The path of a local file URL; false with the error code otherwise.
bool PathOf(CFURLRef url, std::string& path, CFIndex& error) {
    char buffer[PATH_MAX];
    if (!CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(buffer),
                                          sizeof buffer)) {
        CFStringRef scheme = CFURLCopyScheme(url);
        bool isFile = scheme && CFStringCompare(scheme, CFSTR("file"), kCFCompareCaseInsensitive) ==
                                    kCFCompareEqualTo;
        if (scheme)
            CFRelease(scheme);
        error = isFile ? kCFURLImproperArgumentsError : kCFURLUnknownSchemeError;
        return false;
    }
    path = buffer;
    return true;
}

bool WriteAll(int fd, const UInt8* bytes, size_t size) {
    while (size > 0) {
        ssize_t done = write(fd, bytes, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        bytes += done;
        size -= static_cast<size_t>(done);
    }
    return true;
}

// Creates a new temporary file beside `target`; its descriptor, or -1 with errno set.
int CreateTemporary(const std::string& folder, const std::string& name, std::string& temp) {
    // Keep the temporary name within NAME_MAX whatever the target's length.
    std::string stem = "." + name.substr(0, 200);
    for (int attempt = 0; attempt < 32; ++attempt) {
        unsigned long long random = 0;
        if (getrandom(&random, sizeof random, 0) != sizeof random)
            random = (static_cast<unsigned long long>(getpid()) << 32) ^ attempt;
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", random);
        temp = folder + "/" + stem + suffix;
        int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

extern "C" {

Boolean CFURLCreateDataAndPropertiesFromResource(CFAllocatorRef, CFURLRef url,
                                                 CFDataRef* resourceData,
                                                 CFDictionaryRef* properties, CFArrayRef,
                                                 SInt32* errorCode) {
    if (resourceData)
        *resourceData = nullptr;
    if (properties)
        *properties = nullptr;
    if (errorCode)
        *errorCode = 0;
    if (url == nullptr || resourceData == nullptr)
        return Fail(errorCode, kCFURLImproperArgumentsError);
    std::string path;
    CFIndex error = 0;
    if (!PathOf(url, path, error))
        return Fail(errorCode, error);
    // Non-blocking, so that a FIFO put in the file's place cannot hang the caller.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return Fail(errorCode, ErrorForErrno(errno));
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > kPMCFURLMaxResourceBytes) {
        close(fd);
        return Fail(errorCode, kCFURLResourceAccessViolationError);
    }
    // Read until the end, but never past the limit even if the file grows meanwhile.
    std::string bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            close(fd);
            return Fail(errorCode, kCFURLUnknownError);
        }
        if (got == 0)
            break;
        if (bytes.size() + static_cast<size_t>(got) > size_t(kPMCFURLMaxResourceBytes)) {
            close(fd);
            return Fail(errorCode, kCFURLResourceAccessViolationError);
        }
        bytes.append(chunk, static_cast<size_t>(got));
    }
    close(fd);
    *resourceData = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                                 static_cast<CFIndex>(bytes.size()));
    return true;
}

Boolean CFURLWriteDataAndPropertiesToResource(CFURLRef url, CFDataRef dataToWrite, CFDictionaryRef,
                                              SInt32* errorCode) {
    if (errorCode)
        *errorCode = 0;
    if (url == nullptr || CFGetTypeID(dataToWrite) != CFDataGetTypeID())
        return Fail(errorCode, kCFURLImproperArgumentsError);
    std::string path;
    CFIndex error = 0;
    if (!PathOf(url, path, error))
        return Fail(errorCode, error);
    size_t slash = path.rfind('/');
    std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    std::string name = path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        return Fail(errorCode, kCFURLImproperArgumentsError);

    struct stat old;
    bool exists = lstat(path.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return Fail(errorCode, kCFURLResourceAccessViolationError);
    if (!exists && errno != ENOENT)
        return Fail(errorCode, ErrorForErrno(errno));

    std::string temp;
    int fd = CreateTemporary(folder, name, temp);
    if (fd < 0)
        return Fail(errorCode, ErrorForErrno(errno));
    bool ok = (!exists || fchmod(fd, old.st_mode & 07777) == 0) &&
              WriteAll(fd, CFDataGetBytePtr(dataToWrite),
                       static_cast<size_t>(CFDataGetLength(dataToWrite))) &&
              fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    // rename replaces whatever is at the target's name, a link included, without following it.
    if (!ok || rename(temp.c_str(), path.c_str()) != 0) {
        int saved = errno;
        unlink(temp.c_str());
        return Fail(errorCode, ok ? ErrorForErrno(saved) : CFIndex(kCFURLUnknownError));
    }
    return true;
}

} // extern "C"

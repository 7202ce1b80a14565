//===- ArchiveFile.cpp - Archive bytes to and from files ------------------===//
#include "ArchiveFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// Writes all of `size` bytes, going on after short writes and interruptions.
int writeAll(int fd, const unsigned char* bytes, size_t size) {
    while (size > 0) {
        ssize_t written = write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return 0;
}

} // namespace

int WriteNewFile(const char* path, const void* bytes, size_t size) {
    // O_EXCL makes creation fail on any existing name, a dangling link too; O_NOFOLLOW says so
    // again for the last component.
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    int error = writeAll(fd, static_cast<const unsigned char*>(bytes), size);
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    // The file is ours: a partial archive must not stay behind as if it were one.
    if (error != 0)
        unlink(path);
    return error;
}

int ReadSmallFile(const char* path, size_t limit, std::vector<unsigned char>& bytes) {
    bytes.clear();
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat info;
    int error = 0;
    if (fstat(fd, &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = EINVAL;
    else if (static_cast<unsigned long long>(info.st_size) > limit)
        error = EFBIG;
    if (error == 0) {
        // One byte more than announced: a file that grew since fstat is refused, not cut.
        bytes.resize(static_cast<size_t>(info.st_size) + 1);
        size_t total = 0;
        while (total < bytes.size()) {
            ssize_t got = read(fd, bytes.data() + total, bytes.size() - total);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                error = errno;
                break;
            }
            if (got == 0)
                break;
            total += static_cast<size_t>(got);
        }
        if (error == 0 && total == bytes.size())
            error = EFBIG;
        bytes.resize(error == 0 ? total : 0);
    }
    close(fd);
    return error;
}

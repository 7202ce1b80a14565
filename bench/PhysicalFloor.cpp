//===- PhysicalFloor.cpp - Reading a file and finding its lines -----------===//
#include "PhysicalFloor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PhysicalFloor {

long ReadWholeFile(const char* path, std::vector<char>& buffer) {
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        static_cast<unsigned long long>(info.st_size) > kMaxFileSize) {
        close(fd);
        return -1;
    }
    // One byte more than the size: reaching it means the file grew since fstat, and the loop
    // below then grows the buffer instead of cutting the file short.
    std::size_t want = static_cast<std::size_t>(info.st_size) + 1;
    if (buffer.size() < want)
        buffer.resize(want);
    std::size_t total = 0;
    for (;;) {
        if (total == buffer.size()) {
            if (buffer.size() >= kMaxFileSize) {
                close(fd);
                return -1;
            }
            buffer.resize(buffer.size() * 2 > kMaxFileSize ? kMaxFileSize : buffer.size() * 2);
        }
        ssize_t got = read(fd, buffer.data() + total, buffer.size() - total);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            close(fd);
            return -1;
        }
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    close(fd);
    return static_cast<long>(total);
}

std::size_t CountLines(const char* data, std::size_t size) {
    if (!data || size == 0)
        return 0;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
    // Every CR ends a line, and every LF that no CR precedes: no branch on the data, so the
    // loop runs at memory speed whatever the line ends are.
    std::size_t ends = bytes[0] == '\r' || bytes[0] == '\n';
    for (std::size_t i = 1; i < size; ++i)
        ends += (bytes[i] == '\r') | ((bytes[i] == '\n') & (bytes[i - 1] != '\r'));
    unsigned char last = bytes[size - 1];
    return ends + (last != '\r' && last != '\n');
}

} // namespace PhysicalFloor

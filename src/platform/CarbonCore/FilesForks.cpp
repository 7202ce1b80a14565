#include "FilesInternal.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

using namespace carboncore;

namespace {

constexpr int kMaxForks = 64;
// Reference numbers start above 0 so that a zeroed refNum never names an open fork.
constexpr short kFirstRefNum = 1;

struct Fork {
    int fd = -1;
    bool canRead = false;
    bool canWrite = false;
    dev_t dev = 0;
    ino_t ino = 0;
};

struct ForkTable {
    std::mutex mutex;
    Fork forks[kMaxForks];
};

ForkTable& table() {
    static ForkTable* t = new ForkTable; // forks may still be closed during static destruction
    return *t;
}

// Called with the table locked.
Fork* findFork(ForkTable& t, short refNum) {
    int slot = refNum - kFirstRefNum;
    if (slot < 0 || slot >= kMaxForks || t.forks[slot].fd < 0)
        return nullptr;
    return &t.forks[slot];
}

// Opens `path` for `permission`, never through a symbolic link when writing.
int openPath(const std::string& path, SInt8 permission, bool* canRead, bool* canWrite) {
    // O_NONBLOCK: a FIFO planted in place of the file must not hang the open.
    const int common = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    const int writing = O_NOFOLLOW;
    int fd = -1;
    *canRead = permission != fsWrPerm;
    *canWrite = permission != fsRdPerm;
    switch (permission) {
    case fsRdPerm:
        fd = open(path.c_str(), O_RDONLY | common);
        break;
    case fsWrPerm:
        fd = open(path.c_str(), O_WRONLY | writing | common);
        break;
    case fsRdWrPerm:
        fd = open(path.c_str(), O_RDWR | writing | common);
        break;
    default: // fsCurPerm: as much as is allowed
        fd = open(path.c_str(), O_RDWR | writing | common);
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == ELOOP || errno == EPERM)) {
            *canWrite = false;
            fd = open(path.c_str(), O_RDONLY | common);
        }
        break;
    }
    return fd;
}

// Most bytes Linux transfers in one read call.
constexpr long kMaxSingleRead = 0x7FFFF000;

OSErr readAll(int fd, char* buffer, long wanted, long* done) {
    *done = 0;
    while (*done < wanted) {
        long asked = wanted - *done;
        ssize_t n = read(fd, buffer + *done, size_t(asked));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return ioErr;
        if (n == 0)
            return eofErr;
        *done += n;
        // Forks are regular files, which come short of a request below the read limit only at
        // their end: no need to ask again just to be told so.
        if (n < asked && asked < kMaxSingleRead)
            return eofErr;
    }
    return noErr;
}

OSErr writeAll(int fd, const char* buffer, long wanted, long* done) {
    *done = 0;
    while (*done < wanted) {
        ssize_t n = write(fd, buffer + *done, size_t(wanted - *done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? OSErrFromErrno(errno) : OSErr(ioErr);
        *done += n;
    }
    return noErr;
}

OSErr fileSize(int fd, long* size) {
    struct stat st;
    if (fstat(fd, &st) != 0)
        return ioErr;
    *size = long(st.st_size);
    return noErr;
}

} // namespace

namespace carboncore {

bool IsForkOpen(dev_t dev, ino_t ino) {
    ForkTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    for (const Fork& f : t.forks)
        if (f.fd >= 0 && f.dev == dev && f.ino == ino)
            return true;
    return false;
}

} // namespace carboncore

extern "C" {

OSErr FSpOpenDF(const FSSpec* fsSpec, SInt8 permission, short* refNum) {
    if (refNum == nullptr)
        return paramErr;
    *refNum = 0;
    if (permission < fsCurPerm || permission > fsRdWrPerm)
        return paramErr;
    // The open itself fails when the FSSpec's directory is gone; only then is it looked at, for
    // the status that names the cause.
    std::string path;
    if (!SpecToPathUnchecked(fsSpec, &path))
        return SpecToPath(fsSpec, &path);
    Fork fork;
    fork.fd = openPath(path, permission, &fork.canRead, &fork.canWrite);
    if (fork.fd < 0) {
        int openErrno = errno;
        if (OSErr err = SpecToPath(fsSpec, &path))
            return err;
        return OSErrFromErrno(openErrno);
    }
    // O_NONBLOCK stays set: it kept a planted FIFO from hanging the open, and it changes nothing
    // for the regular files that are all a fork may be.
    struct stat st;
    if (fstat(fork.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fork.fd);
        return notAFileErr;
    }
    fork.dev = st.st_dev;
    fork.ino = st.st_ino;

    ForkTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    int freeSlot = -1;
    for (int slot = 0; slot < kMaxForks; ++slot) {
        const Fork& f = t.forks[slot];
        if (f.fd < 0) {
            if (freeSlot < 0)
                freeSlot = slot;
        } else if (fork.canWrite && f.canWrite && f.dev == fork.dev && f.ino == fork.ino) {
            // One writer per file: the caller gets the existing path's number.
            close(fork.fd);
            *refNum = short(slot + kFirstRefNum);
            return opWrErr;
        }
    }
    if (freeSlot < 0) {
        close(fork.fd);
        return tmfoErr;
    }
    t.forks[freeSlot] = fork;
    *refNum = short(freeSlot + kFirstRefNum);
    return noErr;
}

OSErr FSRead(short refNum, long* count, void* buffer) {
    ForkTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Fork* f = findFork(t, refNum);
    if (f == nullptr)
        return rfNumErr;
    if (count == nullptr || *count < 0 || (buffer == nullptr && *count > 0))
        return paramErr;
    if (!f->canRead) {
        *count = 0;
        return permErr;
    }
    return readAll(f->fd, static_cast<char*>(buffer), *count, count);
}

OSErr FSWrite(short refNum, long* count, const void* buffer) {
    ForkTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Fork* f = findFork(t, refNum);
    if (f == nullptr)
        return rfNumErr;
    if (count == nullptr || *count < 0 || (buffer == nullptr && *count > 0))
        return paramErr;
    if (!f->canWrite) {
        *count = 0;
        return wrPermErr;
    }
    return writeAll(f->fd, static_cast<const char*>(buffer), *count, count);
}

OSErr FSClose(short refNum) {
    ForkTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Fork* f = findFork(t, refNum);
    if (f == nullptr)
        return rfNumErr;
    // The descriptor is released even when close reports a deferred write error.
    int rc = close(f->fd);
    *f = Fork();
    return rc == 0 ? OSErr(noErr) : OSErr(ioErr);
}

OSErr GetEOF(short refNum, long* logEOF) {
    ForkTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Fork* f = findFork(t, refNum);
    if (f == nullptr)
        return rfNumErr;
    if (logEOF == nullptr)
        return paramErr;
    return fileSize(f->fd, logEOF);
}

OSErr SetEOF(short refNum, long logEOF) {
    ForkTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Fork* f = findFork(t, refNum);
    if (f == nullptr)
        return rfNumErr;
    if (logEOF < 0)
        return paramErr;
    if (!f->canWrite)
        return wrPermErr;
    if (ftruncate(f->fd, off_t(logEOF)) != 0)
        return OSErrFromErrno(errno);
    off_t mark = lseek(f->fd, 0, SEEK_CUR);
    if (mark > off_t(logEOF) && lseek(f->fd, off_t(logEOF), SEEK_SET) < 0)
        return ioErr;
    return noErr;
}

OSErr GetFPos(short refNum, long* filePos) {
    ForkTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Fork* f = findFork(t, refNum);
    if (f == nullptr)
        return rfNumErr;
    if (filePos == nullptr)
        return paramErr;
    off_t mark = lseek(f->fd, 0, SEEK_CUR);
    if (mark < 0)
        return ioErr;
    *filePos = long(mark);
    return noErr;
}

OSErr SetFPos(short refNum, short posMode, long posOff) {
    ForkTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Fork* f = findFork(t, refNum);
    if (f == nullptr)
        return rfNumErr;
    long size = 0;
    if (OSErr err = fileSize(f->fd, &size))
        return err;
    off_t mark = lseek(f->fd, 0, SEEK_CUR);
    if (mark < 0)
        return ioErr;
    long base = 0;
    switch (posMode & 0x03) {
    case fsAtMark:
        return noErr;
    case fsFromStart:
        base = 0;
        break;
    case fsFromLEOF:
        base = size;
        break;
    default: // fsFromMark
        base = long(mark);
        break;
    }
    long target = 0;
    if (__builtin_add_overflow(base, posOff, &target) || target < 0)
        return posErr;
    OSErr result = noErr;
    if (target > size) {
        target = size;
        result = eofErr;
    }
    if (lseek(f->fd, off_t(target), SEEK_SET) < 0)
        return ioErr;
    return result;
}

} // extern "C"

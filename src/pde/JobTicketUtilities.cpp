//===- JobTicketUtilities.cpp - Ticket look-up and job-ticket files -------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "JobTicketUtilities.h"

#include <CoreFoundation/PMCFUtilities.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

CFStringRef CreateRandomFileName(const char* prefix, char* path) {
    if (path)
        path[0] = '\0';
    CFUUIDRef uuid = CFUUIDCreate(kCFAllocatorDefault);
    if (uuid == nullptr)
        return nullptr;
    CFStringRef text = CFUUIDCreateString(kCFAllocatorDefault, uuid);
    CFRelease(uuid);
    if (text == nullptr)
        return nullptr;
    std::string name = (prefix ? std::string(prefix) : std::string()) + PMCFStringCopyUTF8(text);
    CFRelease(text);
    if (path) {
        if (name.size() >= kJobTicketPathSize)
            return nullptr;
        std::memcpy(path, name.c_str(), name.size() + 1);
    }
    return PMCFStringCreateWithUTF8(name);
}

OSStatus MyGetTicket(PMPrintSession session, CFStringRef key, PMTicketRef* ticket) {
    if (ticket == nullptr)
        return paramErr;
    *ticket = nullptr;
    CFTypeRef data = nullptr;
    OSStatus status = PMSessionGetDataFromSession(session, key, &data);
    if (status != noErr)
        return status;
    SInt32 number = 0;
    if (data == nullptr || CFGetTypeID(data) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &number))
        return kPMInvalidValue;
    // The print system designates tickets by number; the ticket calls check that a number
    // names a live ticket before using it.
    *ticket = reinterpret_cast<PMTicketRef>(static_cast<intptr_t>(number));
    return noErr;
}

namespace {

OSStatus StatusOf(int error) {
    switch (error) {
    case EEXIST:
    case ELOOP:
        return dupFNErr;
    case EACCES:
    case EPERM:
    case EROFS:
        return permErr;
    case ENOENT:
    case ENOTDIR:
        return dirNFErr;
    default:
        return ioErr;
    }
}

} // namespace

OSStatus WriteNewFile(const char* path, CFDataRef data, unsigned mode) {
    if (path == nullptr || *path == '\0' || data == nullptr)
        return paramErr;
    // O_EXCL with O_CREAT refuses any existing name, a symbolic link included, so the bytes
    // can only land in a file made here and now.
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return StatusOf(errno);
    const UInt8* bytes = CFDataGetBytePtr(data);
    size_t left = static_cast<size_t>(CFDataGetLength(data));
    int error = 0;
    while (left > 0 && error == 0) {
        ssize_t written = write(fd, bytes, left);
        if (written < 0) {
            if (errno != EINTR)
                error = errno;
            continue;
        }
        bytes += written;
        left -= static_cast<size_t>(written);
    }
    // The mode is set on the open file, so no one can swap the name in between.
    if (error == 0 && fchmod(fd, static_cast<mode_t>(mode)) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        unlink(path);
        return StatusOf(error) == dupFNErr ? ioErr : StatusOf(error);
    }
    return noErr;
}

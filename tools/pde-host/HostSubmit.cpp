//===- HostSubmit.cpp - Writing or submitting the print job ----------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "HostSubmit.h"

#include <cups/cups.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr off_t kMaxJob = off_t(256) << 20;

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

bool ReadJob(const std::string& path, std::string& job, std::string& error) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxJob) {
        if (fd >= 0)
            close(fd);
        error = "cannot read the job " + path + " (a regular file of at most 256 MB)";
        return false;
    }
    job.assign(static_cast<size_t>(info.st_size), '\0');
    size_t got = 0;
    while (got < job.size()) {
        ssize_t n = read(fd, &job[got], job.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    job.resize(got);
    return true;
}

bool WriteJob(const std::string& path, const std::string& job, std::string& error) {
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        error = "cannot write beside " + path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = WriteAll(fd, job) && fchmod(fd, 0644) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok || rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool SubmitJob(const std::string& queue, const std::string& title, const std::string& job,
               int& jobID, std::string& error) {
    jobID = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.c_str(), title.c_str(), 0, nullptr);
    if (jobID <= 0) {
        error = "CUPS refused the job for " + queue + ": " + cupsLastErrorString();
        return false;
    }
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.c_str(), jobID, "job.ps",
                          CUPS_FORMAT_POSTSCRIPT, 1) != HTTP_STATUS_CONTINUE ||
        cupsWriteRequestData(CUPS_HTTP_DEFAULT, job.data(), job.size()) != HTTP_STATUS_CONTINUE ||
        cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str()) != IPP_STATUS_OK) {
        error = "CUPS did not take the job for " + queue + ": " + cupsLastErrorString();
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), jobID, 0);
        return false;
    }
    return true;
}

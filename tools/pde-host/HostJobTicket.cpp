//===- HostJobTicket.cpp - Reading the pane's job-ticket file --------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "HostJobTicket.h"

#include <CoreFoundation/CoreFoundation.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr off_t kMaxFile = 16 << 20;
// The name every job-ticket file of the pane begins with (the print server's filter knows it).
const char kPrefix[] = "/tmp/Tarvo.temp";

// The offset just after the line starting at `at`.
size_t EndOfLine(const std::string& text, size_t at) {
    size_t end = text.find('\n', at);
    return end == std::string::npos ? text.size() : end + 1;
}

// The offset of the first line that begins with `prefix`, or npos.
size_t FindLine(const std::string& text, const std::string& prefix) {
    for (size_t at = 0; at < text.size(); at = EndOfLine(text, at))
        if (text.compare(at, prefix.size(), prefix) == 0)
            return at;
    return std::string::npos;
}

} // namespace

bool ReadJobTicketFile(const std::string& path, std::vector<JobTicketEntry>& entries,
                       std::string& error) {
    entries.clear();
    if (path.compare(0, sizeof kPrefix - 1, kPrefix) != 0 || path.find('/', 5) != std::string::npos) {
        error = "the job-ticket path \"" + path.substr(0, 80) + "\" is not one of the pane's";
        return false;
    }
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFile) {
        if (fd >= 0)
            close(fd);
        error = "cannot read the job-ticket file " + path;
        return false;
    }
    std::string bytes(static_cast<size_t>(info.st_size), '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        ssize_t n = read(fd, &bytes[got], bytes.size() - got);
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    bytes.resize(got);
    CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                                  static_cast<CFIndex>(bytes.size()));
    CFPropertyListRef list = CFPropertyListCreateWithData(nullptr, data, 0, nullptr, nullptr);
    CFRelease(data);
    bool ok = CFGetTypeID(list) == CFArrayGetTypeID() &&
              CFArrayGetCount(static_cast<CFArrayRef>(list)) % 2 == 0;
    for (CFIndex i = 0; ok && i < CFArrayGetCount(static_cast<CFArrayRef>(list)); i += 2) {
        CFTypeRef site = CFArrayGetValueAtIndex(static_cast<CFArrayRef>(list), i);
        CFTypeRef code = CFArrayGetValueAtIndex(static_cast<CFArrayRef>(list), i + 1);
        SInt64 number = 0;
        ok = CFGetTypeID(site) == CFNumberGetTypeID() && CFGetTypeID(code) == CFDataGetTypeID() &&
             CFNumberGetValue(static_cast<CFNumberRef>(site), kCFNumberSInt64Type, &number) &&
             number >= INT32_MIN && number <= INT32_MAX;
        if (ok) {
            auto d = static_cast<CFDataRef>(code);
            entries.push_back({static_cast<long>(number),
                               std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(d)),
                                           static_cast<size_t>(CFDataGetLength(d)))});
        }
    }
    if (list)
        CFRelease(list);
    if (!ok) {
        entries.clear();
        error = "the job-ticket file " + path + " is not an array of site and data pairs";
    }
    return ok;
}

std::string FeatureCode(const std::vector<JobTicketEntry>& entries, long site) {
    std::string code;
    for (const JobTicketEntry& e : entries) {
        if (e.site != site || e.data.empty())
            continue;
        code += e.data;
        if (code.back() != '\n')
            code += '\n';
    }
    return code;
}

std::string InsertFeatureCode(const std::string& job, const std::string& feature) {
    if (feature.empty())
        return job;
    std::string result = job;
    size_t at = FindLine(job, "%%BeginSetup");
    if (at != std::string::npos) {
        at = EndOfLine(job, at);
        if (at > 0 && job[at - 1] != '\n')
            return result + "\n" + feature;
        return result.insert(at, feature);
    }
    std::string section = "%%BeginSetup\n" + feature + "%%EndSetup\n";
    at = FindLine(job, "%%Page:");
    if (at == std::string::npos) {
        for (const char* after : {"%%EndProlog", "%%EndComments"}) {
            size_t line = FindLine(job, after);
            if (line != std::string::npos) {
                at = EndOfLine(job, line);
                break;
            }
        }
    }
    if (at == std::string::npos)
        at = EndOfLine(job, 0);
    if (at > 0 && job[at - 1] != '\n')
        section.insert(0, "\n");
    return result.insert(at, section);
}

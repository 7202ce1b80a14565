#include <CarbonCore/Resources.h>

#include "FilesInternal.h"
#include "ResourceFileParser.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace carboncore;

namespace {

constexpr size_t kMaxResourceFileSize = 1 << 20;
constexpr size_t kMaxOpenResFiles = 32;
// Kept apart from data fork numbers so that passing one kind to the other's calls fails.
constexpr ResFileRefNum kFirstResRefNum = 1000;

struct ResFile {
    ResFileRefNum refNum;
    StringLists lists;
};

struct ResChain {
    std::mutex mutex;
    std::vector<ResFile> files; // in opening order; the search runs backwards from current
    ResFileRefNum current = kResFileNotOpened;
};

ResChain& chain() {
    static ResChain* c = new ResChain; // outlives static destructors
    return *c;
}

thread_local OSErr tResError = noErr;

// Called with the chain locked; files.size() when not open.
size_t findFile(const ResChain& c, ResFileRefNum refNum) {
    for (size_t i = 0; i < c.files.size(); ++i)
        if (c.files[i].refNum == refNum)
            return i;
    return c.files.size();
}

// Reads the whole file, bounded; noErr or the reason it could not be.
OSErr readBounded(const std::string& path, std::string* contents) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return OSErrFromErrno(errno);
    struct stat st;
    OSErr result = noErr;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result = notAFileErr;
    } else if (size_t(st.st_size) > kMaxResourceFileSize) {
        result = mapReadErr;
    } else {
        // The buffer starts at the size fstat gave plus one byte, so that a file that grew
        // since is noticed; it grows on demand up to one byte past the bound, which is how an
        // oversized file is caught. (Not the bound at once: zero-filling a megabyte on every
        // open was most of the cost of opening a small resource file.)
        contents->resize(size_t(st.st_size) + 1);
        size_t done = 0;
        for (;;) {
            if (done == contents->size()) {
                if (done > kMaxResourceFileSize)
                    break;
                contents->resize(std::min(2 * done, kMaxResourceFileSize + 1));
            }
            ssize_t n = read(fd, &(*contents)[done], contents->size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                result = n < 0 ? OSErr(ioErr) : OSErr(noErr);
                break;
            }
            done += size_t(n);
        }
        contents->resize(done);
        if (result == noErr && done > kMaxResourceFileSize)
            result = mapReadErr;
    }
    close(fd);
    return result;
}

ResFileRefNum openResFile(OSErr pathStatus, const std::string& path, SInt8 permission) {
    if (permission < fsCurPerm || permission > fsRdWrPerm)
        pathStatus = paramErr;
    if (pathStatus != noErr) {
        tResError = pathStatus;
        return kResFileNotOpened;
    }
    std::string contents;
    if (OSErr err = readBounded(path, &contents)) {
        tResError = err;
        return kResFileNotOpened;
    }
    ResFile file;
    size_t badLine = 0;
    if (!ParseResourceText(contents.data(), contents.size(), &file.lists, &badLine)) {
        tResError = mapReadErr;
        return kResFileNotOpened;
    }
    ResChain& c = chain();
    std::lock_guard<std::mutex> lock(c.mutex);
    if (c.files.size() >= kMaxOpenResFiles) {
        tResError = tmfoErr;
        return kResFileNotOpened;
    }
    file.refNum = kFirstResRefNum;
    while (findFile(c, file.refNum) < c.files.size())
        ++file.refNum;
    c.files.push_back(std::move(file));
    c.current = c.files.back().refNum;
    tResError = noErr;
    return c.current;
}

} // namespace

extern "C" {

ResFileRefNum CurResFile(void) {
    ResChain& c = chain();
    std::lock_guard<std::mutex> lock(c.mutex);
    tResError = noErr;
    return c.current;
}

void UseResFile(ResFileRefNum refNum) {
    ResChain& c = chain();
    std::lock_guard<std::mutex> lock(c.mutex);
    if (findFile(c, refNum) == c.files.size()) {
        tResError = resFNotFound;
        return;
    }
    c.current = refNum;
    tResError = noErr;
}

ResFileRefNum FSpOpenResFile(const FSSpec* fsSpec, SInt8 permission) {
    std::string path;
    OSErr status = SpecToPath(fsSpec, &path);
    return openResFile(status, path, permission);
}

ResFileRefNum FSOpenResFile(const FSRef* ref, SInt8 permission) {
    std::string path;
    OSErr status = RefToPath(ref, &path);
    return openResFile(status, path, permission);
}

void CloseResFile(ResFileRefNum refNum) {
    ResChain& c = chain();
    std::lock_guard<std::mutex> lock(c.mutex);
    size_t i = findFile(c, refNum);
    if (i == c.files.size()) {
        tResError = resFNotFound;
        return;
    }
    c.files.erase(c.files.begin() + long(i));
    if (c.current == refNum)
        c.current = i > 0 ? c.files[i - 1].refNum : ResFileRefNum(kResFileNotOpened);
    tResError = noErr;
}

OSErr ResError(void) {
    return tResError;
}

void GetIndString(Str255 theString, short strListID, short index) {
    if (theString == nullptr) {
        tResError = paramErr;
        return;
    }
    theString[0] = 0;
    ResChain& c = chain();
    std::lock_guard<std::mutex> lock(c.mutex);
    size_t start = findFile(c, c.current);
    tResError = resNotFound;
    for (size_t i = start; i < c.files.size(); --i) { // wraps past 0 to end the loop
        auto list = c.files[i].lists.find(strListID);
        if (list == c.files[i].lists.end())
            continue;
        // The first file holding the list answers, even if the index is past its end.
        const StringList& strings = list->second;
        if (index < 1 || strings.empty() || index > strings.rbegin()->first)
            return;
        auto entry = strings.find(index);
        if (entry != strings.end()) { // a gap is an empty string
            theString[0] = static_cast<unsigned char>(entry->second.size());
            std::memcpy(theString + 1, entry->second.data(), entry->second.size());
        }
        tResError = noErr;
        return;
    }
}

} // extern "C"

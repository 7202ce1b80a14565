//===- PMIconvCache.cpp - Reused iconv descriptors ------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/PMIconvCache.h>

#include <cerrno>
#include <cstring>

namespace pmcf {

namespace {

constexpr size_t kNameCapacity = 32;
// More distinct pairs than the string codecs and the converter can ask for together.
constexpr size_t kMaxEntries = 48;
// Pairs past kMaxEntries still convert: the latest ones stay open in a small ring, enough for a
// caller that holds two descriptors at once (a decoder and an encoder).
constexpr size_t kOverflowSlots = 2;

struct Entry {
    char to[kNameCapacity];
    char from[kNameCapacity];
    iconv_t cd;
};

// Plain data, so that its storage stays usable for the whole life of the thread: a static
// object destroyed after the thread's own destructors may still convert text, and then simply
// opens (and keeps) what it needs again.
struct Cache {
    Entry entries[kMaxEntries];
    size_t count;
    iconv_t overflow[kOverflowSlots];
    bool overflowUsed[kOverflowSlots];
    size_t nextOverflow;
};

thread_local Cache tCache;

void closeAll(Cache& cache) {
    for (size_t i = 0; i < cache.count; ++i)
        iconv_close(cache.entries[i].cd);
    cache.count = 0;
    for (size_t i = 0; i < kOverflowSlots; ++i) {
        if (cache.overflowUsed[i])
            iconv_close(cache.overflow[i]);
        cache.overflowUsed[i] = false;
    }
}

// Closes the thread's descriptors when the thread ends.
struct Closer {
    ~Closer() { closeAll(tCache); }
};

iconv_t reset(iconv_t cd) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return cd;
}

} // namespace

iconv_t IconvAcquire(const char* to, const char* from) {
    if (to == nullptr || from == nullptr || std::strlen(to) >= kNameCapacity ||
        std::strlen(from) >= kNameCapacity) {
        errno = EINVAL;
        return iconv_t(-1);
    }
    thread_local Closer closer;
    (void)closer;
    Cache& cache = tCache;
    for (size_t i = 0; i < cache.count; ++i) {
        Entry& e = cache.entries[i];
        if (std::strcmp(e.to, to) != 0 || std::strcmp(e.from, from) != 0)
            continue;
        iconv_t cd = e.cd;
        // Each hit moves its pair one place forward, so that the pairs in use come first.
        if (i > 0) {
            Entry hit = e;
            cache.entries[i] = cache.entries[i - 1];
            cache.entries[i - 1] = hit;
        }
        return reset(cd);
    }
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return cd;
    if (cache.count == kMaxEntries) {
        size_t slot = cache.nextOverflow;
        cache.nextOverflow = (slot + 1) % kOverflowSlots;
        if (cache.overflowUsed[slot])
            iconv_close(cache.overflow[slot]);
        cache.overflow[slot] = cd;
        cache.overflowUsed[slot] = true;
        return cd;
    }
    Entry& e = cache.entries[cache.count++];
    std::memcpy(e.to, to, std::strlen(to) + 1);
    std::memcpy(e.from, from, std::strlen(from) + 1);
    e.cd = cd;
    return cd;
}

} // namespace pmcf

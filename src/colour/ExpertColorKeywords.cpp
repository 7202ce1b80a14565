//===- ExpertColorKeywords.cpp - The colour pane's keyword table ----------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ExpertColorKeywords.h"

#include <atomic>
#include <cstring>

namespace {

constexpr const char* kKeywords[ExpertColorKeywords::kCount + 1] = {
    "",
    "*QVRGBOverride",   "*QVColorRendDict", "*QVSimulation",    "*QVOutProfile",
    "*QVRGBSep",        "*QVSimSpeed",      "*QVSpotColors",    "*QVPureBlack",
    "*QVBlkOvpStyle",   "*QVBlkOverprint",  "*QVPaperSim",      "*QVBlkOvpCtrl",
    "*QVProofProfile",  "*QVRGBOtherGamma", "*QVRGBOtherWtPt",  "*QVRGBOtherPhos",
    "*QVKOnlyGrayRGB",  "*QVKOnlyGrayCMYK", "*QVColorMode",     "*QVSeparations",
    "*QVBrightness",    "*QVImageSmooth",   "*QVSubstColors",   "*QVHPBlack",
};

struct HashEntry {
    int hash;
    int index;
    unsigned length;
};

constexpr int HashOf(const char* keyword, unsigned& length) {
    int sum = 0;
    length = 0;
    for (const char* p = keyword; *p; ++p, ++length)
        sum += static_cast<signed char>(*p);
    return sum;
}

constexpr int kBuckets = 64;
constexpr int kBucketDepth = 3;

/// The entries by hash: a bucket (the hash's low bits) lists the indexes whose keywords have
/// such a hash, in table order, so that a search compares only those.
struct HashIndex {
    HashEntry entries[ExpertColorKeywords::kCount + 1] = {};
    signed char buckets[kBuckets][kBucketDepth] = {};
    bool fits = true;
    constexpr HashIndex() {
        for (auto& bucket : buckets)
            for (auto& slot : bucket)
                slot = -1;
        for (int i = 0; i <= ExpertColorKeywords::kCount; ++i) {
            unsigned length = 0;
            const int sum = HashOf(kKeywords[i], length);
            entries[i] = {sum, i, length};
            if (i == 0)
                continue;
            int slot = 0;
            signed char* bucket = buckets[sum & (kBuckets - 1)];
            while (slot < kBucketDepth && bucket[slot] >= 0)
                ++slot;
            if (slot == kBucketDepth)
                fits = false;
            else
                bucket[slot] = static_cast<signed char>(i);
        }
    }
};

// Made by the compiler: a search needs no first-use guard. The flag below only records that
// the index was asked for, as callers of initializePigmentor expect.
constexpr HashIndex kHashIndex;
static_assert(kHashIndex.fits, "a hash bucket is too small for the keyword table");

std::atomic<bool> sInitialized{false};

} // namespace

void ExpertColorKeywords::initializePigmentor() {
    if (!sInitialized.load(std::memory_order_relaxed))
        sInitialized = true;
}

bool ExpertColorKeywords::isInitialized() {
    return sInitialized;
}

int ExpertColorKeywords::hash(const char* keyword) {
    unsigned length = 0;
    return keyword ? HashOf(keyword, length) : 0;
}

int ExpertColorKeywords::search(const char* keyword, int first, int last) {
    if (!keyword)
        return -1;
    initializePigmentor();
    unsigned length = 0;
    const int wanted = HashOf(keyword, length);
    for (int i : kHashIndex.buckets[wanted & (kBuckets - 1)]) {
        if (i < 0)
            break;
        const HashEntry& entry = kHashIndex.entries[i];
        // Hash and length first; the bytes are compared only for a likely match.
        if (i >= first && i <= last && entry.hash == wanted && entry.length == length &&
            std::memcmp(kKeywords[i], keyword, length) == 0)
            return entry.index;
    }
    return -1;
}

int ExpertColorKeywords::findPigmentorKeywordIdx(const char* keyword) {
    return search(keyword, 1, kLastExpert);
}

int ExpertColorKeywords::getPigmentorKeywordIdx(const char* keyword) {
    return search(keyword, 1, kCount);
}

bool ExpertColorKeywords::isPigmentorKeyword(const char* keyword) {
    return findPigmentorKeywordIdx(keyword) > 0;
}

const char* ExpertColorKeywords::keyword(int index) {
    return index >= 0 && index <= kCount ? kKeywords[index] : nullptr;
}

bool isBidiKeyword(const char* keyword) {
    if (!keyword)
        return false;
    const size_t length = std::strlen(keyword);
    return length >= 5 && std::strcmp(keyword + length - 4, "Bidi") == 0;
}

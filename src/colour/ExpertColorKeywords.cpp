//===- ExpertColorKeywords.cpp - The colour pane's keyword table ----------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ExpertColorKeywords.h"

#include <atomic>
#include <cstring>

namespace {

const char* const kKeywords[ExpertColorKeywords::kCount + 1] = {
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
};

struct HashIndex {
    HashEntry entries[ExpertColorKeywords::kCount + 1];
    HashIndex() {
        for (int i = 0; i <= ExpertColorKeywords::kCount; ++i)
            entries[i] = {ExpertColorKeywords::hash(kKeywords[i]), i};
    }
};

// A function-local static is built exactly once even when two threads ask at the same time.
const HashIndex& HashTable() {
    static const HashIndex index;
    return index;
}

std::atomic<bool> sInitialized{false};

} // namespace

void ExpertColorKeywords::initializePigmentor() {
    HashTable();
    sInitialized = true;
}

bool ExpertColorKeywords::isInitialized() {
    return sInitialized;
}

int ExpertColorKeywords::hash(const char* keyword) {
    int sum = 0;
    if (keyword)
        for (const char* p = keyword; *p; ++p)
            sum += static_cast<signed char>(*p);
    return sum;
}

int ExpertColorKeywords::search(const char* keyword, int first, int last) {
    if (!keyword)
        return -1;
    initializePigmentor();
    const int wanted = hash(keyword);
    const HashIndex& index = HashTable();
    for (int i = first; i <= last; ++i)
        if (index.entries[i].hash == wanted && std::strcmp(kKeywords[i], keyword) == 0)
            return index.entries[i].index;
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

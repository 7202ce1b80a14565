//===- KeywordTo_PPDControl.cpp - Index from keyword to control -----------===//
#include "KeywordTo_PPDControl.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

bool keywordLess(const KeywordTo_PPDControl::Pair& a, const KeywordTo_PPDControl::Pair& b) {
    return std::strcmp(a.keyword, b.keyword) < 0;
}

} // namespace

KeywordTo_PPDControl::~KeywordTo_PPDControl() {
    for (Pair& pair : mPairs)
        std::free(pair.keyword);
}

bool KeywordTo_PPDControl::insert(const char* keyword, PPDXControl* control) {
    if (!keyword)
        return false;
    size_t length = std::strlen(keyword);
    char* copy = static_cast<char*>(std::malloc(length + 1));
    if (!copy)
        return false;
    std::memcpy(copy, keyword, length + 1);
    // The vector reports a failed growth by throwing; none of our callers expects that.
    try {
        mPairs.push_back(Pair{copy, control});
    } catch (const std::bad_alloc&) {
        std::free(copy);
        return false;
    }
    mSorted = false;
    return true;
}

void KeywordTo_PPDControl::EndInsertion() {
    std::stable_sort(mPairs.begin(), mPairs.end(), keywordLess);
    mSorted = true;
}

PPDXControl* KeywordTo_PPDControl::Lookup(const char* keyword) const {
    if (!keyword)
        return nullptr;
    if (!mSorted) {
        for (const Pair& pair : mPairs)
            if (std::strcmp(pair.keyword, keyword) == 0)
                return pair.control;
        return nullptr;
    }
    Pair probe{const_cast<char*>(keyword), nullptr};
    auto found = std::lower_bound(mPairs.begin(), mPairs.end(), probe, keywordLess);
    if (found != mPairs.end() && std::strcmp(found->keyword, keyword) == 0)
        return found->control;
    return nullptr;
}

const char* KeywordTo_PPDControl::Lookup(const PPDXControl* control) const {
    for (const Pair& pair : mPairs)
        if (pair.control == control)
            return pair.keyword;
    return nullptr;
}

const KeywordTo_PPDControl::Pair* KeywordTo_PPDControl::operator[](unsigned long i) const {
    return i < mPairs.size() ? &mPairs[i] : nullptr;
}

//===- BoyerMoore.cpp - Byte pattern search in a memory block -------------===//
#include "BoyerMoore.h"

#include <algorithm>
#include <cstring>

BoyerMoore::BoyerMoore() { BuildSkipTable(); }

BoyerMoore::BoyerMoore(const char* pattern, short length, void* data, long dataLength) {
    SetSearchString(pattern, length);
    if (data)
        SetSearchData(data, dataLength);
}

BoyerMoore::~BoyerMoore() = default;

void BoyerMoore::SetSearchString(const char* pattern, short length) {
    if (!pattern || length < 0)
        length = 0;
    mPatternLength = std::min(length, kMaxPatternLength);
    if (mPatternLength > 0)
        std::memcpy(mPattern, pattern, static_cast<size_t>(mPatternLength));
    BuildSkipTable();
}

void BoyerMoore::SetSearchString(unsigned char* prefixedPattern) {
    if (!prefixedPattern) {
        SetSearchString(nullptr, 0);
        return;
    }
    SetSearchString(reinterpret_cast<const char*>(prefixedPattern + 1), prefixedPattern[0]);
}

void BoyerMoore::GetSearchString(char* out) {
    if (!out)
        return;
    std::memcpy(out, mPattern, static_cast<size_t>(mPatternLength));
    out[mPatternLength] = '\0';
}

void BoyerMoore::SetSearchData(void* data, long length) {
    mData = static_cast<const unsigned char*>(data);
    mDataLength = data && length > 0 ? length : 0;
    mStartOffset = 0;
}

void BoyerMoore::PrepareSearchData() { mCursor = mData ? mData + mStartOffset : nullptr; }

void BoyerMoore::CleanupSearchData() {}

void BoyerMoore::BuildSkipTable() {
    const long m = mPatternLength;
    std::memset(mSkip, static_cast<unsigned char>(m), sizeof mSkip);
    // Later occurrences overwrite earlier ones, so each byte keeps its last position's distance.
    for (long i = 0; i < m; ++i)
        mSkip[mPattern[i]] = static_cast<unsigned char>(m - 1 - i);
}

long BoyerMoore::Search() {
    if (mStartOffset < 0 || mStartOffset > mDataLength)
        return -1;
    PrepareSearchData();
    const long m = mPatternLength;
    const long n = mDataLength - mStartOffset;
    long found = -1;
    if (m > 0 && n >= m && mCursor) {
        long i = m - 1;
        long j = m - 1;
        for (;;) {
            if (mCursor[i] == mPattern[j]) {
                if (j == 0) {
                    found = i;
                    break;
                }
                --i;
                --j;
                continue;
            }
            i += std::max<long>(mSkip[mCursor[i]], m - j);
            if (i >= n)
                break;
            j = m - 1;
        }
    }
    CleanupSearchData();
    return found;
}

long BoyerMoore::Search(long start, const char* pattern, short length) {
    if (pattern)
        SetSearchString(pattern, length);
    mStartOffset = start;
    return Search();
}

long BoyerMoore::Search(long start, unsigned char* prefixedPattern) {
    if (prefixedPattern)
        SetSearchString(prefixedPattern);
    mStartOffset = start;
    return Search();
}

void BoyerMoore::SetCaseSensitve(bool caseSensitive) { mCaseInsensitive = !caseSensitive; }

bool BoyerMoore::GetCaseSensitive() { return !mCaseInsensitive; }

short BoyerMoore::GetSearchStringLength() { return mPatternLength; }

//===- PPDStream.cpp - Read cursor over PPD bytes -------------------------===//
#include "PPDStream.h"

PPDStream::PPDStream() = default;

PPDStream::PPDStream(const char* data, long length) { Setup(data, length); }

PPDStream::~PPDStream() = default;

void PPDStream::Setup(const char* data, long length) {
    if (!data || length < 1) {
        mStatus = kBad;
        return;
    }
    mStart = data;
    mCurrent = data;
    mEnd = data + length;
    mStatus = kGood;
}

bool PPDStream::GetChar(char& c) {
    if (Exhausted()) {
        c = static_cast<char>(-1);
        mStatus = kEndOfData;
        return false;
    }
    c = *mCurrent++;
    mStatus = kGood;
    return true;
}

void PPDStream::SkipWhiteSpace() {
    while (!Exhausted() && (*mCurrent == ' ' || *mCurrent == '\t'))
        ++mCurrent;
}

bool PPDStream::GetLine(char* line) {
    int stored = 0;
    bool endedAtLineEnd = false;
    mEndedAtTrailingCR = false;
    char c;
    while (stored < kMaxLineLength && GetChar(c)) {
        // A 0xFF byte counts as the end of the data, as a file's end-of-text marker would.
        if (c == static_cast<char>(0xFF))
            break;
        if (c == '\n') {
            endedAtLineEnd = true;
            break;
        }
        if (c == '\r') {
            endedAtLineEnd = true;
            if (PeekChar() == '\n')
                ++mCurrent;
            else if (Exhausted())
                mEndedAtTrailingCR = true;
            break;
        }
        line[stored++] = c;
    }
    line[stored] = '\0';
    return endedAtLineEnd;
}

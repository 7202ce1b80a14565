//===- PPDFileStream.cpp - Line reader over a PPD file --------------------===//
#include "PPDFileStream.h"

#include <cstring>

PPDFileStream::PPDFileStream(PPDFile* file, bool chunked) : mFile(file) {
    if (!file) {
        mStatus = kBad;
        return;
    }
    if (chunked) {
        mBuffer = Allocate(kChunkSize);
        mChunked = true;
    } else {
        long size = file->dataForkSize();
        if (size < 1)
            return;
        // When the whole file does not fit, fall back to reading it in ever smaller chunks.
        while (!(mBuffer = Allocate(size))) {
            mChunked = true;
            size /= 2;
            if (size < kMinimumBufferSize)
                return;
        }
    }
    Setup();
}

PPDFileStream::~PPDFileStream() {
    if (mBuffer)
        DisposeHandle(mBuffer);
    // The model keeps its file for its whole life; it need not keep the descriptor too.
    if (mOpenedFork && mFile && mFile->dataForkOpen())
        mFile->closeDataFork();
}

Handle PPDFileStream::Allocate(long size) {
    OSErr error = noErr;
    Handle handle = TempNewHandle(size, &error);
    if (handle && error == noErr)
        return handle;
    handle = NewHandle(size);
    if (handle)
        mTempMemory = false;
    return handle;
}

void PPDFileStream::Setup() {
    if (!mBuffer || !mFile)
        return;
    if (!mFile->dataForkOpen()) {
        if (mFile->openDataFork(fsRdPerm) != noErr) {
            mStatus = kBad;
            return;
        }
        mOpenedFork = true;
    }
    unsigned long count = 0;
    if (!mReachedEnd) {
        count = static_cast<unsigned long>(GetHandleSize(mBuffer));
        OSErr error = mFile->dataForkRead(*mBuffer, &count);
        if (error != noErr && error != eofErr) {
            mStatus = kBad;
            return;
        }
        mReachedEnd = error == eofErr;
    }
    const char* data = *mBuffer;
    if (mSkipLeadingLF && count > 0 && data[0] == '\n') {
        ++data;
        --count;
    }
    mSkipLeadingLF = false;
    // Reading nothing means the file is used up: the stream turns bad and reads no more lines.
    PPDStream::Setup(data, static_cast<long>(count));
    if (count == 0)
        mCurrent = mEnd = nullptr;
}

bool PPDFileStream::GetLine(char* line) {
    bool ended = PPDStream::GetLine(line);
    if (!mChunked)
        return ended;
    if (ended) {
        mSkipLeadingLF = mEndedAtTrailingCR;
        return true;
    }
    if (!Exhausted())
        return false; // the line was too long
    Setup();
    return FixLine(line);
}

bool PPDFileStream::FixLine(char* line) {
    char rest[kLineBufferSize];
    bool ended = PPDStream::GetLine(rest);
    mSkipLeadingLF = ended && mEndedAtTrailingCR;
    size_t have = std::strlen(line);
    size_t more = std::strlen(rest);
    if (have + more >= static_cast<size_t>(kMaxLineLength)) {
        // A joined line of 255 bytes or more is over-long, as it is when read in one piece.
        size_t room = static_cast<size_t>(kMaxLineLength) - have;
        std::memcpy(line + have, rest, more < room ? more : room);
        line[kMaxLineLength] = '\0';
        return false;
    }
    std::memcpy(line + have, rest, more + 1);
    return ended;
}

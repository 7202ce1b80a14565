//===- HttpMessage.cpp - Bounded reading of one HTTP/1.1 message ----------===//
#include "HttpMessage.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

namespace tovrane {

namespace {

constexpr size_t kUsualHeadBytes = 256;

bool EqualsNoCase(const char* a, size_t length, const char* b) {
    return std::strlen(b) == length && strncasecmp(a, b, length) == 0;
}

bool ContainsNoCase(const char* text, size_t length, const char* word) {
    size_t n = std::strlen(word);
    for (size_t i = 0; i + n <= length; ++i)
        if (strncasecmp(text + i, word, n) == 0)
            return true;
    return false;
}

/// `text` without spaces and tabs at either end.
void Trim(const char*& text, size_t& length) {
    while (length > 0 && (*text == ' ' || *text == '\t')) {
        ++text;
        --length;
    }
    while (length > 0 && (text[length - 1] == ' ' || text[length - 1] == '\t'))
        --length;
}

/// The line's length without its end ("\n" or "\r\n").
size_t LineLength(const std::string& line, size_t start, size_t newline) {
    size_t length = newline - start;
    if (length > 0 && line[newline - 1] == '\r')
        --length;
    return length;
}

bool IsToken(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '_';
}

} // namespace

HttpMessage::HttpMessage(Kind kind, size_t maxBody, BodyStorage storage)
    : mKind(kind), mMaxBody(maxBody), mStorage(storage) {}

HttpMessage::Result HttpMessage::Fail(Result why) {
    mStage = Stage::Failed;
    mFailure = why;
    mInPlace = false;
    mBodyInPlace = {};
    mBody.clear();
    mBody.shrink_to_fit();
    return why;
}

bool HttpMessage::ParseFirstLine(const std::string& line) {
    if (mKind == Kind::Reply) {
        // "HTTP/1.x NNN reason"
        if (line.size() < 12 || line.compare(0, 7, "HTTP/1.") != 0 ||
            (line[7] != '0' && line[7] != '1') || line[8] != ' ' ||
            (line.size() > 12 && line[12] != ' '))
            return false;
        mKeepAlive = line[7] == '1';
        int code = 0;
        for (int i = 9; i < 12; ++i) {
            if (line[i] < '0' || line[i] > '9')
                return false;
            code = code * 10 + (line[i] - '0');
        }
        // The client never asks to continue, so an interim reply is a fault.
        mStatusCode = code;
        return code >= 200;
    }
    // "METHOD /path HTTP/1.x"
    size_t space = line.find(' ');
    if (space == std::string::npos || space == 0 || space > 16)
        return false;
    size_t second = line.find(' ', space + 1);
    if (second == std::string::npos || second == space + 1)
        return false;
    std::string version = line.substr(second + 1);
    if (version != "HTTP/1.1" && version != "HTTP/1.0")
        return false;
    mKeepAlive = version == "HTTP/1.1";
    mMethod = line.substr(0, space);
    for (char c : mMethod)
        if (!IsToken(c))
            return false;
    mPath = line.substr(space + 1, second - space - 1);
    return mPath[0] == '/';
}

bool HttpMessage::ParseHeader(const char* line, size_t length) {
    const char* colon = static_cast<const char*>(std::memchr(line, ':', length));
    if (!colon || colon == line)
        return false;
    size_t nameLength = static_cast<size_t>(colon - line);
    for (size_t i = 0; i < nameLength; ++i)
        if (!IsToken(line[i]))
            return false;
    const char* value = colon + 1;
    size_t valueLength = length - nameLength - 1;
    Trim(value, valueLength);
    if (EqualsNoCase(line, nameLength, "Content-Length")) {
        if (valueLength == 0 || valueLength > 18)
            return false;
        int64_t parsed = 0;
        for (size_t i = 0; i < valueLength; ++i) {
            if (value[i] < '0' || value[i] > '9')
                return false;
            parsed = parsed * 10 + (value[i] - '0');
        }
        if (mContentLength >= 0 && mContentLength != parsed)
            return false;
        mContentLength = parsed;
        if (static_cast<uint64_t>(parsed) > mMaxBody)
            mBodyTooLarge = true;
    } else if (EqualsNoCase(line, nameLength, "Transfer-Encoding")) {
        // Only plain chunking is spoken; any other coding could not be undone here.
        if (!EqualsNoCase(value, valueLength, "chunked") || mChunked)
            return false;
        mChunked = true;
    } else if (EqualsNoCase(line, nameLength, "Connection")) {
        if (ContainsNoCase(value, valueLength, "close"))
            mKeepAlive = false;
        else if (ContainsNoCase(value, valueLength, "keep-alive"))
            mKeepAlive = true;
    } else if (EqualsNoCase(line, nameLength, "Expect")) {
        mExpectContinue = EqualsNoCase(value, valueLength, "100-continue");
    }
    return true;
}

HttpMessage::Result HttpMessage::ParseHead() {
    size_t end = mHead.find('\n');
    if (!ParseFirstLine(mHead.substr(0, LineLength(mHead, 0, end))))
        return Fail(Result::Malformed);
    size_t start = end + 1;
    for (;;) {
        size_t next = mHead.find('\n', start);
        size_t length = LineLength(mHead, start, next);
        if (length == 0)
            break;
        if (!ParseHeader(mHead.data() + start, length))
            return Fail(Result::Malformed);
        start = next + 1;
    }
    mHead.clear();
    mHead.shrink_to_fit();
    mLines = 0;
    if (mChunked && mContentLength >= 0)
        return Fail(Result::Malformed);
    if (mBodyTooLarge)
        return Fail(Result::BodyTooLarge);
    if (mKind == Kind::Reply && (mStatusCode == 204 || mStatusCode == 304)) {
        mStage = Stage::Done;
    } else if (mChunked) {
        mStage = Stage::ChunkSize;
    } else if (mContentLength > 0) {
        mStage = Stage::Body; // room for it is made when its first bytes arrive
    } else if (mContentLength == 0 || mKind == Kind::Request) {
        mStage = Stage::Done;
    } else {
        // A reply delimited by the connection's end, which then cannot be used again.
        mKeepAlive = false;
        mStage = Stage::Body;
    }
    return Result::Ok;
}

HttpMessage::Result HttpMessage::AppendBody(const char* data, size_t size) {
    if (size > mMaxBody - mBody.size())
        return Fail(Result::BodyTooLarge);
    // A body past its first 64 KiB gets room for the whole bound at once: untouched pages
    // cost nothing, and no reallocation ever holds two copies.
    size_t needed = mBody.size() + size;
    if (needed > mBody.capacity())
        mBody.reserve(needed <= (64u << 10) ? std::max(needed, 2 * mBody.capacity()) : mMaxBody);
    mBody.append(data, size);
    return Result::Ok;
}

HttpMessage::Result HttpMessage::Feed(const char* data, size_t size) {
    if (size > 0)
        mAnyByte = true;
    size_t i = 0;
    while (i < size) {
        switch (mStage) {
        case Stage::Failed:
            return mFailure;
        case Stage::Done:
            mExtra = true;
            return Result::Ok;
        case Stage::Head: {
            // Up to the end of the current line at most, within the head's bound.
            const char* newline = static_cast<const char*>(std::memchr(data + i, '\n', size - i));
            size_t take = newline ? static_cast<size_t>(newline - (data + i)) + 1 : size - i;
            if (take > kMaxHeadBytes - mHead.size())
                return Fail(Result::HeadTooLarge);
            // Room for a usual head at once, rather than growing it line by line.
            if (mHead.empty())
                mHead.reserve(kUsualHeadBytes);
            mHead.append(data + i, take);
            i += take;
            if (!newline)
                break;
            size_t n = mHead.size();
            bool blank = (n >= 2 && mHead[n - 2] == '\n') ||
                         (n >= 3 && mHead[n - 2] == '\r' && mHead[n - 3] == '\n');
            // The first line and at most kMaxHeaderLines fields, then the blank line.
            if (++mLines > kMaxHeaderLines + (blank ? 2 : 1))
                return Fail(Result::HeadTooLarge);
            if (n == 1 || (n == 2 && mHead[0] == '\r')) {
                // Blank lines before a message are tolerated (and count against the bound).
                mHead.clear();
                break;
            }
            if (blank && ParseHead() != Result::Ok)
                return mFailure;
            break;
        }
        case Stage::Body: {
            if (mBody.empty() && mContentLength > 0) {
                // The whole body here: read in place when asked to, which spares a copy and
                // the allocation of a block that may be large.
                const size_t length = static_cast<size_t>(mContentLength); // within the bound
                if (mStorage == BodyStorage::InPlace && size - i >= length) {
                    mBodyInPlace = std::string_view(data + i, length);
                    mInPlace = true;
                    i += length;
                    mStage = Stage::Done;
                    break;
                }
                mBody.reserve(length);
            }
            size_t take = size - i;
            if (mContentLength >= 0)
                take = static_cast<size_t>(
                    std::min<uint64_t>(take, static_cast<uint64_t>(mContentLength) - mBody.size()));
            if (AppendBody(data + i, take) != Result::Ok)
                return mFailure;
            i += take;
            if (mContentLength >= 0 && mBody.size() == static_cast<uint64_t>(mContentLength))
                mStage = Stage::Done;
            break;
        }
        case Stage::ChunkData: {
            size_t take = static_cast<size_t>(std::min<uint64_t>(size - i, mChunkLeft));
            if (AppendBody(data + i, take) != Result::Ok)
                return mFailure;
            i += take;
            mChunkLeft -= take;
            if (mChunkLeft == 0)
                mStage = Stage::ChunkEnd;
            break;
        }
        case Stage::ChunkSize:
        case Stage::ChunkEnd:
        case Stage::Trailer: {
            char c = data[i++];
            if (mHead.size() >= kMaxChunkLine)
                return Fail(mStage == Stage::Trailer ? Result::HeadTooLarge : Result::Malformed);
            mHead.push_back(c);
            if (c != '\n')
                break;
            size_t length = LineLength(mHead, 0, mHead.size() - 1);
            if (mStage == Stage::ChunkEnd) {
                if (length != 0)
                    return Fail(Result::Malformed);
                mStage = Stage::ChunkSize;
            } else if (mStage == Stage::ChunkSize) {
                uint64_t chunk = 0;
                size_t digits = 0;
                for (; digits < length; ++digits) {
                    char h = mHead[digits];
                    int value = h >= '0' && h <= '9'   ? h - '0'
                                : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                       : -1;
                    if (value < 0)
                        break;
                    if (digits >= 15)
                        return Fail(Result::BodyTooLarge);
                    chunk = chunk * 16 + static_cast<uint64_t>(value);
                }
                // Chunk extensions (";...") are allowed and ignored.
                if (digits == 0 || (digits < length && mHead[digits] != ';' &&
                                    mHead[digits] != ' ' && mHead[digits] != '\t'))
                    return Fail(Result::Malformed);
                // Refused as soon as announced, before a byte of it is held.
                if (chunk > mMaxBody - mBody.size())
                    return Fail(Result::BodyTooLarge);
                mChunkLeft = chunk;
                mStage = chunk == 0 ? Stage::Trailer : Stage::ChunkData;
            } else {
                // Trailer fields are skipped, bounded like the head's.
                if (++mLines > kMaxHeaderLines)
                    return Fail(Result::HeadTooLarge);
                if (length == 0)
                    mStage = Stage::Done;
            }
            mHead.clear();
            break;
        }
        }
    }
    return mStage == Stage::Failed ? mFailure : Result::Ok;
}

HttpMessage::Result HttpMessage::End() {
    if (mStage == Stage::Failed)
        return mFailure;
    if (mStage == Stage::Body && mContentLength < 0)
        mStage = Stage::Done;
    return mStage == Stage::Done ? Result::Ok : Result::Truncated;
}

} // namespace tovrane

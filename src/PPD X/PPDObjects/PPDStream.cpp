//===- PPDStream.cpp - Read cursor over PPD bytes -------------------------===//
#include "PPDStream.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

void PPDStream::SkipWhiteSpace() {
    while (!Exhausted() && (*mCurrent == ' ' || *mCurrent == '\t'))
        ++mCurrent;
}

namespace {

// Bytes that end a line: LF, CR and 0xFF (which counts as the end of the data, as a file's
// end-of-text marker would).
bool endsLine(char c) {
    return c == '\n' || c == '\r' || c == static_cast<char>(0xFF);
}

// The offset of the first line-ending byte in text[0, limit), or limit. Sixteen bytes at a time
// where the vector unit allows, never reading past text + limit.
long findLineEnd(const char* text, long limit) {
    long at = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i ff = _mm_set1_epi8(static_cast<char>(0xFF));
    for (; at + 16 <= limit; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)),
                         _mm_cmpeq_epi8(bytes, ff));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0)
            return at + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    while (at < limit && !endsLine(text[at]))
        ++at;
    return at;
}

} // namespace

// One bounded scan and one copy per line, with the same results and statuses as reading the
// line byte by byte: the status is good after any byte read and end of data once a read found
// nothing, which happens only when the data ran out before 255 bytes and before a line end.
bool PPDStream::GetLine(char* line) {
    mEndedAtTrailingCR = false;
    const char* start = mCurrent;
    const long available = start < mEnd ? mEnd - start : 0;
    const long limit = available < kMaxLineLength ? available : kMaxLineLength;
    const long length = findLineEnd(start, limit);
    if (length > 0)
        std::memcpy(line, start, static_cast<size_t>(length));
    line[length] = '\0';
    if (length == limit) {
        mCurrent = start + length;
        mStatus = limit < kMaxLineLength ? kEndOfData : kGood;
        return false;
    }
    const char c = start[length];
    mCurrent = start + length + 1;
    mStatus = kGood;
    if (c == static_cast<char>(0xFF))
        return false;
    if (c == '\r') {
        if (mCurrent < mEnd && *mCurrent == '\n')
            ++mCurrent;
        else if (mCurrent >= mEnd)
            mEndedAtTrailingCR = true;
    }
    return true;
}

PPDStream::TokenStops::TokenStops(const char* delimiters) : kind{}, lanes{}, specialCount(0) {
    if (delimiters)
        for (const char* d = delimiters; *d; ++d)
            kind[static_cast<unsigned char>(*d)] |= kStopDelimiter;
    kind[static_cast<unsigned char>('\n')] |= kStopLF;
    kind[static_cast<unsigned char>('\r')] |= kStopCR;
    kind[0] = kStopNUL; // stored like any byte, but it ends the token's text
    int count = 0;
    for (int b = 0; b < 256; ++b) {
        if (kind[b] == 0)
            continue;
        if (count == static_cast<int>(sizeof lanes / sizeof lanes[0])) {
            count = 0;
            break;
        }
        std::memset(lanes[count++], b, sizeof lanes[0]);
    }
    specialCount = count;
}

namespace {

#if defined(__SSE2__)
// How many of the 16 bytes at `p` come before the first special byte of `stops` (16 when none
// is there). The caller guarantees 16 readable bytes and at least one special byte.
int plainPrefix(const char* p, const PPDStream::TokenStops& stops) {
    const __m128i data = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hits =
        _mm_cmpeq_epi8(data, _mm_load_si128(reinterpret_cast<const __m128i*>(stops.lanes[0])));
    for (int i = 1; i < stops.specialCount; ++i)
        hits = _mm_or_si128(
            hits,
            _mm_cmpeq_epi8(data, _mm_load_si128(reinterpret_cast<const __m128i*>(stops.lanes[i]))));
    const int mask = _mm_movemask_epi8(hits);
    return mask == 0 ? 16 : __builtin_ctz(static_cast<unsigned>(mask));
}
#endif

} // namespace

PPDStream::TokenRead PPDStream::ReadToken(char* token, const TokenStops& stops) {
    // Locals rather than members in the loop: stores into `token` may alias the members.
    const char* p = mCurrent;
    const char* const end = mEnd;
    TokenRead read{0, -1, false};
    long status = mStatus;
    while (read.stored < kMaxLineLength) {
#if defined(__SSE2__)
        // Runs of ordinary bytes sixteen at a time, while both the data and the token have room
        // for sixteen (all of which are stored; those past the run are overwritten or unused).
        while (stops.specialCount > 0 && end - p >= 16 && read.stored + 16 <= kMaxLineLength) {
            const int plain = plainPrefix(p, stops);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(token + read.stored),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
            p += plain;
            read.stored += plain;
            if (plain > 0)
                status = kGood;
            if (plain < 16)
                break;
        }
        if (read.stored >= kMaxLineLength)
            break;
#endif
        if (p >= end) {
            status = kEndOfData;
            break;
        }
        const char c = *p++;
        status = kGood;
        const unsigned char kind = stops.kind[static_cast<unsigned char>(c)];
        if (kind != 0) {
            if (kind & kStopLF) {
                read.endedAtLF = true;
                break;
            }
            if (kind & kStopCR) {
                // Only a CR of a CR LF pair may be kept, and only when it is no delimiter.
                if (p >= end || *p != '\n' || (kind & kStopDelimiter))
                    break;
            } else if (kind & kStopDelimiter) {
                break;
            } else if (read.textLength < 0) {
                read.textLength = read.stored; // the first NUL
            }
        }
        token[read.stored++] = c;
    }
    if (read.textLength < 0)
        read.textLength = read.stored;
    mCurrent = p;
    mStatus = status;
    return read;
}

// One memchr and one memcpy for what a GetChar loop does byte by byte, statuses included: good
// after a byte was read, end of data once a read found nothing.
PPDStream::CopyEnd PPDStream::CopyUntil(char stop, char* out, long room, long* copied) {
    const char* p = mCurrent;
    const long left = p < mEnd ? mEnd - p : 0;
    *copied = 0;
    if (left == 0) {
        mStatus = kEndOfData;
        return CopyEnd::EndOfData;
    }
    const char* found = static_cast<const char*>(std::memchr(p, stop, static_cast<size_t>(left)));
    const long before = found ? found - p : left;
    if (found && before <= room) {
        std::memcpy(out, p, static_cast<size_t>(before));
        *copied = before;
        mCurrent = found + 1;
        mStatus = kGood;
        return CopyEnd::Stop;
    }
    if (left > room) {
        std::memcpy(out, p, static_cast<size_t>(room));
        *copied = room;
        mCurrent = p + room + 1;
        mStatus = kGood;
        return CopyEnd::Full;
    }
    std::memcpy(out, p, static_cast<size_t>(left));
    *copied = left;
    mCurrent = mEnd;
    mStatus = kEndOfData;
    return CopyEnd::EndOfData;
}

bool PPDStream::SkipPast(char stop) {
    const char* p = mCurrent;
    const long left = p < mEnd ? mEnd - p : 0;
    const char* found =
        left > 0 ? static_cast<const char*>(std::memchr(p, stop, static_cast<size_t>(left)))
                 : nullptr;
    if (!found) {
        if (left > 0)
            mCurrent = mEnd;
        mStatus = kEndOfData;
        return false;
    }
    mCurrent = found + 1;
    mStatus = kGood;
    return true;
}

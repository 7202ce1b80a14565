//===- PPDStream.h - Read cursor over PPD bytes -----------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDSTREAM_H
#define PIGMENTOR_PPDX_PPDSTREAM_H

/// A read cursor over a block of bytes it does not own: one line of a PPD, or a chunk of the
/// whole file (PPDFileStream). The bytes are the PPD's own, in its language encoding.
///
/// The caller keeps the block alive for as long as the stream reads it. Status: 0 good,
/// 1 bad (set up without data), 2 end of data reached.
class PPDStream {
public:
    enum Status { kGood = 0, kBad = 1, kEndOfData = 2 };
    /// Bytes that the line reader stores at most; a line buffer holds this many plus a NUL.
    static constexpr int kMaxLineLength = 255;
    /// Size of every line and token buffer of the PPD engine.
    static constexpr int kLineBufferSize = 256;

    /// A stream without data (bad).
    PPDStream();
    PPDStream(const char* data, long length);
    /// Copies the cursor and status, not the bytes.
    PPDStream(const PPDStream& other) = default;
    PPDStream& operator=(const PPDStream& other) = default;
    virtual ~PPDStream();

    /// Points the stream at `length` bytes of `data`; null data or length < 1 only sets bad.
    void Setup(const char* data, long length);
    /// The next byte; at the end sets `c` to -1 and the status to end of data, returns false.
    bool GetChar(char& c) {
        if (mCurrent >= mEnd) {
            c = static_cast<char>(-1);
            mStatus = kEndOfData;
            return false;
        }
        c = *mCurrent++;
        mStatus = kGood;
        return true;
    }
    /// The next byte without advancing, or -1 at the end.
    char PeekChar() const { return mCurrent < mEnd ? *mCurrent : static_cast<char>(-1); }
    /// Advances over spaces and tabs.
    void SkipWhiteSpace();
    /// Reads one line (at most 255 bytes) into `line` (256 bytes) and terminates it; true only
    /// when the line ended at LF or CR (a CR LF pair is one line end).
    virtual bool GetLine(char* line);
    /// What ReadToken did: bytes stored, how many of them come before the first NUL among them
    /// (all when there is none), and whether an LF ended the token.
    struct TokenRead {
        int stored;
        int textLength;
        bool endedAtLF;
    };
    /// The bytes ReadToken treats specially for one set of delimiters: LF, CR, NUL and the
    /// delimiters (NUL is never one).
    struct TokenStops {
        /// The table of `delimiters` (null: none).
        explicit TokenStops(const char* delimiters);
        /// kStop flags of each byte.
        unsigned char kind[256];
        /// The bytes that have flags, each repeated across a 16-byte lane, for scanning sixteen
        /// bytes at a time; specialCount is 0 when there are too many for that.
        alignas(16) char lanes[16][16];
        int specialCount;
    };
    /// Reads a token as GetChar would byte by byte: up to a delimiter (consumed, not stored), an
    /// LF, a CR not followed by LF, the end of data or 255 bytes, into `token` (256 bytes, not
    /// terminated). A CR before an LF is stored unless it is itself a delimiter.
    TokenRead ReadToken(char* token, const TokenStops& stops);

    /// How CopyUntil ended.
    enum class CopyEnd { Stop, Full, EndOfData };
    /// Reads as a GetChar loop would that copies bytes into `out` until it reads `stop` (Stop),
    /// reads a byte when `room` bytes are already copied (Full), or finds no byte (EndOfData);
    /// the byte that ended it is consumed and not copied. *copied tells how many were.
    CopyEnd CopyUntil(char stop, char* out, long room, long* copied);
    /// Reads up to and past the next `stop` byte, as a GetChar loop would; false (the data used
    /// up) when there is none.
    bool SkipPast(char stop);

    /// Flags of TokenStops::kind.
    static constexpr unsigned char kStopDelimiter = 1;
    static constexpr unsigned char kStopLF = 2;
    static constexpr unsigned char kStopCR = 4;
    static constexpr unsigned char kStopNUL = 8;

    long Status() const { return mStatus; }
    bool EndOfFile() const { return mStatus == kEndOfData; }
    bool Good() const { return mStatus == kGood; }
    bool Bad() const { return mStatus == kBad; }

protected:
    /// True when the bytes are used up.
    bool Exhausted() const { return mCurrent >= mEnd; }

    const char* mStart = nullptr;
    const char* mEnd = nullptr;
    const char* mCurrent = nullptr;
    long mStatus = kBad;
    /// The last line read ended at a CR that stood on the last byte of the data, so its LF (if
    /// any) was not there to be consumed.
    bool mEndedAtTrailingCR = false;
};

#endif // PIGMENTOR_PPDX_PPDSTREAM_H

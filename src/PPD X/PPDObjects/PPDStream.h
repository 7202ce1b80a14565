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
    bool GetChar(char& c);
    /// The next byte without advancing, or -1 at the end.
    char PeekChar() const { return mCurrent < mEnd ? *mCurrent : static_cast<char>(-1); }
    /// Advances over spaces and tabs.
    void SkipWhiteSpace();
    /// Reads one line (at most 255 bytes) into `line` (256 bytes) and terminates it; true only
    /// when the line ended at LF or CR (a CR LF pair is one line end).
    virtual bool GetLine(char* line);

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

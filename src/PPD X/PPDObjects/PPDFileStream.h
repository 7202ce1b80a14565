//===- PPDFileStream.h - Line reader over a PPD file ------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDFILESTREAM_H
#define PIGMENTOR_PPDX_PPDFILESTREAM_H

#include "PPDFile.h"
#include "PPDStream.h"

#include <CarbonCore/MacMemory.h>

/// A PPDStream over a PPD file, read into a memory handle: either the whole file at once, or
/// one reusable chunk of kChunkSize bytes that is refilled as lines are read. Both modes give
/// the same lines, including lines that straddle a chunk boundary and a CR LF pair split by it.
///
/// The stream owns its buffer and closes the data fork it opened; it does not own the file.
class PPDFileStream : public PPDStream {
public:
    /// Bytes of the file held at a time in the chunked mode.
    static constexpr long kChunkSize = 10000;
    /// Below this size the whole-file mode gives up halving its buffer.
    static constexpr long kMinimumBufferSize = 257;

    /// Reads `file` (null: a bad stream) whole, or chunk by chunk when `chunked`.
    PPDFileStream(PPDFile* file, bool chunked);
    PPDFileStream(const PPDFileStream&) = delete;
    PPDFileStream& operator=(const PPDFileStream&) = delete;
    ~PPDFileStream() override;

    /// (Re)fills the buffer from the file's current position and points the cursor at it.
    void Setup();
    /// Reads one line, refilling a chunked buffer when it runs out in the middle of a line.
    bool GetLine(char* line) override;
    /// Reads the rest of a line from a freshly filled chunk and appends it to `line`.
    bool FixLine(char* line);

    bool Chunked() const { return mChunked; }
    bool TempMemory() const { return mTempMemory; }

private:
    /// A handle of `size` bytes from temporary memory, else from the application heap.
    Handle Allocate(long size);

    Handle mBuffer = nullptr;
    bool mTempMemory = true;
    bool mChunked = false;
    PPDFile* mFile = nullptr;
    bool mOpenedFork = false;
    /// The previous chunk ended with a line's CR: an LF opening the next chunk belongs to it.
    bool mSkipLeadingLF = false;
    /// A read came short of the buffer: the file is used up and the next fill reads nothing.
    bool mReachedEnd = false;
};

#endif // PIGMENTOR_PPDX_PPDFILESTREAM_H

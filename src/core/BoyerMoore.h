//===- BoyerMoore.h - Byte pattern search in a memory block -----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_BOYERMOORE_H
#define PIGMENTOR_CORE_BOYERMOORE_H

/// Finds a byte pattern of up to 255 bytes in a block of memory with the mismatched-character
/// rule of Boyer-Moore (no good-suffix rule). Bytes are compared exactly, whatever the
/// case-sensitivity flag says; the flag is only stored.
///
/// The pattern and skip table live inside the object, so no search allocates. The block is
/// referenced, not copied: the caller keeps it alive while searching. One object serves one
/// task on one thread.
class BoyerMoore {
public:
    static constexpr short kMaxPatternLength = 255;

    BoyerMoore();
    /// Sets the pattern (at most 255 bytes are kept) and the block; null data leaves no block.
    BoyerMoore(const char* pattern, short length, void* data, long dataLength);
    virtual ~BoyerMoore();

    /// Copies `length` bytes of `pattern` (at most 255) and rebuilds the skip table.
    virtual void SetSearchString(const char* pattern, short length);
    /// The same with a length-prefixed pattern.
    virtual void SetSearchString(unsigned char* prefixedPattern);
    /// Writes the pattern and a NUL into `out` (room for 256 bytes).
    virtual void GetSearchString(char* out);
    /// Sets the block searched and resets the start offset to 0.
    virtual void SetSearchData(void* data, long length);
    /// Position of the first match counted from the start offset, or -1.
    virtual long Search();
    /// Sets the pattern when one is given, then the start offset, then searches.
    virtual long Search(long start, const char* pattern, short length);
    virtual long Search(long start, unsigned char* prefixedPattern);
    virtual void SetCaseSensitve(bool caseSensitive);
    virtual bool GetCaseSensitive();
    virtual short GetSearchStringLength();
    /// Places the cursor at the start offset; called at the start of every search.
    virtual void PrepareSearchData();
    /// A hook for subclasses; does nothing here.
    virtual void CleanupSearchData();
    virtual void BuildSkipTable();

protected:
    unsigned char mSkip[256];
    unsigned char mPattern[kMaxPatternLength];
    short mPatternLength = 0;
    const unsigned char* mData = nullptr;
    long mDataLength = 0;
    long mStartOffset = 0;
    const unsigned char* mCursor = nullptr;
    bool mCaseInsensitive = false;
};

#endif // PIGMENTOR_CORE_BOYERMOORE_H

//===- PSValueCache.h - PostScript built for a control's value --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PSVALUECACHE_H
#define PIGMENTOR_PPDX_PSVALUECACHE_H

#include <cstdlib>

/// The PostScript a control built for its current value, kept between measuring and writing
/// it. Owns one malloc block (or none); the control drops it whenever the value changes.
/// Not copyable: exactly one control owns a block.
class PSValueCache {
public:
    PSValueCache() = default;
    PSValueCache(const PSValueCache&) = delete;
    PSValueCache& operator=(const PSValueCache&) = delete;
    ~PSValueCache() { Drop(); }

    /// Frees the block; the cache is empty afterwards.
    void Drop() {
        std::free(mBytes);
        mBytes = nullptr;
        mLength = 0;
    }
    /// Drops the old block and adopts `bytes` (from malloc) of `length` bytes.
    void Adopt(unsigned char* bytes, long length) {
        Drop();
        mBytes = bytes;
        mLength = bytes ? length : 0;
    }
    bool Empty() const { return mBytes == nullptr; }
    /// The block, or null when empty.
    unsigned char* Bytes() const { return mBytes; }
    /// The block's byte count (0 when empty).
    long Length() const { return mLength; }

private:
    unsigned char* mBytes = nullptr;
    long mLength = 0;
};

#endif // PIGMENTOR_PPDX_PSVALUECACHE_H

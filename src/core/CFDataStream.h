//===- CFDataStream.h - Byte stream over Core Foundation data ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_CFDATASTREAM_H
#define PIGMENTOR_CORE_CFDATASTREAM_H

#include "DataStream.h"

#include <CoreFoundation/CFData.h>

/// A DataStream over a growable Core Foundation data object that the stream owns.
///
/// Made empty (valid, for writing) or from a private copy of given data (valid only when that
/// data is not empty, for reading). `out` appends at the end; `in` reads all of what it is
/// asked for from the current position or nothing: a read past the end gives eofErr, so bytes
/// from outside never make it read beyond the data.
class CFDataStream : public DataStream {
public:
    /// An empty stream; error -108 (and not valid) when the data object cannot be made.
    CFDataStream();
    /// A stream holding a copy of `data` (null: no data object), positioned at its start.
    explicit CFDataStream(CFDataRef data);
    ~CFDataStream() override;

    /// The data object (still owned by the stream; null when none could be made).
    CFDataRef getCFData() const { return mData; }

    /// Appends; false without a data object, for null data, or past 4 GiB.
    bool out(void* data, unsigned long size) override;
    /// Copies exactly `size` bytes and advances, or reads nothing and returns false (eofErr
    /// when fewer bytes are left or there is no data object, paramErr for null data).
    bool in(void* data, unsigned long size, unsigned long* read, short* error) override;

private:
    CFMutableDataRef mData = nullptr;
};

#endif // PIGMENTOR_CORE_CFDATASTREAM_H

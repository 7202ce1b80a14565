//===- DataStream.h - Abstract byte stream for archives ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_DATASTREAM_H
#define PIGMENTOR_CORE_DATASTREAM_H

#include <cstdint>

/// A stream of bytes that a Settings archive is written to (`out`) and read from (`in`).
///
/// The stream holds `dataSize()` bytes and reads from a position that only moves forward. The
/// bytes are opaque: a flattened archive in the writer's byte form. Sizes are unsigned 32-bit;
/// a write that would pass 4 GiB fails. Subclasses own their storage; callers pass buffers of
/// at least the size they name. Not thread-safe; nothing throws.
class DataStream {
public:
    DataStream() = default;
    DataStream(const DataStream&) = delete;
    DataStream& operator=(const DataStream&) = delete;
    virtual ~DataStream();

    /// Appends `size` bytes from `data`; false when they could not be stored.
    virtual bool out(void* data, unsigned long size) = 0;
    /// Copies the next `size` bytes into `data`; *read gets the count, *error the status.
    virtual bool in(void* data, unsigned long size, unsigned long* read, short* error) = 0;
    /// Whether the stream holds any bytes.
    virtual bool dataExists() const;
    /// Whether the stream was made successfully.
    virtual bool valid() const;
    /// Number of bytes held.
    virtual unsigned long dataSize() const;

    /// Status of the last operation (0 success).
    short error() const { return mError; }
    /// Offset of the next byte `in` reads.
    unsigned long position() const { return mPosition; }

protected:
    uint32_t mSize = 0;
    uint32_t mPosition = 0;
    bool mValid = false;
    short mError = 0;
};

#endif // PIGMENTOR_CORE_DATASTREAM_H

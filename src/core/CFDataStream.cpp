//===- CFDataStream.cpp - Byte stream over Core Foundation data -----------===//
#include "CFDataStream.h"

#include <CarbonCore/MacErrors.h>

#include <cstring>

namespace {

constexpr unsigned long kMaxStreamSize = 0xFFFFFFFFul;

} // namespace

CFDataStream::CFDataStream() {
    mData = CFDataCreateMutable(kCFAllocatorDefault, 0);
    mValid = mData != nullptr;
    mError = mValid ? short(noErr) : short(memFullErr);
}

CFDataStream::CFDataStream(CFDataRef data) {
    if (data == nullptr)
        return;
    // A mutable copy: the caller's data may change or go while the stream is read.
    mData = CFDataCreateMutableCopy(kCFAllocatorDefault, 0, data);
    if (mData == nullptr) {
        mError = memFullErr;
        return;
    }
    CFIndex length = CFDataGetLength(mData);
    if (static_cast<unsigned long>(length) > kMaxStreamSize) {
        mError = memFullErr;
        return;
    }
    mSize = static_cast<uint32_t>(length);
    mValid = mSize != 0;
}

CFDataStream::~CFDataStream() {
    if (mData != nullptr)
        CFRelease(mData);
}

bool CFDataStream::out(void* data, unsigned long size) {
    if (mData == nullptr || (data == nullptr && size != 0)) {
        mError = paramErr;
        return false;
    }
    if (size > kMaxStreamSize - mSize) {
        mError = memFullErr;
        return false;
    }
    CFDataAppendBytes(mData, static_cast<const UInt8*>(data), static_cast<CFIndex>(size));
    // The data object cannot report a failed append other than by its length.
    if (static_cast<unsigned long>(CFDataGetLength(mData)) != mSize + size) {
        mError = memFullErr;
        return false;
    }
    mSize += static_cast<uint32_t>(size);
    mError = noErr;
    return true;
}

bool CFDataStream::in(void* data, unsigned long size, unsigned long* read, short* error) {
    short status = noErr;
    if (mData == nullptr || size > mSize - mPosition)
        status = eofErr;
    else if (data == nullptr && size != 0)
        status = paramErr;
    if (status == noErr && size != 0)
        std::memcpy(data, CFDataGetBytePtr(mData) + mPosition, size);
    if (status == noErr)
        mPosition += static_cast<uint32_t>(size);
    if (read != nullptr)
        *read = status == noErr ? size : 0;
    if (error != nullptr)
        *error = status;
    mError = status;
    return status == noErr;
}

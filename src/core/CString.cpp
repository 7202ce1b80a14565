//===- CString.cpp - Owned, NUL-terminated byte string --------------------===//
#include "CString.h"

#include <CarbonCore/TextEncodingConverter.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

/// A malloc copy of `length` bytes of `text` plus a NUL, or null when memory runs out.
char* copyBytes(const char* text, size_t length) {
    char* block = static_cast<char*>(std::malloc(length + 1));
    if (block) {
        std::memcpy(block, text, length);
        block[length] = '\0';
    }
    return block;
}

/// Converts `string` into a new malloc block as large as the encoding can need (UTF-8 takes
/// up to 3 bytes per UTF-16 unit); null when it fails.
char* convertToBlock(CFStringRef string, CFStringEncoding encoding) {
    CFIndex most = CFStringGetMaximumSizeForEncoding(CFStringGetLength(string), encoding);
    if (most < 0 || most == LONG_MAX)
        return nullptr;
    const size_t capacity = static_cast<size_t>(most) + 1;
    char* block = static_cast<char*>(std::malloc(capacity));
    if (block && !CFStringGetCString(string, block, static_cast<CFIndex>(capacity), encoding)) {
        std::free(block);
        block = nullptr;
    }
    return block;
}

/// A malloc copy of `text` with every byte lowered.
char* lowerCopy(const char* text) {
    char* copy = copyBytes(text, std::strlen(text));
    if (copy)
        for (char* p = copy; *p; ++p)
            *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    return copy;
}

} // namespace

CString::CString() = default;

CString::CString(const char* text) { SetBuffer(text); }

CString::CString(const CString& other) { SetBuffer(other.mBuffer); }

CString::CString(CString&& other) noexcept : mLength(other.mLength) {
    if (other.mBuffer == other.mShort) {
        std::memcpy(mShort, other.mShort, mLength + 1);
        mBuffer = mShort;
    } else {
        mBuffer = other.mBuffer;
    }
    other.mBuffer = nullptr;
    other.mLength = 0;
}

CString::CString(CFStringRef string) {
    if (!string)
        return;
    if (char* block = convertToBlock(string, CFStringGetSystemEncoding()))
        Adopt(block, static_cast<uint32_t>(std::strlen(block)));
}

CString::~CString() { ClearBuffer(); }

CString& CString::operator=(const char* text) {
    if (text != mBuffer)
        SetBuffer(text);
    return *this;
}

CString& CString::operator=(const CString& other) { return *this = other.mBuffer; }

CString& CString::operator=(CFStringRef string) {
    char* block = nullptr;
    if (string)
        block = convertToBlock(string, GetApplicationTextEncoding());
    if (block)
        Adopt(block, static_cast<uint32_t>(std::strlen(block)));
    else
        SetBuffer("");
    return *this;
}

void CString::SetBuffer(const char* text) {
    // Copy first: `text` may point into the text being replaced. The length is measured
    // once: model building sets thousands of these.
    const size_t length = text ? std::strlen(text) : 0;
    if (text && length < kShortSize) {
        std::memmove(mShort, text, length); // `text` may lie in mShort itself
        mShort[length] = '\0';
        FreeBlock();
        mBuffer = mShort;
        mLength = static_cast<uint32_t>(length);
        return;
    }
    char* block = text ? copyBytes(text, length) : nullptr;
    FreeBlock();
    mBuffer = block;
    mLength = block ? static_cast<uint32_t>(length) : 0;
}

void CString::ClearBuffer() {
    FreeBlock();
    mBuffer = nullptr;
    mLength = 0;
}

void CString::Adopt(char* block, uint32_t length) {
    FreeBlock();
    mBuffer = block;
    mLength = length;
}

void CString::FreeBlock() {
    if (mBuffer != mShort)
        std::free(mBuffer);
}

bool CString::operator==(const CString& other) const { return *this == other.mBuffer; }

bool CString::operator==(const char* text) const {
    if (!mBuffer || !text)
        return mBuffer == text;
    return std::strcmp(mBuffer, text) == 0;
}

CString& CString::operator+(const char* text) {
    size_t added = text ? std::strlen(text) : 0;
    size_t total = mLength + added;
    if (total == 0)
        return *this;
    char* block = static_cast<char*>(std::malloc(total + 1));
    if (!block)
        return *this;
    if (mLength)
        std::memcpy(block, mBuffer, mLength);
    if (added)
        std::memcpy(block + mLength, text, added);
    block[total] = '\0';
    Adopt(block, static_cast<uint32_t>(total));
    return *this;
}

bool CString::Contains(const char* needle) const {
    if (!mBuffer || !needle)
        return false;
    char* haystack = lowerCopy(mBuffer);
    char* lowered = lowerCopy(needle);
    bool found = haystack && lowered && std::strstr(haystack, lowered) != nullptr;
    std::free(haystack);
    std::free(lowered);
    return found;
}

void CString::Remove(char* at, unsigned long count) {
    if (!mBuffer || count == 0)
        return;
    char* tail = at + count;
    std::memmove(at, tail, static_cast<size_t>(mBuffer + mLength - tail) + 1);
    mLength -= static_cast<uint32_t>(count);
}

void CString::Insert(char* at, const char* text) {
    if (!mBuffer || !text || !*text)
        return;
    size_t prefix = static_cast<size_t>(at - mBuffer);
    size_t added = std::strlen(text);
    size_t total = mLength + added;
    char* block = static_cast<char*>(std::malloc(total + 1));
    if (!block)
        return;
    std::memcpy(block, mBuffer, prefix);
    std::memcpy(block + prefix, text, added);
    std::memcpy(block + prefix + added, at, mLength - prefix + 1);
    Adopt(block, static_cast<uint32_t>(total));
}

void CString::Replace(const CString& what, const CString& with) {
    if (!mBuffer || what.Empty())
        return;
    char* found = std::strstr(mBuffer, what.mBuffer);
    if (!found)
        return;
    size_t offset = static_cast<size_t>(found - mBuffer);
    Remove(found, what.mLength);
    if (with.mBuffer)
        Insert(mBuffer + offset, with.mBuffer);
}

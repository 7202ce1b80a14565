//===- CString.h - Owned, NUL-terminated byte string ------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_CSTRING_H
#define PIGMENTOR_CORE_CSTRING_H

#include <CoreFoundation/CFString.h>

#include <cstdint>

/// An owned byte string with a terminating NUL, in whatever 8-bit encoding its writer used
/// (PPD text keeps the PPD's encoding; text from Core Foundation strings is in the system or
/// application encoding, both Mac Roman here).
///
/// The string exclusively owns its text: a short one (up to kShortSize - 1 bytes) set by copying
/// lies in the object itself, any other in a heap block of exactly Size() + 1 bytes. It is
/// either unset (no text, converts to a null pointer) or set; an unset string and a set string
/// whose first byte is NUL are both Empty(). Nothing here throws: a failed allocation leaves a
/// string being built unset and a string being changed unchanged. Callers compare, search and
/// edit only set strings; positions passed to Remove and Insert lie inside this string's own
/// buffer (neither is checked).
class CString {
public:
    /// An unset string.
    CString();
    /// A copy of `text`; a null pointer leaves the string unset.
    CString(const char* text);
    CString(const CString& other);
    /// Takes over `other`'s text (a short one is copied), leaving `other` unset.
    CString(CString&& other) noexcept;
    /// The text of `string` in the system encoding; unset when it cannot be converted.
    explicit CString(CFStringRef string);
    virtual ~CString();

    /// Copies `text` (null: unset). Assigning the string's own buffer does nothing.
    CString& operator=(const char* text);
    CString& operator=(const CString& other);
    /// The text of `string` in the application encoding; "" when null or not convertible.
    CString& operator=(CFStringRef string);

    /// Frees the old block, then copies `text` (null: the string becomes unset).
    void SetBuffer(const char* text);
    /// Frees the block; the string becomes unset.
    void ClearBuffer();

    /// Number of bytes before the terminating NUL (0 when unset).
    uint32_t Size() const { return mLength; }
    /// True when unset or when the first byte is NUL.
    bool Empty() const { return mBuffer == nullptr || mBuffer[0] == '\0'; }
    /// The bytes, or null when unset.
    operator const char*() const { return mBuffer; }

    /// Byte-wise equality of the texts.
    bool operator==(const CString& other) const;
    bool operator==(const char* text) const;

    /// Appends `text` to this string in place and returns this string.
    CString& operator+(const char* text);

    /// Case-insensitive substring test (bytes lowered with tolower); "" is in every set string.
    bool Contains(const char* needle) const;
    /// Removes `count` bytes starting at `at`, a pointer into this string's buffer.
    void Remove(char* at, unsigned long count);
    /// Inserts `text` before `at`, a pointer into this string's buffer.
    void Insert(char* at, const char* text);
    /// Replaces the first occurrence of `what` by `with`; no occurrence changes nothing.
    void Replace(const CString& what, const CString& with);

private:
    /// Takes ownership of a malloc block holding `length` bytes and a NUL.
    void Adopt(char* block, uint32_t length);
    /// Frees the heap block, if the text is in one.
    void FreeBlock();

    /// Bytes of the in-object buffer: option keywords and most PPD keywords fit, which saves
    /// the model an allocation for most of its thousands of strings.
    static constexpr uint32_t kShortSize = 28;

    char* mBuffer = nullptr; // mShort, a heap block or null
    uint32_t mLength = 0;
    char mShort[kShortSize];
};

#endif // PIGMENTOR_CORE_CSTRING_H

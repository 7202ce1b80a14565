// Helpers shared by the control tests: malloc code blocks, strings, flag lists, popup items, a
// minimal concrete control, and the measure-then-write round of a control's PostScript.
#ifndef PIGMENTOR_TESTS_CONTROLTESTSUPPORT_H
#define PIGMENTOR_TESTS_CONTROLTESTSUPPORT_H

#include "PPDXControl.h"
#include "TestScopes.h"
#include "_PopupItem.h"

#include <CoreFoundation/CoreFoundation.h>
#include <CoreFoundation/PMCFUtilities.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

/// A malloc copy of `bytes` (what the parsers hand to a control), or null for null.
inline unsigned char* Block(const char* bytes) {
    if (!bytes)
        return nullptr;
    size_t n = std::strlen(bytes);
    unsigned char* block = static_cast<unsigned char*>(std::malloc(n ? n : 1));
    std::memcpy(block, bytes, n);
    return block;
}

/// A Core Foundation string from UTF-8 text, released when the holder goes.
class Str {
public:
    explicit Str(const char* utf8)
        : mRef(CFStringCreateWithCString(kCFAllocatorDefault, utf8, kCFStringEncodingUTF8)) {}
    ~Str() { CFRelease(mRef); }
    Str(const Str&) = delete;
    Str& operator=(const Str&) = delete;
    operator CFStringRef() const { return mRef; }

private:
    CFStringRef mRef;
};

/// A list of new CString flag words (a control takes them over).
inline PointerList Flags(std::initializer_list<const char*> words) {
    PointerList list;
    for (const char* w : words)
        list.PushBack(new CString(w));
    return list;
}

/// A new popup item with a keyword, an optional UTF-8 name and optional code.
inline _PopupItem* Item(const char* keyword, const char* name = nullptr,
                        const char* code = nullptr) {
    CFStringRef localName =
        name ? CFStringCreateWithCString(kCFAllocatorDefault, name, kCFStringEncodingUTF8)
             : nullptr;
    return new _PopupItem(keyword, localName, Block(code),
                          code ? static_cast<long>(std::strlen(code)) : 0);
}

/// The least concrete control: its own code as PostScript, a chosen kind, no value.
class PlainControl : public PPDXControl {
public:
    PlainControl(const char* keyword, PointerList flags, const char* code = nullptr,
                 CNTL_TYPE type = kNoControlType, bool visible = true)
        : PPDXControl(keyword, CFSTR("Plain"), flags, Block(code),
                      code ? static_cast<long>(std::strlen(code)) : 0, visible) {
        mType = type;
    }
    void ResetToDefaultValue() override {}
    CFStringRef GetCurrentControlValueString() override { return nullptr; }
    void SetCurrentControlWithCFString(CFStringRef) override {}
};

/// Measures, then writes into a buffer with guard bytes around it; checks that both calls
/// agree and that nothing is written past the measured size (no NUL either).
inline std::string WrittenPostScript(PPDXControl& control) {
    long measured = control.PostScript(nullptr);
    EXPECT_GE(measured, 0);
    std::string buffer(static_cast<size_t>(measured > 0 ? measured : 0) + 8, '#');
    long written = control.PostScript(reinterpret_cast<unsigned char*>(&buffer[4]));
    EXPECT_EQ(written, measured);
    EXPECT_EQ(buffer.substr(0, 4), "####");
    EXPECT_EQ(buffer.substr(buffer.size() - 4), "####");
    return buffer.substr(4, buffer.size() - 8);
}

#endif // PIGMENTOR_TESTS_CONTROLTESTSUPPORT_H

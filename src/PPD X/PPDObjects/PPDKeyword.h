//===- PPDKeyword.h - A keyword token compared by length first --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDKEYWORD_H
#define PIGMENTOR_PPDX_PPDKEYWORD_H

#include <cstddef>
#include <cstring>

/// A keyword token of a PPD line (its bytes, NUL-terminated), for the chains of keyword tests
/// in the parse driver: each test compares the first two bytes, then lengths (the token is
/// measured once, when first needed), and whole texts only on equal lengths. Equal exactly when
/// strcmp would say so. Views the caller's text, which must outlive it; one thread at a time.
class PPDKeyword {
public:
    /// Views `text` (null: equal to nothing).
    explicit PPDKeyword(const char* text) : mText(text) {}

    /// True when the token is exactly `literal` (at least two bytes long), case included.
    template <std::size_t N> bool Is(const char (&literal)[N]) const {
        static_assert(N >= 3, "the first two bytes are compared before anything else");
        // A token shorter than two bytes differs at its NUL, before anything past it is read.
        if (!mText || mText[0] != literal[0] || mText[1] != literal[1])
            return false;
        if (mLength == kUnmeasured)
            mLength = std::strlen(mText);
        return mLength == N - 1 && std::memcmp(mText, literal, N - 1) == 0;
    }

private:
    static constexpr std::size_t kUnmeasured = static_cast<std::size_t>(-1);
    const char* mText;
    mutable std::size_t mLength = kUnmeasured;
};

#endif // PIGMENTOR_PPDX_PPDKEYWORD_H

//===- JsonWriter.h - Streaming JSON output for the tools -------*- C++ -*-===//
#ifndef PIGMENTOR_TOOLS_JSONWRITER_H
#define PIGMENTOR_TOOLS_JSONWRITER_H

#include <cstdio>
#include <string>
#include <vector>

/// Writes one JSON document to a FILE as it is built: objects, arrays, keys and values, with
/// two-space indentation. Strings are UTF-8; control characters and invalid UTF-8 bytes are
/// escaped (a byte that is not part of valid UTF-8 is written as the
/// Latin-1 character of that value), so any text the model holds gives valid JSON.
/// The caller nests Begin/End calls correctly; a key is given before every value in an object.
class JsonWriter {
public:
    explicit JsonWriter(FILE* out) : mOut(out) {}
    ~JsonWriter();

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    /// The key of the next value in the current object.
    void Key(const char* key);

    void String(const std::string& text);
    /// A string, or null when `text` is null.
    void String(const char* text);
    /// Raw bytes shown as text: UTF-8 where they are, escapes elsewhere.
    void Bytes(const unsigned char* bytes, long length);
    void Number(long value);
    void Number(double value);
    void Bool(bool value);
    void Null();

private:
    void BeforeValue();
    void End(char closer);
    void Newline();
    void Escaped(const unsigned char* bytes, size_t length);

    FILE* mOut;
    /// One entry per open container: whether it has a member yet.
    std::vector<bool> mHasMembers;
    bool mAfterKey = false;
};

#endif // PIGMENTOR_TOOLS_JSONWRITER_H

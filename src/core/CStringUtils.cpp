//===- CStringUtils.cpp - Zero-terminated string helpers ------------------===//
#include "CStringUtils.h"

#include <CoreFoundation/CFString.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

unsigned char* ctoPStr(const char* c, unsigned char* p) {
    size_t length = std::strlen(c);
    if (length > 255)
        length = 255;
    p[0] = static_cast<unsigned char>(length);
    std::memcpy(p + 1, c, length);
    return p;
}

char* ptoCStr(const unsigned char* p, char* c) {
    std::memcpy(c, p + 1, p[0]);
    c[p[0]] = '\0';
    return c;
}

char* num2String(long n, char* buf) {
    std::snprintf(buf, 21, "%ld", n);
    return buf;
}

long string2Number(const char* s) {
    if (!s)
        return 0;
    CFStringRef string = CFStringCreateWithCString(kCFAllocatorDefault, s, kCFStringEncodingMacRoman);
    if (!string)
        return 0;
    long value = CFStringGetIntValue(string);
    CFRelease(string);
    return value;
}

void deleteCharRangeInStr(char* s, short from, short to) {
    long length = static_cast<long>(std::strlen(s));
    if (from < 0 || from >= to || from > length)
        return;
    long end = to > length ? length : to;
    std::memmove(s + from, s + end, static_cast<size_t>(length - end) + 1);
}

char* findChar(const char* s, char c) {
    for (; *s; ++s)
        if (*s == c)
            return const_cast<char*>(s);
    return nullptr;
}

char* newInitalizedCString(unsigned long n, char c) {
    char* block = static_cast<char*>(std::malloc(n + 1));
    if (block) {
        std::memset(block, c, n);
        block[n] = '\0';
    }
    return block;
}

bool validateRangeValues(const char* s, long maxDigits) {
    long run = 0;
    for (; *s; ++s) {
        if (std::isdigit(static_cast<unsigned char>(*s))) {
            if (++run > maxDigits)
                return false;
        } else {
            run = 0;
        }
    }
    return true;
}

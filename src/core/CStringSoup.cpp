//===- CStringSoup.cpp - Strings numbered by first insertion --------------===//
#include "CStringSoup.h"

#include <cstring>
#include <new>

CStringSoup::~CStringSoup() { Clear(); }

long CStringSoup::Insert(const char* text) {
    if (!text)
        return -1;
    long index = Find(text);
    if (index >= 0)
        return index;
    CString* copy = new (std::nothrow) CString(text);
    if (!copy || static_cast<const char*>(*copy) == nullptr) {
        delete copy;
        return -1;
    }
    try {
        mStrings.push_back(copy);
    } catch (...) {
        // The array's own growth is the one place the standard library may throw here.
        delete copy;
        return -1;
    }
    return static_cast<long>(mStrings.size()) - 1;
}

const char* CStringSoup::Find(long index) {
    if (index < 0 || index >= static_cast<long>(mStrings.size()))
        return nullptr;
    return *mStrings[static_cast<size_t>(index)];
}

long CStringSoup::Find(const char* text) {
    if (!text)
        return -1;
    for (size_t i = 0; i < mStrings.size(); ++i)
        if (std::strcmp(*mStrings[i], text) == 0)
            return static_cast<long>(i);
    return -1;
}

void CStringSoup::Clear() {
    for (CString* s : mStrings)
        delete s;
    mStrings.clear();
}

long CStringSoup::size() { return static_cast<long>(mStrings.size()); }

//===- CStringSoup.cpp - Strings numbered by first insertion --------------===//
#include "CStringSoup.h"

#include <cstring>
#include <new>

CStringSoup::~CStringSoup() { Clear(); }

long CStringSoup::Insert(const char* text) {
    if (!text)
        return -1;
    long existing = Find(text);
    if (existing >= 0)
        return existing;
    CString* copy = new (std::nothrow) CString(text);
    if (!copy || static_cast<const char*>(*copy) == nullptr) {
        delete copy;
        return -1;
    }
    const long index = static_cast<long>(mStrings.size());
    try {
        mStrings.push_back(copy);
        mIndex.emplace(std::string_view(*copy, copy->Size()), index);
    } catch (...) {
        // The containers' own growth is the one place the standard library may throw here.
        if (static_cast<long>(mStrings.size()) > index)
            mStrings.pop_back();
        delete copy;
        return -1;
    }
    return index;
}

const char* CStringSoup::Find(long index) {
    if (index < 0 || index >= static_cast<long>(mStrings.size()))
        return nullptr;
    return *mStrings[static_cast<size_t>(index)];
}

long CStringSoup::Find(const char* text) {
    if (!text)
        return -1;
    auto found = mIndex.find(std::string_view(text));
    return found == mIndex.end() ? -1 : found->second;
}

void CStringSoup::Clear() {
    mIndex.clear();
    for (CString* s : mStrings)
        delete s;
    mStrings.clear();
}

long CStringSoup::size() { return static_cast<long>(mStrings.size()); }

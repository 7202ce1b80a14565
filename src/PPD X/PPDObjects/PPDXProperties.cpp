//===- PPDXProperties.cpp - A container of property pages -----------------===//
#include "PPDXProperties.h"

#include "PPDXKeywordMatch.h"
#include "PPDXProperty.h"

// The list's nodes go; the pages stay with the model.
PPDXProperties::~PPDXProperties() = default;

void PPDXProperties::Add(PPDXProperty* page) {
    if (page)
        mList.PushBack(page);
}

PPDXProperty* PPDXProperties::First() {
    mCursor = mList.Begin();
    return SkipNull();
}

PPDXProperty* PPDXProperties::Next() {
    // Without a First() the cursor holds no node; past the end it rests on the tail sentinel.
    if (!mCursor.mNode || mCursor == mList.End())
        return nullptr;
    ++mCursor;
    return SkipNull();
}

PPDXProperty* PPDXProperties::SkipNull() {
    for (; mCursor.mNode && mCursor != mList.End(); ++mCursor)
        if (PPDXProperty* page = static_cast<PPDXProperty*>(*mCursor))
            return page;
    return nullptr;
}

PPDXProperty* PPDXProperties::Find(const char* keyword, const bool& exact) {
    if (!keyword)
        return nullptr;
    for (PPDXProperty* page = First(); page; page = Next())
        if (PPDXKeywordMatches(*page, keyword, exact))
            return page;
    return nullptr;
}

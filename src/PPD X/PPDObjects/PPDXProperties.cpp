//===- PPDXProperties.cpp - A container of property pages -----------------===//
#include "PPDXProperties.h"

#include "PPDXArchiveItems.h"
#include "PPDXKeywordMatch.h"
#include "PPDXProperty.h"

#include <CarbonCore/MacErrors.h>

#include <new>

PPDXProperties::PPDXProperties(Settings& settings) {
    using namespace PPDXArchive;
    int32_t count = 0;
    GetNumber(settings, kPagesTag, kPageCountId, count);
    long pages = PlausibleCount(settings, count);
    if (pages > kMaxAllPages)
        pages = kMaxAllPages;
    for (long n = 0; n < pages; ++n) {
        PPDXProperty* page = new (std::nothrow) PPDXProperty(settings, PageId(n));
        uint32_t before = mList.Size();
        Add(page);
        if (mList.Size() == before)
            delete page;
    }
}

short PPDXProperties::Save(Settings& settings) {
    using namespace PPDXArchive;
    if (mList.Size() > static_cast<uint32_t>(kMaxAllPages))
        return paramErr;
    short error = PutNumber(settings, kPagesTag, kPageCountId, static_cast<int32_t>(mList.Size()));
    long n = 0;
    for (PointerListItr it = mList.Begin(); !error && it != mList.End(); ++it, ++n)
        if (PPDXProperty* page = static_cast<PPDXProperty*>(*it))
            error = page->Save(settings, PageId(n));
    return error;
}

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

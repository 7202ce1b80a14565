//===- Localization.cpp - The server's locales, encodings and texts -------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "Localization.h"

#include "AsyncTicket.h"
#include "BrivelleText.h"

#include <cstring>

namespace {

// PIGMENTOR_BUNDLE_ID is CFBundleIdentifier of bundle/Info.plist, given by the build: the
// server layer cannot ask the plug-in layer above it for the identifier.

/// The Mac's paramErr, for names that do not fit.
constexpr int kParamErr = -50;

/// The locale the plug-in's own localisation asks for, into `out` (kNameSize bytes).
void ChooseStartingLocale(char* out, size_t size) {
    CopyBounded(out, size, "en_US");
    CFBundleRef bundle = CFBundleGetBundleWithIdentifier(Localization::BundleIdentifier());
    if (!bundle)
        return;
    CFStringRef key = CFSTR("ServerLanguage");
    CFStringRef text = CFBundleCopyLocalizedString(bundle, key, key, nullptr);
    if (!text)
        return;
    if (CFStringCompare(text, key, 0) != kCFCompareEqualTo &&
        !CFStringGetCString(text, out, static_cast<CFIndex>(size), kCFStringEncodingASCII))
        out[0] = '\0'; // not ASCII: the server's default locale is taken at the first fetch
    CFRelease(text);
}

} // namespace

CFStringRef Localization::BundleIdentifier() {
    return CFSTR(PIGMENTOR_BUNDLE_ID);
}

void Localization::Releaser(CFAllocatorRef, const void* value) {
    if (value)
        CFRelease(value);
}

Localization::Localization(Brivelle* owner)
    : SessionBasedClass(owner), mCallbacks(), mLocaleList(nullptr), mEncodingList(nullptr),
      mCache(true), mLanguage(0), mCurrentLocale(), mCurrentEncoding() {
    mCallbacks.version = 0;
    mCallbacks.retain = nullptr;
    mCallbacks.release = Releaser;
    mCallbacks.copyDescription = nullptr;
    mCallbacks.equal = nullptr;
    ChooseStartingLocale(mCurrentLocale, sizeof mCurrentLocale);
}

Localization::~Localization() {
    ReplaceList(mLocaleList, nullptr);
    ReplaceList(mEncodingList, nullptr);
}

long Localization::OpenSession() {
    return -1;
}

long Localization::OpenSession(int language) {
    return WaitAndDelete(OpenSessionAsync(language), -1);
}

AsyncTicket* Localization::OpenSessionAsync() {
    // Our choice: without a language number nothing is opened.
    return nullptr;
}

AsyncTicket* Localization::OpenSessionAsync(int language) {
    AsyncTicket* ticket = NewTicket();
    if (!ticket || mOpen)
        return ticket;
    mLanguage = language;
    // No state change: completion never marks a localisation session open, so that later
    // closes and caches leave the session in use alone.
    ticket->SetRefused(LOCL_openSession(Handle(), language, mCurrentLocale, mCurrentEncoding,
                                        &mSession, ticket->GetTicket()));
    return ticket;
}

long Localization::CloseSession() {
    if (!mOpen)
        return 0;
    t10_status status = LOCL_closeSession(&mSession, nullptr);
    mOpen = false;
    return status;
}

void Localization::AsyncCompletion(AsyncTicket*) {
    if (mState == kStateOpenPending)
        mOpen = true;
    mState = kStateIdle;
}

void Localization::CacheStrings() {
    if (mOpen)
        mCache = LOCL_cacheStrings(&mSession, nullptr) == 0;
}

void Localization::Rebind() {
    if (mSession == 0)
        return;
    LOCL_closeSession(&mSession, nullptr);
    mOpen = false;
    OpenSession(mLanguage);
}

void Localization::ReplaceList(CFArrayRef& list, CFArrayRef fresh) {
    if (list)
        CFRelease(list);
    list = fresh;
}

CFArrayRef Localization::CreateList(const char* defaultName, char** names, int32_t count) {
    CFMutableArrayRef list = CFArrayCreateMutable(kCFAllocatorDefault, 0, &mCallbacks);
    if (!list)
        return nullptr;
    // Our choice: a server without a default gets a list without one.
    if (defaultName) {
        if (CFStringRef text = CreateServerString(defaultName, std::strlen(defaultName)))
            CFArrayAppendValue(list, text);
    }
    if (names) {
        for (int32_t i = 0; i < count && i < kMaxListed; ++i) {
            if (!names[i])
                continue;
            if (CFStringRef text = CreateServerString(names[i], std::strlen(names[i])))
                CFArrayAppendValue(list, text);
        }
    }
    return list;
}

void Localization::FetchValidLocaleList() {
    char* defaultLocale = nullptr;
    LOCL_getDefaultLocale(Handle(), &defaultLocale, nullptr);
    if (mCurrentLocale[0] == '\0' && defaultLocale)
        CopyBounded(mCurrentLocale, sizeof mCurrentLocale, defaultLocale);
    char** locales = nullptr;
    int32_t count = 0;
    if (LOCL_getLocales(Handle(), &locales, &count, nullptr) != 0 || count <= 0)
        count = 0;
    ReplaceList(mLocaleList, CreateList(defaultLocale, locales, count));
    tovrane_free(locales);
    tovrane_free(defaultLocale);
}

CFArrayRef Localization::GetLocaleList() {
    if (!mLocaleList)
        FetchValidLocaleList();
    return mLocaleList;
}

void Localization::FetchEncodingList() {
    char* defaultEncoding = nullptr;
    LOCL_getDefaultEncoding(Handle(), &defaultEncoding, nullptr);
    if (mCurrentEncoding[0] == '\0' && defaultEncoding)
        CopyBounded(mCurrentEncoding, sizeof mCurrentEncoding, defaultEncoding);
    char** encodings = nullptr;
    int32_t count = 0;
    if (LOCL_getEncodings(Handle(), &encodings, &count, nullptr) != 0 || count <= 0)
        count = 0;
    ReplaceList(mEncodingList, CreateList(defaultEncoding, encodings, count));
    tovrane_free(encodings);
    tovrane_free(defaultEncoding);
}

CFArrayRef Localization::GetEncodingList() {
    if (!mEncodingList)
        FetchEncodingList();
    return mEncodingList;
}

int Localization::SetLocaleAndEncoding(const char* locale, const char* encoding) {
    // Our choice: a name that does not fit is refused, not cut, since a cut name would ask the
    // server for another locale.
    if ((locale && std::strlen(locale) >= kNameSize) ||
        (encoding && std::strlen(encoding) >= kNameSize))
        return kParamErr;
    bool changed = false;
    if (locale && std::strcmp(locale, mCurrentLocale) != 0) {
        CopyBounded(mCurrentLocale, sizeof mCurrentLocale, locale);
        changed = true;
    }
    if (encoding) {
        CopyBounded(mCurrentEncoding, sizeof mCurrentEncoding, encoding);
        changed = true;
    }
    if (!changed)
        return 0;
    CloseSession();
    int result = static_cast<int>(OpenSession(mLanguage));
    if (result == 0 && mCache) {
        mCache = false;
        CacheStrings();
    }
    return result;
}

CFStringRef Localization::GetKeywordString(const char* key, const char* context) {
    char* text = nullptr;
    t10_status status = LOCL_getStringWithContext(&mSession, context, key, &text, nullptr);
    if (status != 0 && context) {
        tovrane_free(text);
        text = nullptr;
        status = LOCL_getStringWithContext(&mSession, nullptr, key, &text, nullptr);
    }
    CFStringRef result = status == 0 ? CreateStringInAppEncoding(text) : nullptr;
    tovrane_free(text);
    return result;
}

CFStringRef Localization::GetOptionString(const char* context, const char* key) {
    char* text = nullptr;
    t10_status status = LOCL_getStringWithContext(&mSession, context, key, &text, nullptr);
    CFStringRef result = status == 0 ? CreateStringInAppEncoding(text) : nullptr;
    tovrane_free(text);
    return result;
}

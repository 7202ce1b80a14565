//===- Localization.h - The server's locales, encodings and texts -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_LOCALIZATION_H
#define PIGMENTOR_BRIVELLE_LOCALIZATION_H

#include "SessionBasedClass.h"

#include <CoreFoundation/CoreFoundation.h>

/// The server's localisation service: which locale and text encoding the server's texts come
/// in, the server's lists of both, and the display texts of server keywords and option values.
///
/// The locale starts as the plug-in's own choice: the text of "ServerLanguage" in the plug-in
/// bundle's default string table (the bundle found by its identifier), "en_US" when the bundle
/// or the text is missing, empty (the server's default) when the text is not ASCII. The
/// encoding starts empty (the server's default). A localisation session is never marked open:
/// each open replaces the previous session, which stays in use for look-ups until then.
///
/// Ownership: owned by the connection. The two lists are owned (their elements are released
/// through `Releaser`); list getters return them unretained. Look-up results are new strings
/// (the caller releases them), made from the server's bytes in the application's text
/// encoding (GetApplicationTextEncoding), which the session's encoding must match: it is the
/// server's default unless chosen otherwise. Locale and encoding names are ASCII, at most 63
/// bytes.
class Localization : public SessionBasedClass {
public:
    /// At most this many server locales (or encodings) are listed after the default.
    static constexpr int kMaxListed = 255;
    /// Size of the current locale and encoding buffers.
    static constexpr size_t kNameSize = 64;

    /// Chooses the starting locale from the plug-in bundle (see above).
    explicit Localization(Brivelle* owner);
    /// Releases the lists.
    ~Localization() override;

    /// -1: an open needs a language number.
    long OpenSession() override;
    /// Opens a session on `language` (0: the current locale) and waits; the ticket's result,
    /// -1 without a ticket.
    long OpenSession(int language);
    /// Null: an open needs a language number.
    AsyncTicket* OpenSessionAsync() override;
    /// Starts `LOCL_openSession` on a new ticket with the current locale and encoding (the
    /// caller deletes the ticket; null when none could be made).
    AsyncTicket* OpenSessionAsync(int language);
    /// Closes a session marked open; its status, else 0.
    long CloseSession() override;
    /// A pending open completes: the session counts as open.
    void AsyncCompletion(AsyncTicket* ticket) override;
    /// For a session marked open, caches the locale's strings; the cache flag tells success.
    void CacheStrings();
    /// After the connection was made anew: a session opened over the earlier one (marked
    /// open or not) is closed and opened again, on the same language, locale and encoding.
    void Rebind();

    /// Fetches the server's default locale (the current one when none is chosen yet) and
    /// its locales: the list is the default followed by the server's locales.
    void FetchValidLocaleList();
    /// The locale list (not retained), fetched first when there is none.
    CFArrayRef GetLocaleList();
    /// As FetchValidLocaleList, for encodings.
    void FetchEncodingList();
    /// The encoding list (not retained), fetched first when there is none.
    CFArrayRef GetEncodingList();
    /// The current locale (zero-terminated, never null).
    const char* GetCurrentLocale() const { return mCurrentLocale; }
    /// The current encoding (zero-terminated, never null; empty until chosen).
    const char* GetCurrentEncoding() const { return mCurrentEncoding; }
    /// The language number of the last open.
    int GetLanguageNumber() const { return mLanguage; }
    /// Whether strings may still be cached (true until a reopen cached them).
    bool GetCacheFlag() const { return mCache; }

    /// Takes a locale that differs from the current one and any given encoding, and reopens
    /// the session on them: the open's status; 0 when nothing changed, -50 for a name of
    /// kNameSize bytes or more.
    int SetLocaleAndEncoding(const char* locale, const char* encoding);
    /// The text of `key` within `context`, else without context; null when there is none.
    CFStringRef GetKeywordString(const char* key, const char* context);
    /// The text of `key` within `context` only; null when there is none.
    CFStringRef GetOptionString(const char* context, const char* key);

    /// The lists' element release callback: releases the element.
    static void Releaser(CFAllocatorRef allocator, const void* value);
    /// The plug-in bundle's identifier, by which the starting locale is looked up.
    static CFStringRef BundleIdentifier();

private:
    /// A new list of `defaultName` (when set) followed by at most kMaxListed of `names`.
    CFArrayRef CreateList(const char* defaultName, char** names, int32_t count);
    /// Replaces `list` with `fresh` (the old one is released).
    static void ReplaceList(CFArrayRef& list, CFArrayRef fresh);

    CFArrayCallBacks mCallbacks;
    CFArrayRef mLocaleList;
    CFArrayRef mEncodingList;
    bool mCache;
    int mLanguage;
    char mCurrentLocale[kNameSize];
    char mCurrentEncoding[kNameSize];
};

#endif // PIGMENTOR_BRIVELLE_LOCALIZATION_H

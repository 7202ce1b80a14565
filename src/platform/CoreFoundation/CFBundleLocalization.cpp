//===- CFBundleLocalization.cpp - Languages and string tables -------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFBundleInternal.h>
#include <CoreFoundation/CFPropertyList.h>
#include <CoreFoundation/CFStringInternal.h>
#include <CoreFoundation/CFURLAccess.h>
#include <CoreFoundation/PMCFUtilities.h>

#include <algorithm>
#include <cstdlib>

namespace pmcf {

namespace {

// The platform's older folder names of the languages that had one.
const char* LegacyName(const std::string& code) {
    static const struct {
        const char* code;
        const char* name;
    } kNames[] = {{"en", "English"},   {"de", "German"},   {"fr", "French"},    {"it", "Italian"},
                  {"es", "Spanish"},   {"ja", "Japanese"}, {"nl", "Dutch"},     {"sv", "Swedish"},
                  {"da", "Danish"},    {"fi", "Finnish"},  {"no", "Norwegian"}, {"nb", "Norwegian"},
                  {"pt", "Portuguese"}};
    for (const auto& entry : kNames)
        if (code == entry.code)
            return entry.name;
    return nullptr;
}

// Only letters, digits, '_' and '-' may come from the environment into a folder name.
bool IsLanguageText(const std::string& text) {
    return !text.empty() && text.size() <= 32 && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
}

void AddOnce(std::vector<std::string>& list, const std::string& folder) {
    if (IsPlainName(folder) && std::find(list.begin(), list.end(), folder) == list.end())
        list.push_back(folder);
}

// "de_DE.UTF-8@euro" gives de_DE, de-DE, de and German.
void AddLocale(std::vector<std::string>& list, std::string locale) {
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (!IsLanguageText(locale) || locale == "C" || locale == "POSIX")
        return;
    AddOnce(list, locale);
    std::string dashed = locale;
    std::replace(dashed.begin(), dashed.end(), '_', '-');
    AddOnce(list, dashed);
    std::string language = locale.substr(0, locale.find_first_of("_-"));
    AddOnce(list, language);
    if (const char* legacy = LegacyName(language))
        AddOnce(list, legacy);
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::vector<std::string> LocalizationOrder(const __CFBundle& bundle) {
    std::vector<std::string> order;
    std::string languages = Environment("LANGUAGE");
    for (size_t start = 0; start <= languages.size();) {
        size_t colon = languages.find(':', start);
        if (colon == std::string::npos)
            colon = languages.size();
        AddLocale(order, languages.substr(start, colon - start));
        start = colon + 1;
    }
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        std::string value = Environment(variable);
        if (!value.empty()) {
            AddLocale(order, value);
            break;
        }
    }
    AddOnce(order, "en");
    AddOnce(order, "English");
    CFStringRef region = CFBundleGetDevelopmentRegion(const_cast<__CFBundle*>(&bundle));
    if (region) {
        std::string text = PMCFStringCopyUTF8(region);
        if (IsLanguageText(text))
            AddOnce(order, text);
    }
    return order;
}

CFDictionaryRef CachedStringsTable(__CFBundle& bundle, const std::string& path) {
    std::lock_guard<std::mutex> guard(bundle.tablesLock);
    auto found = bundle.tables.find(path);
    if (found != bundle.tables.end())
        return found->second;
    CFDictionaryRef table = nullptr;
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
        false);
    CFDataRef data = nullptr;
    if (url &&
        CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, nullptr, nullptr, nullptr)) {
        CFPropertyListRef plist =
            CFPropertyListCreateWithData(nullptr, data, kCFPropertyListImmutable, nullptr, nullptr);
        if (CFGetTypeID(plist) == CFDictionaryGetTypeID())
            table = static_cast<CFDictionaryRef>(plist);
        else if (plist)
            CFRelease(plist);
        CFRelease(data);
    }
    if (url)
        CFRelease(url);
    bundle.tables.emplace(path, table);
    return table;
}

} // namespace pmcf

extern "C" CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key,
                                                   CFStringRef value, CFStringRef tableName) {
    if (key == nullptr)
        return value ? static_cast<CFStringRef>(CFRetain(value)) : pmcf::CreateString(u"");
    __CFBundle* b = pmcf::CastMutable<__CFBundle>(bundle);
    std::string table = tableName ? PMCFStringCopyUTF8(tableName) : "Localizable";
    if (b && pmcf::IsPlainName(table + ".strings")) {
        std::string resources = pmcf::ResourcesPath(*b);
        std::vector<std::string> folders;
        for (const std::string& language : pmcf::LocalizationOrder(*b))
            folders.push_back(resources + "/" + language + ".lproj");
        folders.push_back(resources);
        for (const std::string& folder : folders) {
            CFDictionaryRef strings =
                pmcf::CachedStringsTable(*b, folder + "/" + table + ".strings");
            CFTypeRef text = CFDictionaryGetValue(strings, key);
            if (CFGetTypeID(text) == CFStringGetTypeID())
                return static_cast<CFStringRef>(CFRetain(text));
        }
    }
    CFStringRef fallback = value && CFStringGetLength(value) > 0 ? value : key;
    return static_cast<CFStringRef>(CFRetain(fallback));
}

//===- KeywordContainer.h - One server colour keyword ----------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_KEYWORDCONTAINER_H
#define PIGMENTOR_BRIVELLE_KEYWORDCONTAINER_H

#include "MenuItemsTriplet.h"

#include <CoreFoundation/CoreFoundation.h>

#include <vector>

/// One colour-defaults keyword of the server: the keyword, its localised name, its default
/// value and its possible settings in the order the server gave them.
///
/// Ownership: the container holds its settings (destroyed with it) and retains its localised
/// name. Keyword and default item are held in 256-byte buffers: longer texts are cut to 255
/// bytes. Texts are the server's bytes; fallback display names are made from them as Mac
/// Roman. Pointers handed out live as long as the container.
class KeywordContainer {
public:
    /// Size of the keyword and default-item buffers.
    static constexpr size_t kTextSize = 256;

    /// A copy of `keyword` (null: empty), no name, empty default, no settings.
    explicit KeywordContainer(const char* keyword);
    /// Deletes every setting, releases the name.
    virtual ~KeywordContainer();
    KeywordContainer(const KeywordContainer&) = delete;
    KeywordContainer& operator=(const KeywordContainer&) = delete;

    /// Stores `name` (retained); null stores a name made from the keyword.
    void SetLocalizedName(CFStringRef name);
    /// Copies at most 255 bytes of `value` (null: empty).
    void SetDefaultItem(const char* value);
    /// Appends a setting of `keyword`, `displayName` (retained; null: a name made from the
    /// keyword) and `value`; false when it could not be made.
    bool AddSettingString(const char* keyword, CFStringRef displayName, const char* value);

    /// The keyword.
    const char* GetKeyword() const { return mKeyword; }
    /// The default item (empty when the server gave none).
    const char* GetDefaultItem() const { return mDefaultItem; }
    /// The localised name (not retained), null until set.
    CFStringRef GetLocalizedName() const { return mLocalizedName; }
    /// The settings in the order added.
    std::vector<MenuItemsTriplet>::const_iterator FirstSetting() const { return mSettings.begin(); }
    std::vector<MenuItemsTriplet>::const_iterator EndSetting() const { return mSettings.end(); }
    /// The number of settings.
    int GetSettingsCount() const { return static_cast<int>(mSettings.size()); }

private:
    char mKeyword[kTextSize];
    CFStringRef mLocalizedName;
    char mDefaultItem[kTextSize];
    std::vector<MenuItemsTriplet> mSettings; // in place: no allocation per setting
};

#endif // PIGMENTOR_BRIVELLE_KEYWORDCONTAINER_H

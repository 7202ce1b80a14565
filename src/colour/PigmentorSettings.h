//===- PigmentorSettings.h - A snapshot of a list's values ------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_PIGMENTORSETTINGS_H
#define PIGMENTOR_COLOUR_PIGMENTORSETTINGS_H

class PigmentorItem;
class PigmentorItemList;

/// A snapshot of the values of an item list, so that a dialog can revert the user's edits.
/// One entry per keyword-table index 0 to 18: the item (not owned; the list must still hold it
/// at restore), its value and an owned copy of its value keyword. Values are put back by
/// keyword, not position, so a restore still selects the same options after the value order
/// changed. Items outside the table (index -1, the pane's own items) are not kept.
class PigmentorSettings {
public:
    /// Number of entries: keyword indexes 0 to 18.
    static constexpr int kEntryCount = 19;

    struct Entry {
        PigmentorItem* item = nullptr;
        long value = 0;
        char* keyword = nullptr;
    };

    /// Saves `list` at once; valid when that succeeded.
    explicit PigmentorSettings(PigmentorItemList* list);
    ~PigmentorSettings();
    PigmentorSettings(const PigmentorSettings&) = delete;
    PigmentorSettings& operator=(const PigmentorSettings&) = delete;

    /// Takes the values of a valid list (false for a null or invalid one, or without memory).
    bool save(PigmentorItemList* list);
    /// For each item of `list` that has an entry of its own with a keyword: selects that
    /// keyword again. False when the snapshot is not valid or there is no list.
    bool restore(PigmentorItemList* list);

    bool isValid() const { return mValid; }
    /// True after a save, false again after a restore.
    bool isSaved() const { return mSaved; }
    /// The number of entries filled by the last save.
    int count() const { return mCount; }
    /// Entry `index` (0 to 18), or null before a save or outside the table.
    const Entry* entry(int index) const;

private:
    void clear();

    Entry* mEntries;
    bool mValid;
    bool mSaved;
    int mCount;
};

#endif // PIGMENTOR_COLOUR_PIGMENTORSETTINGS_H

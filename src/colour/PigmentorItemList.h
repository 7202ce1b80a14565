//===- PigmentorItemList.h - A list of colour items -------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_PIGMENTORITEMLIST_H
#define PIGMENTOR_COLOUR_PIGMENTORITEMLIST_H

#include "PtrLinkList.h"

class PigmentorItem;
class PigmentorSettings;
class QRVPPD;

/// Abstract list of colour items of one kind. Owns its items (deleted with the list or by
/// `resetFeatureList`) and its settings snapshot. The valid byte is the construction result.
/// Look-ups compare texts exactly. The progress and error operations are hooks that the
/// lists over a model fill in; here they do nothing and answer 0. One thread at a time.
class PigmentorItemList : public PtrLinkList {
public:
    PigmentorItemList();
    /// Deletes the snapshot; the base deletes the items.
    ~PigmentorItemList() override;

    void dumpEntireList(char* title) override;
    /// The first item whose display name equals `name`, or null.
    virtual PigmentorItem* findByItemName(const char* name);
    /// The first item whose feature keyword equals `keyword`, or null.
    virtual PigmentorItem* findByKeyword(const char* keyword);
    /// findByKeyword(keyword) is non-null.
    virtual bool featureIsAvailable(const char* keyword);
    /// The last status code recorded.
    virtual unsigned long getPigmentorErr() = 0;
    /// Puts every item back to its default value.
    virtual bool setToDefaults() = 0;
    /// The valid byte.
    virtual bool isValid();
    /// The feature keyword a control keyword stands for; here `keyword` itself.
    virtual const char* Keyword(const char* keyword);
    /// Builds the items; here nothing (false).
    virtual bool initialize();
    /// Takes another model; here nothing.
    virtual void setPPD(QRVPPD* model);
    /// initialize().
    virtual bool rebuildFeatureList();
    /// Deletes every item and leaves the list empty.
    virtual void resetFeatureList();
    virtual int initializeProgress();
    virtual int updateProgress(unsigned long state, const char* text);
    virtual int startProgress(unsigned long state, const char* text);
    virtual int endProgress(unsigned long state, const char* text);
    virtual int reportError(unsigned long error, unsigned long state, const char* text);
    /// Records `code`; here nothing.
    virtual void setPigmentorErr(unsigned long code);

    /// Replaces the snapshot with one of the current values; false (no snapshot) when it could
    /// not be taken.
    bool saveSettings();
    /// Puts the snapshot's values back (by value keyword); false without a snapshot.
    bool restoreSettings();
    /// The snapshot (owned), or null.
    PigmentorSettings* getSnapshot() const { return mSnapshot; }

    /// The first item, or null.
    PigmentorItem* firstItem() const;
    /// The item after `item`, or null.
    static PigmentorItem* nextItem(PigmentorItem* item);
    /// The item before `item`, or null.
    static PigmentorItem* prevItem(PigmentorItem* item);

protected:
    /// Appends `item` (taken over); false (and the item deleted) when it could not be added.
    bool addItem(PigmentorItem* item);

    bool mValid;
    PigmentorSettings* mSnapshot;
};

#endif // PIGMENTOR_COLOUR_PIGMENTORITEMLIST_H

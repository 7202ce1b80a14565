//===- PigmentorItem.h - One colour feature as the pane sees it -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_PIGMENTORITEM_H
#define PIGMENTOR_COLOUR_PIGMENTORITEM_H

#include "LinkElement_Dual.h"

#include <CoreFoundation/CoreFoundation.h>

class PPDXControl;

/// Abstract colour item: one colour feature of the printer behind a uniform interface (display
/// name, keyword, value, the value names and keywords, the feature's PostScript). Subclasses
/// wrap a PPD control of the model (not owned: the model must outlive the item).
///
/// Values are positions counting from 1 (0: none) unless a subclass says otherwise. Byte texts
/// are in the application's text encoding (UTF-8) and belong to the control or the item: valid
/// until the control changes. Buffers handed to the copying calls hold kColourTextSize (256)
/// bytes; copies are cut at a character boundary. Strings from the `CFStringRef&` forms are
/// new (the caller releases them). Items live in an item list (a PtrLinkList) that owns them.
/// One thread at a time.
class PigmentorItem : public LinkElement_Dual {
public:
    /// Number of caller-data slots.
    static constexpr int kRefConCount = 12;

    /// Enabled, index -1, every caller-data slot 0.
    PigmentorItem();
    ~PigmentorItem() override;

    /// The current value.
    virtual long getValue() = 0;
    /// The default value.
    virtual long getDefaultValue() = 0;
    /// Puts the control back to its default value.
    virtual void setDefaultValue() = 0;
    /// The feature's display name, or null.
    virtual const char* getFeatureDisplayName() = 0;
    /// The feature's PPD main keyword, or null.
    virtual const char* getFeatureKeyword() = 0;
    /// Selects `value`.
    virtual void setValue(unsigned long value) = 0;
    /// Measure-then-write of the feature's code: null `buf` answers -L, a buffer answers L
    /// (writing the L bytes, unterminated, only when `size` >= L).
    virtual int getFeaturePostScript(unsigned char* buf, int size) = 0;
    /// The first value's display name (restarts the walk), or null.
    virtual const char* getFirstItem() = 0;
    /// The next value's display name, or null at the end.
    virtual const char* getNextItem() = 0;
    /// The wrapped control, or null.
    virtual PPDXControl* getPPDXControl() = 0;
    /// The first value's keyword (restarts the walk); copies keyword and display name into
    /// the non-null 256-byte buffers. Null when there is none.
    virtual const char* getFirstKeyword(char* keyword, char* name) = 0;
    /// The next value's keyword, copied as getFirstKeyword does; null at the end.
    virtual const char* getNextKeyword(char* keyword, char* name) = 0;
    /// Title (display name) and value (current value's name) into 256-byte buffers, enabled
    /// from the item; false when the name or the value is missing.
    virtual bool getFeatureSummaryInfo(char* title, char* value, bool& enabled);
    /// The same as new strings (null when missing).
    virtual bool getFeatureSummaryInfo(CFStringRef& title, CFStringRef& value, bool& enabled);
    /// The display name of value n (walking from 1), or null.
    virtual const char* getNthItemName(int n);
    /// The keyword of the current value, or null.
    virtual const char* getValueKeyword();
    /// The position (from 1) of the value whose keyword equals `keyword`; 0 when absent.
    virtual long getValueByKeyword(const char* keyword);
    /// The current value's keyword as a new string, or null.
    virtual CFStringRef getValueKeywordCFString();
    /// The keyword of value n (walking from 1), or null.
    virtual const char* getNthKeyword(int n);
    /// The current value's display name, copied into the 256-byte `buf` when both exist.
    virtual const char* getValueItemName(char* buf);
    virtual void setFeatureEnabled();
    virtual void setFeatureDisabled();
    /// The number of values.
    virtual long itemCount() = 0;

    void setIndex(int index) { mIndex = static_cast<short>(index); }
    /// The keyword-table index, -1 for items outside the table (pane items).
    int getIndex() const { return mIndex; }
    bool featureIsEnabled() const { return mEnabled; }
    /// Caller data: slots 0 to 11; other slots are ignored on set and read as 0.
    void SetRefCon(int slot, unsigned long value);
    unsigned long GetRefCon(int slot) const;
    /// The display name as a new string; false (and null) when there is none.
    bool getFeatureDisplayName(CFStringRef& name);
    /// The keyword as a new string; false (and null) when there is none.
    bool getFeatureKeyword(CFStringRef& keyword);
    /// Diagnostic dump; does nothing.
    void debugDump() {}

private:
    unsigned long mRefCon[kRefConCount];
    bool mEnabled;
    short mIndex;
};

#endif // PIGMENTOR_COLOUR_PIGMENTORITEM_H

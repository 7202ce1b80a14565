//===- PPDXPopupControl.h - A choice among option keywords ------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXPOPUPCONTROL_H
#define PIGMENTOR_PPDX_PPDXPOPUPCONTROL_H

#include "PPDXControl.h"
#include "_PopupItem.h"

/// An option whose value is one of a list of option keywords (kind kPopupType), such as
/// *PageSize with A4 and Letter; with multiple selection allowed, several may be selected.
///
/// The control owns its items (_PopupItem*, taken over from the lists given) and its default
/// keyword. The current item is the one last selected by position or keyword; it is the one
/// whose code the control writes. Positions count from 1. Keywords are compared exactly.
class PPDXPopupControl : public PPDXControl {
public:
    /// Takes over the _PopupItem* pointers of `items` with their nodes (`items` is left empty)
    /// and `defaultKeyword` (may be null), which is then selected.
    PPDXPopupControl(const char* keyword, CFStringRef localName, PointerList& flags,
                     const bool& visible, const bool& multipleSelection, PointerList& items,
                     CString* defaultKeyword);
    /// Rebuilds the control saved under `id` with its items (from ids id x 100 + position, at
    /// most 100, ending at the first id with nothing saved), then selects again the last item
    /// saved as selected, or else the default keyword.
    PPDXPopupControl(Settings& settings, const long& id);
    ~PPDXPopupControl() override;

    /// Adds the marker PopC, multiple selection, the default keyword and, when there are
    /// items, their count and each item's keyword, name, code and selection. paramErr for
    /// more than 100 items: their ids would run into the next control's.
    short Save(Settings& settings, const long& id) override;
    /// Takes back the saved selection of each item, matched by position, then selects again
    /// the last one found selected. A missing selection item ends the walk and is returned.
    short Restore(Settings& settings, const long& id) override;

    /// Selects the default item; with none, deselects every item.
    void ResetToDefaultValue() override { SetValue(DefaultValue()); }
    /// The feature block of the current item (GetKeywordPSData); 0 bytes without one.
    long PostScript(unsigned char* out) override;
    /// A new string of the current item's keyword, or null when there is no current item.
    CFStringRef GetCurrentControlValueString() override;
    /// Selects the first item whose keyword equals `value` in the system encoding.
    void SetCurrentControlWithCFString(CFStringRef value) override;

    uint32_t ItemCount() const { return mItems.Size(); }
    /// The first item (resets the item cursor), or null.
    _PopupItem* FirstItem();
    /// The item after the previous one, or null at the end.
    _PopupItem* NextItem();
    /// The current item, or null.
    _PopupItem* CurrentItem() const { return static_cast<_PopupItem*>(*mCurrentItem); }

    /// The position of the first selected item, 0 when none is.
    long GetValue() const;
    /// Selects item `position` alone and makes it current; outside 1..count deselects all
    /// and keeps the current item.
    void SetValue(long position);
    /// The position of the item named by the default keyword, 0 when none.
    long DefaultValue() const;
    /// Sets the selection of the items with `keyword` and makes them current; without
    /// multiple selection every other item is deselected, with it the first match alone
    /// changes. An unknown keyword changes nothing. Returns whether it was found.
    bool SetKeywordSelect(const char* keyword, const bool& select);
    bool IsKeywordSelected(const char* keyword) const;
    /// Whether any item has `keyword`.
    bool HasItemWithKeyword(const char* keyword) const;
    bool CanSelectMultipleItems() const { return mMultipleSelection; }
    /// The default option keyword, or null.
    const char* GetDefaultKeyword() const;
    /// The display name (system encoding, kept by the item) of the last item with `keyword`,
    /// or null.
    const char* GetKeywordLocalName(const char* keyword);
    /// The local name (not retained) of the last item with `keyword`, or null.
    CFStringRef GetKeywordCFLocalName(const char* keyword) const;
    /// Measures or writes the feature block of the first item with `optionKeyword`; 0 for an
    /// unknown or null keyword or a control without keyword.
    long GetKeywordPSData(const char* optionKeyword, unsigned char* out);
    /// Appends `item` (taken over; null is ignored).
    void AppendPopupItem(_PopupItem* item);
    /// Replaces every item by those of `items` (taken over; `items` is left empty) and the
    /// default by
    /// `defaultKeyword` (taken over), renames the control to `userName` (system encoding)
    /// when it differs, and selects the default and then the previously current keyword when
    /// still present. Without a current item nothing changes, nothing is taken over and the
    /// result is false.
    bool Rebuild(const char* userName, PointerList& items, CString* defaultKeyword);

protected:
    /// Deletes every item and empties the list; there is then no current item.
    void DeleteItems();
    /// Appends the items of `items`, taking them over with their nodes; `items` is left empty
    /// (null entries are dropped).
    void TakeItems(PointerList& items);

    bool mMultipleSelection = false;
    CString* mDefaultKeyword = nullptr;
    PointerList mItems;
    PointerListItr mItemItr;
    PointerListItr mCurrentItem;
};

#endif // PIGMENTOR_PPDX_PPDXPOPUPCONTROL_H

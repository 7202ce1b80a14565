//===- PPDXArchiveItems.h - Typed items of the model's archive --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXARCHIVEITEMS_H
#define PIGMENTOR_PPDX_PPDXARCHIVEITEMS_H

#include "Settings.h"

#include <CoreFoundation/CFString.h>

#include <climits>
#include <cstdint>

/// The item tags and the typed reads and writes through which every model class saves itself
/// into a Settings archive and is rebuilt from one.
///
/// Numbers are written in this machine's byte order (4 bytes, or 2 for a control's order) and
/// read back with the archive's byte-order fix; a number item of another size reads as absent.
/// Texts are the model's bytes without NUL; names are the UTF-16 external representation. A
/// marker is a 1-byte item whose presence alone counts. Reads never trust the archive: every
/// size is checked, and what cannot be read leaves the caller's value alone. Writers return
/// the archive's status (0 success); nothing throws.
namespace PPDXArchive {

/// Archive version written under (kHeaderTag, kVersionId).
constexpr int32_t kVersion = 1024;

/// Header and container keys.
constexpr unsigned long kHeaderTag = 1000;
constexpr long kVersionId = 1001;
constexpr long kFileSpecId = 1002;
constexpr long kFormatVersionId = 1003;
constexpr long kFileVersionId = 1004;
constexpr long kPCFileNameId = 1005;
constexpr long kLanguageVersionId = 1006;
constexpr long kLanguageEncodingId = 1007;
constexpr long kModelNameId = 1008;
constexpr unsigned long kExtensionTag = 2000;
constexpr long kExtensionFileVersionId = 2001;
constexpr long kExtensionVersionId = 2002;
constexpr unsigned long kPagesTag = 3000;
constexpr long kPageCountId = 3002;
constexpr long kFirstPageId = 3001;
constexpr unsigned long kGroupsTag = 4000;
constexpr long kGroupCountId = 4002;
constexpr long kFirstGroupId = 4001;
constexpr unsigned long kControlsTag = 5000;
constexpr long kControlCountId = 5002;
constexpr long kFirstControlId = 5001;
constexpr unsigned long kShortcutsTag = 'StCt';
constexpr long kShortcutCountId = 6000;
constexpr long kFirstShortcutId = 6001;
/// Pages and groups take consecutive ids up to the next container's first id; the ones past
/// that (never seen in a real PPD, but a model must stay saveable) go to negative ids, pages
/// from -kFirstOverflowPage downwards and groups from -kFirstOverflowGroup downwards, where no
/// other element is saved.
constexpr long kMaxPages = kFirstGroupId - kFirstPageId;
constexpr long kMaxGroups = kFirstControlId - kFirstGroupId;
constexpr long kFirstOverflowPage = 1;
constexpr long kFirstOverflowGroup = 1000000000;
/// Pages kept at most: a page count above it is how a reader tells an archive of the other
/// byte order (see docs/settings-archive.md), so a model with more cannot be saved.
constexpr long kMaxAllPages = 10000;
/// Groups kept at most, so that every overflow id fits its range.
constexpr long kMaxAllGroups = INT32_MAX - kFirstOverflowGroup;
/// Shortcuts kept at most. A shortcut without control is saved as no item at all, so the
/// archive's size cannot bound their count; this does, on saving and rebuilding alike (a save
/// keeps the first ones rather than fail), and any PPD stays far below it.
constexpr long kMaxShortcuts = 1000;
/// A popup's first kPopupItemsInFirstForm items sit under control id x 100 + position with the
/// item tags below; the rest under control id x kPopupItemStride + position with tags of their
/// own, so that no two items of any two popups share a key.
constexpr long kPopupItemsInFirstForm = 100;
constexpr long kPopupItemStride = 100000;
constexpr long kMaxPopupItems = kPopupItemStride;
/// The size of a saved FSSpec: volume 2, directory 4, length-prefixed name 64.
constexpr long kFileSpecSize = 70;

/// Element tags.
constexpr unsigned long kKeywordTag = 'KyWd';
constexpr unsigned long kUserNameTag = 'LcNm';
constexpr unsigned long kLocalNameTag = 'LcCF';
constexpr unsigned long kVisibleTag = 'isVs';
constexpr unsigned long kParentTag = 'PrNm';
/// Group and page tags.
constexpr unsigned long kGroupMarker = 'gGrp';
constexpr unsigned long kRollDownMarker = 'RlDn';
constexpr unsigned long kScrollPaneMarker = 'ScPn';
constexpr unsigned long kShowInPrintPropTag = 'SPPg';
constexpr unsigned long kShowInAppTag = 'SApp';
/// Control tags.
constexpr unsigned long kOrderTag = 'Ordr';
constexpr unsigned long kCodeTag = 'PSDt';
constexpr unsigned long kFlagsTag = 'CFlg';
constexpr unsigned long kBooleanMarker = 'BlnC';
constexpr unsigned long kBooleanValueTag = 'BCcV';
constexpr unsigned long kBooleanDefaultTag = 'BCdV';
constexpr unsigned long kTrueTextTag = 'BCtT';
constexpr unsigned long kFalseTextTag = 'BCfT';
constexpr unsigned long kTrueCodeTag = 'BtPT';
constexpr unsigned long kFalseCodeTag = 'BfPT';
constexpr unsigned long kPopupMarker = 'PopC';
constexpr unsigned long kPickManyTag = 'PCMS';
constexpr unsigned long kDefaultKeywordTag = 'PCDK';
constexpr unsigned long kItemCountTag = 'PCIC';
constexpr unsigned long kItemKeywordTag = 'PCIK';
constexpr unsigned long kItemLocalNameTag = 'PCFN';
constexpr unsigned long kItemUserNameTag = 'PCIN';
constexpr unsigned long kItemCodeTag = 'PCIP';
constexpr unsigned long kItemSelectedTag = 'PCIS';
/// The same five for items past the first kPopupItemsInFirstForm.
constexpr unsigned long kMoreItemKeywordTag = 'PXIK';
constexpr unsigned long kMoreItemLocalNameTag = 'PXFN';
constexpr unsigned long kMoreItemUserNameTag = 'PXIN';
constexpr unsigned long kMoreItemCodeTag = 'PXIP';
constexpr unsigned long kMoreItemSelectedTag = 'PXIS';
constexpr unsigned long kRangeMarker = 'RngC';
/// Written after kRangeMarker by a floating-point range only, so a rebuild can tell the two.
constexpr unsigned long kFloatRangeMarker = 'RnFl';
constexpr unsigned long kRangeValueTag = 'RCVl';
constexpr unsigned long kRangeMinTag = 'RCMn';
constexpr unsigned long kRangeMaxTag = 'RCMx';
constexpr unsigned long kRangeIncrementTag = 'RCIn';
constexpr unsigned long kRangeDefaultTag = 'RCDf';
constexpr unsigned long kJobNoteMarker = 'JbNt';
constexpr unsigned long kNoteTextTag = 'jNtT';
constexpr unsigned long kNoteDefaultTextTag = 'jNDT';
constexpr unsigned long kNoteMaxLengthTag = 'jMxL';
constexpr unsigned long kNoteMinLengthTag = 'jMnL';
constexpr unsigned long kNoteFlagsTag = 'jNtF';
constexpr unsigned long kNoteTextEnabledTag = 'jNOn';
constexpr unsigned long kSpecialOptionMarker = 'soCN';
constexpr unsigned long kSpecialValueTag = 'soVl';

/// Writes a 1-byte marker.
short PutMarker(Settings& settings, unsigned long tag, long id);
/// Writes a 4-byte number.
short PutNumber(Settings& settings, unsigned long tag, long id, int32_t value);
/// Writes a bool as a 4-byte number (1 or 0).
short PutBool(Settings& settings, unsigned long tag, long id, bool value);
/// Writes a 2-byte number.
short PutShort(Settings& settings, unsigned long tag, long id, int16_t value);
/// Writes a 32-bit float's bits as a 4-byte number.
short PutFloat(Settings& settings, unsigned long tag, long id, float value);
/// Writes the bytes of `text` without NUL; nothing (and 0) for null or "".
short PutText(Settings& settings, unsigned long tag, long id, const char* text);
/// Writes `length` bytes; nothing (and 0) for null data or a length of 0 or less.
short PutBytes(Settings& settings, unsigned long tag, long id, const unsigned char* bytes,
               long length);
/// Writes `name` as UTF-16 external representation; nothing (and 0) for null.
short PutName(Settings& settings, unsigned long tag, long id, CFStringRef name);

/// Whether `settings` holds a saved model at all: its version item, of 4 bytes (any value).
bool HasModel(Settings& settings);
/// Whether the item exists; `error` (may be null) gets the archive's status of the probe.
bool Has(Settings& settings, unsigned long tag, long id, short* error = nullptr);
/// A 4-byte number into `value`; false (value unchanged) when missing or of another size.
bool GetNumber(Settings& settings, unsigned long tag, long id, int32_t& value);
/// A 4-byte number as a bool (nonzero is true); false (value unchanged) when unreadable.
bool GetBool(Settings& settings, unsigned long tag, long id, bool& value);
/// A 2-byte number; false (value unchanged) when missing or of another size.
bool GetShort(Settings& settings, unsigned long tag, long id, int16_t& value);
/// A 4-byte float; false (value unchanged) when missing or of another size.
bool GetFloat(Settings& settings, unsigned long tag, long id, float& value);
/// A new malloc block (the caller frees it) of the item's bytes and their count; null and 0
/// when the item is missing, empty or unreadable.
unsigned char* CopyBytes(Settings& settings, unsigned long tag, long id, long& length);
/// A new CString (the caller deletes it) of the item's bytes up to the first NUL; null when
/// the item is missing, empty or unreadable (GetSettingsString, read in one look-up when short).
CString* GetText(Settings& settings, unsigned long tag, long id);
/// A new string (the caller releases it) from the item's UTF-16 external representation; null
/// when the item is missing, empty or not such text (GetSettingsCFString, likewise).
CFStringRef GetName(Settings& settings, unsigned long tag, long id);
/// The keys of one popup item in the archive: its id and the tag of each of its fields.
struct PopupItemKeys {
    long id;
    unsigned long keyword, localName, userName, code, selected;
};
/// The keys of item `position` of the popup saved under `controlId`; false when that id does
/// not fit the archive's 32-bit ids or `position` is outside 0 to kMaxPopupItems - 1.
bool PopupItemKeysFor(long controlId, long position, PopupItemKeys& keys);
/// The archive id of the n-th page (n from 0); -1 past kMaxAllPages.
long PageId(long n);
/// The archive id of the n-th group (n from 0); -1 past kMaxAllGroups.
long GroupId(long n);
/// `count` cut to what an archive of `settings`' size can hold: every object saved writes at
/// least one item, so a larger count comes from damaged data. Negative counts give 0.
long PlausibleCount(Settings& settings, int32_t count);

} // namespace PPDXArchive

#endif // PIGMENTOR_PPDX_PPDXARCHIVEITEMS_H

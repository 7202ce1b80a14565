//===- Settings.h - Keyed binary archive of small items ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_SETTINGS_H
#define PIGMENTOR_CORE_SETTINGS_H

#include "CString.h"
#include "DataStream.h"

#include <CarbonCore/Collections.h>
#include <CoreFoundation/CFString.h>

/// An archive of small binary items addressed by (tag, id), kept in insertion order, that
/// flattens into one byte block and is rebuilt from it. The PPD model is saved into one.
///
/// Tags are 32-bit (four-character codes or small numbers), ids signed 32-bit; a tag or id
/// outside that range gives paramErr (-50). Item data is copied in and out. Numbers are stored
/// in the writing machine's byte order and strings without a NUL, so reading numbers written on
/// a machine of the other byte order relies on the fix of `Get` (see there).
///
/// The archive owns its collection. Without one (it could not be made or unflattened) it is
/// not Valid(), every operation returns 1000 and changes nothing. Results are signed 16-bit
/// codes, also kept as LastError(): 0 success, 201 bad stream, 1000 no collection or
/// unfixable size, 1001 `First` on an empty archive, 1002 `Next` past the end, -50, -108, or a
/// Collection Manager status. One thread at a time; nothing throws.
class Settings {
public:
    static constexpr short kBadStream = 201;
    static constexpr short kNoCollection = 1000;
    static constexpr short kUnfixableSize = 1000;
    static constexpr short kEmptyArchive = 1001;
    static constexpr short kNoMoreItems = 1002;
    /// Tag and id of the property-page count that tells the archive's byte order.
    static constexpr unsigned long kPageCountTag = 3000;
    static constexpr long kPageCountId = 3002;

    /// A new empty archive; not valid when the collection cannot be made.
    Settings();
    /// Takes over `c` (null: not valid) and sets the caller's pointer to null.
    explicit Settings(OpaqueCollection*& c);
    /// An archive unflattened from the block; LastError() is the result (-50 for null), and
    /// the archive is valid only when it succeeded.
    explicit Settings(char** handle);
    /// A copy of the other archive's items (not valid when it has none or memory runs out).
    Settings(const Settings& other);
    /// Replaces the items by copies of the other's; on failure nothing changes (LastError -108).
    Settings& operator=(const Settings& other);
    virtual ~Settings();

    /// Adds the item, or replaces the data of the one with that (tag, id).
    short Add(const unsigned long& tag, const long& id, void* data, long size);
    /// data null: size = the item's size. Else copies min(size, item size) bytes and size = the
    /// item's size. With fixByteOrder the copied bytes must number 2, 4 or 70 (else 1000), and
    /// when the page count item reads above 10000 (the archive came from the other byte order)
    /// they are swapped: 2 and 4 bytes reversed, a 70-byte FSSpec's first 2 and next
    /// 4. A missing item gives collectionItemNotFoundErr and leaves size alone.
    short Get(const unsigned long& tag, const long& id, void* data, long& size, bool fixByteOrder);
    /// Replaces the data of an existing item; collectionItemNotFoundErr when there is none.
    short Set(const unsigned long& tag, const long& id, void* data, long size);
    /// Removes the item.
    short Remove(const unsigned long& tag, const long& id);
    /// Turns the bits of `attributes` (low 32 bits) on or off in the item's attributes.
    short SetAttribute(const unsigned long& tag, const long& id, const long& attributes,
                       const bool& on);
    /// Sets the lock bit (bit 31): the item can then be neither replaced nor removed.
    short Lock(const unsigned long& tag, const long& id);
    /// Clears the lock bit.
    short Unlock(const unsigned long& tag, const long& id);

    /// The first item's key, size and attributes (all zeroed first); 1001 when empty.
    short First(unsigned long& tag, long& id, long& size, long& attributes);
    /// The item after the one last returned (all zeroed first); 1002 after the last.
    short Next(unsigned long& tag, long& id, long& size, long& attributes);

    /// Number of items (0 without a collection).
    long Count() const;
    /// True when there are no items or no collection.
    bool Empty() const;
    /// True when the archive has a collection.
    bool Valid() const { return mCollection != nullptr; }
    short LastError() const { return mLastError; }

    /// Writes the flattened archive with one `out` call: 201 for a null, invalid or refusing
    /// stream, -108 when no buffer can be had.
    short Save(DataStream* stream);
    /// Reads `size` bytes (0: the stream's dataSize(); nothing happens when that is 0 too) with
    /// one `in` call and adds the archive they hold; on any error the archive is unchanged.
    short Read(DataStream* stream, unsigned long size);
    /// *handle = a new handle holding the flattened archive (the caller disposes it), or null.
    short GetSettingsHandle(char*** handle);

private:
    /// Records and returns `error`.
    short Result(short error) {
        mLastError = error;
        return error;
    }
    /// The fix applied by Get to `count` copied bytes.
    short FixByteOrder(void* data, long count);
    /// Fills the outputs from the item at mIndex.
    short ItemAt(unsigned long& tag, long& id, long& size, long& attributes, short pastEnd);
    /// A new handle holding the flattened collection, application memory first.
    short Flatten(Handle* flattened);

    Collection mCollection = nullptr;
    short mLastError = 0;
    long mIndex = 0;
};

/// A new CString (the caller deletes it) of the item's bytes up to the first NUL; null when the
/// item is missing, empty or unreadable.
CString* GetSettingsString(Settings& settings, const unsigned long& tag, const long& id);
/// A new string (the caller releases it) from the item's UTF-16 external representation (with
/// byte-order mark); null when the item is missing, empty or not such text.
CFStringRef GetSettingsCFString(Settings& settings, const unsigned long& tag, const long& id);

#endif // PIGMENTOR_CORE_SETTINGS_H

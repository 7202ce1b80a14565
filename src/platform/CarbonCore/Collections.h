#pragma once
/// Collection Manager: keyed collections of small binary items, and their flattened byte form.
///
/// A collection holds items addressed by (tag, id). Each item has a data block of 0 or more
/// bytes (copied in and out, never shared) and 32 attribute bits. Items keep the order in which
/// they were first added; positions (indexes) run from 1 to CountCollectionItems. Adding an
/// item whose (tag, id) exists replaces its data in place and keeps its attributes and position.
/// New items get the collection's default attributes (kCollectionDefaultAttributes at first).
///
/// Locking: an item whose lock attribute is set cannot have its data replaced or be removed
/// (collectionItemLockedErr); its attributes can still be changed, so it can be unlocked.
/// EmptyCollection removes every item, locked or not.
///
/// Flattening writes the items whose persistence attribute is set, in order, as one block of
/// this port's own byte form (docs/settings-archive.md): a 16-byte header (magic 'PgCo',
/// version 1, item count, total length) and each item's tag, id, attributes, data size and
/// data, all numbers in the writing machine's byte order. Unflattening reads either byte order
/// and accepts only a block that is exactly such a form; anything else is refused with an error
/// and leaves the collection unchanged, so foreign or damaged data reads as absent. Item data is
/// never byte-swapped: its meaning belongs to whoever wrote it.
///
/// Limits: an item's data and a whole flattened block are at most 0x7FFFFFFF bytes (the Memory
/// Manager caps blocks at 1 GiB). Ownership: the caller owns a collection from NewCollection
/// until DisposeCollection; a NULL collection gives paramErr (or 0, or nothing) everywhere.
/// A collection is used by one thread at a time. Nothing here throws: allocation failures are
/// memFullErr and leave the collection as it was.

#include <CarbonCore/MacErrors.h>
#include <CarbonCore/MacTypes.h>

// Collection Manager status codes, with the platform's values.
enum {
    collectionItemLockedErr = -5750,   ///< the item is locked against replacement and removal
    collectionItemNotFoundErr = -5751, ///< no item has that (tag, id)
    collectionIndexRangeErr = -5752,   ///< the index is not between 1 and the item count
    collectionVersionErr = -5753,      ///< not a flattened collection of a form read here
};

// Attribute bits of an item. The masks are SInt32 values, as the calls take them.
enum {
    kCollectionUserAttributes = 0x0000FFFF,   ///< bits 0 to 15 are the caller's own
    kCollectionPersistenceBit = 30,           ///< set: the item is flattened
    kCollectionLockBit = 31,                  ///< set: the item is locked
    kCollectionPersistenceMask = 0x40000000,  ///< mask of the persistence bit
    kCollectionLockMask = (SInt32)0x80000000, ///< mask of the lock bit
    kCollectionNoAttributes = 0,              ///< no bit
    kCollectionAllAttributes = -1,            ///< every bit
    kCollectionDefaultAttributes = kCollectionPersistenceMask, ///< new collections' default
};

typedef struct OpaqueCollection* Collection;
typedef FourCharCode CollectionTag;

/// Called by FlattenCollection with each run of `size` bytes to store, and by
/// UnflattenCollection to fill `data` with the next `size` bytes; any status but noErr stops
/// the operation and is returned from it. `data` is only valid during the call.
typedef OSErr (*CollectionFlattenProcPtr)(SInt32 size, void* data, void* refCon);
typedef CollectionFlattenProcPtr CollectionFlattenUPP;

#ifdef __cplusplus
extern "C" {
#endif

/// A new empty collection; NULL when out of memory.
Collection NewCollection(void);
/// Frees the collection and its items; NULL does nothing.
void DisposeCollection(Collection c);
/// Replaces dst's items and default attributes by copies of src's; returns dst, or NULL
/// (dst unchanged) when out of memory or either is NULL.
Collection CopyCollection(Collection srcCollection, Collection dstCollection);

/// The attributes that new items get.
SInt32 GetCollectionDefaultAttributes(Collection c);
/// Sets the `whichAttributes` bits of the default attributes to those of `newAttributes`.
void SetCollectionDefaultAttributes(Collection c, SInt32 whichAttributes, SInt32 newAttributes);

/// Number of items.
SInt32 CountCollectionItems(Collection c);
/// Number of distinct tags among the items (0 when out of memory).
SInt32 CountCollectionTags(Collection c);

/// Adds the item, or replaces the data of the existing one; paramErr for a negative size or
/// NULL data with a positive size, collectionItemLockedErr when the existing item is locked.
OSErr AddCollectionItem(Collection c, CollectionTag tag, SInt32 id, SInt32 itemSize,
                        const void* itemData);
/// Copies the item's data into `itemData` (NULL: none), at most *itemSize bytes when itemSize
/// is given (the whole item when it is NULL); *itemSize becomes the item's size. A missing item
/// gives collectionItemNotFoundErr and leaves *itemSize alone; a negative *itemSize, paramErr.
OSErr GetCollectionItem(Collection c, CollectionTag tag, SInt32 id, SInt32* itemSize,
                        void* itemData);
/// Removes the item; collectionItemNotFoundErr or collectionItemLockedErr.
OSErr RemoveCollectionItem(Collection c, CollectionTag tag, SInt32 id);
/// Sets the `whichAttributes` bits of the item's attributes to those of `newAttributes`.
OSErr SetCollectionItemInfo(Collection c, CollectionTag tag, SInt32 id, SInt32 whichAttributes,
                            SInt32 newAttributes);
/// The item's index, size and attributes (each output may be NULL).
OSErr GetCollectionItemInfo(Collection c, CollectionTag tag, SInt32 id, SInt32* itemIndex,
                            SInt32* itemSize, SInt32* attributes);

/// Replaces the data of the item at `itemIndex`; collectionIndexRangeErr, paramErr or
/// collectionItemLockedErr.
OSErr ReplaceIndexedCollectionItem(Collection c, SInt32 itemIndex, SInt32 itemSize,
                                   const void* itemData);
/// GetCollectionItem for the item at `itemIndex`; collectionIndexRangeErr when there is none.
OSErr GetIndexedCollectionItem(Collection c, SInt32 itemIndex, SInt32* itemSize, void* itemData);
/// The tag, id, size and attributes of the item at `itemIndex` (each output may be NULL).
OSErr GetIndexedCollectionItemInfo(Collection c, SInt32 itemIndex, CollectionTag* tag, SInt32* id,
                                   SInt32* itemSize, SInt32* attributes);

/// Removes every item, locked or not; the default attributes stay.
void EmptyCollection(Collection c);

/// Hands the flattened form to `flattenProc` in consecutive runs; paramErr without a proc,
/// memFullErr when the form would pass the size limit, or the proc's status.
OSErr FlattenCollection(Collection c, CollectionFlattenUPP flattenProc, void* refCon);
/// Reads one flattened form through `flattenProc` (asking for exactly the bytes the form
/// announces, so bytes after it are never asked for) and adds its items to `c`, replacing items
/// of the same (tag, id) data and attributes alike. On any error `c` is unchanged: the proc's
/// status, collectionVersionErr, eofErr (see UnflattenCollectionFromHdl), collectionItemLockedErr
/// (an item to replace is locked) or memFullErr.
OSErr UnflattenCollection(Collection c, CollectionFlattenUPP flattenProc, void* refCon);
/// Resizes `flattened` to the flattened form and writes it there; memFullErr (handle unchanged)
/// when it cannot grow; nilHandleErr or memWZErr for a NULL or dead handle.
OSErr FlattenCollectionToHdl(Collection aCollection, Handle flattened);
/// Adds the items of the flattened form that fills `flattened` exactly, as UnflattenCollection
/// (nilHandleErr or memWZErr for a NULL or dead handle).
/// collectionVersionErr: wrong magic or version, an impossible length or item count, bytes left
/// between the last item and the announced length or after it, a repeated (tag, id).
/// eofErr: the block ends before the form it announces does, or an item runs past that length.
OSErr UnflattenCollectionFromHdl(Collection aCollection, Handle flattened);

#ifdef __cplusplus
}
#endif

#pragma once
/// Private to the CarbonCore library: the storage behind a Collection, shared by the item calls
/// and the flattening calls.
///
/// Items sit in a vector in insertion order; an index maps each (tag, id) to its position, so
/// look-ups stay fast for archives of thousands of items. Nothing here throws: a member that
/// must allocate returns false when it cannot, and the storage is then as it was.

#include <CarbonCore/Collections.h>

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace carboncore {

struct CollectionItem {
    CollectionTag tag;
    SInt32 id;
    SInt32 attributes;
    std::vector<UInt8> data;
};

/// The items of a collection and the index over them.
class CollectionStore {
public:
    const std::vector<CollectionItem>& Items() const { return mItems; }
    std::vector<CollectionItem>& Items() { return mItems; }
    /// Position (0-based) of (tag, id), or -1.
    std::ptrdiff_t Find(CollectionTag tag, SInt32 id) const;
    /// Appends a new item whose (tag, id) is not there yet; false when out of memory.
    bool Append(CollectionItem item);
    /// Removes the item at `position` (0-based, in range).
    void RemoveAt(size_t position);
    /// Removes every item.
    void Clear();
    /// Makes room for `count` more items ahead of a run of Appends; false when out of memory.
    bool Reserve(size_t count);
    /// Makes this (empty) store a copy of `other`; false (and still empty) when out of memory.
    bool CopyFrom(const CollectionStore& other);
    void Swap(CollectionStore& other);

private:
    static uint64_t Key(CollectionTag tag, SInt32 id) { return uint64_t(tag) << 32 | uint32_t(id); }

    std::vector<CollectionItem> mItems;
    std::unordered_map<uint64_t, size_t> mIndex;
};

/// `size` bytes from `data` into `bytes` (0 bytes for a size <= 0); false when out of memory.
bool AssignBytes(std::vector<UInt8>* bytes, const void* data, SInt32 size);
/// Whether the item's lock attribute is set.
bool IsLocked(const CollectionItem& item);

} // namespace carboncore

struct OpaqueCollection {
    carboncore::CollectionStore store;
    SInt32 defaultAttributes = kCollectionDefaultAttributes;
};

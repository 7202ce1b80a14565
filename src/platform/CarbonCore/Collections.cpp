/// The Collection Manager's item calls over the indexed store of CollectionsInternal.h.

#include <CarbonCore/Collections.h>

#include "CollectionsInternal.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace carboncore {

std::ptrdiff_t CollectionStore::Find(CollectionTag tag, SInt32 id) const {
    auto found = mIndex.find(Key(tag, id));
    return found == mIndex.end() ? -1 : std::ptrdiff_t(found->second);
}

bool CollectionStore::Append(CollectionItem item) {
    try {
        // Room first, so that the push_back below cannot fail after the index has the key.
        if (mItems.size() == mItems.capacity())
            mItems.reserve(mItems.size() * 2 + 8);
        mIndex.emplace(Key(item.tag, item.id), mItems.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
    mItems.push_back(std::move(item));
    return true;
}

void CollectionStore::RemoveAt(size_t position) {
    mIndex.erase(Key(mItems[position].tag, mItems[position].id));
    mItems.erase(mItems.begin() + std::ptrdiff_t(position));
    for (auto& entry : mIndex)
        if (entry.second > position)
            --entry.second;
}

void CollectionStore::Clear() {
    mItems.clear();
    mIndex.clear();
}

bool CollectionStore::Reserve(size_t count) {
    try {
        mItems.reserve(mItems.size() + count);
        mIndex.reserve(mIndex.size() + count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool CollectionStore::CopyFrom(const CollectionStore& other) {
    try {
        mItems = other.mItems;
        mIndex = other.mIndex;
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
    return true;
}

void CollectionStore::Swap(CollectionStore& other) {
    mItems.swap(other.mItems);
    mIndex.swap(other.mIndex);
}

bool AssignBytes(std::vector<UInt8>* bytes, const void* data, SInt32 size) {
    try {
        const auto* first = static_cast<const UInt8*>(data);
        bytes->assign(first, first + (size > 0 ? size : 0));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool IsLocked(const CollectionItem& item) {
    return (item.attributes & kCollectionLockMask) != 0;
}

} // namespace carboncore

using carboncore::CollectionItem;

namespace {

OSErr CheckData(SInt32 itemSize, const void* itemData) {
    return itemSize < 0 || (itemData == nullptr && itemSize > 0) ? OSErr(paramErr) : OSErr(noErr);
}

// The item at a 1-based index, or null.
CollectionItem* ItemAtIndex(Collection c, SInt32 itemIndex) {
    auto& items = c->store.Items();
    if (itemIndex < 1 || size_t(itemIndex) > items.size())
        return nullptr;
    return &items[size_t(itemIndex) - 1];
}

CollectionItem* ItemWithKey(Collection c, CollectionTag tag, SInt32 id) {
    std::ptrdiff_t position = c->store.Find(tag, id);
    return position < 0 ? nullptr : &c->store.Items()[size_t(position)];
}

// The new bytes are made before the old ones go, so a failure leaves the item as it was.
OSErr ReplaceData(CollectionItem* item, SInt32 itemSize, const void* itemData) {
    if (carboncore::IsLocked(*item))
        return collectionItemLockedErr;
    std::vector<UInt8> bytes;
    if (!carboncore::AssignBytes(&bytes, itemData, itemSize))
        return memFullErr;
    item->data.swap(bytes);
    return noErr;
}

OSErr CopyOut(const CollectionItem& item, SInt32* itemSize, void* itemData) {
    SInt32 size = SInt32(item.data.size());
    SInt32 count = size;
    if (itemSize != nullptr && itemData != nullptr) {
        if (*itemSize < 0)
            return paramErr;
        count = std::min(*itemSize, size);
    }
    if (itemData != nullptr && count > 0)
        std::memcpy(itemData, item.data.data(), size_t(count));
    if (itemSize != nullptr)
        *itemSize = size;
    return noErr;
}

SInt32 MergeBits(SInt32 old, SInt32 which, SInt32 bits) {
    return SInt32((UInt32(old) & ~UInt32(which)) | (UInt32(bits) & UInt32(which)));
}

} // namespace

extern "C" {

Collection NewCollection(void) {
    return new (std::nothrow) OpaqueCollection;
}

void DisposeCollection(Collection c) {
    delete c;
}

Collection CopyCollection(Collection srcCollection, Collection dstCollection) {
    if (srcCollection == nullptr || dstCollection == nullptr)
        return nullptr;
    if (srcCollection == dstCollection)
        return dstCollection;
    carboncore::CollectionStore copy;
    if (!copy.CopyFrom(srcCollection->store))
        return nullptr;
    dstCollection->store.Swap(copy);
    dstCollection->defaultAttributes = srcCollection->defaultAttributes;
    return dstCollection;
}

SInt32 GetCollectionDefaultAttributes(Collection c) {
    return c == nullptr ? 0 : c->defaultAttributes;
}

void SetCollectionDefaultAttributes(Collection c, SInt32 whichAttributes, SInt32 newAttributes) {
    if (c != nullptr)
        c->defaultAttributes = MergeBits(c->defaultAttributes, whichAttributes, newAttributes);
}

SInt32 CountCollectionItems(Collection c) {
    return c == nullptr ? 0 : SInt32(c->store.Items().size());
}

SInt32 CountCollectionTags(Collection c) {
    if (c == nullptr)
        return 0;
    try {
        std::vector<CollectionTag> tags;
        tags.reserve(c->store.Items().size());
        for (const CollectionItem& item : c->store.Items())
            tags.push_back(item.tag);
        std::sort(tags.begin(), tags.end());
        return SInt32(std::unique(tags.begin(), tags.end()) - tags.begin());
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

OSErr AddCollectionItem(Collection c, CollectionTag tag, SInt32 id, SInt32 itemSize,
                        const void* itemData) {
    if (c == nullptr)
        return paramErr;
    if (OSErr err = CheckData(itemSize, itemData))
        return err;
    if (CollectionItem* existing = ItemWithKey(c, tag, id))
        return ReplaceData(existing, itemSize, itemData);
    CollectionItem item{tag, id, c->defaultAttributes, {}};
    if (!carboncore::AssignBytes(&item.data, itemData, itemSize) ||
        !c->store.Append(std::move(item)))
        return memFullErr;
    return noErr;
}

OSErr GetCollectionItem(Collection c, CollectionTag tag, SInt32 id, SInt32* itemSize,
                        void* itemData) {
    if (c == nullptr)
        return paramErr;
    const CollectionItem* item = ItemWithKey(c, tag, id);
    return item == nullptr ? OSErr(collectionItemNotFoundErr) : CopyOut(*item, itemSize, itemData);
}

OSErr RemoveCollectionItem(Collection c, CollectionTag tag, SInt32 id) {
    if (c == nullptr)
        return paramErr;
    std::ptrdiff_t position = c->store.Find(tag, id);
    if (position < 0)
        return collectionItemNotFoundErr;
    if (carboncore::IsLocked(c->store.Items()[size_t(position)]))
        return collectionItemLockedErr;
    c->store.RemoveAt(size_t(position));
    return noErr;
}

OSErr SetCollectionItemInfo(Collection c, CollectionTag tag, SInt32 id, SInt32 whichAttributes,
                            SInt32 newAttributes) {
    if (c == nullptr)
        return paramErr;
    CollectionItem* item = ItemWithKey(c, tag, id);
    if (item == nullptr)
        return collectionItemNotFoundErr;
    item->attributes = MergeBits(item->attributes, whichAttributes, newAttributes);
    return noErr;
}

OSErr GetCollectionItemInfo(Collection c, CollectionTag tag, SInt32 id, SInt32* itemIndex,
                            SInt32* itemSize, SInt32* attributes) {
    if (c == nullptr)
        return paramErr;
    std::ptrdiff_t position = c->store.Find(tag, id);
    if (position < 0)
        return collectionItemNotFoundErr;
    const CollectionItem& item = c->store.Items()[size_t(position)];
    if (itemIndex != nullptr)
        *itemIndex = SInt32(position + 1);
    if (itemSize != nullptr)
        *itemSize = SInt32(item.data.size());
    if (attributes != nullptr)
        *attributes = item.attributes;
    return noErr;
}

OSErr ReplaceIndexedCollectionItem(Collection c, SInt32 itemIndex, SInt32 itemSize,
                                   const void* itemData) {
    if (c == nullptr)
        return paramErr;
    CollectionItem* item = ItemAtIndex(c, itemIndex);
    if (item == nullptr)
        return collectionIndexRangeErr;
    if (OSErr err = CheckData(itemSize, itemData))
        return err;
    return ReplaceData(item, itemSize, itemData);
}

OSErr GetIndexedCollectionItem(Collection c, SInt32 itemIndex, SInt32* itemSize, void* itemData) {
    if (c == nullptr)
        return paramErr;
    const CollectionItem* item = ItemAtIndex(c, itemIndex);
    return item == nullptr ? OSErr(collectionIndexRangeErr) : CopyOut(*item, itemSize, itemData);
}

OSErr GetIndexedCollectionItemInfo(Collection c, SInt32 itemIndex, CollectionTag* tag, SInt32* id,
                                   SInt32* itemSize, SInt32* attributes) {
    if (c == nullptr)
        return paramErr;
    const CollectionItem* item = ItemAtIndex(c, itemIndex);
    if (item == nullptr)
        return collectionIndexRangeErr;
    if (tag != nullptr)
        *tag = item->tag;
    if (id != nullptr)
        *id = item->id;
    if (itemSize != nullptr)
        *itemSize = SInt32(item->data.size());
    if (attributes != nullptr)
        *attributes = item->attributes;
    return noErr;
}

void EmptyCollection(Collection c) {
    if (c != nullptr)
        c->store.Clear();
}

} // extern "C"

/// The flattened byte form of a collection (docs/settings-archive.md): writing it, and reading
/// it back from either byte order while refusing anything that is not exactly that form.

#include <CarbonCore/Collections.h>
#include <CarbonCore/MacMemory.h>

#include "CollectionsInternal.h"

#include <algorithm>
#include <cstring>
#include <new>

using carboncore::CollectionItem;
using carboncore::CollectionStore;

namespace {

constexpr UInt32 kMagic = 0x5067436F; // 'PgCo'
constexpr UInt32 kVersion = 1;
constexpr UInt32 kHeaderSize = 16;
constexpr UInt32 kItemHeaderSize = 16;
constexpr UInt32 kMaxFormSize = 0x7FFFFFFF;
// Item data is read in runs of this size, so that a length announced by damaged data costs
// memory only as far as the source really delivers bytes.
constexpr UInt32 kReadRun = 64 * 1024;

void Put32(UInt8* at, UInt32 value) {
    std::memcpy(at, &value, sizeof value);
}

UInt32 Get32(const UInt8* at, bool swapped) {
    UInt32 value;
    std::memcpy(&value, at, sizeof value);
    return swapped ? __builtin_bswap32(value) : value;
}

bool Persistent(const CollectionItem& item) {
    return (item.attributes & kCollectionPersistenceMask) != 0;
}

// The size of the form and its item count; false when the form would pass the size limit.
bool MeasureForm(const CollectionStore& store, UInt32* size, UInt32* count) {
    uint64_t total = kHeaderSize;
    UInt32 items = 0;
    for (const CollectionItem& item : store.Items()) {
        if (!Persistent(item))
            continue;
        total += kItemHeaderSize + item.data.size();
        ++items;
        if (total > kMaxFormSize)
            return false;
    }
    *size = UInt32(total);
    *count = items;
    return true;
}

OSErr WriteForm(CollectionStore& store, CollectionFlattenUPP proc, void* refCon) {
    UInt32 size, count;
    if (!MeasureForm(store, &size, &count))
        return memFullErr;
    UInt8 header[kHeaderSize];
    Put32(header, kMagic);
    Put32(header + 4, kVersion);
    Put32(header + 8, count);
    Put32(header + 12, size);
    if (OSErr err = proc(SInt32(kHeaderSize), header, refCon))
        return err;
    for (CollectionItem& item : store.Items()) {
        if (!Persistent(item))
            continue;
        UInt8 itemHeader[kItemHeaderSize];
        Put32(itemHeader, item.tag);
        Put32(itemHeader + 4, UInt32(item.id));
        Put32(itemHeader + 8, UInt32(item.attributes));
        Put32(itemHeader + 12, UInt32(item.data.size()));
        if (OSErr err = proc(SInt32(kItemHeaderSize), itemHeader, refCon))
            return err;
        if (!item.data.empty())
            if (OSErr err = proc(SInt32(item.data.size()), item.data.data(), refCon))
                return err;
    }
    return noErr;
}

// The byte order of a form from its first four bytes; false when they are not the magic.
bool MagicOrder(const UInt8* bytes, bool* swapped) {
    UInt32 magic = Get32(bytes, false);
    *swapped = magic == __builtin_bswap32(kMagic);
    return magic == kMagic || *swapped;
}

struct FormHeader {
    bool swapped;
    UInt32 count;
    UInt32 size;
};

OSErr ParseHeader(const UInt8 (&bytes)[kHeaderSize], FormHeader* header) {
    if (!MagicOrder(bytes, &header->swapped) || Get32(bytes + 4, header->swapped) != kVersion)
        return collectionVersionErr;
    header->count = Get32(bytes + 8, header->swapped);
    header->size = Get32(bytes + 12, header->swapped);
    if (header->size < kHeaderSize || header->size > kMaxFormSize ||
        header->count > (header->size - kHeaderSize) / kItemHeaderSize)
        return collectionVersionErr;
    return noErr;
}

// Reads the items that follow a parsed header into `store` (empty on entry).
OSErr ReadItems(const FormHeader& header, CollectionFlattenUPP proc, void* refCon,
                CollectionStore* store) {
    if (!store->Reserve(header.count))
        return memFullErr;
    UInt32 position = kHeaderSize;
    for (UInt32 i = 0; i < header.count; ++i) {
        if (header.size - position < kItemHeaderSize)
            return eofErr;
        UInt8 bytes[kItemHeaderSize];
        if (OSErr err = proc(SInt32(kItemHeaderSize), bytes, refCon))
            return err;
        position += kItemHeaderSize;
        CollectionItem item{Get32(bytes, header.swapped),
                            SInt32(Get32(bytes + 4, header.swapped)),
                            SInt32(Get32(bytes + 8, header.swapped)),
                            {}};
        UInt32 length = Get32(bytes + 12, header.swapped);
        if (length > header.size - position)
            return eofErr;
        if (store->Find(item.tag, item.id) >= 0)
            return collectionVersionErr;
        for (UInt32 done = 0; done < length;) {
            UInt32 run = std::min(length - done, kReadRun);
            try {
                item.data.resize(done + run);
            } catch (const std::bad_alloc&) {
                return memFullErr;
            }
            if (OSErr err = proc(SInt32(run), item.data.data() + done, refCon))
                return err;
            done += run;
        }
        position += length;
        if (!store->Append(std::move(item)))
            return memFullErr;
    }
    return position == header.size ? OSErr(noErr) : OSErr(collectionVersionErr);
}

// Adds the read items to `c`, all or nothing.
OSErr Merge(Collection c, CollectionStore& read) {
    if (c->store.Items().empty()) {
        c->store.Swap(read);
        return noErr;
    }
    for (const CollectionItem& item : read.Items()) {
        std::ptrdiff_t position = c->store.Find(item.tag, item.id);
        if (position >= 0 && carboncore::IsLocked(c->store.Items()[size_t(position)]))
            return collectionItemLockedErr;
    }
    CollectionStore merged;
    if (!merged.CopyFrom(c->store))
        return memFullErr;
    for (CollectionItem& item : read.Items()) {
        std::ptrdiff_t position = merged.Find(item.tag, item.id);
        if (position >= 0)
            merged.Items()[size_t(position)] = std::move(item);
        else if (!merged.Append(std::move(item)))
            return memFullErr;
    }
    c->store.Swap(merged);
    return noErr;
}

// A run of memory read or written front to back by the procs below.
struct Cursor {
    UInt8* bytes;
    size_t size;
    size_t position;
};

OSErr WriteToCursor(SInt32 size, void* data, void* refCon) {
    auto* cursor = static_cast<Cursor*>(refCon);
    if (size < 0 || size_t(size) > cursor->size - cursor->position)
        return paramErr;
    std::memcpy(cursor->bytes + cursor->position, data, size_t(size));
    cursor->position += size_t(size);
    return noErr;
}

OSErr ReadFromCursor(SInt32 size, void* data, void* refCon) {
    auto* cursor = static_cast<Cursor*>(refCon);
    if (size < 0 || size_t(size) > cursor->size - cursor->position)
        return eofErr;
    std::memcpy(data, cursor->bytes + cursor->position, size_t(size));
    cursor->position += size_t(size);
    return noErr;
}

// The handle's size, or the Memory Manager's error for a NULL or dead handle.
OSErr HandleSize(Handle h, Size* size) {
    *size = GetHandleSize(h);
    return MemError();
}

} // namespace

extern "C" {

OSErr FlattenCollection(Collection c, CollectionFlattenUPP flattenProc, void* refCon) {
    if (c == nullptr || flattenProc == nullptr)
        return paramErr;
    return WriteForm(c->store, flattenProc, refCon);
}

OSErr UnflattenCollection(Collection c, CollectionFlattenUPP flattenProc, void* refCon) {
    if (c == nullptr || flattenProc == nullptr)
        return paramErr;
    UInt8 bytes[kHeaderSize];
    if (OSErr err = flattenProc(SInt32(kHeaderSize), bytes, refCon))
        return err;
    FormHeader header;
    if (OSErr err = ParseHeader(bytes, &header))
        return err;
    CollectionStore read;
    if (OSErr err = ReadItems(header, flattenProc, refCon, &read))
        return err;
    return Merge(c, read);
}

OSErr FlattenCollectionToHdl(Collection aCollection, Handle flattened) {
    if (aCollection == nullptr)
        return paramErr;
    Size old;
    if (OSErr err = HandleSize(flattened, &old))
        return err;
    UInt32 size, count;
    if (!MeasureForm(aCollection->store, &size, &count))
        return memFullErr;
    SetHandleSize(flattened, Size(size));
    if (OSErr err = MemError())
        return err;
    Cursor cursor{reinterpret_cast<UInt8*>(*flattened), size, 0};
    return WriteForm(aCollection->store, WriteToCursor, &cursor);
}

OSErr UnflattenCollectionFromHdl(Collection aCollection, Handle flattened) {
    if (aCollection == nullptr)
        return paramErr;
    Size size;
    if (OSErr err = HandleSize(flattened, &size))
        return err;
    Cursor cursor{reinterpret_cast<UInt8*>(*flattened), size_t(size), 0};
    // The magic decides first, so that short foreign data reads as foreign, not as cut off.
    bool swapped;
    if (size >= 4 && !MagicOrder(cursor.bytes, &swapped))
        return collectionVersionErr;
    if (size < Size(kHeaderSize))
        return eofErr;
    UInt8 bytes[kHeaderSize];
    ReadFromCursor(SInt32(kHeaderSize), bytes, &cursor);
    FormHeader header;
    if (OSErr err = ParseHeader(bytes, &header))
        return err;
    if (Size(header.size) > size)
        return eofErr;
    if (Size(header.size) < size)
        return collectionVersionErr;
    CollectionStore read;
    if (OSErr err = ReadItems(header, ReadFromCursor, &cursor, &read))
        return err;
    return Merge(aCollection, read);
}

} // extern "C"

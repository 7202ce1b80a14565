//===- Settings.cpp - Keyed binary archive of small items -----------------===//
#include "Settings.h"

#include <CarbonCore/MacErrors.h>
#include <CarbonCore/MacMemory.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// A page count above this cannot be real: it is a small count read in the other byte order.
constexpr uint32_t kMaxPlausiblePageCount = 10000;
// A FSSpec item: 2-byte volume, 4-byte directory id, 64-byte name.
constexpr long kFileSpecSize = 70;

// The collection takes 32-bit tags and ids; wider values must not alias other items.
bool KeyFits(unsigned long tag, long id) {
    return tag <= UINT32_MAX && id >= INT32_MIN && id <= INT32_MAX;
}

bool SizeFits(long size) {
    return size >= 0 && size <= INT32_MAX;
}

void Reverse(void* bytes, size_t count) {
    auto* first = static_cast<UInt8*>(bytes);
    std::reverse(first, first + count);
}

// A new handle of `size` bytes, from the temporary pool when the application pool is out.
Handle NewBuffer(Size size) {
    Handle h = NewHandle(size);
    return h != nullptr ? h : TempNewHandle(size, nullptr);
}

// The item's bytes in a malloc block of size + 1 (the caller frees it); null when missing,
// empty or unreadable.
char* CopyItem(Settings& settings, unsigned long tag, long id, long* size) {
    *size = 0;
    if (settings.Get(tag, id, nullptr, *size, false) != noErr || *size <= 0)
        return nullptr;
    char* bytes = static_cast<char*>(std::malloc(size_t(*size) + 1));
    long read = *size;
    if (bytes == nullptr || settings.Get(tag, id, bytes, read, false) != noErr || read != *size) {
        std::free(bytes);
        return nullptr;
    }
    bytes[*size] = '\0';
    return bytes;
}

} // namespace

Settings::Settings() : mCollection(NewCollection()) {
    if (mCollection == nullptr)
        mLastError = memFullErr;
}

Settings::Settings(OpaqueCollection*& c) : mCollection(c) {
    c = nullptr;
}

Settings::Settings(char** handle) {
    if (handle == nullptr) {
        mLastError = paramErr;
        return;
    }
    mCollection = NewCollection();
    mLastError = mCollection != nullptr ? UnflattenCollectionFromHdl(mCollection, handle)
                                        : short(memFullErr);
    // Data that is not an archive of ours counts as no archive at all.
    if (mLastError != noErr) {
        DisposeCollection(mCollection);
        mCollection = nullptr;
    }
}

Settings::Settings(const Settings& other) {
    if (other.mCollection == nullptr)
        return;
    mCollection = NewCollection();
    if (mCollection == nullptr || CopyCollection(other.mCollection, mCollection) == nullptr) {
        DisposeCollection(mCollection);
        mCollection = nullptr;
        mLastError = memFullErr;
    }
}

Settings& Settings::operator=(const Settings& other) {
    if (this == &other)
        return *this;
    Collection copy = nullptr;
    if (other.mCollection != nullptr) {
        copy = NewCollection();
        if (copy == nullptr || CopyCollection(other.mCollection, copy) == nullptr) {
            DisposeCollection(copy);
            mLastError = memFullErr;
            return *this;
        }
    }
    DisposeCollection(mCollection);
    mCollection = copy;
    mIndex = 0;
    mLastError = noErr;
    return *this;
}

Settings::~Settings() {
    DisposeCollection(mCollection);
}

short Settings::Add(const unsigned long& tag, const long& id, void* data, long size) {
    if (mCollection == nullptr)
        return Result(kNoCollection);
    if (!KeyFits(tag, id) || !SizeFits(size))
        return Result(paramErr);
    return Result(
        AddCollectionItem(mCollection, CollectionTag(tag), SInt32(id), SInt32(size), data));
}

short Settings::Get(const unsigned long& tag, const long& id, void* data, long& size,
                    bool fixByteOrder) {
    if (mCollection == nullptr)
        return Result(kNoCollection);
    if (!KeyFits(tag, id) || (data != nullptr && size < 0))
        return Result(paramErr);
    SInt32 itemSize = 0;
    if (data == nullptr) {
        OSErr err = GetCollectionItemInfo(mCollection, CollectionTag(tag), SInt32(id), nullptr,
                                          &itemSize, nullptr);
        if (err == noErr)
            size = itemSize;
        return Result(err);
    }
    itemSize = SInt32(std::min<long>(size, INT32_MAX));
    if (OSErr err = GetCollectionItem(mCollection, CollectionTag(tag), SInt32(id), &itemSize, data))
        return Result(err);
    long copied = std::min<long>(size, itemSize);
    size = itemSize;
    return Result(fixByteOrder ? FixByteOrder(data, copied) : short(noErr));
}

// Only numbers go through here. Whether the archive came from a machine of the other byte
// order is told by the property-page count, which every saved model holds: a real count is
// small, the same count read the wrong way round is at least 16777216.
short Settings::FixByteOrder(void* data, long count) {
    if (count != 2 && count != 4 && count != kFileSpecSize)
        return kUnfixableSize;
    SInt32 size = 4;
    uint32_t pages = 0;
    if (GetCollectionItem(mCollection, kPageCountTag, kPageCountId, &size, &pages) != noErr ||
        size != 4 || pages <= kMaxPlausiblePageCount)
        return noErr;
    if (count == kFileSpecSize) {
        // Volume reference, then directory id; the name is bytes and stays as it is.
        Reverse(data, 2);
        Reverse(static_cast<UInt8*>(data) + 2, 4);
    } else {
        Reverse(data, size_t(count));
    }
    return noErr;
}

short Settings::Set(const unsigned long& tag, const long& id, void* data, long size) {
    if (mCollection == nullptr)
        return Result(kNoCollection);
    if (!KeyFits(tag, id) || !SizeFits(size))
        return Result(paramErr);
    SInt32 index = 0;
    if (OSErr err = GetCollectionItemInfo(mCollection, CollectionTag(tag), SInt32(id), &index,
                                          nullptr, nullptr))
        return Result(err);
    return Result(ReplaceIndexedCollectionItem(mCollection, index, SInt32(size), data));
}

short Settings::Remove(const unsigned long& tag, const long& id) {
    if (mCollection == nullptr)
        return Result(kNoCollection);
    if (!KeyFits(tag, id))
        return Result(paramErr);
    return Result(RemoveCollectionItem(mCollection, CollectionTag(tag), SInt32(id)));
}

short Settings::SetAttribute(const unsigned long& tag, const long& id, const long& attributes,
                             const bool& on) {
    if (mCollection == nullptr)
        return Result(kNoCollection);
    if (!KeyFits(tag, id))
        return Result(paramErr);
    auto bits = SInt32(uint32_t(attributes));
    return Result(
        SetCollectionItemInfo(mCollection, CollectionTag(tag), SInt32(id), bits, on ? bits : 0));
}

short Settings::Lock(const unsigned long& tag, const long& id) {
    return SetAttribute(tag, id, long(uint32_t(kCollectionLockMask)), true);
}

short Settings::Unlock(const unsigned long& tag, const long& id) {
    return SetAttribute(tag, id, long(uint32_t(kCollectionLockMask)), false);
}

short Settings::First(unsigned long& tag, long& id, long& size, long& attributes) {
    tag = 0;
    id = size = attributes = 0;
    if (mCollection == nullptr)
        return Result(kNoCollection);
    mIndex = 1;
    return ItemAt(tag, id, size, attributes, kEmptyArchive);
}

short Settings::Next(unsigned long& tag, long& id, long& size, long& attributes) {
    tag = 0;
    id = size = attributes = 0;
    if (mCollection == nullptr)
        return Result(kNoCollection);
    ++mIndex;
    return ItemAt(tag, id, size, attributes, kNoMoreItems);
}

short Settings::ItemAt(unsigned long& tag, long& id, long& size, long& attributes, short pastEnd) {
    long count = Count();
    if (mIndex > count) {
        // Stay just past the end, so that an item added later is the next one.
        mIndex = count;
        return Result(pastEnd);
    }
    CollectionTag itemTag = 0;
    SInt32 itemId = 0, itemSize = 0, itemAttributes = 0;
    if (OSErr err = GetIndexedCollectionItemInfo(mCollection, SInt32(mIndex), &itemTag, &itemId,
                                                 &itemSize, &itemAttributes))
        return Result(err);
    tag = itemTag;
    id = itemId;
    size = itemSize;
    // The attribute bits as the unsigned 32-bit word they are, so the lock bit reads 0x80000000.
    attributes = long(uint32_t(itemAttributes));
    return Result(noErr);
}

long Settings::Count() const {
    return mCollection == nullptr ? 0 : CountCollectionItems(mCollection);
}

bool Settings::Empty() const {
    return Count() == 0;
}

short Settings::Flatten(Handle* flattened) {
    *flattened = nullptr;
    Handle h = NewHandle(0);
    OSErr err = h != nullptr ? FlattenCollectionToHdl(mCollection, h) : OSErr(memFullErr);
    if (err == memFullErr) {
        // The application pool is exhausted: the temporary pool may still hold the block.
        DisposeHandle(h);
        h = TempNewHandle(0, nullptr);
        err = h != nullptr ? FlattenCollectionToHdl(mCollection, h) : OSErr(memFullErr);
    }
    if (err != noErr) {
        DisposeHandle(h);
        return err;
    }
    *flattened = h;
    return noErr;
}

short Settings::Save(DataStream* stream) {
    if (mCollection == nullptr)
        return Result(kNoCollection);
    if (stream == nullptr || !stream->valid())
        return Result(kBadStream);
    Handle flattened = nullptr;
    if (short err = Flatten(&flattened))
        return Result(err);
    bool written = stream->out(*flattened, static_cast<unsigned long>(GetHandleSize(flattened)));
    DisposeHandle(flattened);
    return Result(written ? short(noErr) : kBadStream);
}

short Settings::Read(DataStream* stream, unsigned long size) {
    if (mCollection == nullptr)
        return Result(kNoCollection);
    if (stream == nullptr || !stream->valid())
        return Result(kBadStream);
    if (size == 0)
        size = stream->dataSize();
    if (size == 0)
        return Result(noErr);
    // No flattened archive is this large; asking the Memory Manager would only fail later.
    if (size > INT32_MAX)
        return Result(memFullErr);
    Handle block = NewBuffer(Size(size));
    if (block == nullptr)
        return Result(memFullErr);
    unsigned long read = 0;
    short status = noErr;
    short err;
    if (!stream->in(*block, size, &read, &status) || read != size)
        err = status != noErr ? status : kBadStream;
    else
        err = UnflattenCollectionFromHdl(mCollection, block);
    DisposeHandle(block);
    return Result(err);
}

short Settings::GetSettingsHandle(char*** handle) {
    if (handle != nullptr)
        *handle = nullptr;
    if (mCollection == nullptr)
        return Result(kNoCollection);
    if (handle == nullptr)
        return Result(paramErr);
    return Result(Flatten(handle));
}

CString* GetSettingsString(Settings& settings, const unsigned long& tag, const long& id) {
    long size = 0;
    char* bytes = CopyItem(settings, tag, id, &size);
    if (bytes == nullptr)
        return nullptr;
    CString* text = new (std::nothrow) CString(bytes);
    std::free(bytes);
    // A string that could not copy its text stays unset: report that as unreadable.
    if (text != nullptr && static_cast<const char*>(*text) == nullptr) {
        delete text;
        text = nullptr;
    }
    return text;
}

CFStringRef GetSettingsCFString(Settings& settings, const unsigned long& tag, const long& id) {
    long size = 0;
    char* bytes = CopyItem(settings, tag, id, &size);
    if (bytes == nullptr)
        return nullptr;
    // The external representation: UTF-16 after a byte-order mark that says which order.
    CFStringRef text = CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<UInt8*>(bytes),
                                               CFIndex(size), kCFStringEncodingUnicode, true);
    std::free(bytes);
    return text;
}

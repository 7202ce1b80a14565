#pragma once
// Builds flattened collections byte by byte, in either byte order, so that tests can hand the
// reader blocks written as another machine would write them, or damaged on purpose. The form
// is the one of docs/settings-archive.md; the tests check the library against this, not
// against itself. Also the collection helpers both collection test files share.

#include <CarbonCore/Collections.h>
#include <CarbonCore/MacMemory.h>

#include <cstring>
#include <vector>

namespace formbuilder {

constexpr UInt32 kMagic = 0x5067436F; // 'PgCo'
constexpr size_t kHeaderSize = 16;

// This machine's byte order; the tests that speak of big-endian archives assume a little-endian
// host and skip otherwise.
constexpr bool kHostIsLittleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

struct Item {
    UInt32 tag;
    SInt32 id;
    UInt32 attributes;
    std::vector<UInt8> data;
};

inline bool operator==(const Item& a, const Item& b) {
    return a.tag == b.tag && a.id == b.id && a.attributes == b.attributes && a.data == b.data;
}

inline void Store32(std::vector<UInt8>& bytes, size_t offset, UInt32 value, bool bigEndian) {
    for (int i = 0; i < 4; ++i) {
        int shift = bigEndian ? 24 - 8 * i : 8 * i;
        bytes[offset + size_t(i)] = UInt8(value >> shift);
    }
}

inline std::vector<UInt8> Build(const std::vector<Item>& items, bool bigEndian) {
    std::vector<UInt8> bytes(kHeaderSize);
    for (const Item& item : items) {
        size_t at = bytes.size();
        bytes.resize(at + 16);
        Store32(bytes, at, item.tag, bigEndian);
        Store32(bytes, at + 4, UInt32(item.id), bigEndian);
        Store32(bytes, at + 8, item.attributes, bigEndian);
        Store32(bytes, at + 12, UInt32(item.data.size()), bigEndian);
        bytes.insert(bytes.end(), item.data.begin(), item.data.end());
    }
    Store32(bytes, 0, kMagic, bigEndian);
    Store32(bytes, 4, 1, bigEndian);
    Store32(bytes, 8, UInt32(items.size()), bigEndian);
    Store32(bytes, 12, UInt32(bytes.size()), bigEndian);
    return bytes;
}

// A 4-byte or 2-byte number as the given machine stores it.
inline std::vector<UInt8> Number(UInt32 value, size_t size, bool bigEndian) {
    std::vector<UInt8> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = UInt8(value >> (bigEndian ? 8 * (size - 1 - i) : 8 * i));
    return bytes;
}

inline std::vector<UInt8> Text(const char* text) {
    return std::vector<UInt8>(text, text + std::strlen(text));
}

// A new handle holding `bytes` (the caller disposes it).
inline Handle NewHandleWith(const std::vector<UInt8>& bytes) {
    Handle h = NewHandle(Size(bytes.size()));
    if (h != nullptr && !bytes.empty())
        std::memcpy(*h, bytes.data(), bytes.size());
    return h;
}

inline std::vector<UInt8> HandleBytes(Handle h) {
    auto* first = reinterpret_cast<const UInt8*>(*h);
    return std::vector<UInt8>(first, first + GetHandleSize(h));
}

// A collection disposed of at scope end.
struct Owned {
    Collection c = NewCollection();
    ~Owned() { DisposeCollection(c); }
};

// Every field of every item of `c`, in order.
inline std::vector<Item> Items(Collection c) {
    std::vector<Item> items;
    for (SInt32 i = 1; i <= CountCollectionItems(c); ++i) {
        Item item{};
        SInt32 size = 0, attributes = 0;
        GetIndexedCollectionItemInfo(c, i, &item.tag, &item.id, &size, &attributes);
        item.attributes = UInt32(attributes);
        item.data.resize(size_t(size));
        GetIndexedCollectionItem(c, i, &size, item.data.data());
        items.push_back(item);
    }
    return items;
}

} // namespace formbuilder

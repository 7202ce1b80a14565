//===- CBlocks.cpp - Results handed to C callers as tovrane_free blocks ---===//
#include "CBlocks.h"

#include "TextEncoding.h"

#include <cstdlib>
#include <cstring>

namespace tovrane::client {

// Not tovrane_malloc: zero-filling allocations skip the allocator's per-thread cache, and a
// colour read hands over hundreds of strings. tovrane_free releases either kind of block.
char* MakeString(std::string_view text) {
    auto* block = static_cast<char*>(std::malloc(text.size() + 1));
    if (block) {
        std::memcpy(block, text.data(), text.size());
        block[text.size()] = '\0';
    }
    return block;
}

char** MakeStringArray(const std::vector<std::string>& items) {
    if (items.empty())
        return nullptr;
    // Every text is bounded by the reply limits, so these sums cannot overflow.
    size_t size = (items.size() + 1) * sizeof(char*);
    for (const std::string& item : items)
        size += item.size() + 1;
    auto* block = static_cast<char**>(tovrane_malloc(size));
    if (!block)
        return nullptr;
    char* text = reinterpret_cast<char*>(block + items.size() + 1);
    for (size_t i = 0; i < items.size(); ++i) {
        block[i] = text;
        std::memcpy(text, items[i].data(), items[i].size());
        text += items[i].size() + 1; // the block is zero-filled: the NUL is already there
    }
    return block;
}

int32_t* MakeIntArray(const std::vector<int32_t>& items) {
    if (items.empty())
        return nullptr;
    auto* block = static_cast<int32_t*>(tovrane_malloc(items.size() * sizeof(int32_t)));
    if (block)
        std::memcpy(block, items.data(), items.size() * sizeof(int32_t));
    return block;
}

namespace {

/// Copies up to `capacity - 1` bytes of `text` into `field`, which stays zero-terminated.
void CopyCut(char* field, size_t capacity, const std::string& text) {
    size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

} // namespace

t10_tray_record* MakeTrayRecords(const std::vector<Tray>& trays) {
    if (trays.empty())
        return nullptr;
    auto* records =
        static_cast<t10_tray_record*>(tovrane_malloc(trays.size() * sizeof(t10_tray_record)));
    if (!records)
        return nullptr;
    for (size_t i = 0; i < trays.size(); ++i) {
        t10_tray_record& record = records[i];
        CopyCut(record.name, sizeof record.name, ToMacRoman(trays[i].name));
        record.max_capacity = trays[i].maxCapacity;
        record.current_level = trays[i].level;
        // Names follow each other, each with its NUL, and one more NUL must follow the last:
        // a name goes in only when it and that final NUL both fit.
        size_t used = 0;
        for (const std::string& medium : trays[i].media) {
            std::string text = ToMacRoman(medium);
            if (text.empty() || used + text.size() + 2 > sizeof record.media)
                continue;
            std::memcpy(record.media + used, text.data(), text.size());
            used += text.size() + 1;
            ++record.media_count;
        }
    }
    return records;
}

} // namespace tovrane::client

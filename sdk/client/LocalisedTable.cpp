//===- LocalisedTable.cpp - The strings of one locale, in small blocks ----===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "LocalisedTable.h"

#include <cstring>

namespace tovrane::client {

void LocalisedTable::Clear() {
    blocks_.clear();
    used_ = 0;
    ownBlocks_.clear();
    entries_.clear();
    slots_.clear();
}

LocalisedTable::Span LocalisedTable::Store(std::string_view text) {
    if (text.empty())
        return {};
    char* place;
    if (text.size() > kBlockBytes) {
        ownBlocks_.emplace_back(new char[text.size()]);
        place = ownBlocks_.back().get();
    } else {
        if (blocks_.empty() || text.size() > kBlockBytes - used_) {
            blocks_.emplace_back(new char[kBlockBytes]);
            used_ = 0;
        }
        place = blocks_.back().get() + used_;
        used_ += text.size();
    }
    std::memcpy(place, text.data(), text.size());
    return {place, static_cast<uint32_t>(text.size())};
}

void LocalisedTable::Add(Span context, Span key, Span text) {
    entries_.push_back({context, key, text});
}

namespace {

/// Mixes `bytes` into `hash` eight at a time (a multiply and a rotate per word): keys are
/// hashed on every look-up, and a byte-wise hash cost more than the search it replaced.
uint64_t Mix(uint64_t hash, std::string_view bytes) {
    constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15u;
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        hash = ((hash ^ word) * kMultiplier);
        hash ^= hash >> 29;
    }
    uint64_t tail = 0;
    if (i < bytes.size())
        std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
    hash = (hash ^ tail ^ (static_cast<uint64_t>(bytes.size()) << 56)) * kMultiplier;
    return hash ^ (hash >> 29);
}

/// The hash of a pair: each part's length goes in with it, which keeps ("ab", "c") apart
/// from ("a", "bc").
uint32_t Hash(std::string_view context, std::string_view key) {
    const uint64_t hash = Mix(Mix(0x243F6A8885A308D3u, context), key);
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}

} // namespace

// A hash index rather than a sorted table: a look-up then hashes its pair once and mostly
// compares one entry, where a binary search compared about seven.
void LocalisedTable::Finish() {
    const size_t indexed = entries_.size() < kMaxEntries ? entries_.size() : kMaxEntries;
    size_t slots = 8;
    while (slots < 2 * indexed)
        slots *= 2;
    slots_.assign(slots, 0);
    const size_t mask = slots - 1;
    for (size_t i = 0; i < indexed; ++i) {
        const Entry& entry = entries_[i];
        const std::string_view context = View(entry.context), key = View(entry.key);
        size_t slot = Hash(context, key) & mask;
        // Open addressing; a later entry of the same pair takes its earlier one's slot.
        while (slots_[slot] != 0) {
            const Entry& held = entries_[slots_[slot] - 1];
            if (View(held.context) == context && View(held.key) == key)
                break;
            slot = (slot + 1) & mask;
        }
        slots_[slot] = static_cast<uint16_t>(i + 1);
    }
}

bool LocalisedTable::Find(std::string_view context, std::string_view key,
                          std::string_view& text) const {
    if (slots_.empty())
        return false;
    const size_t mask = slots_.size() - 1;
    for (size_t slot = Hash(context, key) & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
        const Entry& entry = entries_[slots_[slot] - 1];
        if (View(entry.context) == context && View(entry.key) == key) {
            text = View(entry.text);
            return true;
        }
    }
    return false;
}

LocalisedString LocalisedTable::At(size_t index) const {
    const Entry& entry = entries_[index];
    return {std::string(View(entry.context)), std::string(View(entry.key)),
            std::string(View(entry.text))};
}

} // namespace tovrane::client

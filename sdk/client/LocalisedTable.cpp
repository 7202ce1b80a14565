//===- LocalisedTable.cpp - The strings of one locale, in one buffer ------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "LocalisedTable.h"


namespace tovrane::client {

void LocalisedTable::Clear() {
    bytes_.clear();
    entries_.clear();
    slots_.clear();
}

void LocalisedTable::Reserve(size_t bytes) { bytes_.reserve(bytes); }

LocalisedTable::Span LocalisedTable::Store(std::string_view text) {
    Span span{static_cast<uint32_t>(bytes_.size()), static_cast<uint32_t>(text.size())};
    bytes_.append(text.data(), text.size());
    return span;
}

void LocalisedTable::Add(Span context, Span key, Span text) {
    entries_.push_back({context, key, text});
}

namespace {

/// FNV-1a over the context's length and bytes and then the key's: the length keeps
/// ("ab", "c") apart from ("a", "bc").
uint32_t Hash(std::string_view context, std::string_view key) {
    uint32_t hash = 2166136261u;
    auto mix = [&hash](unsigned char byte) { hash = (hash ^ byte) * 16777619u; };
    for (size_t n = context.size(); n != 0; n >>= 8)
        mix(static_cast<unsigned char>(n));
    mix(0xFF); // no UTF-8 byte: ends the length
    for (char c : context)
        mix(static_cast<unsigned char>(c));
    for (char c : key)
        mix(static_cast<unsigned char>(c));
    return hash;
}

} // namespace

// A hash index rather than a sorted table: a look-up then hashes its pair once and mostly
// compares one entry, where a binary search compared about seven.
void LocalisedTable::Finish() {
    size_t slots = 8;
    while (slots < 2 * entries_.size())
        slots *= 2;
    slots_.assign(slots, 0);
    const size_t mask = slots - 1;
    for (size_t i = 0; i < entries_.size(); ++i) {
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
        slots_[slot] = static_cast<uint32_t>(i + 1);
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

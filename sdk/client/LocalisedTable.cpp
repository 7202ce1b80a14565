//===- LocalisedTable.cpp - The strings of one locale, in one buffer ------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "LocalisedTable.h"

#include <algorithm>

namespace tovrane::client {

void LocalisedTable::Clear() {
    bytes_.clear();
    entries_.clear();
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

bool LocalisedTable::Less(const Entry& a, const Entry& b) const {
    const int order = View(a.context).compare(View(b.context));
    return order != 0 ? order < 0 : View(a.key) < View(b.key);
}

void LocalisedTable::Finish() {
    // A server usually sends its table in order already, each pair once: then there is
    // nothing to sort or merge.
    const auto outOfOrder = std::adjacent_find(
        entries_.begin(), entries_.end(),
        [this](const Entry& a, const Entry& b) { return !Less(a, b); });
    if (outOfOrder == entries_.end())
        return;
    // Stable, so that of equal pairs the last added ends last and is the one kept.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [this](const Entry& a, const Entry& b) { return Less(a, b); });
    size_t kept = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (i + 1 < entries_.size() && !Less(entries_[i], entries_[i + 1]))
            continue; // a later entry has the same pair
        entries_[kept++] = entries_[i];
    }
    entries_.resize(kept);
}

bool LocalisedTable::Find(std::string_view context, std::string_view key,
                          std::string_view& text) const {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), context,
                               [&](const Entry& entry, std::string_view) {
                                   const int order = View(entry.context).compare(context);
                                   return order != 0 ? order < 0 : View(entry.key) < key;
                               });
    if (it == entries_.end() || View(it->context) != context || View(it->key) != key)
        return false;
    text = View(it->text);
    return true;
}

LocalisedString LocalisedTable::At(size_t index) const {
    const Entry& entry = entries_[index];
    return {std::string(View(entry.context)), std::string(View(entry.key)),
            std::string(View(entry.text))};
}

} // namespace tovrane::client

//===- LocalisedTable.h - The strings of one locale, in small blocks --------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_LOCALISEDTABLE_H
#define TOVRANE_CLIENT_LOCALISEDTABLE_H

#include "ReplyDecoder.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tovrane::client {

/// The strings of one locale: entries (context, key, text), all UTF-8, whose bytes live in
/// blocks the table owns, so that a table of hundreds of strings costs a few allocations
/// rather than one or more per string. No block is large (texts share blocks of
/// kBlockBytes; only a text longer than that gets one of its own): the table is built on
/// a thread that has just started, where the first large allocation costs the allocator a
/// sweep of every small free block it holds. Texts are stored first (Store), then joined
/// into entries (Add); a stored text no entry uses only takes room. Finish indexes the
/// entries for Find. Views it hands out stay valid until the table is cleared or
/// destroyed (moving it keeps them). Not thread-safe.
class LocalisedTable {
public:
    /// A stored text.
    struct Span {
        const char* data = nullptr;
        uint32_t length = 0;
    };

    /// Empties the table.
    void Clear();
    /// Copies `text` into the table. Callers bound each text (the replies' bounds keep it
    /// far below 4 GiB).
    Span Store(std::string_view text);
    /// Adds the entry of three stored texts (an empty context: none). Callers keep the
    /// entries to at most kMaxEntries (the replies' list bound does); Finish leaves any
    /// beyond that out of the index.
    void Add(Span context, Span key, Span text);
    /// Indexes the entries by (context, key): of entries with the same pair, Find sees the
    /// one added last. Entries added later are not seen until Finish runs again.
    void Finish();
    /// After Finish: the text of (context, key); false when there is none.
    bool Find(std::string_view context, std::string_view key, std::string_view& text) const;

    /// Entries, in the order added (repeated pairs included).
    size_t Size() const { return entries_.size(); }
    /// Entry `index` as separate strings.
    LocalisedString At(size_t index) const;

    static constexpr size_t kMaxEntries = 0xFFFE;

private:
    /// Room in a shared text block: with the allocator's header it stays under 1 KiB.
    static constexpr size_t kBlockBytes = 1000;

    struct Entry {
        Span context, key, text;
    };
    static std::string_view View(Span span) { return {span.data, span.length}; }

    std::vector<std::unique_ptr<char[]>> blocks_;    // shared blocks, the one being filled last
    size_t used_ = 0;                                // bytes used in the last shared block
    std::vector<std::unique_ptr<char[]>> ownBlocks_; // texts longer than a shared block
    std::deque<Entry> entries_;   // a deque: its blocks stay small, as the texts' do
    std::vector<uint16_t> slots_; // Finish's open-addressing index: entry + 1, or 0 (free)
};

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_LOCALISEDTABLE_H

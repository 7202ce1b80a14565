//===- LocalisedTable.h - The strings of one locale, in one buffer ----------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_LOCALISEDTABLE_H
#define TOVRANE_CLIENT_LOCALISEDTABLE_H

#include "ReplyDecoder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tovrane::client {

/// The strings of one locale: entries (context, key, text), all UTF-8, whose bytes live in
/// one buffer the table owns, so that a table of hundreds of strings costs two allocations
/// rather than one or more per string. Texts are stored first (Store), then joined into
/// entries (Add); a stored text no entry uses only takes room. Finish indexes the entries
/// for Find. Views it hands out stay valid until the table is changed. Not thread-safe.
class LocalisedTable {
public:
    /// Where a stored text lies in the buffer.
    struct Span {
        uint32_t offset = 0;
        uint32_t length = 0;
    };

    /// Empties the table (its storage is kept).
    void Clear();
    /// Makes room for `bytes` of texts, so that storing that much moves nothing.
    void Reserve(size_t bytes);
    /// Copies `text` into the buffer. Callers bound the total (the replies' size bound
    /// keeps it far below 4 GiB).
    Span Store(std::string_view text);
    /// Adds the entry of three stored texts (an empty context: none).
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

private:
    struct Entry {
        Span context, key, text;
    };
    std::string_view View(Span span) const { return {bytes_.data() + span.offset, span.length}; }

    std::string bytes_;
    std::vector<Entry> entries_;
    std::vector<uint32_t> slots_; // Finish's open-addressing index: entry + 1, or 0 (free)
};

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_LOCALISEDTABLE_H

//===- PPDXProperties.h - A container of property pages ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXPROPERTIES_H
#define PIGMENTOR_PPDX_PPDXPROPERTIES_H

#include "PointerList.h"

#include <cstdint>

class PPDXProperty;
class Settings;

/// The property pages of a model in the order they were added, with one cursor for First/Next.
///
/// The container never deletes the pages: the PPD model does. Walks show every page, whatever
/// the display options. Find() walks with First/Next and so moves the cursor. One thread at a
/// time. In a Settings archive the n-th page (from 0) sits under id 3001 + n, after its count.
class PPDXProperties {
public:
    PPDXProperties() = default;
    /// Rebuilds every page saved in `settings` and adds it; the pages are the caller's to
    /// delete.
    explicit PPDXProperties(Settings& settings);
    PPDXProperties(const PPDXProperties&) = delete;
    PPDXProperties& operator=(const PPDXProperties&) = delete;
    virtual ~PPDXProperties();

    /// Appends `page` (not owned); null is ignored.
    void Add(PPDXProperty* page);
    /// Writes the count, then every page in order; 0 or the first error. More than 1000 pages
    /// give paramErr: their ids would run into the groups'.
    short Save(Settings& settings);
    /// Moves the cursor to the first page; null when there is none.
    PPDXProperty* First();
    /// Moves the cursor to the next page; null at the end.
    PPDXProperty* Next();
    /// The first page whose keyword equals (`exact`) or contains `keyword`; null when none.
    PPDXProperty* Find(const char* keyword, const bool& exact);
    /// The number of pages.
    uint32_t Count() const { return mList.Size(); }
    /// No pages.
    bool Empty() const { return mList.Empty(); }

    /// Every page in order, for owners that delete them and walks that must not move the cursor.
    const PointerList& List() const { return mList; }

private:
    /// From the cursor on, the first page that is not null (cursor left on it).
    PPDXProperty* SkipNull();

    PointerList mList;
    PointerListItr mCursor;
};

#endif // PIGMENTOR_PPDX_PPDXPROPERTIES_H

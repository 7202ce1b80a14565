//===- PPDXScrollPane.cpp - The scroll pane of a property page ------------===//
#include "PPDXScrollPane.h"

#include "PPDXArchiveItems.h"
#include "PPDXGroups.h"

#include <new>

PPDXScrollPane::PPDXScrollPane() : mRollDowns(new (std::nothrow) PPDXGroups) {}

PPDXScrollPane::PPDXScrollPane(const char* keyword, CFStringRef translation, const bool& visible)
    : PPDXGroup(keyword, translation, visible), mRollDowns(new (std::nothrow) PPDXGroups) {}

PPDXScrollPane::PPDXScrollPane(Settings& settings, const long& id)
    : PPDXGroup(settings, id), mRollDowns(new (std::nothrow) PPDXGroups) {}

// The kind marker replaces the plain group's: a rebuild tells the kinds apart by it.
short PPDXScrollPane::Save(Settings& settings, const long& id) {
    if (short error = PPDXElement::Save(settings, id))
        return error;
    return PPDXArchive::PutMarker(settings, PPDXArchive::kScrollPaneMarker, id);
}

// Only the container goes: the roll-downs in it belong to the model.
PPDXScrollPane::~PPDXScrollPane() {
    delete mRollDowns;
}

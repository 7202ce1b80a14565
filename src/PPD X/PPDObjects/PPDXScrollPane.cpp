//===- PPDXScrollPane.cpp - The scroll pane of a property page ------------===//
#include "PPDXScrollPane.h"

#include "PPDXGroups.h"

#include <new>

PPDXScrollPane::PPDXScrollPane() : mRollDowns(new (std::nothrow) PPDXGroups) {}

PPDXScrollPane::PPDXScrollPane(const char* keyword, CFStringRef translation, const bool& visible)
    : PPDXGroup(keyword, translation, visible), mRollDowns(new (std::nothrow) PPDXGroups) {}

// Only the container goes: the roll-downs in it belong to the model.
PPDXScrollPane::~PPDXScrollPane() {
    delete mRollDowns;
}

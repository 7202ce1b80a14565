//===- PPDXRollDown.cpp - A collapsible section holding controls ----------===//
#include "PPDXRollDown.h"

#include "PPDXArchiveItems.h"
#include "PPDXControls.h"

#include <new>

PPDXRollDown::PPDXRollDown() : mRollDownControls(new (std::nothrow) PPDXControls) {}

PPDXRollDown::PPDXRollDown(const char* keyword, CFStringRef translation, const bool& visible)
    : PPDXGroup(keyword, translation, visible), mRollDownControls(new (std::nothrow) PPDXControls) {
}

PPDXRollDown::PPDXRollDown(Settings& settings, const long& id)
    : PPDXGroup(settings, id), mRollDownControls(new (std::nothrow) PPDXControls) {}

// The kind marker replaces the plain group's: a rebuild tells the kinds apart by it.
short PPDXRollDown::Save(Settings& settings, const long& id) {
    if (short error = PPDXElement::Save(settings, id))
        return error;
    return PPDXArchive::PutMarker(settings, PPDXArchive::kRollDownMarker, id);
}

// Only the container goes: the controls in it belong to the model.
PPDXRollDown::~PPDXRollDown() {
    delete mRollDownControls;
}

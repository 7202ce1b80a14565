//===- PPDXRollDown.cpp - A collapsible section holding controls ----------===//
#include "PPDXRollDown.h"

#include "PPDXControls.h"

#include <new>

PPDXRollDown::PPDXRollDown() : mRollDownControls(new (std::nothrow) PPDXControls) {}

PPDXRollDown::PPDXRollDown(const char* keyword, CFStringRef translation, const bool& visible)
    : PPDXGroup(keyword, translation, visible), mRollDownControls(new (std::nothrow) PPDXControls) {
}

// Only the container goes: the controls in it belong to the model.
PPDXRollDown::~PPDXRollDown() {
    delete mRollDownControls;
}

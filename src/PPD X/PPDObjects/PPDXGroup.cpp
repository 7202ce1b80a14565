//===- PPDXGroup.cpp - A plain group of the model -------------------------===//
#include "PPDXGroup.h"

// A group without a keyword is what an archive restore starts from before it reads one.
PPDXGroup::PPDXGroup() : PPDXElement(nullptr, nullptr, true) {}

PPDXGroup::PPDXGroup(const char* keyword, CFStringRef translation, const bool& visible)
    : PPDXElement(keyword, translation, visible) {}

PPDXGroup::~PPDXGroup() = default;

//===- PPDXGroup.cpp - A plain group of the model -------------------------===//
#include "PPDXGroup.h"

#include "PPDXArchiveItems.h"

// A group without a keyword is what an archive restore starts from before it reads one.
PPDXGroup::PPDXGroup() : PPDXElement(nullptr, nullptr, true) {}

PPDXGroup::PPDXGroup(const char* keyword, CFStringRef translation, const bool& visible)
    : PPDXElement(keyword, translation, visible) {}

PPDXGroup::PPDXGroup(Settings& settings, const long& id) : PPDXElement(settings, id) {}

PPDXGroup::~PPDXGroup() = default;

short PPDXGroup::Save(Settings& settings, const long& id) {
    if (short error = PPDXElement::Save(settings, id))
        return error;
    return PPDXArchive::PutMarker(settings, PPDXArchive::kGroupMarker, id);
}

//===- PPDXProperty.cpp - A property page ---------------------------------===//
#include "PPDXProperty.h"

#include "PPDXArchiveItems.h"

// A page without a keyword is what an archive restore starts from before it reads one.
PPDXProperty::PPDXProperty() : PPDXElement(nullptr, nullptr, true) {}

PPDXProperty::PPDXProperty(const char* keyword, CFStringRef translation, const bool& visible,
                           const bool& showInPrintProp, const bool& showInApp)
    : PPDXElement(keyword, translation, visible), mShowInPrintProp(showInPrintProp),
      mShowInApp(showInApp) {}

PPDXProperty::PPDXProperty(Settings& settings, const long& id) : PPDXElement(settings, id) {
    using namespace PPDXArchive;
    if (GetBool(settings, kShowInPrintPropTag, id, mShowInPrintProp))
        GetBool(settings, kShowInAppTag, id, mShowInApp);
}

short PPDXProperty::Save(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    if (short error = PPDXElement::Save(settings, id))
        return error;
    if (short error = PutBool(settings, kShowInPrintPropTag, id, mShowInPrintProp))
        return error;
    return PutBool(settings, kShowInAppTag, id, mShowInApp);
}

// The scroll pane is the model's; nothing here to release beyond the element.
PPDXProperty::~PPDXProperty() = default;

//===- PPDXProperty.cpp - A property page ---------------------------------===//
#include "PPDXProperty.h"

// A page without a keyword is what an archive restore starts from before it reads one.
PPDXProperty::PPDXProperty() : PPDXElement(nullptr, nullptr, true) {}

PPDXProperty::PPDXProperty(const char* keyword, CFStringRef translation, const bool& visible,
                           const bool& showInPrintProp, const bool& showInApp)
    : PPDXElement(keyword, translation, visible), mShowInPrintProp(showInPrintProp),
      mShowInApp(showInApp) {}

// The scroll pane is the model's; nothing here to release beyond the element.
PPDXProperty::~PPDXProperty() = default;

//===- PPDXGroupFunctions.cpp - Flat functions over groups and pages ------===//
//
// Callers hold opaque pointers and may hand over null at any time, so every function checks
// its object before it forwards.
//
//===----------------------------------------------------------------------===//
#include "PPDXGroupFunctions.h"

#include "PPDXGroups.h"
#include "PPDXProperties.h"
#include "PPDXProperty.h"
#include "PPDXRollDown.h"
#include "PPDXScrollPane.h"

extern "C" {

PPDXGroup* FirstGroup(PPDXGroups* groups) {
    return groups ? groups->First() : nullptr;
}

PPDXGroup* NextGroup(PPDXGroups* groups) {
    return groups ? groups->Next() : nullptr;
}

PPDXGroup* FindGroup(PPDXGroups* groups, const char* keyword, const bool& exact) {
    return groups ? groups->Find(keyword, exact) : nullptr;
}

bool IsGrouPointerListEmpty(PPDXGroups* groups) {
    return groups ? groups->Empty() : true;
}

uint32_t GroupCount(PPDXGroups* groups) {
    return groups ? groups->Count() : 0;
}

PPDXControls* GetRollDownControlList(PPDXRollDown* rollDown) {
    return rollDown ? rollDown->Controls() : nullptr;
}

bool IsRollDown(PPDXElement* element) {
    return dynamic_cast<PPDXRollDown*>(element) != nullptr;
}

PPDXGroups* GetScrollPaneRollDowns(PPDXScrollPane* scrollPane) {
    return scrollPane ? scrollPane->RollDowns() : nullptr;
}

bool IsScrollPane(PPDXElement* element) {
    return dynamic_cast<PPDXScrollPane*>(element) != nullptr;
}

PPDXProperty* FirstProperty(PPDXProperties* properties) {
    return properties ? properties->First() : nullptr;
}

PPDXProperty* NextProperty(PPDXProperties* properties) {
    return properties ? properties->Next() : nullptr;
}

PPDXProperty* FindProperty(PPDXProperties* properties, const char* keyword, const bool& exact) {
    return properties ? properties->Find(keyword, exact) : nullptr;
}

bool IsPropertyListEmpty(PPDXProperties* properties) {
    return properties ? properties->Empty() : true;
}

uint32_t PropertyCount(PPDXProperties* properties) {
    return properties ? properties->Count() : 0;
}

bool ShowPropInPrintProp(PPDXProperty* property) {
    return property ? property->ShowInPrintProp() : false;
}

bool ShowPropInApp(PPDXProperty* property) {
    return property ? property->ShowInApp() : false;
}

PPDXScrollPane* GetPropertyScrollDown(PPDXProperty* property) {
    return property ? property->GetScrollDown() : nullptr;
}

void SetPropertyScrollDown(PPDXProperty* property, PPDXScrollPane* scrollPane) {
    // Unlinking is SetScrollDown's business; the flat form only links.
    if (property && scrollPane)
        property->SetScrollDown(scrollPane);
}

bool IsPropertyPage(PPDXElement* element) {
    return dynamic_cast<PPDXProperty*>(element) != nullptr;
}

} // extern "C"

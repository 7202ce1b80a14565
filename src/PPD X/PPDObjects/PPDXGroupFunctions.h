//===- PPDXGroupFunctions.h - Flat functions over groups and pages -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXGROUPFUNCTIONS_H
#define PIGMENTOR_PPDX_PPDXGROUPFUNCTIONS_H

#include <cstdint>

class PPDXControls;
class PPDXElement;
class PPDXGroup;
class PPDXGroups;
class PPDXProperties;
class PPDXProperty;
class PPDXRollDown;
class PPDXScrollPane;

/// The exported plain functions over groups, roll-downs, scroll panes and property pages, for
/// code that holds only opaque pointers into a model.
///
/// Each forwards to the member of the same meaning. A null first argument does nothing and
/// gives the neutral value: null, 0, false, or true for the emptiness tests. Nothing returned
/// is owned by the caller. The names are C names, unmangled.
extern "C" {

/// PPDXGroups::First, or null.
PPDXGroup* FirstGroup(PPDXGroups* groups);
/// PPDXGroups::Next, or null.
PPDXGroup* NextGroup(PPDXGroups* groups);
/// PPDXGroups::Find, or null.
PPDXGroup* FindGroup(PPDXGroups* groups, const char* keyword, const bool& exact);
/// PPDXGroups::Empty, or true.
bool IsGrouPointerListEmpty(PPDXGroups* groups);
/// PPDXGroups::Count, or 0.
uint32_t GroupCount(PPDXGroups* groups);

/// PPDXRollDown::Controls, or null.
PPDXControls* GetRollDownControlList(PPDXRollDown* rollDown);
/// Whether `element` is a roll-down; false for null.
bool IsRollDown(PPDXElement* element);
/// PPDXScrollPane::RollDowns, or null.
PPDXGroups* GetScrollPaneRollDowns(PPDXScrollPane* scrollPane);
/// Whether `element` is a scroll pane; false for null.
bool IsScrollPane(PPDXElement* element);

/// PPDXProperties::First, or null.
PPDXProperty* FirstProperty(PPDXProperties* properties);
/// PPDXProperties::Next, or null.
PPDXProperty* NextProperty(PPDXProperties* properties);
/// PPDXProperties::Find, or null.
PPDXProperty* FindProperty(PPDXProperties* properties, const char* keyword, const bool& exact);
/// PPDXProperties::Empty, or true.
bool IsPropertyListEmpty(PPDXProperties* properties);
/// PPDXProperties::Count, or 0.
uint32_t PropertyCount(PPDXProperties* properties);
/// PPDXProperty::ShowInPrintProp, or false.
bool ShowPropInPrintProp(PPDXProperty* property);
/// PPDXProperty::ShowInApp, or false.
bool ShowPropInApp(PPDXProperty* property);
/// PPDXProperty::GetScrollDown, or null.
PPDXScrollPane* GetPropertyScrollDown(PPDXProperty* property);
/// PPDXProperty::SetScrollDown when both are given; otherwise nothing.
void SetPropertyScrollDown(PPDXProperty* property, PPDXScrollPane* scrollPane);
/// Whether `element` is a property page; false for null.
bool IsPropertyPage(PPDXElement* element);

} // extern "C"

#endif // PIGMENTOR_PPDX_PPDXGROUPFUNCTIONS_H

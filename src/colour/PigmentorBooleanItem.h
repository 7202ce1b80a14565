//===- PigmentorBooleanItem.h - A colour item over a True/False option -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_PIGMENTORBOOLEANITEM_H
#define PIGMENTOR_COLOUR_PIGMENTORBOOLEANITEM_H

#include "PigmentorItem.h"

class PPDXBooleanControl;

/// A colour item over a boolean control of the model (not owned). The value is 1 when the
/// control is true, else 0. Its two values are counted from 0: the false text (position 0,
/// the first item) and the true text (position 1, the next); a side without a translation
/// shows "False" or "True". Its only keyword is the control's own keyword. Built over a
/// control that is not boolean, the item has no control.
class PigmentorBooleanItem : public PigmentorItem {
public:
    /// Wraps `control` when it is boolean.
    explicit PigmentorBooleanItem(PPDXControl* control);
    ~PigmentorBooleanItem() override;
    using PigmentorItem::getFeatureDisplayName;
    using PigmentorItem::getFeatureKeyword;

    long getValue() override;
    long getDefaultValue() override;
    /// Applies the control's default state.
    void setDefaultValue() override;
    const char* getFeatureDisplayName() override;
    const char* getFeatureKeyword() override;
    /// True for any non-zero value.
    void setValue(unsigned long value) override;
    int getFeaturePostScript(unsigned char* buf, int size) override;
    /// The false text.
    const char* getFirstItem() override;
    /// The true text once after getFirstItem, then null.
    const char* getNextItem() override;
    PPDXControl* getPPDXControl() override;
    /// Copies the control's keyword (and display name) and returns the keyword.
    const char* getFirstKeyword(char* keyword, char* name) override;
    /// Always null.
    const char* getNextKeyword(char* keyword, char* name) override;
    /// 0: the false text, 1: the true text, any other position null.
    const char* getNthItemName(int n) override;
    long itemCount() override;

private:
    bool mKeywordIteration;
    bool mItemIteration;
    PPDXBooleanControl* mControl;
};

#endif // PIGMENTOR_COLOUR_PIGMENTORBOOLEANITEM_H

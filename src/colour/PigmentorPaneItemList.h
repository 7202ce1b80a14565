//===- PigmentorPaneItemList.h - The colour pane's own controls -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_PIGMENTORPANEITEMLIST_H
#define PIGMENTOR_COLOUR_PIGMENTORPANEITEMLIST_H

#include "PigmentorPPDItemList.h"

/// The colour pane's own features: every control of the colour roll-down, hidden ones and
/// orphans included, that is neither an expert feature, nor two-way ("...Bidi"), nor the print
/// mode ("*QVColorMode"): first the popups, then the booleans, each in the roll-down's order.
/// Items keep index -1. Built at construction; valid when it holds at least one item.
class PigmentorPaneItemList : public PigmentorPPDItemList {
public:
    explicit PigmentorPaneItemList(QRVPPD* model);
    ~PigmentorPaneItemList() override;

    /// Replaces the items as described above; true when there is at least one.
    bool initialize() override;
};

#endif // PIGMENTOR_COLOUR_PIGMENTORPANEITEMLIST_H

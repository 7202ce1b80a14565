//===- PDEPlugInState.h - Process-wide state of the plug-in entry -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PDEPLUGINSTATE_H
#define PIGMENTOR_PDE_PDEPLUGINSTATE_H

#include "PDEPaneClass.h"

/// Internal to the plug-in entry: the pane class that the factory was given, which the
/// extension table drives. One per plug-in executable; main thread.
namespace pde {

/// Remembers `paneClass` (static storage; not owned).
void SetPaneClass(const PDEPaneClass* paneClass);
/// The pane class, or null before the factory ran.
const PDEPaneClass* GetPaneClass();

} // namespace pde

#endif // PIGMENTOR_PDE_PDEPLUGINSTATE_H

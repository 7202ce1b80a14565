//===- SharedPPDManager.h - Parsed models shared in the process -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_SHAREDPPDMANAGER_H
#define PIGMENTOR_PDE_SHAREDPPDMANAGER_H

class QRVPPD;

/// A process-wide list of parsed PPD models through which the code modules of one driver
/// share them. The list (a PointerList of QRVPPD*) is registered in the Gestalt registry
/// under the selector 'QVPd', so every module of the process finds the same one; whoever
/// empties it unregisters and frees it. Each entry holds one reference of its model
/// (Retain/Release). A model leaves the list when it is destroyed, whichever holder's release
/// did it (the list watches every model's destruction), so the list never points at a dead
/// model. Not locked: the print dialog's main thread only.

/// The Gestalt selector of the list.
enum : unsigned long { kSharedPPDManagerSelector = 'QVPd' };

/// Appends `model` (retained) to the list, making and registering the list when needed;
/// false (nothing retained) for a null model or when the list cannot be made or registered.
bool InstallSharedPPDManager(QRVPPD* model);
/// Retains every entry of the current layout version and returns the last one, or null when
/// no list is registered. Each call takes one reference of every such entry.
QRVPPD* GetSharedPPDManager();
/// Releases every entry once; entries that this destroys leave the list, and an empty list is
/// unregistered and freed.
void ReleasePPDManager();

#endif // PIGMENTOR_PDE_SHAREDPPDMANAGER_H

//===- PDEIdentity.h - The plug-in's identity and ticket keys ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PDEIDENTITY_H
#define PIGMENTOR_PDE_PDEIDENTITY_H

#include <CoreFoundation/CoreFoundation.h>

/// The plug-in's fixed identity: its bundle identifier (equal to CFBundleIdentifier in the
/// bundle's Info.plist), its creator code 'QRV1', the name of its NIB and the keys it uses in
/// print tickets. Constant strings are immortal and never released; "Create" results are new
/// objects that the caller releases. Any thread.

/// The creator code 'QRV1' of the plug-in.
enum : unsigned long { kPigmentorCreatorID = 'QRV1' };

/// `creator` = 'QRV1'.
void GetCreatorID(unsigned long& creator);
/// The bundle identifier "com.qrv.print.pde.<UUID>.PGse" (a constant; not to be released).
CFStringRef GetBundleID();
/// The open bundle with that identifier (not retained), or null.
CFBundleRef GetBundleRef();
/// A new string "Pigmentor", the name of the plug-in's NIB.
CFStringRef CreateNIBFileName();
/// A new string "QRV.PSData." followed by the bundle identifier.
CFStringRef CreatePostscriptDataFileKey();
/// A new mutable string: the bundle identifier followed by `suffix` when one is given.
CFMutableStringRef CreateClientIdentifier(CFStringRef suffix = nullptr);

#endif // PIGMENTOR_PDE_PDEIDENTITY_H

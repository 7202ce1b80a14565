//===- PDEPaneClass.h - What the plug-in entry needs of a pane ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PDEPANECLASS_H
#define PIGMENTOR_PDE_PDEPANECLASS_H

#include <PrintCore/PMPrintingDialogExtensions.h>

#include <new>

/// The pane class of a plug-in as the plug-in entry (PDEPlugIn.h) drives it: the plug-in's
/// identity and the pane's operations, as plain functions over an opaque pane pointer. The
/// entry owns each pane from `create` to `destroy`; it never calls an operation with a null
/// pane, nor `initialize` on a pane that is not valid. A constant of static storage, one per
/// plug-in; main thread, as the print dialog calls the table.
struct PDEPaneClass {
    CFStringRef (*bundleID)();      ///< the plug-in bundle's identifier (not retained)
    CFStringRef (*createNIBName)(); ///< a new string: the NIB the table's retain opens
    OSType creator;                 ///< reported by prologue
    UInt32 maxH, maxV;              ///< the pane's size in pixels, reported by prologue
    void* (*create)();              ///< a new pane, or null when it cannot be allocated
    void (*destroy)(void* pane);
    bool (*valid)(void* pane);
    CFStringRef (*title)(void* pane); ///< not retained; lives as long as the pane
    OSStatus (*initialize)(void* pane, PMPDEFlags* flags, PMPDERef ref, ControlRef parentUserPane,
                           PMPrintSession session);
    OSStatus (*sync)(void* pane, PMPrintSession session, Boolean reinitializePlugIn);
    OSStatus (*getSummaryText)(void* pane, CFArrayRef* titles, CFArrayRef* values);
    OSStatus (*open)(void* pane);
    OSStatus (*close)(void* pane);
};

/// The pane class of C++ class `Pane`, which provides: static `BundleID()` and
/// `CreateNIBName()`, constants `kCreator`, `kPaneWidth`, `kPaneHeight`, a default
/// constructor, and the members `Valid()`, `Title()`, `Initialize(flags, ref, parent, session)`,
/// `Sync(session, reinitialize)`, `GetSummaryText(titles, values)`, `Open()` and `Close()`.
template <class Pane> const PDEPaneClass& PDEPaneClassOf() {
    static const PDEPaneClass paneClass = {
        &Pane::BundleID,
        &Pane::CreateNIBName,
        Pane::kCreator,
        Pane::kPaneWidth,
        Pane::kPaneHeight,
        []() -> void* { return new (std::nothrow) Pane(); },
        [](void* pane) { delete static_cast<Pane*>(pane); },
        [](void* pane) -> bool { return static_cast<Pane*>(pane)->Valid(); },
        [](void* pane) { return static_cast<Pane*>(pane)->Title(); },
        [](void* pane, PMPDEFlags* flags, PMPDERef ref, ControlRef parent, PMPrintSession session) {
            return static_cast<Pane*>(pane)->Initialize(flags, ref, parent, session);
        },
        [](void* pane, PMPrintSession session, Boolean reinitialize) {
            return static_cast<Pane*>(pane)->Sync(session, reinitialize);
        },
        [](void* pane, CFArrayRef* titles, CFArrayRef* values) {
            return static_cast<Pane*>(pane)->GetSummaryText(titles, values);
        },
        [](void* pane) { return static_cast<Pane*>(pane)->Open(); },
        [](void* pane) { return static_cast<Pane*>(pane)->Close(); },
    };
    return paneClass;
}

#endif // PIGMENTOR_PDE_PDEPANECLASS_H

#pragma once
/// The printing dialog extension interface: the types a pane plug-in implements and the print
/// dialog calls. Declarations only.
///
/// The dialog asks the plug-in's factory for the interface kDialogExtensionIntfIDStr and gets
/// a PlugInIntf, whose table holds the plug-in header (retain, release, API version) followed
/// by the seven calls below, ten entries in all. Every call but the header's takes the
/// context that Prologue made.

#include <PrintCore/PMCore.h>
#include <PrintCore/PMPluginHeader.h>

#ifdef __cplusplus
extern "C" {
#endif

/// The user pane the dialog embeds the extension's controls in (declared again, identically,
/// by the toolbox headers).
typedef struct OpaqueControlRef* ControlRef;

typedef struct OpaquePMPDERef* PMPDERef;
typedef struct OpaquePMPDEContext* PMPDEContext;

/// Feature flags an extension reports from Initialize.
typedef UInt32 PMPDEFlags;
enum {
    kPMPDENoFlags = 0x00000000,
    kPMPDENoSummary = 0x00000001, ///< the extension gives no summary text
};
/// Every flag (a define: the value does not fit C's int enumerators).
#define kPMPDEAllFlags ((PMPDEFlags)0xFFFFFFFFu)

/// CFPlugIn types and interface of printing dialog extensions.
#define kDialogExtensionIntfIDStr CFSTR("A996FD7E-B738-11D3-8519-0050E4603277")
#define kGeneralPageSetupDialogTypeIDStr CFSTR("6E6ED964-B738-11D3-952F-0050E4603277")
#define kGeneralPrintDialogTypeIDStr CFSTR("C1BF838E-B72A-11D3-9644-0050E4603277")
#define kAppPageSetupDialogTypeIDStr CFSTR("B9A0DA98-E57F-11D3-9E83-0050E4603277")
#define kAppPrintDialogTypeIDStr CFSTR("BCB07250-E57F-11D3-8CA6-0050E4603277")
#define kPrinterModuleTypeIDStr CFSTR("BDB091F4-E57F-11D3-B5CC-0050E4603277")

/// The interface versions implemented by this release of the interface.
#define kPDEBuildVersionMajor 1
#define kPDEBuildVersionMinor 0
#define kPDEBaseVersionMajor 1
#define kPDEBaseVersionMinor 0

/// Makes the extension's context; reports creator, user option kind, title and pane size.
typedef OSStatus (*PMPDEPrologueProcPtr)(PMPDEContext* context, OSType* creator,
                                         CFStringRef* userOptionKind, CFStringRef* title,
                                         UInt32* maxH, UInt32* maxV);
/// Builds the pane inside `embedderUserPane` for the session.
typedef OSStatus (*PMPDEInitializeProcPtr)(PMPDEContext context, PMPDEFlags* flags, PMPDERef ref,
                                           ControlRef embedderUserPane,
                                           PMPrintSession printSession);
/// Moves settings between the pane and the session's tickets (true: tickets to pane).
typedef OSStatus (*PMPDESyncProcPtr)(PMPDEContext context, PMPrintSession printSession,
                                     Boolean reinitializePlugIn);
/// Hands out two new arrays of summary titles and values (the caller releases them).
typedef OSStatus (*PMPDEGetSummaryTextProcPtr)(PMPDEContext context, CFArrayRef* titleArray,
                                               CFArrayRef* summaryArray);
/// Shows the pane.
typedef OSStatus (*PMPDEOpenProcPtr)(PMPDEContext context);
/// Hides the pane.
typedef OSStatus (*PMPDECloseProcPtr)(PMPDEContext context);
/// Destroys the context.
typedef OSStatus (*PMPDETerminateProcPtr)(PMPDEContext context, OSStatus status);

/// The extension's table: the plug-in header, then the seven calls in this order.
struct PlugInIntfVTable {
    PMPlugInHeader plugInHeader;
    PMPDEPrologueProcPtr Prologue;
    PMPDEInitializeProcPtr Initialize;
    PMPDESyncProcPtr Sync;
    PMPDEGetSummaryTextProcPtr GetSummaryText;
    PMPDEOpenProcPtr Open;
    PMPDECloseProcPtr Close;
    PMPDETerminateProcPtr Terminate;
};
typedef struct PlugInIntfVTable PlugInIntfVTable;

/// The extension interface object: a pointer to its table, first.
struct PlugInIntf {
    PlugInIntfVTable* vtable;
};
typedef struct PlugInIntf PlugInIntf;

#ifdef __cplusplus
}
#endif

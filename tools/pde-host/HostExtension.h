//===- HostExtension.h - The extension as the print dialog drives it -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDEHOST_HOSTEXTENSION_H
#define PIGMENTOR_PDEHOST_HOSTEXTENSION_H

#include <CoreFoundation/CoreFoundation.h>
#include <PrintCore/PMPrintingDialogExtensions.h>

#include <string>
#include <utility>
#include <vector>

/// A print-dialog extension loaded from its bundle through CFPlugIn and driven through its
/// table in the print dialog's order: factory, query interface, retain, API version, prologue,
/// initialize, then sync, summary, open and close, finally terminate and release. Every table
/// call's status is logged in order. A call that the order does not allow (initialize before
/// prologue, anything after terminate) is not made and answers kPMInvalidPDEContext. Owns the
/// plug-in, the instance and the interface, released by Unload or the destructor. Main thread.
class HostExtension {
public:
    struct Call {
        std::string name;
        OSStatus status;
    };
    struct SummaryLine {
        std::string title, value;
    };

    HostExtension() = default;
    ~HostExtension();
    HostExtension(const HostExtension&) = delete;
    HostExtension& operator=(const HostExtension&) = delete;

    /// Loads the bundle at `path`, calls the factory of the extension type and asks the instance
    /// for the extension interface; false with `error`.
    bool Load(const std::string& path, std::string& error);
    /// retain, API version and prologue; false with `error` when one fails.
    bool Start(std::string& error);
    OSStatus Initialize(ControlRef parentUserPane, PMPrintSession session);
    OSStatus Sync(PMPrintSession session, bool reinitialize);
    /// The summary lines (empty when the call failed or gave none).
    OSStatus Summary(std::vector<SummaryLine>& lines);
    OSStatus Open();
    OSStatus Close();
    /// terminate, release of the interface and of the instance, then the plug-in.
    void Unload();

    const std::vector<Call>& Calls() const { return mCalls; }
    /// The bundle's identifier, the pane's title, size and creator from prologue.
    const std::string& BundleID() const { return mBundleID; }
    const std::string& Title() const { return mTitle; }
    UInt32 Width() const { return mMaxH; }
    UInt32 Height() const { return mMaxV; }
    bool IsOpen() const { return mOpen; }
    /// The bundle (not retained), or null.
    CFBundleRef Bundle() const { return mPlugIn; }

private:
    OSStatus Log(const char* name, OSStatus status);

    CFPlugInRef mPlugIn = nullptr;
    IUnknownVTbl** mInstance = nullptr;
    PlugInIntf* mInterface = nullptr;
    PMPDEContext mContext = nullptr;
    bool mRetained = false, mOpen = false;
    std::vector<Call> mCalls;
    std::string mBundleID, mTitle;
    UInt32 mMaxH = 0, mMaxV = 0;
};

#endif

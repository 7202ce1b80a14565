//===- HostExtension.cpp - The extension as the print dialog drives it ----===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "HostExtension.h"

#include <CoreFoundation/PMCFUtilities.h>
#include <PrintCore/PMErrors.h>

namespace {

std::string Text(CFStringRef s) {
    return s && CFGetTypeID(s) == CFStringGetTypeID() ? PMCFStringCopyUTF8(s) : std::string();
}

std::string LastPlugInError() {
    CFStringRef why = CFPlugInCopyLastError();
    std::string text = Text(why);
    CFRelease(why);
    return text;
}

} // namespace

HostExtension::~HostExtension() {
    Unload();
}

OSStatus HostExtension::Log(const char* name, OSStatus status) {
    mCalls.push_back({name, status});
    return status;
}

bool HostExtension::Load(const std::string& path, std::string& error) {
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
        true);
    mPlugIn = url ? CFPlugInCreate(nullptr, url) : nullptr;
    if (url)
        CFRelease(url);
    if (mPlugIn == nullptr) {
        error = "cannot open the plug-in " + path + ": " + LastPlugInError();
        return false;
    }
    mBundleID = Text(CFBundleGetIdentifier(mPlugIn));
    CFUUIDRef type = CFUUIDCreateFromString(nullptr, kDialogExtensionIntfIDStr);
    CFArrayRef factories = CFPlugInFindFactoriesForPlugInTypeInPlugIn(type, mPlugIn);
    std::string refused = LastPlugInError();
    if (CFArrayGetCount(factories) > 0) {
        auto factory = static_cast<CFUUIDRef>(CFArrayGetValueAtIndex(factories, 0));
        mInstance = static_cast<IUnknownVTbl**>(CFPlugInInstanceCreate(nullptr, factory, type));
        if (mInstance == nullptr)
            error = "the factory made no instance: " + LastPlugInError();
    } else {
        error = "the plug-in " + path + " has no factory of the print-dialog extension type" +
                (refused.empty() ? "" : ": " + refused);
    }
    CFRelease(factories);
    if (mInstance) {
        void* out = nullptr;
        HRESULT result = (*mInstance)->QueryInterface(mInstance, CFUUIDGetUUIDBytes(type), &out);
        Log("queryInterface", result);
        mInterface = static_cast<PlugInIntf*>(out);
        if (result != S_OK || mInterface == nullptr)
            error = "the instance does not offer the print-dialog extension interface";
    }
    CFRelease(type);
    return error.empty();
}

bool HostExtension::Start(std::string& error) {
    if (mInterface == nullptr)
        return false;
    auto* header = reinterpret_cast<PMPlugInHeaderInterface*>(mInterface);
    OSStatus status = Log("retain", mInterface->vtable->plugInHeader.Retain(header));
    mRetained = status == noErr;
    if (status != noErr) {
        error = "retain failed (" + std::to_string(status) + ")";
        return false;
    }
    PMPlugInAPIVersion version = {};
    if (Log("getAPIVersion", mInterface->vtable->plugInHeader.GetAPIVersion(header, &version)) !=
            noErr ||
        version.baseVersionMajor != kPDEBaseVersionMajor) {
        error = "the extension's interface version is not 1.0";
        return false;
    }
    OSType creator = 0;
    CFStringRef kind = nullptr, title = nullptr;
    status = Log("prologue",
                 mInterface->vtable->Prologue(&mContext, &creator, &kind, &title, &mMaxH, &mMaxV));
    mTitle = Text(title);
    if (kind)
        CFRelease(kind);
    // A pane larger than a screen is not one to show.
    if (status == noErr && (mContext == nullptr || mMaxH == 0 || mMaxV == 0 || mMaxH > 4096 ||
                            mMaxV > 4096))
        status = kPMInvalidPDEContext;
    if (status != noErr) {
        mContext = nullptr;
        error = "prologue failed (" + std::to_string(status) + ")";
        return false;
    }
    return true;
}

OSStatus HostExtension::Initialize(ControlRef parentUserPane, PMPrintSession session) {
    if (mContext == nullptr)
        return kPMInvalidPDEContext;
    PMPDEFlags flags = 0;
    // The extension reference names the host to the extension; it is never followed.
    return Log("initialize", mInterface->vtable->Initialize(
                                 mContext, &flags, reinterpret_cast<PMPDERef>(this),
                                 parentUserPane, session));
}

OSStatus HostExtension::Sync(PMPrintSession session, bool reinitialize) {
    if (mContext == nullptr)
        return kPMInvalidPDEContext;
    return Log(reinitialize ? "sync(load)" : "sync(store)",
               mInterface->vtable->Sync(mContext, session, reinitialize));
}

OSStatus HostExtension::Summary(std::vector<SummaryLine>& lines) {
    lines.clear();
    if (mContext == nullptr)
        return kPMInvalidPDEContext;
    CFArrayRef titles = nullptr, values = nullptr;
    OSStatus status = Log("getSummaryText",
                          mInterface->vtable->GetSummaryText(mContext, &titles, &values));
    if (status == noErr && CFGetTypeID(titles) == CFArrayGetTypeID() &&
        CFGetTypeID(values) == CFArrayGetTypeID()) {
        CFIndex count = std::min(CFArrayGetCount(titles), CFArrayGetCount(values));
        for (CFIndex i = 0; i < count; ++i)
            lines.push_back({Text(static_cast<CFStringRef>(CFArrayGetValueAtIndex(titles, i))),
                             Text(static_cast<CFStringRef>(CFArrayGetValueAtIndex(values, i)))});
    }
    if (titles)
        CFRelease(titles);
    if (values)
        CFRelease(values);
    return status;
}

OSStatus HostExtension::Open() {
    if (mContext == nullptr)
        return kPMInvalidPDEContext;
    OSStatus status = Log("open", mInterface->vtable->Open(mContext));
    mOpen = mOpen || status == noErr;
    return status;
}

OSStatus HostExtension::Close() {
    if (mContext == nullptr)
        return kPMInvalidPDEContext;
    OSStatus status = Log("close", mInterface->vtable->Close(mContext));
    mOpen = false;
    return status;
}

void HostExtension::Unload() {
    if (mContext) {
        Log("terminate", mInterface->vtable->Terminate(mContext, noErr));
        mContext = nullptr;
    }
    if (mInterface) {
        auto* header = reinterpret_cast<PMPlugInHeaderInterface*>(mInterface);
        // The retain of Start and the reference that the query handed out.
        if (mRetained)
            Log("release", mInterface->vtable->plugInHeader.Release(&header));
        header = reinterpret_cast<PMPlugInHeaderInterface*>(mInterface);
        mInterface->vtable->plugInHeader.Release(&header);
        mInterface = nullptr;
        mRetained = false;
    }
    if (mInstance) {
        (*mInstance)->Release(mInstance);
        mInstance = nullptr;
    }
    if (mPlugIn) {
        CFRelease(mPlugIn);
        mPlugIn = nullptr;
    }
}

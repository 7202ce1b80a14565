//===- PDEExtensionTable.cpp - The print-dialog extension's table ---------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PDEPlugIn.h"
#include "PDEPlugInState.h"

#include "PDEBundleAccess.h"

#include <cstdlib>

namespace {

const PDEPaneClass* gPaneClass = nullptr;
IBNibRef gPluginNIB = nullptr;

PDEExtensionObject* ObjectOf(PMPlugInHeaderInterface* obj) {
    return reinterpret_cast<PDEExtensionObject*>(obj);
}

OSStatus Retain(PMPlugInHeaderInterface* obj) {
    PDEExtensionObject* object = ObjectOf(obj);
    if (object == nullptr || gPaneClass == nullptr)
        return paramErr;
    ++object->refCount;
    if (gPluginNIB)
        return noErr;
    CFStringRef name = gPaneClass->createNIBName();
    if (name == nullptr)
        return memFullErr;
    OSStatus status =
        CreateNibReferenceWithCFBundle(MyGetBundle(gPaneClass->bundleID()), name, &gPluginNIB);
    CFRelease(name);
    if (status != noErr)
        gPluginNIB = nullptr;
    return status;
}

OSStatus Release(PMPlugInHeaderInterface** objPtr) {
    if (objPtr == nullptr || *objPtr == nullptr)
        return paramErr;
    PDEExtensionObject* object = ObjectOf(*objPtr);
    *objPtr = nullptr;
    if (object->refCount > 0 && --object->refCount > 0)
        return noErr;
    if (gPluginNIB)
        DisposeNibReference(gPluginNIB);
    gPluginNIB = nullptr;
    std::free(object->vtable);
    std::free(object);
    return noErr;
}

OSStatus GetAPIVersion(PMPlugInHeaderInterface* obj, PMPlugInAPIVersion* version) {
    if (obj == nullptr || version == nullptr)
        return paramErr;
    version->buildVersionMajor = kPDEBuildVersionMajor;
    version->buildVersionMinor = kPDEBuildVersionMinor;
    version->baseVersionMajor = kPDEBaseVersionMajor;
    version->baseVersionMinor = kPDEBaseVersionMinor;
    return noErr;
}

OSStatus Prologue(PMPDEContext* context, OSType* creator, CFStringRef* userOptionKind,
                  CFStringRef* title, UInt32* maxH, UInt32* maxV) {
    if (context == nullptr)
        return kPMInvalidPDEContext;
    *context = nullptr;
    if (creator == nullptr || userOptionKind == nullptr || title == nullptr || maxH == nullptr ||
        maxV == nullptr || gPaneClass == nullptr)
        return paramErr;
    void* pane = gPaneClass->create();
    if (pane == nullptr)
        return memFullErr;
    if (!gPaneClass->valid(pane)) {
        gPaneClass->destroy(pane);
        return kPMInvalidPDEContext;
    }
    *context = static_cast<PMPDEContext>(pane);
    *maxH = gPaneClass->maxH;
    *maxV = gPaneClass->maxV;
    *title = gPaneClass->title(pane);
    *userOptionKind = CFStringCreateCopy(nullptr, gPaneClass->bundleID());
    *creator = gPaneClass->creator;
    return noErr;
}

OSStatus Initialize(PMPDEContext context, PMPDEFlags* flags, PMPDERef ref,
                    ControlRef parentUserPane, PMPrintSession session) {
    if (context == nullptr || !gPaneClass->valid(context))
        return kPMInvalidPDEContext;
    if (flags == nullptr)
        return paramErr;
    return gPaneClass->initialize(context, flags, ref, parentUserPane, session);
}

OSStatus Sync(PMPDEContext context, PMPrintSession session, Boolean reinitializePlugIn) {
    return context ? gPaneClass->sync(context, session, reinitializePlugIn)
                   : kPMInvalidPDEContext;
}

OSStatus GetSummaryText(PMPDEContext context, CFArrayRef* titles, CFArrayRef* values) {
    return context ? gPaneClass->getSummaryText(context, titles, values) : kPMInvalidPDEContext;
}

OSStatus Open(PMPDEContext context) {
    return context ? gPaneClass->open(context) : kPMInvalidPDEContext;
}

OSStatus Close(PMPDEContext context) {
    return context ? gPaneClass->close(context) : kPMInvalidPDEContext;
}

OSStatus Terminate(PMPDEContext context, OSStatus) {
    if (context == nullptr)
        return kPMInvalidPDEContext;
    gPaneClass->destroy(context);
    return noErr;
}

} // namespace

namespace pde {

void SetPaneClass(const PDEPaneClass* paneClass) {
    gPaneClass = paneClass;
}

const PDEPaneClass* GetPaneClass() {
    return gPaneClass;
}

} // namespace pde

PDEExtensionObject* PDECreateExtensionObject() {
    if (gPaneClass == nullptr)
        return nullptr;
    auto* table = static_cast<PlugInIntfVTable*>(std::malloc(sizeof(PlugInIntfVTable)));
    auto* object = static_cast<PDEExtensionObject*>(std::malloc(sizeof(PDEExtensionObject)));
    if (table == nullptr || object == nullptr) {
        std::free(table);
        std::free(object);
        return nullptr;
    }
    table->plugInHeader.Retain = Retain;
    table->plugInHeader.Release = Release;
    table->plugInHeader.GetAPIVersion = GetAPIVersion;
    table->Prologue = Prologue;
    table->Initialize = Initialize;
    table->Sync = Sync;
    table->GetSummaryText = GetSummaryText;
    table->Open = Open;
    table->Close = Close;
    table->Terminate = Terminate;
    object->vtable = table;
    object->refCount = 1;
    return object;
}

IBNibRef PDEGetPluginNIB() {
    return gPluginNIB;
}

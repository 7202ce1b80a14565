//===- PDEPlugInFactory.cpp - The factory and the basic interface ---------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PDEPlugIn.h"
#include "PDEPlugInState.h"

#include "PDEBundleAccess.h"

#include <cstdlib>

namespace {

PDEFactoryInstance* InstanceOf(void* thisPointer) {
    return static_cast<PDEFactoryInstance*>(thisPointer);
}

ULONG AddRef(void* thisPointer) {
    PDEFactoryInstance* instance = InstanceOf(thisPointer);
    return instance ? ++instance->refCount : 0;
}

ULONG Release(void* thisPointer) {
    PDEFactoryInstance* instance = InstanceOf(thisPointer);
    if (instance == nullptr || instance->refCount == 0)
        return 0;
    if (--instance->refCount > 0)
        return instance->refCount;
    try {
        CFPlugInRemoveInstanceForFactory(instance->factoryID);
        CFRelease(instance->factoryID);
        instance->factoryID = nullptr;
        std::free(instance);
        instance = nullptr;
        MyFreeBundle();
    } catch (...) {
        std::free(instance);
    }
    return 0;
}

HRESULT QueryInterface(void* thisPointer, REFIID iid, LPVOID* ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    CFUUIDRef asked = CFUUIDCreateFromUUIDBytes(nullptr, iid);
    CFUUIDRef extension = CFUUIDCreateFromString(nullptr, kDialogExtensionIntfIDStr);
    HRESULT result = E_NOINTERFACE;
    if (CFEqual(asked, IUnknownUUID)) {
        AddRef(thisPointer);
        *ppv = thisPointer;
        result = S_OK;
    } else if (CFEqual(asked, extension)) {
        if (PDEExtensionObject* object = PDECreateExtensionObject()) {
            *ppv = object;
            result = S_OK;
        } else {
            result = E_OUTOFMEMORY;
        }
    }
    if (extension)
        CFRelease(extension);
    if (asked)
        CFRelease(asked);
    return result;
}

// The first factory identifier that the bundle's "CFPlugInTypes" lists for `typeID`, or null.
CFUUIDRef CreateFactoryIDForType(CFBundleRef bundle, CFUUIDRef typeID) {
    CFTypeRef types = CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFPlugInTypes"));
    if (CFGetTypeID(types) != CFDictionaryGetTypeID() || CFGetTypeID(typeID) != CFUUIDGetTypeID())
        return nullptr;
    CFStringRef typeText = CFUUIDCreateString(nullptr, typeID);
    CFTypeRef factories = CFDictionaryGetValue(static_cast<CFDictionaryRef>(types), typeText);
    CFRelease(typeText);
    if (CFGetTypeID(factories) != CFArrayGetTypeID() ||
        CFArrayGetCount(static_cast<CFArrayRef>(factories)) < 1)
        return nullptr;
    CFTypeRef first = CFArrayGetValueAtIndex(static_cast<CFArrayRef>(factories), 0);
    if (CFGetTypeID(first) != CFStringGetTypeID())
        return nullptr;
    return CFUUIDCreateFromString(nullptr, static_cast<CFStringRef>(first));
}

} // namespace

void* PDEPlugInFactory(CFAllocatorRef, CFUUIDRef typeID, const PDEPaneClass& paneClass) {
    pde::SetPaneClass(&paneClass);
    CFBundleRef bundle = MyGetBundle(paneClass.bundleID());
    if (bundle == nullptr)
        return nullptr;
    CFUUIDRef factoryID = CreateFactoryIDForType(bundle, typeID);
    if (factoryID == nullptr)
        return nullptr;
    auto* instance = static_cast<PDEFactoryInstance*>(std::malloc(sizeof(PDEFactoryInstance)));
    if (instance == nullptr) {
        CFRelease(factoryID);
        return nullptr;
    }
    instance->interface = &instance->table;
    instance->table._reserved = nullptr;
    instance->table.QueryInterface = QueryInterface;
    instance->table.AddRef = AddRef;
    instance->table.Release = Release;
    instance->factoryID = factoryID;
    instance->refCount = 1;
    CFPlugInAddInstanceForFactory(factoryID);
    return instance;
}

//===- CFPlugInCOM.h - The basic interface of plug-in instances --*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFPLUGINCOM_H
#define PIGMENTOR_CF_CFPLUGINCOM_H

#include <CoreFoundation/CFPlugIn.h>

CF_EXTERN_C_BEGIN

/// The basic interface every plug-in instance answers: its first word points at a table that
/// starts with a reserved word and then QueryInterface, AddRef and Release. Interface
/// identifiers travel as the 16 bytes of their UUID. QueryInterface hands out a new reference
/// (or NULL and E_NOINTERFACE); Release drops one and frees the instance at zero. Declarations
/// only: plug-ins implement them.
typedef SInt32 HRESULT;
typedef UInt32 ULONG;
typedef void* LPVOID;
typedef CFUUIDBytes REFIID;

#define SUCCEEDED(Status) ((HRESULT)(Status) >= 0)
#define FAILED(Status) ((HRESULT)(Status) < 0)

/// Results of QueryInterface and friends (the platform's values).
#define S_OK ((HRESULT)0x00000000L)
#define S_FALSE ((HRESULT)0x00000001L)
#define E_UNEXPECTED ((HRESULT)0x8000FFFFL)
#define E_NOTIMPL ((HRESULT)0x80000001L)
#define E_OUTOFMEMORY ((HRESULT)0x80000002L)
#define E_INVALIDARG ((HRESULT)0x80000003L)
#define E_NOINTERFACE ((HRESULT)0x80000004L)
#define E_POINTER ((HRESULT)0x80000005L)
#define E_HANDLE ((HRESULT)0x80000006L)
#define E_ABORT ((HRESULT)0x80000007L)
#define E_FAIL ((HRESULT)0x80000008L)
#define E_ACCESSDENIED ((HRESULT)0x80000009L)

/// The identifier of the basic interface, 00000000-0000-0000-C000-000000000046 (immortal).
#define IUnknownUUID                                                                               \
    CFUUIDGetConstantUUIDWithBytes(kCFAllocatorSystemDefault, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, \
                                   0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

/// The three calls every interface table starts with, after the reserved word.
#define IUNKNOWN_C_GUTS                                                                            \
    void* _reserved;                                                                               \
    HRESULT (*QueryInterface)(void* thisPointer, REFIID iid, LPVOID* ppv);                         \
    ULONG (*AddRef)(void* thisPointer);                                                            \
    ULONG (*Release)(void* thisPointer)

/// The table of the basic interface.
typedef struct IUnknownVTbl {
    IUNKNOWN_C_GUTS;
} IUnknownVTbl;

CF_EXTERN_C_END

#endif

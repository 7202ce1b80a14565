/* A plug-in executable for the CFPlugIn tests: a factory whose instances answer the basic
 * interface and count themselves, and one that makes nothing. Written in C, as plug-ins are,
 * and linked against nothing: the platform calls come from the host executable. */
#include <CoreFoundation/CFPlugInCOM.h>

#include <stdlib.h>

#define TEST_FACTORY "5B1F7A52-0C11-4E8E-9D3A-6A1F00000001"

typedef struct {
    IUnknownVTbl* vtbl;
    IUnknownVTbl table;
    CFUUIDRef factory;
    ULONG refs;
} Instance;

/* Instances made since this copy of the executable was loaded: 0 again after a reload. */
int TestPlugInInstancesMade = 0;

static ULONG AddRef(void* self) {
    return ++((Instance*)self)->refs;
}

static ULONG Release(void* self) {
    Instance* instance = (Instance*)self;
    ULONG left = --instance->refs;
    if (left == 0) {
        CFPlugInRemoveInstanceForFactory(instance->factory);
        CFRelease(instance->factory);
        free(instance);
    }
    return left;
}

static HRESULT QueryInterface(void* self, REFIID iid, LPVOID* out) {
    CFUUIDRef asked = CFUUIDCreateFromUUIDBytes(NULL, iid);
    int known = CFEqual(asked, IUnknownUUID);
    CFRelease(asked);
    if (!known) {
        *out = NULL;
        return E_NOINTERFACE;
    }
    AddRef(self);
    *out = self;
    return S_OK;
}

void* TestPlugInFactory(CFAllocatorRef allocator, CFUUIDRef type) {
    (void)allocator;
    (void)type;
    Instance* instance = (Instance*)calloc(1, sizeof(Instance));
    if (instance == NULL)
        return NULL;
    instance->vtbl = &instance->table;
    instance->table.QueryInterface = QueryInterface;
    instance->table.AddRef = AddRef;
    instance->table.Release = Release;
    instance->factory = CFUUIDCreateFromString(NULL, CFSTR(TEST_FACTORY));
    instance->refs = 1;
    CFPlugInAddInstanceForFactory(instance->factory);
    ++TestPlugInInstancesMade;
    return instance;
}

void* TestPlugInNullFactory(CFAllocatorRef allocator, CFUUIDRef type) {
    (void)allocator;
    (void)type;
    return NULL;
}

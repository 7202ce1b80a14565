#pragma once
/// Types and constants shared by the print system's calls.
///
/// Sessions and printers are opaque, reference-counted objects (PMRetain/PMRelease); the
/// library keeps a list of the live ones, so that a stale or foreign pointer handed to any
/// call is answered with a status instead of being dereferenced.

#include <CarbonCore/MacTypes.h>
#include <CoreFoundation/CoreFoundation.h>
#include <PrintCore/PMErrors.h>

typedef const void* PMObject;
typedef struct OpaquePMPrintSession* PMPrintSession;
typedef struct OpaquePMPrinter* PMPrinter;

/// The description type of a printer's PPD file (PMPrinterCopyDescriptionURL).
#define kPMPPDDescriptionType CFSTR("PMPPDDescriptionType")

/// Lock flags of ticket items.
enum { kPMUnlocked = false, kPMLocked = true };

/// A rectangle in points, and a resolution in dots per inch.
struct PMRect {
    double top;
    double left;
    double bottom;
    double right;
};
typedef struct PMRect PMRect;
struct PMResolution {
    double hRes;
    double vRes;
};
typedef struct PMResolution PMResolution;

//===- QRVJobTicket.h - The colour pane's job ticket ------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_QRVJOBTICKET_H
#define PIGMENTOR_PDE_QRVJOBTICKET_H

#include "JobTicket.h"

class PPDXControl;
class PrintSettingsTicket;
class QRVPPD;

/// Where the print server's filter puts a PostScript fragment into the job (-9, 81, ...);
/// the numbers are the filter's, the pane only passes them on.
typedef SInt32 PostScriptInjectionSite;

/// The colour pane's output for the print server's filter: PostScript fragments, each tagged
/// with an injection site, collected in order and written by Save as a job-ticket file, an XML
/// property list whose root array alternates site (integer) and fragment (data). The file is a
/// new file "/tmp/Tarvo.temp<UUID>" of mode 0666, created afresh (never an existing name,
/// never through a symbolic link) and left in /tmp for the filter; its path goes into the
/// print settings ticket under this ticket's key.
///
/// The object lives for one call of the pane. It borrows the print settings ticket (which
/// must outlive it) and owns a copy of the key and the injection array. It also keeps the whole
/// PPD model, as a flattened Settings archive, in the print settings ticket and rebuilds it
/// from there (QRVJobTicketPPD.cpp); that archive comes back from outside and is checked. When
/// another extension of the driver left an array under the key in the session's data, the pane's
/// fragments follow a copy of that array's entries; anything else there is ignored. One
/// thread at a time.
class QRVJobTicket : public JobTicket {
public:
    /// Over `ticket` with the PostScript-data key `key`; valid once the array exists (not
    /// without ticket or key).
    QRVJobTicket(PrintSettingsTicket* ticket, CFStringRef key);
    ~QRVJobTicket() override;

    bool Valid() const { return mJobValid; }
    /// Appends (site, the `length` bytes); with no array or zero length adds nothing and
    /// succeeds. False (status -108) when the objects cannot be made.
    bool Add(PostScriptInjectionSite site, unsigned char* bytes, unsigned long length);
    /// The same for characters (no terminator is added).
    bool Add(PostScriptInjectionSite site, char* text, unsigned long length);
    /// Appends `control`'s feature code (measured, then written); false for a null control.
    bool Add(PostScriptInjectionSite site, PPDXControl* control);
    /// Writes the job-ticket file and records its path for `clientID`, when anything was added
    /// since the last Save; see the .cpp for the exact answers.
    bool Save(CFStringRef clientID);
    /// Keeps `model` as a Settings archive in the print settings ticket (a data item under the
    /// key `clientID`, unlocked); true when the item was set. `ppdURL` is not needed to save.
    bool SavePPD(QRVPPD* model, CFStringRef clientID, CFURLRef ppdURL);
    /// A new model (one reference) rebuilt from the archive under `clientID`, with `ppdURL` as
    /// its PPD; null when there is none, it is malformed, the bundle's printer list is missing,
    /// or the model is not valid or its PC file name not accepted.
    QRVPPD* RestorePPD(CFStringRef clientID, CFURLRef ppdURL);
    /// Removes the print settings ticket's item under the key; always true.
    bool Invalidate(CFStringRef clientID);
    /// Sets the copies item "com.apple.print.PrintSettings.PMCopies" (unlocked) to `copies`.
    OSStatus EnforceCopiesLimit(CFStringRef clientID, long copies);

    /// The injection array (not retained), or null.
    CFArrayRef Injections() const { return mInjections; }
    /// The number of fragments added.
    long InjectionCount() const { return mInjectionCount; }
    bool Dirty() const { return mDirty; }
    OSStatus LastStatus() const { return mJobStatus; }
    /// The key (not retained), or null.
    CFStringRef Key() const { return mKey; }

    /// The fixed part of every job-ticket file's path.
    static const char* const kFilePrefix;
    /// Feature code up to this many bytes is written into a buffer on the stack.
    enum { kFixedBufferSize = 1024 };

private:
    /// Makes a new empty injection array; false (status -108) when it cannot be made.
    bool Create();
    bool AddBytes(PostScriptInjectionSite site, const UInt8* bytes, unsigned long length);

    PrintSettingsTicket* mPrintSettings = nullptr;
    CFStringRef mKey = nullptr;
    CFMutableArrayRef mInjections = nullptr;
    long mInjectionCount = 0;
    OSStatus mJobStatus = noErr;
    bool mDirty = true;
    bool mJobValid = false;
};

#endif // PIGMENTOR_PDE_QRVJOBTICKET_H

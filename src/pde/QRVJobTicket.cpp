//===- QRVJobTicket.cpp - The colour pane's job ticket --------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "QRVJobTicket.h"

#include "JobTicketUtilities.h"
#include "PrintSettingsTicket.h"

#include "PPDXControl.h"

#include <climits>
#include <cstdlib>

const char* const QRVJobTicket::kFilePrefix = "/tmp/Tarvo.temp";

namespace {
// The filter reads the file as whoever runs it, so everyone may read (and replace) it.
const unsigned kJobTicketFileMode = 0666;
} // namespace

QRVJobTicket::QRVJobTicket(PrintSettingsTicket* ticket, CFStringRef key)
    : JobTicket(ticket ? ticket->Session() : nullptr), mPrintSettings(ticket) {
    if (ticket == nullptr || key == nullptr)
        return;
    mKey = CFStringCreateCopy(kCFAllocatorDefault, key);
    if (mKey == nullptr) {
        mJobStatus = memFullErr;
        return;
    }
    // An array left under the key by another extension is copied, never shared: its owner
    // may change or release it at any time. A number there cannot be trusted as an address.
    CFTypeRef existing = nullptr;
    if (PMSessionGetDataFromSession(ticket->Session(), mKey, &existing) == noErr && existing &&
        CFGetTypeID(existing) == CFArrayGetTypeID()) {
        mInjections =
            CFArrayCreateMutableCopy(kCFAllocatorDefault, 0, static_cast<CFArrayRef>(existing));
        if (mInjections == nullptr)
            mJobStatus = memFullErr;
    } else {
        Create();
    }
    mJobValid = mInjections != nullptr;
}

QRVJobTicket::~QRVJobTicket() {
    if (mKey)
        CFRelease(mKey);
    if (mInjections)
        CFRelease(mInjections);
}

bool QRVJobTicket::Create() {
    mInjections = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    if (mInjections == nullptr)
        mJobStatus = memFullErr;
    return mInjections != nullptr;
}

bool QRVJobTicket::AddBytes(PostScriptInjectionSite site, const UInt8* bytes,
                            unsigned long length) {
    if (mInjections == nullptr || length == 0)
        return true;
    if (bytes == nullptr || length > static_cast<unsigned long>(LONG_MAX)) {
        mJobStatus = paramErr;
        return false;
    }
    CFNumberRef number = CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &site);
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, bytes, static_cast<CFIndex>(length));
    bool made = number && data;
    if (made) {
        CFArrayAppendValue(mInjections, number);
        CFArrayAppendValue(mInjections, data);
        ++mInjectionCount;
        mDirty = true;
    } else {
        mJobStatus = memFullErr;
    }
    if (number)
        CFRelease(number);
    if (data)
        CFRelease(data);
    return made;
}

bool QRVJobTicket::Add(PostScriptInjectionSite site, unsigned char* bytes, unsigned long length) {
    return AddBytes(site, bytes, length);
}

bool QRVJobTicket::Add(PostScriptInjectionSite site, char* text, unsigned long length) {
    return AddBytes(site, reinterpret_cast<const UInt8*>(text), length);
}

bool QRVJobTicket::Add(PostScriptInjectionSite site, PPDXControl* control) {
    if (control == nullptr)
        return false;
    long length = control->PostScript(nullptr);
    if (length <= 0)
        return AddBytes(site, nullptr, 0);
    // Most feature code is short: only longer code pays for an allocation.
    unsigned char fixed[kFixedBufferSize];
    unsigned char* buffer = fixed;
    if (length > kFixedBufferSize) {
        buffer = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(length)));
        if (buffer == nullptr) {
            mJobStatus = memFullErr;
            return false;
        }
    }
    long written = control->PostScript(buffer);
    if (written > length)
        written = length;
    bool added = AddBytes(site, buffer, written > 0 ? static_cast<unsigned long>(written) : 0);
    if (buffer != fixed)
        std::free(buffer);
    return added;
}

// Answers: false without a print settings ticket; true when nothing changed since the last
// Save; false when changed but no client is named; true, writing nothing, when nothing was
// added (the ticket stays dirty). Otherwise the file is written and true means its path was
// recorded. From the XML step on, the ticket counts as saved even when a step fails: a
// second try would only leave a second file.
bool QRVJobTicket::Save(CFStringRef clientID) {
    if (mPrintSettings == nullptr)
        return false;
    if (!mDirty)
        return true;
    if (clientID == nullptr)
        return false;
    if (mInjectionCount == 0)
        return true;

    bool success = false;
    CFDataRef xml = CFPropertyListCreateXMLData(kCFAllocatorDefault, mInjections);
    if (xml == nullptr) {
        mJobStatus = memFullErr;
    } else {
        char path[kJobTicketPathSize];
        CFStringRef name = CreateRandomFileName(kFilePrefix, path);
        if (name == nullptr) {
            mJobStatus = memFullErr;
        } else {
            mJobStatus = WriteNewFile(path, xml, kJobTicketFileMode);
            if (mJobStatus == noErr)
                success = mPrintSettings->Set(clientID, mKey, name, false) == noErr;
            CFRelease(name);
        }
        CFRelease(xml);
    }
    mDirty = false;
    return success;
}

bool QRVJobTicket::Invalidate(CFStringRef /*clientID*/) {
    if (mPrintSettings && mKey)
        mPrintSettings->Release(mKey);
    return true;
}

OSStatus QRVJobTicket::EnforceCopiesLimit(CFStringRef clientID, long copies) {
    if (mPrintSettings == nullptr)
        return kPMInvalidTicket;
    return mPrintSettings->Set(clientID, kPMCopiesKey, copies, false);
}

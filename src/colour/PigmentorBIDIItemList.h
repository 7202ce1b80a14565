//===- PigmentorBIDIItemList.h - Colour items the print server offers -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_PIGMENTORBIDIITEMLIST_H
#define PIGMENTOR_COLOUR_PIGMENTORBIDIITEMLIST_H

#include "PigmentorPPDItemList.h"

#include <CoreFoundation/CoreFoundation.h>

class Brivelle;
class ColrSession;
class DeviceLinkList;
class PPDXControl;

/// The expert colour features as the print server offers them (two-way communication). Its
/// construction runs the whole fetch on the calling thread: connect to the server, read its
/// features, first device name, encodings and languages, read the device's colour settings,
/// put each server colour keyword into the model as a popup "<keyword>Bidi" (created on the
/// first fetch, reconciled on later ones), then make a PigmentorBIDIItem for every two-way
/// expert popup of the colour roll-down and, when asked, gather the server's device links for
/// every source/output value pair. Each step is reported to the progress handler; a report
/// answered non-zero (1001 once the user cancelled) stops the fetch with that code.
///
/// Ownership: the list owns its copy of the server name, the server connection (`Brivelle`),
/// the control table and the device-link list; model and handler are not owned. The plain PPD
/// controls of the expert keywords are kept in the control table by index (not owned); those
/// of indexes 14 to 16 also become plain items. The model's colour controls are changed by the
/// fetch: no other thread may use the model until construction returns. Server texts are
/// UTF-8 (the application's encoding) and reach controls and items unchanged.
class PigmentorBIDIItemList : public PigmentorPPDItemList {
public:
    /// Entries of the control table: keyword indexes 0 to 18.
    static constexpr int kControlTableSize = 19;
    /// Size of the device-name buffer.
    static constexpr size_t kDeviceNameSize = 256;

    /// Builds nothing without a model or a server name (code 2 or 3); else keeps the name,
    /// connects and runs `initialize()`, whose result is the valid byte.
    PigmentorBIDIItemList(QRVPPD* model, const char* serverName, ProgressHandler* handler,
                          bool deviceLinksEnabled);
    /// Deletes the items, the device links, the control table and the connection.
    ~PigmentorBIDIItemList() override;

    /// `keyword` without a trailing "Bidi", in a buffer of 256 bytes per thread (valid until
    /// the thread's next call); "" for keywords shorter than 5 bytes or too long for it.
    const char* Keyword(const char* keyword) override;
    /// Runs the fetch and builds the items (see the class comment); true when there is at
    /// least one item (else code 6, or the code that stopped the fetch).
    bool initialize() override;
    /// A non-zero code is recorded and reported to the progress handler; 0 changes nothing.
    void setPigmentorErr(unsigned long code) override;

    /// findByKeyword(Keyword(keyword)) is non-null.
    bool itemIsAvailable(const char* keyword);
    /// Keeps a copy of `name` and points the connection at it; 0, 3 without a name, 11 when no
    /// connection could be made, 20 without memory.
    unsigned long setServerName(const char* name);
    /// Points the connection at the stored name: a dotted IPv4 address as given, a host name
    /// resolved to its dotted address (as typed when it does not resolve). 0, 3 or 11.
    unsigned long setBrivelleServerName();
    /// Steps 1 to 4 of the fetch with their progress reports; 0 or the code that ended it.
    unsigned long getBrivelleData();
    /// Reads the colour data again and brings the model's two-way popups up to date, without
    /// progress reports; 0.
    unsigned long refreshBrivelleData();
    /// 6 when the server lists features but not the colour features; else 0.
    unsigned long initPigmentorFeatures();
    /// Keeps the server's first device name: 13 without server information, 12 without
    /// device names; then fetches the server's encodings and languages. 0 on success.
    unsigned long setDeviceName();
    /// Reads the device's colour settings with localised texts: 14 without a colour session,
    /// 24 when the server failed the read; else 0.
    unsigned long getPigmentorData();
    /// Whether the colour roll-down holds a popup that is an expert feature or two-way
    /// (`hasAny`), and one that is two-way (`hasBidi`).
    void verifyPigmentorKeywords(QRVPPD* model, bool& hasAny, bool& hasBidi);
    /// Gathers the device links (RGB source to output profile, type 1; CMYK simulation to
    /// output profile, type 2) into a new device-link list.
    void InitializeDeviceLinks();

    /// The name of the RGB link (type 1) for the current values of `rgb` and `out`, or null.
    CFStringRef RGBDeviceLinkExists(PigmentorItem* rgb, PigmentorItem* out);
    /// The name of the CMYK link (type 2) for `sim` and `out` (both with controls), or null.
    CFStringRef CMYKDeviceLinkExists(PigmentorItem* sim, PigmentorItem* out);
    /// The plain PPD control recorded for keyword index `index`, or null.
    PPDXControl* getIndexPPDControl(int index) const;

    /// The device links (owned by the list), null until gathered.
    DeviceLinkList* getDeviceLinks() const { return mDeviceLinks; }
    bool deviceLinksEnabled() const { return mDeviceLinksEnabled; }
    /// The connection (owned by the list), or null.
    Brivelle* getConnection() const { return mConnection; }
    /// The server name as given, or null.
    const char* getServerName() const { return mServerName; }
    /// The server's first device name ("" until known).
    const char* getDeviceName() const { return mDeviceName; }

private:
    /// Creates the two-way popups (none yet in the roll-down) or reconciles them.
    void updateModel();
    /// Adds a link for every keyword pair of `source` and `destination` that the server links.
    unsigned long gatherDeviceLinks(ColrSession* session, PigmentorItem* source,
                                    PigmentorItem* destination, int type);

    char* mServerName;
    Brivelle* mConnection;
    char mDeviceName[kDeviceNameSize];
    PPDXControl** mControlTable;
    bool mDeviceLinksEnabled;
    DeviceLinkList* mDeviceLinks;
};

#endif // PIGMENTOR_COLOUR_PIGMENTORBIDIITEMLIST_H

//===- ServerDevice.h - One printer device of a print server ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_SERVERDEVICE_H
#define PIGMENTOR_BRIVELLE_SERVERDEVICE_H

#include <cstddef>
#include <vector>

class Attributes;
class Brivelle;
class DeviceColorInfo;
class TrayInfo;

/// One printer device of the print server (its index is the attribute scope): its input trays
/// and colorants, read from the server's attributes, and its two status messages.
///
/// Ownership: owned by the server-information object. The device owns its attribute service
/// (opened synchronously at construction, closed in the destructor) and every `TrayInfo` and
/// `DeviceColorInfo` it holds; pointers handed out live as long as the device. The connection
/// is not owned. Trays are read once (at most 10), colorants once; later updates reread only
/// the levels.
class ServerDevice {
public:
    /// Size of each buffer `GetMessages` copies into.
    static constexpr size_t kMessageSize = 256;
    /// At most this many trays are read.
    static constexpr int kMaxTrays = 10;

    ServerDevice(Brivelle* owner, int index);
    virtual ~ServerDevice();
    ServerDevice(const ServerDevice&) = delete;
    ServerDevice& operator=(const ServerDevice&) = delete;

    /// Reads the trays (names, media, capacities, levels), once.
    void FetchTrayInfo();
    /// Reads the colorants (names, capacities, levels), once.
    void FetchColorInfo();
    /// Reads what has not been read, then rereads every tray and supply level.
    void UpdateDeviceInfo();
    /// FetchColorInfo, then UpdateDeviceInfo.
    void GetAllDeviceInfo();

    /// The device index (attribute scope).
    int GetDeviceIndex() const { return mDeviceIndex; }
    /// Number of trays read.
    int GetTrayCount() const { return static_cast<int>(mTrays.size()); }
    /// Number of colorants read.
    int GetColorCount() const { return static_cast<int>(mDeviceColors.size()); }
    /// Tray `i` (0-based), null outside the range.
    TrayInfo* GetTrayInfo(int i) const;
    /// Colorant `i` (0-based), null outside the range.
    DeviceColorInfo* GetColorInfo(int i) const;
    std::vector<TrayInfo*>::const_iterator TrayInfoBegin() const { return mTrays.begin(); }
    std::vector<TrayInfo*>::const_iterator TrayInfoEnd() const { return mTrays.end(); }
    std::vector<DeviceColorInfo*>::const_iterator ColorInfoBegin() const {
        return mDeviceColors.begin();
    }
    std::vector<DeviceColorInfo*>::const_iterator ColorInfoEnd() const {
        return mDeviceColors.end();
    }
    /// Whether the device counts as loaded (nothing sets it yet: every fetch reads in full).
    bool IsLoaded() const { return mLoaded; }
    /// Whether the trays have been read.
    bool TraysFetched() const { return mTraysFetched; }
    /// Whether the colorants have been read.
    bool ColorsFetched() const { return mColorsFetched; }

    /// Copies the device's two messages ("" for a missing one, cut to kMessageSize - 1 bytes)
    /// into `first` and `second` (kMessageSize bytes each); 0, or the SDK's status.
    long GetMessages(char* first, char* second);
    /// Diagnostic: dumps the device's attributes to the debug console.
    void CheckAllScopes();
    /// After the connection was made anew: the attribute session moves to it, so that the
    /// device reads from the live connection (what was read stays).
    void Rebind();

private:
    int mDeviceIndex;
    std::vector<TrayInfo*> mTrays;
    std::vector<DeviceColorInfo*> mDeviceColors;
    Attributes* mAttributes;
    Brivelle* mOwner;
    bool mLoaded;
    bool mTraysFetched;
    bool mColorsFetched;
};

#endif // PIGMENTOR_BRIVELLE_SERVERDEVICE_H

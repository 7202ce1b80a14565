//===- ServerInfo.h - The print server's devices and jobs ------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_SERVERINFO_H
#define PIGMENTOR_BRIVELLE_SERVERINFO_H

#include "SessionBasedClass.h"

#include <vector>

class JobManagement;
class ServerDevice;

/// The server-information service: how many printer devices the server has, their display
/// ("pretty") names, each device's trays and colorants, and the server's job count. It needs
/// no SDK session of its own and counts as open from construction.
///
/// Ownership: owned by the connection, which creates it on first request. It owns one
/// `ServerDevice` per device index (made when the count is first read), the job-management
/// object (made on first use) and the SDK's name array (released with `tovrane_free`).
/// Pointers handed out live as long as this object. Device names are UTF-8 as the server gives
/// them. A name fetch writes into this object when its ticket completes: keep the object alive
/// until then, or delete the ticket first.
class ServerInfo : public SessionBasedClass {
public:
    /// At most this many devices are made, whatever count the server reports.
    static constexpr int kMaxDevices = 256;

    /// Counts as open; reads the device count.
    explicit ServerInfo(Brivelle* owner);
    /// Deletes the devices and the job-management object; releases the names.
    ~ServerInfo() override;

    /// Marks the session open; 0.
    long OpenSession() override;
    /// A new ticket; no request is made.
    AsyncTicket* OpenSessionAsync() override;
    /// Nothing to close; 0.
    long CloseSession() override;
    /// A pending open completes: the session counts as open.
    void AsyncCompletion(AsyncTicket* ticket) override;

    /// The device count, read (and the devices made) while it is still unknown; -1 when the
    /// server could not tell.
    int GetNumberOfDevices();
    /// Starts fetching the device names on a new ticket (the caller deletes it; null when none
    /// could be made); the call's status becomes the last error.
    AsyncTicket* GetPrettyNamesAsync();
    /// Fetches the device names and waits; true when the fetch succeeded.
    bool GetPrettyNames();
    /// Number of names fetched, -1 before a fetch.
    int CountPrettyNames() const { return mNameCount; }
    /// Name `i` (0-based; not to be freed), null outside the range.
    const char* GetPrettyNameIndex(int i) const;
    /// Device `i` with its information refreshed; null outside 0..count-1.
    ServerDevice* FetchDeviceInfo(int i);
    /// The server's job count, opening the job-management session on first use.
    int GetNumberOfJobs();
    /// Diagnostic: a temporary device 0 reads all its information and is deleted.
    void CheckDeviceScopes();
    /// After the connection was made anew: every device and the job service move their
    /// sessions to it.
    void Rebind();

private:
    /// Releases the fetched names.
    void ReleaseNames();

    int mDeviceCount;
    std::vector<ServerDevice*> mDevices;
    JobManagement* mJobManagement;
    char** mNames;
    int32_t mNameCount;
};

#endif // PIGMENTOR_BRIVELLE_SERVERINFO_H

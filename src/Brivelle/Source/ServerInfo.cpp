//===- ServerInfo.cpp - The print server's devices and jobs ---------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ServerInfo.h"

#include "AsyncTicket.h"
#include "JobManagement.h"
#include "ServerDevice.h"

#include <new>

ServerInfo::ServerInfo(Brivelle* owner)
    : SessionBasedClass(owner), mDeviceCount(-1), mJobManagement(nullptr), mNames(nullptr),
      mNameCount(-1) {
    mOpen = true;
    GetNumberOfDevices();
}

ServerInfo::~ServerInfo() {
    for (ServerDevice* device : mDevices)
        delete device;
    delete mJobManagement;
    ReleaseNames();
}

void ServerInfo::ReleaseNames() {
    tovrane_free(mNames);
    mNames = nullptr;
    mNameCount = -1;
}

long ServerInfo::OpenSession() {
    mOpen = true;
    return 0;
}

AsyncTicket* ServerInfo::OpenSessionAsync() {
    return NewTicket();
}

long ServerInfo::CloseSession() {
    return 0;
}

void ServerInfo::AsyncCompletion(AsyncTicket*) {
    if (mState == kStateOpenPending)
        mOpen = true;
    mState = kStateIdle;
}

int ServerInfo::GetNumberOfDevices() {
    // One attempt per call: a server that cannot tell leaves the count unknown for a retry.
    if (mDeviceCount != -1)
        return mDeviceCount;
    int32_t count = 0;
    if (DEV_getNumDevices(Handle(), &count, nullptr) != 0 || count < 0)
        return mDeviceCount;
    // Our choice: each device opens a session of its own, so a wild count is capped.
    if (count > kMaxDevices)
        count = kMaxDevices;
    for (int i = 0; i < count; ++i) {
        ServerDevice* device = new (std::nothrow) ServerDevice(mOwner, i);
        if (!device)
            break;
        mDevices.push_back(device);
    }
    mDeviceCount = static_cast<int>(mDevices.size());
    return mDeviceCount;
}

AsyncTicket* ServerInfo::GetPrettyNamesAsync() {
    AsyncTicket* ticket = NewTicket();
    if (ticket && mOpen) {
        // The SDK writes the new array when the ticket completes; the old one goes first.
        ReleaseNames();
        mLastError =
            DEV_getPrettyDeviceNameList(Handle(), &mNames, &mNameCount, ticket->GetTicket());
        ticket->SetRefused(mLastError);
    }
    return ticket;
}

bool ServerInfo::GetPrettyNames() {
    return WaitAndDelete(GetPrettyNamesAsync(), -1) == 0;
}

const char* ServerInfo::GetPrettyNameIndex(int i) const {
    if (!mNames || i < 0 || i >= mNameCount)
        return nullptr;
    return mNames[i];
}

ServerDevice* ServerInfo::FetchDeviceInfo(int i) {
    // Our choice: an index outside the devices gives null.
    if (i < 0 || static_cast<size_t>(i) >= mDevices.size())
        return nullptr;
    ServerDevice* device = mDevices[static_cast<size_t>(i)];
    if (device->IsLoaded())
        device->UpdateDeviceInfo();
    else
        device->GetAllDeviceInfo();
    return device;
}

int ServerInfo::GetNumberOfJobs() {
    if (!mJobManagement) {
        mJobManagement = new (std::nothrow) JobManagement(mOwner);
        if (!mJobManagement)
            return 0;
        mJobManagement->OpenSession();
    }
    return mJobManagement->GetJobCount();
}

void ServerInfo::Rebind() {
    for (ServerDevice* device : mDevices)
        if (device)
            device->Rebind();
    if (mJobManagement) {
        mJobManagement->CloseSession();
        mJobManagement->OpenSession();
    }
}

void ServerInfo::CheckDeviceScopes() {
    ServerDevice* device = new (std::nothrow) ServerDevice(mOwner, 0);
    if (!device)
        return;
    device->GetAllDeviceInfo();
    delete device;
}

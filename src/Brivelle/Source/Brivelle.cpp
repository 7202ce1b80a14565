//===- Brivelle.cpp - The connection to a print server --------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "Brivelle.h"

#include "ColrSession.h"
#include "Localization.h"
#include "PigmentorSession.h"
#include "ServerFeatures.h"
#include "ServerInfo.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

/// A malloc copy of `text`, or null for null text or no memory.
char* CopyText(const char* text) {
    return text ? strdup(text) : nullptr;
}

} // namespace

Brivelle::Brivelle()
    : mAddress(nullptr), mServer(nullptr), mConnected(false), mTimeout(0), mFeatures(nullptr),
      mServerInfo(nullptr), mPigmentor(nullptr), mColr(nullptr), mLocalization(nullptr),
      mConnectTicket(), mConnectState(kConnectIdle) {}

Brivelle::Brivelle(const char* address, int timeout) : Brivelle() {
    mAddress = CopyText(address);
    mTimeout = timeout;
}

Brivelle::~Brivelle() {
    if (mConnectState == kConnectPending) {
        // The SDK then never writes the handle into this object.
        NB_cancel(&mConnectTicket);
        mConnectState = kConnectIdle;
    }
    delete mPigmentor;
    delete mColr;
    delete mLocalization;
    delete mServerInfo;
    delete mFeatures;
    if (mAddress) {
        if (mServer && mServer->connected)
            INIT_disconnectFromServer(mServer, nullptr);
        std::free(mAddress);
    }
    tovrane_unload();
}

void Brivelle::SetTargetServer(const char* address) {
    std::free(mAddress);
    mAddress = CopyText(address);
}

long Brivelle::SetServerTimeout(int seconds) {
    mTimeout = seconds;
    if (!mConnected)
        return 0;
    return INIT_setTimeout(mServer, seconds, nullptr);
}

void Brivelle::ApplyTimeout() {
    if (mTimeout > 0)
        SetServerTimeout(mTimeout);
}

void Brivelle::RebindServices() {
    // Our choice: objects handed out before a reconnect keep working over the new
    // connection rather than reading nothing from the closed one.
    if (mServerInfo)
        mServerInfo->Rebind();
    if (mLocalization)
        mLocalization->Rebind();
    if (mPigmentor && mPigmentor->IsOpen())
        mPigmentor->CloseSession();
    if (mColr && mColr->IsOpen())
        mColr->CloseSession();
}

void Brivelle::DropConnection() {
    // Our choice: a new connect replaces the object's one connection, so a live connection of an
    // earlier connect (to this or an earlier target) is closed first rather than left running with
    // no one to close it, and a pending ticketed connect is abandoned so that it cannot write its
    // handle over the new one.
    if (mConnectState == kConnectPending) {
        NB_cancel(&mConnectTicket);
        mConnectState = kConnectIdle;
    }
    if (mServer && mServer->connected)
        INIT_disconnectFromServer(mServer, nullptr);
    mServer = nullptr;
}

bool Brivelle::ConnectToServer(bool ticketed, bool) {
    DropConnection();
    if (!ticketed) {
        t10_status status = INIT_connect(mAddress, nullptr, nullptr, nullptr, nullptr, nullptr, -1,
                                         -1, 5, 1, 0, &mServer, nullptr);
        if (status == 0) {
            mConnected = true;
            ApplyTimeout();
            INIT_handleIsValid(mServer, nullptr);
            RebindServices();
        }
        return mConnected;
    }
    t10_status status = INIT_connect(mAddress, nullptr, nullptr, nullptr, nullptr, "trpc", -1, -1,
                                     10, 1, 1, &mServer, &mConnectTicket);
    if (status == 0) {
        mConnectState = kConnectPending;
        return true;
    }
    return mConnected;
}

bool Brivelle::IsDone(float* percent) {
    if (mConnectState == kConnectIdle)
        return true;
    if (mConnectState != kConnectPending)
        return false;
    float done = 0.0f;
    int32_t reserved = 0;
    t10_status result = 0;
    NB_checkTicket(&mConnectTicket, &done, &reserved, &result);
    if (percent)
        *percent = done;
    if (done < 100.0f)
        return false;
    // The connect's own status is not examined: a refused connect leaves a null handle, on
    // which every later request fails with its own status.
    mConnectState = kConnectIdle;
    mConnected = true;
    ApplyTimeout();
    if (mServer)
        RebindServices();
    return true;
}

ServerFeatures* Brivelle::GetFeaturesObject() {
    if (mConnected && !mFeatures)
        mFeatures = new (std::nothrow) ServerFeatures(this);
    return mFeatures;
}

ServerInfo* Brivelle::GetServerInfoObject() {
    if (mConnected && !mServerInfo)
        mServerInfo = new (std::nothrow) ServerInfo(this);
    return mServerInfo;
}

Localization* Brivelle::GetLocalizationObject() {
    if (mConnected && !mLocalization)
        mLocalization = new (std::nothrow) Localization(this);
    return mLocalization;
}

PigmentorSession* Brivelle::GetPigmentorObject(const char* deviceName) {
    if (mConnected && !mPigmentor)
        mPigmentor = new (std::nothrow) PigmentorSession(this, deviceName);
    return mPigmentor;
}

ColrSession* Brivelle::GetColrObject(const char* deviceName) {
    if (mConnected && !mColr)
        mColr = new (std::nothrow) ColrSession(this, deviceName);
    return mColr;
}

CFArrayRef Brivelle::GetLanguages() {
    Localization* localization = GetLocalizationObject();
    if (!localization)
        return nullptr;
    localization->FetchValidLocaleList();
    return localization->GetLocaleList();
}

CFArrayRef Brivelle::GetEncodings() {
    Localization* localization = GetLocalizationObject();
    if (!localization)
        return nullptr;
    localization->FetchEncodingList();
    return localization->GetEncodingList();
}

bool Brivelle::SetLanguage(const char* locale) {
    Localization* localization = GetLocalizationObject();
    return localization && localization->SetLocaleAndEncoding(locale, nullptr) == 0;
}

bool Brivelle::SetEncoding(const char* encoding) {
    Localization* localization = GetLocalizationObject();
    return localization && localization->SetLocaleAndEncoding(nullptr, encoding) == 0;
}

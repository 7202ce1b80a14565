//===- ServerDevice.cpp - One printer device of a print server ------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ServerDevice.h"

#include "Attributes.h"
#include "Brivelle.h"
#include "BrivelleText.h"
#include "DeviceColorInfo.h"
#include "TrayInfo.h"

#include <cstdio>
#include <new>

namespace {

/// Our choice: the server's colorant count is untrusted and every colorant costs three requests, so
/// no more than this many are read.
constexpr int kMaxColorants = 64;

/// `format` with the 1-based `number`, in a 256-byte attribute-name buffer.
struct AttributeName {
    AttributeName(const char* format, int number) {
        std::snprintf(text, sizeof text, format, number);
    }
    char text[kBrivelleTextBufferSize];
};

/// The first media name of a tray record, or null when the record has none.
CFStringRef CreateRecordMediaName(const t10_tray_record& record) {
    // Our choice: an empty first name tells nothing about the tray, so it counts as missing.
    if (record.media_count < 1 || record.media[0] == '\0')
        return nullptr;
    return CreateServerString(record.media, sizeof record.media);
}

/// `text` unless it is null or empty (then released), else null.
CFStringRef NonEmpty(CFStringRef text) {
    if (text && CFStringGetLength(text) == 0) {
        CFRelease(text);
        return nullptr;
    }
    return text;
}

} // namespace

ServerDevice::ServerDevice(Brivelle* owner, int index)
    : mDeviceIndex(index), mAttributes(new (std::nothrow) Attributes(owner)), mOwner(owner),
      mLoaded(false), mTraysFetched(false), mColorsFetched(false) {
    if (mAttributes)
        mAttributes->OpenSession();
}

ServerDevice::~ServerDevice() {
    if (mAttributes) {
        mAttributes->CloseSession();
        delete mAttributes;
    }
    for (TrayInfo* tray : mTrays)
        delete tray;
    for (DeviceColorInfo* color : mDeviceColors)
        delete color;
}

void ServerDevice::FetchTrayInfo() {
    if (mTraysFetched || !mAttributes)
        return;
    int count = mAttributes->GetTrayCount(mDeviceIndex);
    if (count > kMaxTrays)
        count = kMaxTrays;

    t10_tray_record* records = nullptr;
    int32_t recordCount = 0;
    tovrane_server* handle = mOwner ? mOwner->GetServerHandle() : nullptr;
    if (DEV_getTrayInfo(handle, mDeviceIndex, &records, &recordCount, nullptr) != 0 || !records)
        recordCount = 0;

    for (int i = 1; i <= count; ++i) {
        CFStringRef name = NonEmpty(mAttributes->GetAttributeSingleAsCFString(
            AttributeName("vidInput%dName", i).text, mDeviceIndex, true));
        int capacity = mAttributes->GetAttributeSingleAsInt(
            AttributeName("vidInput%dMaxCapacity", i).text, mDeviceIndex);
        int level = mAttributes->GetAttributeSingleAsInt(
            AttributeName("vidInput%dCurrentLevel", i).text, mDeviceIndex);
        CFStringRef media = NonEmpty(mAttributes->GetAttributeSingleAsCFString(
            AttributeName("vidInput%dMediaName", i).text, mDeviceIndex, true));
        if (!media)
            media = NonEmpty(mAttributes->GetAttributeSingleAsCFString(
                AttributeName("vidMedia%dName", i).text, mDeviceIndex, true));
        if (!media && i - 1 < recordCount)
            media = NonEmpty(CreateRecordMediaName(records[i - 1]));
        CFStringRef type = NonEmpty(mAttributes->GetAttributeSingleAsCFString(
            AttributeName("vidInput%dMediaType", i).text, mDeviceIndex, true));
        if (!name)
            name = CreateUnknownString();
        if (!media)
            media = CreateUnknownString();
        if (!type)
            type = CreateUnknownString();

        TrayInfo* tray = new (std::nothrow) TrayInfo(name, media, type, capacity);
        CFRelease(name);
        CFRelease(media);
        CFRelease(type);
        if (!tray)
            break;
        tray->SetTrayLevel(level);
        mTrays.push_back(tray);
    }
    tovrane_free(records);
    mTraysFetched = true;
}

void ServerDevice::FetchColorInfo() {
    if (mColorsFetched || !mAttributes)
        return;
    int count =
        mAttributes->GetAttributeSingleAsInt("vidMarkerColorantNumOfColorants", mDeviceIndex);
    if (count > kMaxColorants)
        count = kMaxColorants;
    for (int i = 1; i <= count; ++i) {
        CFStringRef name = mAttributes->GetAttributeSingleAsCFString(
            AttributeName("vidMarkerColorant%dValue", i).text, mDeviceIndex, false);
        int capacity = mAttributes->GetAttributeSingleAsInt(
            AttributeName("vidMarkerSupply%dMaxCapacity", i).text, mDeviceIndex);
        int level = mAttributes->GetAttributeSingleAsInt(
            AttributeName("vidMarkerSupply%dLevel", i).text, mDeviceIndex);
        DeviceColorInfo* color = new (std::nothrow) DeviceColorInfo(name, capacity, level);
        if (name)
            CFRelease(name);
        if (!color)
            break;
        mDeviceColors.push_back(color);
    }
    mColorsFetched = true;
}

void ServerDevice::UpdateDeviceInfo() {
    if (!mTraysFetched)
        FetchTrayInfo();
    if (!mColorsFetched)
        FetchColorInfo();
    if (!mAttributes)
        return;
    for (size_t i = 0; i < mTrays.size(); ++i)
        mTrays[i]->SetTrayLevel(mAttributes->GetAttributeSingleAsInt(
            AttributeName("vidInput%dCurrentLevel", static_cast<int>(i) + 1).text, mDeviceIndex));
    for (size_t i = 0; i < mDeviceColors.size(); ++i)
        mDeviceColors[i]->SetCurrentLevel(mAttributes->GetAttributeSingleAsInt(
            AttributeName("vidMarkerSupply%dLevel", static_cast<int>(i) + 1).text, mDeviceIndex));
}

void ServerDevice::Rebind() {
    if (mAttributes)
        mAttributes->Rebind();
}

void ServerDevice::GetAllDeviceInfo() {
    FetchColorInfo();
    UpdateDeviceInfo();
}

TrayInfo* ServerDevice::GetTrayInfo(int i) const {
    // Our choice: an index outside the trays gives null.
    return i >= 0 && i < GetTrayCount() ? mTrays[static_cast<size_t>(i)] : nullptr;
}

DeviceColorInfo* ServerDevice::GetColorInfo(int i) const {
    return i >= 0 && i < GetColorCount() ? mDeviceColors[static_cast<size_t>(i)] : nullptr;
}

long ServerDevice::GetMessages(char* first, char* second) {
    char* a = nullptr;
    char* b = nullptr;
    tovrane_server* handle = mOwner ? mOwner->GetServerHandle() : nullptr;
    t10_status status = DEV_getMessages(handle, mDeviceIndex, &a, &b, nullptr);
    if (status != 0) {
        tovrane_free(a);
        tovrane_free(b);
        return status;
    }
    // Server texts run up to 4 KB; the callers' buffers are fixed, so the copies are cut.
    CopyBounded(first, kMessageSize, a ? a : "");
    CopyBounded(second, kMessageSize, b ? b : "");
    tovrane_free(a);
    tovrane_free(b);
    return 0;
}

void ServerDevice::CheckAllScopes() {
    if (mAttributes)
        mAttributes->CheckScopes(0);
}

//===- PropertyListFile.cpp - An XML property list file -------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PropertyListFile.h"

#include <CarbonCore/MacErrors.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

PropertyListFile::PropertyListFile(CFURLRef url, bool flag, CFPropertyListMutabilityOptions options)
    : mFlag(flag) {
    // URLs of this platform layer are absolute from the start.
    if (url) {
        CFRetain(url);
        mURL = url;
    }
    Read(options);
}

PropertyListFile::PropertyListFile(CFURLRef folder, CFStringRef name, bool flag,
                                   CFPropertyListMutabilityOptions options)
    : mFlag(flag) {
    if (folder && name)
        mURL = CFURLCreateCopyAppendingPathComponent(kCFAllocatorDefault, folder, name, false);
    Read(options);
}

PropertyListFile::PropertyListFile(const char* path, bool flag,
                                   CFPropertyListMutabilityOptions options)
    : mFlag(flag) {
    const char* home = std::getenv("HOME");
    if (home && *home && path && *path) {
        // The path goes to the file system as the bytes HOME and the caller gave, whatever
        // their encoding; a text conversion could only change which file is meant.
        std::string full = std::string(home) + path;
        if (full.size() < PATH_MAX)
            mURL = CFURLCreateFromFileSystemRepresentation(
                kCFAllocatorDefault, reinterpret_cast<const UInt8*>(full.data()),
                static_cast<CFIndex>(full.size()), false);
    }
    Read(options);
}

PropertyListFile::~PropertyListFile() {
    if (mURL)
        CFRelease(mURL);
    if (mData)
        CFRelease(mData);
    if (mPropertyList)
        CFRelease(mPropertyList);
}

void PropertyListFile::Read(CFPropertyListMutabilityOptions options) {
    mValid = mURL != nullptr;
    if (mValid)
        CreatePropertyListFromFile(mURL, options);
}

bool PropertyListFile::CreatePropertyListFromFile(CFURLRef url,
                                                  CFPropertyListMutabilityOptions options) {
    CFDataRef data = nullptr;
    SInt32 error = 0;
    if (!CFURLCreateDataAndPropertiesFromResource(kCFAllocatorDefault, url, &data, nullptr, nullptr,
                                                  &error)) {
        mLastError = error ? error : kCFURLUnknownError;
        return false;
    }
    CFPropertyListRef root =
        CFPropertyListCreateFromXMLData(kCFAllocatorDefault, data, options, nullptr);
    if (mData)
        CFRelease(mData);
    mData = data;
    if (root == nullptr) {
        mLastError = kCFPropertyListReadCorruptError;
        return false;
    }
    if (mPropertyList)
        CFRelease(mPropertyList);
    mPropertyList = root;
    mLastError = 0;
    return true;
}

CFArrayRef PropertyListFile::GetAsArray() const {
    if (mPropertyList && CFGetTypeID(mPropertyList) == CFArrayGetTypeID())
        return static_cast<CFArrayRef>(mPropertyList);
    return nullptr;
}

bool PropertyListFile::Save(CFArrayRef array) {
    if (mURL == nullptr || array == nullptr)
        return false;
    CFDataRef xml = CFPropertyListCreateXMLData(kCFAllocatorDefault, array);
    if (xml == nullptr) {
        mLastError = memFullErr;
        return false;
    }
    SInt32 error = 0;
    if (!CFURLWriteDataAndPropertiesToResource(mURL, xml, nullptr, &error)) {
        mLastError = error ? error : kCFURLUnknownError;
        CFRelease(xml);
        return false;
    }
    mLastError = 0;
    if (mData)
        CFRelease(mData);
    mData = xml;
    return true;
}

//===- ServerFeatures.cpp - The print server's feature list ---------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ServerFeatures.h"

#include <cstring>

ServerFeatures::ServerFeatures(Brivelle* owner)
    : SessionBasedClass(owner), mFeatureNames(nullptr), mFeatureValues(nullptr), mCount(-1) {}

ServerFeatures::~ServerFeatures() {
    tovrane_free(mFeatureNames);
    tovrane_free(mFeatureValues);
}

long ServerFeatures::OpenSession() {
    return 0;
}

AsyncTicket* ServerFeatures::OpenSessionAsync() {
    return NewTicket();
}

long ServerFeatures::CloseSession() {
    return 0;
}

void ServerFeatures::AsyncCompletion(AsyncTicket*) {
    if (mState == kStateOpenPending)
        mOpen = true;
    mState = kStateIdle;
}

bool ServerFeatures::GetFeaturesList() {
    if (mCount != -1)
        return true;
    char** names = nullptr;
    char** values = nullptr;
    int32_t count = 0;
    mLastError = FEAT_getFeatureList(Handle(), &names, &values, &count, nullptr);
    // The SDK answers a failure with a count of 0; the count stays unknown instead, so that
    // a server whose list cannot be read is not taken for one that offers nothing.
    if (mLastError != 0 || count < 0 || (count > 0 && (!names || !values))) {
        tovrane_free(names);
        tovrane_free(values);
        return false;
    }
    mFeatureNames = names;
    mFeatureValues = values;
    mCount = count;
    return true;
}

int ServerFeatures::GetFeatureCount() {
    if (mCount == -1)
        GetFeaturesList();
    return mCount;
}

void ServerFeatures::GetFeatureNameAndValue(int i, char*& name, char*& value) {
    if (i < 0 || i >= mCount) {
        name = nullptr;
        value = nullptr;
        return;
    }
    name = mFeatureNames[i];
    value = mFeatureValues[i];
}

bool ServerFeatures::SupportsNamedFeature(const char* name) {
    if (!name || GetFeatureCount() < 1)
        return false;
    for (int i = 0; i < mCount; ++i) {
        if (mFeatureNames[i] && std::strcmp(mFeatureNames[i], name) == 0)
            return mFeatureValues[i] && std::strcmp(mFeatureValues[i], "1") == 0;
    }
    return false;
}

bool ServerFeatures::SupportsPigmentor() {
    return SupportsNamedFeature("Pigmentor");
}

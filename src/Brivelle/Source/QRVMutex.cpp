//===- QRVMutex.cpp - A POSIX mutex with its lock state -------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "QRVMutex.h"

#include <cerrno>

QRVMutex::QRVMutex() : mMutex(), mInitialized(false), mLocked(false) {
    mInitialized = pthread_mutex_init(&mMutex, nullptr) == 0;
}

QRVMutex::~QRVMutex() {
    if (mInitialized)
        pthread_mutex_destroy(&mMutex);
}

int QRVMutex::lock() {
    if (!mInitialized)
        return EINVAL;
    int result = pthread_mutex_lock(&mMutex);
    if (result == 0)
        mLocked = true;
    return result;
}

// A successful try-lock is not recorded: callers use it to probe, not to hold.
int QRVMutex::trylock() {
    if (!mInitialized)
        return EINVAL;
    return pthread_mutex_trylock(&mMutex);
}

int QRVMutex::unlock() {
    if (!mInitialized)
        return EINVAL;
    // Cleared first: once released, another thread's lock may set it again at once.
    bool was = mLocked.exchange(false);
    int result = pthread_mutex_unlock(&mMutex);
    if (result != 0)
        mLocked = was;
    return result;
}

bool QRVMutex::islocked() {
    return mLocked;
}

//===- QRVMutex.h - A POSIX mutex with its lock state -----------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_QRVMUTEX_H
#define PIGMENTOR_BRIVELLE_QRVMUTEX_H

#include <pthread.h>

#include <atomic>

/// A POSIX mutex with default attributes, made at construction and destroyed with the object.
/// The callers follow POSIX rules: only the thread that locked it unlocks it, and it is
/// unlocked when destroyed. The locked flag is what the last successful `lock`/`unlock` left;
/// it is atomic so that any thread may read it, but it says nothing about which thread holds
/// the mutex. A mutex that could not be made answers EINVAL to every call.
class QRVMutex {
public:
    QRVMutex();
    QRVMutex(const QRVMutex&) = delete;
    QRVMutex& operator=(const QRVMutex&) = delete;
    /// Destroys the mutex (when it was made).
    virtual ~QRVMutex();

    /// Waits for the mutex; the POSIX result (0: locked, and the flag set).
    virtual int lock();
    /// Takes the mutex when free; the POSIX result (EBUSY when held). The flag is left alone.
    virtual int trylock();
    /// Releases the mutex; the POSIX result (0: released, and the flag cleared).
    virtual int unlock();
    /// The locked flag.
    virtual bool islocked();

    /// True when the mutex was made.
    bool isInitialized() const { return mInitialized; }

private:
    pthread_mutex_t mMutex;
    bool mInitialized;
    std::atomic<bool> mLocked;
};

#endif // PIGMENTOR_BRIVELLE_QRVMUTEX_H

//===- ExpertColorFeaturesThread.cpp - The background colour fetch --------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ExpertColorFeaturesThread.h"

#include "ExpertColorFeatures.h"
#include "PDEDebug.h"
#include "PigmentorProgressHandler.h"

ExpertColorFeaturesThread::ExpertColorFeaturesThread(ExpertColorFeatures* features,
                                                     PigmentorProgressHandler* handler)
    : QRVThread(features, false), mFetching(true), mHandler(handler) {
    // Without a worker nothing will ever end the fetch: it is not fetching.
    if (!isCreated())
        mFetching = false;
    DebugPrintf("ExpertColorFeaturesThread::ExpertColorFeaturesThread called...\n");
}

ExpertColorFeaturesThread::~ExpertColorFeaturesThread() {
    DebugPrintf("ExpertColorFeaturesThread::~ExpertColorFeaturesThread callling cancel... "
                "isRunning = %d\n",
                static_cast<int>(mFetching));
    cancel();
    DebugPrintf("ExpertColorFeaturesThread::~ExpertColorFeaturesThread cancel DONE...\n");
    mHandler = nullptr;
    DebugPrintf("ExpertColorFeaturesThread::~ExpertColorFeaturesThread called...\n");
}

void ExpertColorFeaturesThread::threadProc(void* features) {
    if (mHandler)
        mHandler->setError(0);
    DebugPrintf("ExpertColorFeaturesThread refreshFeatures start...\n");
    if (features)
        static_cast<ExpertColorFeatures*>(features)->refreshFeatures(mHandler);
}

void ExpertColorFeaturesThread::cancelProc() {
    DebugPrintf("ExpertColorFeaturesThread cancelled...mProgHandler = %lx\n",
                reinterpret_cast<unsigned long>(mHandler));
    mFetching = false;
}

void ExpertColorFeaturesThread::threadDone(void* features) {
    if (mHandler) {
        const unsigned long err = mHandler->getError();
        if (err && features)
            static_cast<ExpertColorFeatures*>(features)->setPigmentorErr(err);
        mHandler->done();
        DebugPrintf("ExpertColorFeaturesThread threadDone err = %d...\n", static_cast<int>(err));
    }
    mFetching = false;
}

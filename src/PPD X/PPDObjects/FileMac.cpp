//===- FileMac.cpp - A file named by volume, directory and name -----------===//
#include "FileMac.h"

#include <cstring>

FileMac::FileMac() { std::memset(&mSpec, 0, sizeof mSpec); }

FileMac::FileMac(short volume, long directory, const char* name) {
    std::memset(&mSpec, 0, sizeof mSpec);
    size_t length = name ? std::strlen(name) : 0;
    if (length == 0 || length > 255) {
        Result(length ? bdNamErr : paramErr);
        return;
    }
    Str255 pascalName;
    pascalName[0] = static_cast<unsigned char>(length);
    std::memcpy(pascalName + 1, name, length);
    // A file that does not exist yet still gets its FSSpec (fnfErr), so it can be made.
    OSErr error = FSMakeFSSpec(volume, directory, pascalName, &mSpec);
    Result(error);
    mValid = error == noErr || error == fnfErr;
}

FileMac::FileMac(const FSSpec& fsSpec) : mSpec(fsSpec), mValid(true) {}

FileMac::~FileMac() {
    if (mDataForkOpen)
        closeDataFork();
    if (mResourceForkOpen)
        CloseResourceFork();
}

OSErr FileMac::getFileInfo(FSSpec* fsSpec) {
    if (!fsSpec)
        return Result(paramErr);
    *fsSpec = mSpec;
    return Result(noErr);
}

OSErr FileMac::getFileInfo(short* volume, long* directory, char* name) {
    if (volume)
        *volume = mSpec.vRefNum;
    if (directory)
        *directory = mSpec.parID;
    return name ? getFileName(name) : Result(noErr);
}

FSSpec* FileMac::getFileInfo() { return &mSpec; }

OSErr FileMac::getFileName(char* name) {
    if (!name)
        return Result(paramErr);
    unsigned length = mSpec.name[0] > 63 ? 63 : mSpec.name[0];
    std::memcpy(name, mSpec.name + 1, length);
    name[length] = '\0';
    return Result(noErr);
}

bool FileMac::exists() {
    FSRef ref;
    return FSpMakeFSRef(&mSpec, &ref) == noErr;
}

OSErr FileMac::openDataFork(char permission) {
    if (mDataForkOpen)
        return Result(opWrErr);
    short refNum = -1;
    OSErr error = FSpOpenDF(&mSpec, permission, &refNum);
    if (error == noErr) {
        mDataForkOpen = true;
        mDataForkRefNum = refNum;
    }
    return Result(error);
}

OSErr FileMac::closeDataFork() {
    if (!mDataForkOpen)
        return Result(fnOpnErr);
    OSErr error = FSClose(mDataForkRefNum);
    mDataForkOpen = false;
    mDataForkRefNum = -1;
    return Result(error);
}

OSErr FileMac::createDataFork(unsigned long creator, unsigned long type) {
    return Result(FSpCreate(&mSpec, static_cast<OSType>(creator), static_cast<OSType>(type), smSystemScript));
}

short FileMac::getDataForkRefNum() { return mDataForkOpen ? mDataForkRefNum : -1; }

bool FileMac::dataForkOpen() { return mDataForkOpen; }

OSErr FileMac::dataForkWrite(char* data, unsigned long count) {
    if (!mDataForkOpen)
        return Result(fnOpnErr);
    long written = static_cast<long>(count);
    return Result(FSWrite(mDataForkRefNum, &written, data));
}

OSErr FileMac::dataForkRead(char* data, unsigned long* count) {
    if (!mDataForkOpen)
        return Result(fnOpnErr);
    if (!count)
        return Result(paramErr);
    long read = static_cast<long>(*count);
    OSErr error = FSRead(mDataForkRefNum, &read, data);
    *count = read > 0 ? static_cast<unsigned long>(read) : 0;
    return Result(error);
}

long FileMac::dataForkSize() {
    bool openedHere = false;
    if (!mDataForkOpen) {
        if (openDataFork(fsRdPerm) != noErr)
            return 0;
        openedHere = true;
    }
    long size = 0;
    OSErr error = GetEOF(mDataForkRefNum, &size);
    if (openedHere)
        closeDataFork();
    Result(error);
    return error == noErr ? size : 0;
}

OSErr FileMac::OpenResourceFork(char permission) {
    if (mResourceForkOpen)
        return Result(noErr);
    short refNum = FSpOpenResFile(&mSpec, permission);
    if (refNum == -1)
        return Result(ResError());
    mResourceForkOpen = true;
    mResourceForkRefNum = refNum;
    return Result(noErr);
}

OSErr FileMac::CloseResourceFork() {
    if (!mResourceForkOpen)
        return Result(fnOpnErr);
    CloseResFile(mResourceForkRefNum);
    mResourceForkOpen = false;
    mResourceForkRefNum = -1;
    return Result(ResError());
}

bool FileMac::Use() {
    if (!mResourceForkOpen)
        return false;
    mPreviousResFile = CurResFile();
    UseResFile(mResourceForkRefNum);
    return true;
}

void FileMac::Restore() {
    if (mPreviousResFile != -1)
        UseResFile(mPreviousResFile);
}

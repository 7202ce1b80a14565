//===- FileMac.h - A file named by volume, directory and name ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_FILEMAC_H
#define PIGMENTOR_PPDX_FILEMAC_H

#include <CarbonCore/Files.h>
#include <CarbonCore/Resources.h>
#include <CarbonCore/TextCommon.h>

/// A file named by a volume reference, a directory id and a name of up to 63 bytes (a File
/// Manager FSSpec), with its data fork and resource fork opened on demand.
///
/// The object owns the forks it opens and closes an open data fork when destroyed. Every
/// operation reports the File Manager's result codes (fnOpnErr when a fork is not open); the
/// last one is kept in getError().
class FileMac {
public:
    /// An invalid file with an empty FSSpec.
    FileMac();
    /// The file `name` (a C string of up to 255 bytes, as Linux allows) in `directory` of
    /// `volume`; valid when the name is not empty and the File Manager can carry it.
    FileMac(short volume, long directory, const char* name);
    /// The file of `fsSpec`; always valid (opening tells whether it exists).
    explicit FileMac(const FSSpec& fsSpec);
    FileMac(const FileMac&) = delete;
    FileMac& operator=(const FileMac&) = delete;
    virtual ~FileMac();

    virtual OSErr getFileInfo(FSSpec* fsSpec);
    /// Writes the volume, directory and the name as a C string (room for 64 bytes).
    virtual OSErr getFileInfo(short* volume, long* directory, char* name);
    virtual FSSpec* getFileInfo();
    /// Writes the FSSpec's name as a C string (room for 64 bytes; a longer name is the File
    /// Manager's short form of it).
    virtual OSErr getFileName(char* name);
    virtual bool exists();
    /// Opens the data fork with a File Manager permission (fsRdPerm, fsWrPerm, ...).
    virtual OSErr openDataFork(char permission);
    virtual OSErr closeDataFork();
    /// Creates the file (never over an existing one) with a creator and type.
    virtual OSErr createDataFork(unsigned long creator, unsigned long type);
    /// The data fork's reference number, or -1 when it is not open.
    virtual short getDataForkRefNum();
    virtual bool dataForkOpen();
    virtual OSErr dataForkWrite(char* data, unsigned long count);
    /// Reads up to *count bytes; *count becomes the number read (eofErr at the file's end).
    virtual OSErr dataForkRead(char* data, unsigned long* count);

    bool valid() const { return mValid; }
    OSErr getError() const { return mError; }
    /// Size of the data fork in bytes, or 0 on error.
    long dataForkSize();
    OSErr OpenResourceFork(char permission);
    bool ResourceForkOpen() const { return mResourceForkOpen; }
    OSErr CloseResourceFork();
    short GetResourceForkRefNum() const { return mResourceForkRefNum; }
    /// Makes the resource fork the current resource file, remembering the previous one; false
    /// when the fork is not open.
    bool Use();
    /// Makes the resource file remembered by Use() current again.
    void Restore();

protected:
    OSErr Result(OSErr error) { return mError = error; }

    FSSpec mSpec;
    OSErr mError = noErr;
    bool mValid = false;
    bool mDataForkOpen = false;
    short mDataForkRefNum = -1;
    bool mResourceForkOpen = false;
    short mResourceForkRefNum = -1;
    short mPreviousResFile = -1;
};

#endif // PIGMENTOR_PPDX_FILEMAC_H

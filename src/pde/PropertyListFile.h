//===- PropertyListFile.h - A property list file ----------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PROPERTYLISTFILE_H
#define PIGMENTOR_PDE_PROPERTYLISTFILE_H

#include <CoreFoundation/CoreFoundation.h>

/// One XML property-list file, read whole at construction and written whole by Save.
///
/// The object owns its URL, the bytes last read or written and the parsed root. The file is
/// untrusted: a missing, unreadable or malformed file leaves the root null (the last error
/// says why) and the object still valid as long as its URL could be made. XML and binary
/// property lists are read; Save writes XML.
///
/// Save replaces the file atomically (a temporary file beside it, then a rename). A file that
/// existed but could not be read (or whose content a subclass refused, KeepOldFileOnSave) is
/// never lost: Save first keeps it beside the new one as "NAME.unreadable" (or
/// "NAME.unreadable-N" when that exists) and refuses to write when it cannot. A symbolic link
/// is followed only when the link and the file it leads to both belong to the user; then the
/// target is replaced, atomically as well. Any other link is refused. Paths are file-system
/// bytes. One thread at a time.
class PropertyListFile {
public:
    /// The file at `url`; reads it with `options` (kCFPropertyListImmutable, ...).
    PropertyListFile(CFURLRef url, bool flag, CFPropertyListMutabilityOptions options);
    /// The file `name` in the folder `folder`; not valid (nothing read) without both.
    PropertyListFile(CFURLRef folder, CFStringRef name, bool flag,
                     CFPropertyListMutabilityOptions options);
    /// The file at $HOME followed by `path`; not valid without HOME or path.
    PropertyListFile(const char* path, bool flag, CFPropertyListMutabilityOptions options);
    PropertyListFile(const PropertyListFile&) = delete;
    PropertyListFile& operator=(const PropertyListFile&) = delete;
    virtual ~PropertyListFile();

    /// Reads `url` and parses it; true when both worked (then it is the new root).
    bool CreatePropertyListFromFile(CFURLRef url, CFPropertyListMutabilityOptions options);
    /// Writes the XML form of `array` to the file, replacing it; false on failure.
    bool Save(CFArrayRef array);

    /// True once a URL was made, even when the file could not be read.
    bool Valid() const { return mValid; }
    /// The parsed root (not retained), or null.
    CFPropertyListRef Get() const { return mPropertyList; }
    /// The root when it is an array (not retained), else null.
    CFArrayRef GetAsArray() const;
    /// The file's URL (not retained), or null.
    CFURLRef GetURL() const { return mURL; }
    /// The Core Foundation error of the last read or write (0 after success; -108 when the
    /// XML could not be made).
    SInt32 LastError() const { return mLastError; }
    /// Whether the next Save keeps the file that is there first (see the class comment).
    bool KeepsOldFile() const { return mKeepOldFile; }

protected:
    /// Asks the next Save to keep the file read: for content that was read but is refused.
    void KeepOldFileOnSave() { mKeepOldFile = true; }

private:
    void Read(CFPropertyListMutabilityOptions options);
    /// The URL Save replaces (retained; the caller releases it), or null when it must not
    /// write (LastError set).
    CFURLRef CreateTargetURL();
    /// Keeps the file at `target` under a free "NAME.unreadable" name; false when it cannot.
    bool KeepOldFile(CFURLRef target);

    CFURLRef mURL = nullptr;
    CFDataRef mData = nullptr;
    CFPropertyListRef mPropertyList = nullptr;
    bool mFlag = false;
    bool mValid = false;
    bool mKeepOldFile = false;
    SInt32 mLastError = 0;
};

#endif // PIGMENTOR_PDE_PROPERTYLISTFILE_H

//===- PPDXPersistence.cpp - The model's header in a Settings archive -----===//
//
// The header items of an archive: its version, the PPD's FSSpec and the header
// texts. A model rebuilt from an archive reads no PPD, so the accepted-names check is made on
// the PC file name the archive holds rather than on the file.
//
//===----------------------------------------------------------------------===//
#include "PPDX.h"

#include "BoyerMoore.h"
#include "PPDXArchiveItems.h"
#include "TextConverter.h"

#include <CarbonCore/MacErrors.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

using namespace PPDXArchive;

/// Bytes of the PC file name in which an accepted name must stand.
const size_t kNameWindow = 32;
/// Layout of a saved FSSpec: volume, directory id, length-prefixed name.
const size_t kVolumeOffset = 0;
const size_t kDirectoryOffset = 2;
const size_t kNameOffset = 6;
const unsigned kMaxNameLength = 63;

/// Replaces `slot` with the text saved under (tag, id), or with nothing.
void load(CString*& slot, Settings& settings, unsigned long tag, long id) {
    delete slot;
    slot = GetText(settings, tag, id);
}

/// The file named by a saved FSSpec, or null when it names none that exists. The name
/// comes from outside: its length byte is cut to what the record holds and it ends at a NUL.
PPDFile* fileFromSpec(const unsigned char (&savedSpec)[kFileSpecSize]) {
    int16_t volume = 0;
    int32_t directory = 0;
    std::memcpy(&volume, savedSpec + kVolumeOffset, sizeof volume);
    std::memcpy(&directory, savedSpec + kDirectoryOffset, sizeof directory);
    unsigned length = std::min<unsigned>(savedSpec[kNameOffset], kMaxNameLength);
    char name[kMaxNameLength + 1];
    std::memcpy(name, savedSpec + kNameOffset + 1, length);
    name[length] = '\0';
    if (name[0] == '\0')
        return nullptr;
    PPDFile* file = new (std::nothrow) PPDFile(volume, directory, name);
    if (file && (!file->valid() || !file->exists())) {
        delete file;
        file = nullptr;
    }
    return file;
}

} // namespace

PPDX::PPDX(Settings& settings, CFURLRef ppdURL, CFArrayRef acceptedNames)
    : mErrors(new (std::nothrow) PPDXErrors), mAcceptedNames(acceptedNames) {
    BuildFromSettings(settings, ppdURL);
}

bool PPDX::Save(Settings& settings) {
    if (PutNumber(settings, kHeaderTag, kVersionId, kVersion))
        return false;
    if (mFile) {
        FSSpec fsSpec;
        mFile->getFileInfo(&fsSpec);
        // The record has a fixed layout whatever this machine's FSSpec looks like in memory.
        unsigned char savedSpec[kFileSpecSize] = {};
        int16_t volume = fsSpec.vRefNum;
        int32_t directory = static_cast<int32_t>(fsSpec.parID);
        std::memcpy(savedSpec + kVolumeOffset, &volume, sizeof volume);
        std::memcpy(savedSpec + kDirectoryOffset, &directory, sizeof directory);
        unsigned length = std::min<unsigned>(fsSpec.name[0], kMaxNameLength);
        savedSpec[kNameOffset] = static_cast<unsigned char>(length);
        std::memcpy(savedSpec + kNameOffset + 1, fsSpec.name + 1, length);
        if (settings.Add(kHeaderTag, kFileSpecId, savedSpec, kFileSpecSize))
            return false;
    }
    const struct {
        long id;
        const char* text;
    } texts[] = {
        {kFormatVersionId, FormatVersion()},
        {kFileVersionId, FileVersion()},
        {kPCFileNameId, PCFileName()},
        {kLanguageVersionId, LanguageVersion()},
        {kLanguageEncodingId, LanguageEncoding()},
        {kModelNameId, ModelName()},
    };
    for (const auto& text : texts)
        if (PutText(settings, kHeaderTag, text.id, text.text))
            return false;
    return true;
}

bool PPDX::BuildFromSettings(Settings& settings, CFURLRef ppdURL) {
    // The names are the caller's; they are needed for this one check only.
    CFArrayRef names = mAcceptedNames;
    mAcceptedNames = nullptr;
    if (!HasModel(settings))
        return false;

    if (!mErrors)
        mErrors = new (std::nothrow) PPDXErrors;
    long size = 0;
    if (settings.Get(kHeaderTag, kFileSpecId, nullptr, size, false) == noErr &&
        size == kFileSpecSize) {
        unsigned char savedSpec[kFileSpecSize];
        if (settings.Get(kHeaderTag, kFileSpecId, savedSpec, size, true) == noErr &&
            size == kFileSpecSize) {
            delete mFile;
            // Directory ids belong to the process that saved them: when they name nothing
            // here, the PPD the caller names stands in.
            mFile = fileFromSpec(savedSpec);
            if (!mFile && ppdURL)
                mFile = new (std::nothrow) PPDFile(ppdURL);
        }
    }

    load(mPCFileName, settings, kHeaderTag, kPCFileNameId);
    mValidPrinterName = !names || NameAccepted(names, PCFileName());
    if (!mValidPrinterName)
        return false;
    load(mFormatVersion, settings, kHeaderTag, kFormatVersionId);
    load(mFileVersion, settings, kHeaderTag, kFileVersionId);
    load(mLanguageVersion, settings, kHeaderTag, kLanguageVersionId);
    load(mLanguageEncoding, settings, kHeaderTag, kLanguageEncodingId);
    load(mModelName, settings, kHeaderTag, kModelNameId);
    UpdateTextConverter();
    return true;
}

bool PPDX::NameAccepted(CFArrayRef names, const char* pcFileName) {
    if (!pcFileName)
        return false;
    long window = static_cast<long>(strnlen(pcFileName, kNameWindow));
    CFIndex count = names ? CFArrayGetCount(names) : 0;
    for (CFIndex i = 0; i < count; ++i) {
        CFStringRef name = static_cast<CFStringRef>(CFArrayGetValueAtIndex(names, i));
        char bytes[256];
        if (!name || CFGetTypeID(name) != CFStringGetTypeID() ||
            !CFStringGetCString(name, bytes, sizeof bytes, kCFStringEncodingMacRoman))
            continue;
        BoyerMoore match(bytes, static_cast<short>(std::strlen(bytes)),
                         const_cast<char*>(pcFileName), window);
        if (match.Search() >= 0)
            return true;
    }
    return false;
}

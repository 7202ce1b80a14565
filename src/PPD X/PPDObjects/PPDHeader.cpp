//===- PPDHeader.cpp - A PPD read for its header only ---------------------===//
#include "PPDHeader.h"

#include "PPDFileStream.h"

#include <cstring>
#include <new>

PPDHeader::PPDHeader(CFURLRef url, CFArrayRef acceptedNames) : PPDX(url, acceptedNames) {
    if (IsValidPrinterName())
        Parse();
}

PPDHeader::PPDHeader(const FSSpec& fsSpec, CFArrayRef acceptedNames) : PPDX(fsSpec, acceptedNames) {
    if (IsValidPrinterName())
        Parse();
}

void PPDHeader::Parse() {
    PPDFileStream stream(mFile, true);
    if (stream.Bad()) {
        AddError(new (std::nothrow) PPDXErrorObj(18, true));
        return;
    }
    mStream = &stream;
    char token[PPDStream::kLineBufferSize];
    PPDXErrorObj* signatureError = nullptr;
    if (NextToken(stream, token, kKeywordDelimiters, true))
        signatureError = TestSignature(stream, token);
    char line[PPDStream::kLineBufferSize];
    while (!signatureError && stream.GetLine(line)) {
        PPDStream lineStream(line, static_cast<long>(std::strlen(line)));
        if (NextToken(lineStream, token, kKeywordDelimiters, true) && token[0])
            ParsePSKeywords(lineStream, token);
    }
    mStream = nullptr;
    AddError(signatureError);
}

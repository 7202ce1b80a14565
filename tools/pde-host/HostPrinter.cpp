//===- HostPrinter.cpp - The printer and print session of pde-host ---------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "HostPrinter.h"

#include <CoreFoundation/PMCFUtilities.h>
#include <PrintCore/PMHost.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace {

std::string StatusText(OSStatus status) {
    return "status " + std::to_string(status);
}

} // namespace

std::string PPDModelName(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    size_t read = 0;
    while (read < 65536 && std::getline(in, line)) {
        read += line.size() + 1;
        const char key[] = "*ModelName:";
        if (line.compare(0, sizeof key - 1, key) != 0)
            continue;
        size_t open = line.find('"'), close = line.rfind('"');
        if (open != std::string::npos && close > open + 1)
            return line.substr(open + 1, close - open - 1);
        return "";
    }
    return "";
}

HostPrinter::~HostPrinter() {
    if (mSession)
        PMRelease(mSession);
    if (mPrinter)
        PMRelease(mPrinter);
}

bool HostPrinter::MakeSession(std::string& error) {
    OSStatus status = PMHostCreateSession(mPrinter, &mSession);
    if (status != noErr)
        error = "cannot make a print session (" + StatusText(status) + ")";
    return status == noErr;
}

bool HostPrinter::OpenPPD(const std::string& ppdPath, const std::string& name, std::string& error) {
    struct stat info;
    if (stat(ppdPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "cannot read the PPD " + ppdPath;
        return false;
    }
    std::string display = name.empty() ? PPDModelName(ppdPath) : name;
    if (display.empty())
        display = ppdPath.substr(ppdPath.rfind('/') + 1);
    CFStringRef printerName = PMCFStringCreateWithUTF8(display);
    CFStringRef path = PMCFStringCreateWithUTF8(ppdPath);
    PMHostPrinterDescription description = {printerName, nullptr, path, nullptr, nullptr, true};
    OSStatus status = printerName && path ? PMHostCreatePrinter(&description, &mPrinter)
                                          : OSStatus(paramErr);
    if (printerName)
        CFRelease(printerName);
    if (path)
        CFRelease(path);
    if (status != noErr) {
        error = "cannot make a printer of " + ppdPath + " (" + StatusText(status) + ")";
        return false;
    }
    return MakeSession(error);
}

bool HostPrinter::OpenQueue(const std::string& queue, std::string& error) {
    CFStringRef name = PMCFStringCreateWithUTF8(queue);
    OSStatus status = name ? PMHostCreatePrinterFromQueue(name, &mPrinter) : OSStatus(paramErr);
    if (name)
        CFRelease(name);
    if (status != noErr) {
        error = "cannot read the CUPS queue " + queue + " (" + StatusText(status) + ")";
        return false;
    }
    return MakeSession(error);
}

bool HostPrinter::LoadSettings(const std::string& path, std::string& error) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 && errno == ENOENT)
        return true;
    PMTicketRef ticket = nullptr;
    CFStringRef why = nullptr;
    OSStatus status = PMTicketReadXMLFromFile(nullptr, path.c_str(), &ticket, &why);
    CFStringRef type = nullptr;
    if (status == noErr && (PMTicketGetType(ticket, &type) != noErr ||
                            !CFEqual(type, kPMPrintSettingsTicket)))
        status = kPMXMLParseError;
    if (status == noErr)
        status = PMHostSetSessionTicket(mSession, kPDE_PMPrintSettingsRef, ticket);
    if (status != noErr)
        error = "the settings file " + path + " is not a print settings ticket (" +
                StatusText(status) + (why ? ": " + PMCFStringCopyUTF8(why) : "") +
                "); it is left as it is";
    if (why)
        CFRelease(why);
    if (ticket)
        PMTicketRelease(ticket);
    return status == noErr;
}

bool HostPrinter::SaveSettings(const std::string& path, std::string& error) {
    OSStatus status = PMTicketWriteXMLToFile(Settings(), path.c_str());
    if (status != noErr)
        error = "cannot write the settings file " + path + " (" + StatusText(status) + ")";
    return status == noErr;
}

PMTicketRef HostPrinter::Settings() const {
    PMTicketRef ticket = nullptr;
    return PMSessionGetTicketFromSession(mSession, kPDE_PMPrintSettingsRef, &ticket) == noErr
               ? ticket
               : nullptr;
}

std::string HostPrinter::Name() const {
    return PMCFStringCopyUTF8(PMPrinterGetName(mPrinter));
}

std::string HostPrinter::PPDPath() const {
    CFURLRef url = nullptr;
    if (PMPrinterCopyDescriptionURL(mPrinter, kPMPPDDescriptionType, &url) != noErr || !url)
        return "";
    CFStringRef path = CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle);
    std::string text = path ? PMCFStringCopyUTF8(path) : "";
    if (path)
        CFRelease(path);
    CFRelease(url);
    return text;
}

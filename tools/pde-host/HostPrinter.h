//===- HostPrinter.h - The printer and print session of pde-host -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDEHOST_HOSTPRINTER_H
#define PIGMENTOR_PDEHOST_HOSTPRINTER_H

#include <PrintCore/PMCore.h>

#include <string>

/// The print session pde-host hands the extension: its printer comes from a PPD file or a CUPS
/// queue, its print settings ticket from the user's settings file when there is one. Owns the
/// printer and the session. Main thread.
class HostPrinter {
public:
    HostPrinter() = default;
    ~HostPrinter();
    HostPrinter(const HostPrinter&) = delete;
    HostPrinter& operator=(const HostPrinter&) = delete;

    /// A printer of the PPD at `ppdPath` named `name` (empty: the PPD's *ModelName, else its file
    /// name); false with `error`.
    bool OpenPPD(const std::string& ppdPath, const std::string& name, std::string& error);
    /// The printer of CUPS queue `queue`, its PPD from CUPS; false with `error`.
    bool OpenQueue(const std::string& queue, std::string& error);
    /// Reads the print settings ticket from `path` when the file exists; false with `error` when
    /// it exists but is not a ticket (the file is then left alone).
    bool LoadSettings(const std::string& path, std::string& error);
    /// Writes the print settings ticket to `path` (atomically, never through a link).
    bool SaveSettings(const std::string& path, std::string& error);

    PMPrintSession Session() const { return mSession; }
    /// The session's print settings ticket (not retained), or null.
    PMTicketRef Settings() const;
    /// The printer's display name.
    std::string Name() const;
    /// The path of the printer's PPD ("" without one); a queue's lives as long as this object.
    std::string PPDPath() const;

private:
    bool MakeSession(std::string& error);

    PMPrinter mPrinter = nullptr;
    PMPrintSession mSession = nullptr;
};

/// The *ModelName of the PPD at `path` (read within its first 64 KB), or "".
std::string PPDModelName(const std::string& path);

#endif

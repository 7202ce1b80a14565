//===- BidiRead.h - The two-way colour read, end to end ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BENCH_BIDIREAD_H
#define PIGMENTOR_BENCH_BIDIREAD_H

#include <string>

/// What one colour read found, so that a run can show it read what it should.
struct ColourReadResult {
    bool connected = false;
    int features = -1;
    bool supportsColour = false;
    std::string device;
    int encodings = 0;
    int languages = 0;
    int keywords = 0;
    int pairs = 0; ///< source and output value pairs asked about
    int links = 0; ///< device links found among them
};

/// The whole colour read of the two-way item list, done with the server classes: connect to
/// `address` (the port from TOVRANE_SERVER_PORT), read the features, the first device name,
/// the encodings and languages, the colour settings of that device (with the localisation
/// session open), and ask for the device link of every pair of RGB-source or CMYK-simulation
/// value and output-profile value. The values come from the server's own colour settings
/// (the item list takes them from the PPD's controls, which the server's mirror). The
/// connection is made and deleted within the call.
ColourReadResult RunColourRead(const char* address);

#endif // PIGMENTOR_BENCH_BIDIREAD_H

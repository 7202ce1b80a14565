//===- Progress.h - Receiver of an operation's percent done -----------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_PROGRESS_H
#define TOVRANE_CLIENT_PROGRESS_H

namespace tovrane::client {

/// Where a running operation reports how far it got (0-100 percent). Called from the thread
/// that runs the operation; implementations synchronise on their own.
class Progress {
public:
    virtual ~Progress() = default;
    /// The operation is `percent` done; lower values than one reported before are ignored.
    virtual void Report(float percent) = 0;
};

/// A receiver that drops every report (synchronous calls).
class NoProgress : public Progress {
public:
    void Report(float) override {}
};

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_PROGRESS_H

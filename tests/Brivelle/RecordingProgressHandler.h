//===- RecordingProgressHandler.h - A progress handler for tests -*- C++ -*-===//
#ifndef PIGMENTOR_TESTS_BRIVELLE_RECORDINGPROGRESSHANDLER_H
#define PIGMENTOR_TESTS_BRIVELLE_RECORDINGPROGRESSHANDLER_H

#include "ProgressHandler.h"

#include <atomic>
#include <string>
#include <vector>

/// Records each call that reaches an implementation hook ("update 3 len 4" and so on) and
/// answers `answer` from every hook. The hooks may run on a worker thread; `calls` is read only
/// after it is joined, `hookCalls` at any time.
class RecordingProgressHandler : public ProgressHandler {
public:
    explicit RecordingProgressHandler(WindowRef window = nullptr, void* userData = nullptr)
        : ProgressHandler(window, userData) {}

    std::vector<std::string> calls;
    std::atomic<int> hookCalls{0};
    int answer = 0;

protected:
    int updateImp(unsigned long state, void* text, int length) override {
        return record("update", state, text, length);
    }
    int startImp(unsigned long state, void* text, int length) override {
        return record("start", state, text, length);
    }
    int endImp(unsigned long state, void* text, int length) override {
        return record("end", state, text, length);
    }
    int errorImp(unsigned long error, unsigned long state, void* text, int length) override {
        return record("error " + std::to_string(error), state, text, length);
    }
    int initImp() override {
        ++hookCalls;
        calls.push_back("init");
        return answer;
    }

private:
    int record(const std::string& what, unsigned long state, void* text, int length) {
        ++hookCalls;
        std::string entry = what + " " + std::to_string(state) + " len " + std::to_string(length);
        if (text)
            entry += " " + std::string(static_cast<const char*>(text), length > 0 ? length : 0);
        calls.push_back(entry);
        return answer;
    }
};

#endif // PIGMENTOR_TESTS_BRIVELLE_RECORDINGPROGRESSHANDLER_H

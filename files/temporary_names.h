#pragma once

#include <signal.h>

namespace kerf {

/// Names of temporary files that are removed when SIGINT, SIGTERM or SIGHUP
/// ends the process before they are renamed or removed in the ordinary way.
/// The handlers are installed on first use, only for signals that are not
/// ignored, and pass the signal on to what handled it before (the default
/// action ends the process as it would have).
class RemovedOnSignal {
public:
    /// Records `path` (copied; at most a few thousand bytes). A name that
    /// finds no free place is not recorded: it is then only removed in the
    /// ordinary way.
    explicit RemovedOnSignal(const char* path);
    /// Forgets the name (it was renamed or removed).
    ~RemovedOnSignal();
    RemovedOnSignal(const RemovedOnSignal&) = delete;
    RemovedOnSignal& operator=(const RemovedOnSignal&) = delete;

private:
    int slot_ = -1;
};

/// Holds SIGINT, SIGTERM and SIGHUP back on this thread while it lives, so
/// that a short step (linking a finished file into place) is not cut in two;
/// a signal that came meanwhile is delivered afterwards.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t saved_; // the thread's mask before
};

} // namespace kerf

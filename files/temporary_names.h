// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <signal.h>
#include <time.h>

#include <random>
#include <string>

namespace kerf {

/// The signals that end a process writing a file: SIGINT, SIGTERM, SIGHUP,
/// SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM and SIGXFSZ. Their handlers remove the
/// names recorded by RemovedOnSignal and pass the signal on to what handled
/// it before (the default action ends the process as it would have); a
/// signal that was ignored stays ignored. SIGXFSZ is told apart: raised by a
/// write of this process that passes the file size limit (ulimit -f), it is
/// let go, so that the write fails with EFBIG and the writer reports it;
/// sent from elsewhere, it ends the process with «檔案超過系統允許的大小»
/// (after the prefix set by setSignalMessagePrefix, naming the file being
/// written, NamedForSignal) and status 1 where its default action would have
/// ended it without a word.
/// Installs the handlers where they are not there yet, so that a handler the
/// program set since the last call is passed on to as well.
void handleEndingSignals();

/// What begins the message of an ending SIGXFSZ (at most 63 bytes; the
/// command line's "kerfwright-cli: ").
void setSignalMessagePrefix(const char* prefix);

/// Names `target` (copied, a control character as "?"; at most a few
/// thousand bytes) in the message of an
/// ending SIGXFSZ while it lives: the file being written. One at a time; a
/// second one meanwhile is not named.
class NamedForSignal {
public:
    explicit NamedForSignal(const char* target);
    ~NamedForSignal();
    NamedForSignal(const NamedForSignal&) = delete;
    NamedForSignal& operator=(const NamedForSignal&) = delete;

private:
    bool named_ = false;
};

/// Names of temporary files that are removed when an ending signal ends the
/// process before they are renamed or removed in the ordinary way.
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

/// Holds the ending signals back on this thread while it lives, so that a
/// short step (linking a finished file into place) is not cut in two; a
/// signal that came meanwhile is delivered afterwards.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t saved_; // the thread's mask before
};

/// A short hidden name for a new file of this process: ".kw", the process id,
/// "-" and eight random hexadecimal digits (".kw4711-0c3a9f12"), so that a
/// name left behind tells whose it was.
std::string temporaryName(std::random_device& random);

/// Removes from `folder` the regular files named as temporaryName names them
/// whose process is gone (a process killed, SIGKILL or a power cut, between
/// making its new file and putting it in place) and that were last changed
/// before `before`. Names of a living process, and every other name, stay.
void removeLeftoverNames(const std::string& folder, const timespec& before);

} // namespace kerf

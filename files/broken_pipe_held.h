// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <signal.h>

namespace kerf {

/// Holds SIGPIPE back on this thread while it lives, so that writing to a
/// FIFO or a pipe whose reader has gone fails with EPIPE instead of ending
/// the process; a SIGPIPE raised meanwhile is taken away afterwards.
class BrokenPipeHeld {
public:
    BrokenPipeHeld();
    ~BrokenPipeHeld();
    BrokenPipeHeld(const BrokenPipeHeld&) = delete;
    BrokenPipeHeld& operator=(const BrokenPipeHeld&) = delete;

private:
    sigset_t saved_;
    bool pendingBefore_ = false;
};

} // namespace kerf

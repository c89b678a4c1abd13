// SPDX-License-Identifier: GPL-3.0-or-later
#include "broken_pipe_held.h"

#include <pthread.h>
#include <time.h>

namespace kerf {
namespace {

sigset_t brokenPipe()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    return set;
}

} // namespace

BrokenPipeHeld::BrokenPipeHeld()
{
    const sigset_t held = brokenPipe();
    sigset_t pending;
    sigpending(&pending);
    pendingBefore_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &held, &saved_);
}

BrokenPipeHeld::~BrokenPipeHeld()
{
    const sigset_t held = brokenPipe();
    sigset_t pending;
    sigpending(&pending);
    if (!pendingBefore_ && sigismember(&pending, SIGPIPE) == 1) {
        const timespec now{0, 0};
        sigtimedwait(&held, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
}

} // namespace kerf

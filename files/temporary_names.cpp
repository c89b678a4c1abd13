#include "temporary_names.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace kerf {
namespace {

constexpr int Slots = 16;
constexpr std::size_t PathBytes = 4096;
constexpr int HeldSignals[] = {SIGINT, SIGTERM, SIGHUP};

// A slot is free (0), being filled or emptied (1), or holds a name (2); the
// handler only reads slots that hold a name.
std::atomic<int> slotState[Slots];
char slotPath[Slots][PathBytes];
struct sigaction previous[3];

int indexOf(int signal)
{
    for (int i = 0; i < 3; ++i)
        if (HeldSignals[i] == signal)
            return i;
    return 0;
}

void removeAndPassOn(int signal, siginfo_t* info, void* context)
{
    for (int i = 0; i < Slots; ++i)
        if (slotState[i].load() == 2)
            ::unlink(slotPath[i]);
    const struct sigaction& before = previous[indexOf(signal)];
    if (before.sa_flags & SA_SIGINFO) {
        before.sa_sigaction(signal, info, context);
    } else if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN) {
        before.sa_handler(signal);
    } else {
        // The default action: the signal, held until this handler returns,
        // then ends the process as it would have.
        ::signal(signal, SIG_DFL);
        ::raise(signal);
    }
}

void installHandlers()
{
    for (int i = 0; i < 3; ++i) {
        struct sigaction current {};
        ::sigaction(HeldSignals[i], nullptr, &current);
        if (!(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_IGN)
            continue; // e.g. nohup: the signal stays ignored
        previous[i] = current;
        struct sigaction ours {};
        ours.sa_sigaction = removeAndPassOn;
        ours.sa_flags = SA_SIGINFO | SA_RESTART;
        sigemptyset(&ours.sa_mask);
        ::sigaction(HeldSignals[i], &ours, nullptr);
    }
}

} // namespace

RemovedOnSignal::RemovedOnSignal(const char* path)
{
    static std::once_flag installed;
    std::call_once(installed, installHandlers);
    if (std::strlen(path) >= PathBytes)
        return;
    for (int i = 0; i < Slots; ++i) {
        int free = 0;
        if (slotState[i].compare_exchange_strong(free, 1)) {
            std::strcpy(slotPath[i], path);
            slotState[i].store(2);
            slot_ = i;
            return;
        }
    }
}

RemovedOnSignal::~RemovedOnSignal()
{
    if (slot_ >= 0)
        slotState[slot_].store(0);
}

SignalsHeld::SignalsHeld()
{
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : HeldSignals)
        sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &saved_);
}

SignalsHeld::~SignalsHeld()
{
    pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
}

} // namespace kerf

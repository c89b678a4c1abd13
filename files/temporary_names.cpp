// SPDX-License-Identifier: GPL-3.0-or-later
#include "temporary_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <mutex>
#include <optional>
#include <string_view>

namespace kerf {
namespace {

constexpr int Slots = 16;
constexpr std::size_t PathBytes = 4096;
constexpr int EndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGXFSZ};
constexpr int SignalCount = std::size(EndingSignals);
constexpr std::string_view NamePrefix = ".kw";
constexpr std::size_t RandomDigits = 8;
constexpr char FileTooLarge[] = "檔案超過系統允許的大小";

char messagePrefix[64];
// The file being written: free (0), being filled or emptied (1), or named (2).
std::atomic<int> targetState;
char targetPath[PathBytes];

// A slot is free (0), being filled or emptied (1), or holds a name (2); the
// handler only reads slots that hold a name.
std::atomic<int> slotState[Slots];
char slotPath[Slots][PathBytes];
struct sigaction previous[SignalCount];

int indexOf(int signal)
{
    for (int i = 0; i < SignalCount; ++i)
        if (EndingSignals[i] == signal)
            return i;
    return 0;
}

void say(const char* text) { (void)!::write(STDERR_FILENO, text, std::strlen(text)); }

// «kerfwright-cli: 「out.TXT」沒有寫入：檔案超過系統允許的大小。», only with
// what a signal handler may call.
void sayFileTooLarge()
{
    say(messagePrefix);
    if (targetState.load() == 2) {
        say("「");
        say(targetPath);
        say("」沒有寫入：");
        say(FileTooLarge);
        say("。\n");
    } else {
        say(FileTooLarge);
        say("，沒有寫入檔案。\n");
    }
}

void removeAndPassOn(int signal, siginfo_t* info, void* context)
{
    // The kernel's own SIGXFSZ names this process as its sender; the write
    // that raised it returns EFBIG once the handler returns.
    if (signal == SIGXFSZ && info && info->si_code == SI_USER && info->si_pid == ::getpid())
        return;
    for (int i = 0; i < Slots; ++i)
        if (slotState[i].load() == 2)
            ::unlink(slotPath[i]);
    const struct sigaction& before = previous[indexOf(signal)];
    if (before.sa_flags & SA_SIGINFO) {
        before.sa_sigaction(signal, info, context);
    } else if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN) {
        before.sa_handler(signal);
    } else if (signal == SIGXFSZ) {
        sayFileTooLarge();
        ::_exit(1);
    } else {
        // The default action: the signal, held until this handler returns,
        // then ends the process as it would have.
        ::signal(signal, SIG_DFL);
        ::raise(signal);
    }
}

} // namespace

void handleEndingSignals()
{
    static std::mutex installing;
    const std::lock_guard lock(installing);
    for (int i = 0; i < SignalCount; ++i) {
        struct sigaction current {};
        ::sigaction(EndingSignals[i], nullptr, &current);
        if ((current.sa_flags & SA_SIGINFO) && current.sa_sigaction == removeAndPassOn)
            continue; // ours already
        if (!(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_IGN)
            continue; // e.g. nohup: the signal stays ignored
        previous[i] = current;
        struct sigaction ours {};
        ours.sa_sigaction = removeAndPassOn;
        ours.sa_flags = SA_SIGINFO | SA_RESTART;
        sigemptyset(&ours.sa_mask);
        ::sigaction(EndingSignals[i], &ours, nullptr);
    }
}

namespace {

// The process id a temporary name holds, if the name is one.
std::optional<pid_t> ownerOf(std::string_view name)
{
    if (!name.starts_with(NamePrefix))
        return std::nullopt;
    name.remove_prefix(NamePrefix.size());
    const auto dash = name.find('-');
    if (dash == std::string_view::npos || name.size() - dash - 1 != RandomDigits || dash == 0 || name[0] == '0')
        return std::nullopt;
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + dash, pid);
    if (ec != std::errc() || end != name.data() + dash)
        return std::nullopt;
    for (const char c : name.substr(dash + 1))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return std::nullopt;
    return pid;
}

bool processGone(pid_t pid)
{
    return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
}

bool earlier(const timespec& a, const timespec& b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

} // namespace

void setSignalMessagePrefix(const char* prefix)
{
    if (std::strlen(prefix) < sizeof messagePrefix)
        std::strcpy(messagePrefix, prefix);
}

NamedForSignal::NamedForSignal(const char* target)
{
    int free = 0;
    if (std::strlen(target) >= PathBytes || !targetState.compare_exchange_strong(free, 1))
        return;
    // A control character would break the message's line: shown as "?".
    std::size_t i = 0;
    for (; target[i] != '\0'; ++i)
        targetPath[i] = static_cast<unsigned char>(target[i]) < 0x20 || target[i] == 0x7f ? '?' : target[i];
    targetPath[i] = '\0';
    targetState.store(2);
    named_ = true;
}

NamedForSignal::~NamedForSignal()
{
    if (named_)
        targetState.store(0);
}

RemovedOnSignal::RemovedOnSignal(const char* path)
{
    handleEndingSignals();
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
    for (const int signal : EndingSignals)
        sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &saved_);
}

SignalsHeld::~SignalsHeld()
{
    pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
}

std::string temporaryName(std::random_device& random)
{
    char text[32];
    std::snprintf(text, sizeof text, ".kw%ld-%08x", static_cast<long>(::getpid()), random());
    return text;
}

void removeLeftoverNames(const std::string& folder, const timespec& before)
{
    DIR* entries = ::opendir(folder.c_str());
    if (!entries)
        return; // the write itself reports a folder it cannot use
    const int fd = ::dirfd(entries);
    while (const dirent* entry = ::readdir(entries)) {
        const auto owner = ownerOf(entry->d_name);
        struct stat info {};
        if (!owner || !processGone(*owner) || ::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(info.st_mode) && earlier(info.st_mtim, before))
            ::unlinkat(fd, entry->d_name, 0);
    }
    ::closedir(entries);
}

} // namespace kerf

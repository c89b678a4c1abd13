// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary names removed when a signal ends the process, each case in a
// child process of its own, and the names a process killed outright left.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "files/temporary_names.h"
#include "tests/support/temporary_folder.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

// The status of a child that runs `body` and then exits 0.
int inChild(const std::function<void()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

} // namespace

TEST(RemovedOnSignal, EachSignalRemovesTheNameAndEndsTheProcessAsBefore)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGXFSZ}) {
        TemporaryFolder folder;
        folder.write(".kw1234abcd", "half");
        const std::string path = (folder.path() / ".kw1234abcd").string();
        const int status = inChild([&] {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            const RemovedOnSignal removed(path.c_str());
            ::raise(signal);
        });
        if (signal == SIGXFSZ) // not from a write: its message and status 1 instead of a silent end
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
        else
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_TRUE(folder.snapshot().empty()) << signal;
    }
}

TEST(TemporaryNames, LeftoverOfAProcessThatIsGoneIsRemovedWhenOlderThanTheWrite)
{
    std::random_device random;
    const std::string own = temporaryName(random);
    const std::string ownPrefix = ".kw" + std::to_string(::getpid()) + "-";
    EXPECT_EQ(own.substr(0, ownPrefix.size()), ownPrefix);
    EXPECT_EQ(own.size(), ownPrefix.size() + 8);

    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string gone = ".kw" + std::to_string(ended) + "-";
    TemporaryFolder folder;
    const std::vector<std::string> stay = {own, gone + "0123ABCD", gone + "0123abc", ".kw0123abcd", "job.TXT"};
    for (const std::string& name : stay)
        folder.write(name, "x");
    folder.write(gone + "0123abcd", "a whole new file");
    folder.write(gone + "89abcdef", "written after the write began");
    std::filesystem::create_directory(folder.path() / (gone + "deadbeef"));
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto touch = [&](const std::string& name, time_t seconds) {
        const timespec times[2] = {{now.tv_sec + seconds, 0}, {now.tv_sec + seconds, 0}};
        ::utimensat(AT_FDCWD, (folder.path() / name).c_str(), times, 0);
    };
    for (const std::string& name : stay)
        touch(name, -3600);
    touch(gone + "0123abcd", -3600);
    touch(gone + "deadbeef", -3600);
    touch(gone + "89abcdef", 3600);

    removeLeftoverNames(folder.path().string(), now);
    std::map<std::string, std::string> expected;
    for (const std::string& name : stay)
        expected[name] = "x";
    expected[gone + "89abcdef"] = "written after the write began";
    expected[gone + "deadbeef"] = "<folder>";
    EXPECT_EQ(folder.snapshot(), expected);
}

TEST(RemovedOnSignal, ForgottenNameStays)
{
    TemporaryFolder folder;
    folder.write("job.TXT", "done");
    const std::string path = (folder.path() / "job.TXT").string();
    const int status = inChild([&] {
        { const RemovedOnSignal removed(path.c_str()); }
        ::raise(SIGTERM);
    });
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(folder.snapshot().size(), 1u);
}

TEST(RemovedOnSignal, IgnoredSignalStaysIgnored)
{
    TemporaryFolder folder;
    folder.write(".kw1234abcd", "half");
    const std::string path = (folder.path() / ".kw1234abcd").string();
    const int status = inChild([&] {
        ::signal(SIGHUP, SIG_IGN); // nohup
        const RemovedOnSignal removed(path.c_str());
        ::raise(SIGHUP);
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(RemovedOnSignal, HandlerThatWasThereRunsAfterTheRemoval)
{
    TemporaryFolder folder;
    folder.write(".kw1234abcd", "half");
    const std::string path = (folder.path() / ".kw1234abcd").string();
    const int status = inChild([&] {
        ::signal(SIGINT, [](int) { ::_exit(7); });
        const RemovedOnSignal removed(path.c_str());
        ::raise(SIGINT);
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7);
    EXPECT_TRUE(folder.snapshot().empty());
}

// Temporary names removed when a signal ends the process, each case in a
// child process of its own.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

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
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        TemporaryFolder folder;
        folder.write(".kw1234abcd", "half");
        const std::string path = (folder.path() / ".kw1234abcd").string();
        const int status = inChild([&] {
            const RemovedOnSignal removed(path.c_str());
            ::raise(signal);
        });
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_TRUE(folder.snapshot().empty()) << signal;
    }
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

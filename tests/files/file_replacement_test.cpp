// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <future>
#include <stdexcept>

#include "files/file_replacement.h"
#include "tests/support/temporary_folder.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

const auto writeText = [](std::string text) {
    return [text](std::ostream& out) { out << text; };
};

} // namespace

TEST(FileReplacement, WritesANewFileAndNothingElse)
{
    TemporaryFolder folder;
    EXPECT_FALSE(replaceFile(folder.path() / "job.TXT", writeText("PN job\r\n")));
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"job.TXT", "PN job\r\n"}}));
}

TEST(FileReplacement, ReplacesTheOldFileWhole)
{
    TemporaryFolder folder;
    folder.write("job.TXT", std::string(100000, 'x'));
    EXPECT_FALSE(replaceFile(folder.path() / "job.TXT", writeText("EI\r\n")));
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"job.TXT", "EI\r\n"}}));
}

TEST(FileReplacement, WritesTextLargerThanItsBuffer)
{
    TemporaryFolder folder;
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += "MI X 0.013 Y -0.022518\r\n";
    EXPECT_FALSE(replaceFile(folder.path() / "big.TXT", writeText(text)));
    EXPECT_EQ(readFile(folder.path() / "big.TXT"), text);
}

TEST(FileReplacement, NewFileGetsTheModeTheUmaskGives)
{
    TemporaryFolder folder;
    const mode_t old = ::umask(022);
    EXPECT_FALSE(replaceFile(folder.path() / "job.TXT", writeText("EI\r\n")));
    ::umask(old);
    struct stat info {};
    ASSERT_EQ(::stat((folder.path() / "job.TXT").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(FileReplacement, FailedStreamKeepsTheOldFileAndLeavesNoPartialFile)
{
    TemporaryFolder folder;
    folder.write("job.TXT", "old\r\n");
    const auto error = replaceFile(folder.path() / "job.TXT", [](std::ostream& out) {
        out << std::string(200000, 'y');
        out.setstate(std::ios::badbit);
    });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->step, FileReplaceError::Step::Write);
    EXPECT_EQ(error->error, 0);
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"job.TXT", "old\r\n"}}));
}

TEST(FileReplacement, ExceptionOfTheWriterKeepsTheOldFileAndPassesThrough)
{
    TemporaryFolder folder;
    folder.write("job.TXT", "old\r\n");
    EXPECT_THROW(replaceFile(folder.path() / "job.TXT",
                             [](std::ostream& out) {
                                 out << "PN job\r\n";
                                 throw std::runtime_error("generator failed");
                             }),
                 std::runtime_error);
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"job.TXT", "old\r\n"}}));
}

TEST(FileReplacement, FolderThatIsAFileFailsBeforeWriting)
{
    TemporaryFolder folder;
    folder.write("plain", "keep");
    bool wrote = false;
    const auto error = replaceFile(folder.path() / "plain" / "job.TXT", [&](std::ostream&) { wrote = true; });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->step, FileReplaceError::Step::CreateTemporary);
    EXPECT_EQ(error->error, ENOTDIR);
    EXPECT_FALSE(wrote);
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"plain", "keep"}}));
}

TEST(FileReplacement, MissingFolderFailsBeforeWriting)
{
    TemporaryFolder folder;
    const auto error = replaceFile(folder.path() / "missing" / "job.TXT", writeText("EI\r\n"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->step, FileReplaceError::Step::CreateTemporary);
    EXPECT_EQ(error->error, ENOENT);
    EXPECT_TRUE(folder.snapshot().empty());
}

TEST(FileReplacement, FolderOfTheTargetNameStaysAndNoPartialFileIsLeft)
{
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.path() / "job.TXT");
    folder.write("job.TXT/inside", "kept");
    const auto error = replaceFile(folder.path() / "job.TXT", writeText("EI\r\n"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->step, FileReplaceError::Step::Rename);
    EXPECT_EQ(error->error, EISDIR);
    EXPECT_EQ(folder.snapshot(),
              (std::map<std::string, std::string>{{"job.TXT", "<folder>"}, {"job.TXT/inside", "kept"}}));
}

TEST(FileReplacement, SymbolicLinkStaysAndTheFileItNamesIsReplaced)
{
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.path() / "real");
    folder.write("real/job.TXT", "old\r\n");
    std::filesystem::create_symlink("real/job.TXT", folder.path() / "link.TXT");
    EXPECT_FALSE(replaceFile(folder.path() / "link.TXT", writeText("EI\r\n")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / "link.TXT"));
    EXPECT_EQ(std::filesystem::read_symlink(folder.path() / "link.TXT"), "real/job.TXT");
    EXPECT_EQ(readFile(folder.path() / "real/job.TXT"), "EI\r\n");
}

TEST(FileReplacement, DanglingLinkCreatesTheFileItNames)
{
    TemporaryFolder folder;
    std::filesystem::create_symlink("new.csv", folder.path() / "link.csv");
    EXPECT_FALSE(replaceFile(folder.path() / "link.csv", writeText("1,1\n")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / "link.csv"));
    EXPECT_EQ(readFile(folder.path() / "new.csv"), "1,1\n");
}

TEST(FileReplacement, LinksInACircleAreRefused)
{
    TemporaryFolder folder;
    std::filesystem::create_symlink("b", folder.path() / "a");
    std::filesystem::create_symlink("a", folder.path() / "b");
    const auto error = replaceFile(folder.path() / "a", writeText("x"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->error, ELOOP);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / "a"));
}

TEST(FileReplacement, DeviceIsWrittenAndNeverReplaced)
{
    EXPECT_FALSE(replaceFile("/dev/null", writeText(std::string(100000, 'x'))));
    struct stat info {};
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST(FileReplacement, FullDeviceReportsTheWriteError)
{
    const auto error = replaceFile("/dev/full", writeText(std::string(100000, 'x')));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->step, FileReplaceError::Step::Write);
    EXPECT_EQ(error->error, ENOSPC);
    EXPECT_TRUE(error->direct);
    EXPECT_NE(replaceFailureText("圖片", "/dev/full", *error).find("磁碟空間不足"), std::string::npos);
}

TEST(FileReplacement, FifoIsWrittenDirectly)
{
    TemporaryFolder folder;
    const auto fifo = folder.path() / "pipe.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto reader = std::async(std::launch::async, [&] { return readFile(fifo); });
    EXPECT_FALSE(replaceFile(fifo, writeText("1,1,0.5,0.5\n")));
    EXPECT_EQ(reader.get(), "1,1,0.5,0.5\n");
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    std::filesystem::remove(fifo);
    EXPECT_TRUE(folder.snapshot().empty());
}

TEST(FileReplacement, OwnDescriptorIsWrittenThroughItself)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    EXPECT_FALSE(replaceFile("/dev/fd/" + std::to_string(ends[1]), writeText("PN job\r\n")));
    ::close(ends[1]);
    char text[64] = {};
    EXPECT_EQ(::read(ends[0], text, sizeof text), 8);
    ::close(ends[0]);
    EXPECT_STREQ(text, "PN job\r\n");
}

TEST(FileReplacement, ReadOnlyFileIsRefusedAndKept)
{
    TemporaryFolder folder;
    folder.write("job.TXT", "old\r\n");
    const auto path = folder.path() / "job.TXT";
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    bool wrote = false;
    const auto error = replaceFile(path, [&](std::ostream&) { wrote = true; });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->step, FileReplaceError::Step::ReadOnly);
    EXPECT_FALSE(wrote);
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"job.TXT", "old\r\n"}}));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    EXPECT_EQ(replaceFailureText("程式檔", path, *error),
              "程式檔「" + path.string() + "」是唯讀檔案，沒有寫入，它保持原樣。請先取消它的唯讀屬性，或改用其他檔名。");
}

TEST(FileReplacement, ReplacedFileKeepsItsPermissionsButNeverSetuidOrSetgid)
{
    TemporaryFolder folder;
    folder.write("job.TXT", "old\r\n");
    const auto path = folder.path() / "job.TXT";
    for (const auto [before, after] : {std::pair{0640u, 0640u}, {04755u, 0755u}, {06750u, 0750u}}) {
        ASSERT_EQ(::chmod(path.c_str(), before), 0);
        EXPECT_FALSE(replaceFile(path, writeText("EI\r\n")));
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, after) << std::oct << before;
    }
    EXPECT_EQ(readFile(path), "EI\r\n");
}

TEST(FileReplacement, LongestNameTheFolderTakesIsAccepted)
{
    TemporaryFolder folder;
    const std::string name = std::string(240, 'a') + ".csv";
    EXPECT_FALSE(replaceFile(folder.path() / name, writeText("1,1\n")));
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{name, "1,1\n"}}));
}

TEST(FileReplacement, NothingNewIsNamedInTheFolderWhileWriting)
{
    TemporaryFolder folder;
    folder.write("job.TXT", "old\r\n");
    std::map<std::string, std::string> during;
    EXPECT_FALSE(replaceFile(folder.path() / "job.TXT", [&](std::ostream& out) {
        out << "EI\r\n";
        during = folder.snapshot();
    }));
    EXPECT_EQ(during, (std::map<std::string, std::string>{{"job.TXT", "old\r\n"}}));
}

TEST(FileReplacement, SignalDuringTheWriteLeavesNoTemporaryFile)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM}) {
        TemporaryFolder folder;
        folder.write("job.TXT", "old\r\n");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            replaceFile(folder.path() / "job.TXT", [&](std::ostream& out) {
                out << std::string(100000, 'x');
                out.flush();
                ::raise(signal);
            });
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"job.TXT", "old\r\n"}})) << signal;
    }
}

TEST(FileReplacement, NextWriteRemovesTheNameAProcessKilledOutrightLeft)
{
    TemporaryFolder folder;
    const pid_t killed = ::fork();
    if (killed == 0) {
        replaceFile(folder.path() / "job.TXT", [](std::ostream&) { ::raise(SIGKILL); });
        ::_exit(0);
    }
    ::waitpid(killed, nullptr, 0);
    const std::string leftover = ".kw" + std::to_string(killed) + "-0c3a9f12"; // as if killed before the rename
    folder.write(leftover, "a whole new file");
    const timespec past[2] = {{1, 0}, {1, 0}};
    ::utimensat(AT_FDCWD, (folder.path() / leftover).c_str(), past, 0);
    EXPECT_FALSE(replaceFile(folder.path() / "job.TXT", writeText("EI\r\n")));
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"job.TXT", "EI\r\n"}}));
}

TEST(FileReplacement, FileSizeLimitIsAFailedWriteAlsoWhenItsSignalIsIgnored)
{
    for (const bool ignored : {false, true}) {
        TemporaryFolder folder;
        folder.write("dies.csv", "old\n");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (ignored)
                ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1 << 16, 1 << 16};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const auto error = replaceFile(folder.path() / "dies.csv", writeText(std::string(1 << 20, 'x')));
            const bool reported = error && error->step == FileReplaceError::Step::Write && error->error == EFBIG &&
                                  replaceFailureText("CSV 檔", "dies.csv", *error).find("檔案超過系統允許的大小") !=
                                      std::string::npos;
            ::_exit(reported ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ignored;
        EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"dies.csv", "old\n"}})) << ignored;
    }
}

TEST(FileReplacement, FifoWhoseReaderGoesIsAFailedWriteNotTheEndOfTheProcess)
{
    TemporaryFolder folder;
    const auto fifo = folder.path() / "pipe.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto reader = std::async(std::launch::async, [&] {
        const int fd = ::open(fifo.c_str(), O_RDONLY);
        char first = 0;
        const bool read = ::read(fd, &first, 1) == 1;
        ::close(fd);
        return read;
    });
    const auto error = replaceFile(fifo, writeText(std::string(1 << 20, 'x')));
    EXPECT_TRUE(reader.get());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->error, EPIPE);
    EXPECT_TRUE(error->direct);
    std::filesystem::remove(fifo);
}

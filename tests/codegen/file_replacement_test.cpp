#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <stdexcept>

#include "codegen/file_replacement.h"
#include "temporary_folder.h"

using namespace kerf;
using namespace kerf::test;

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

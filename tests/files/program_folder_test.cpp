// SPDX-License-Identifier: GPL-3.0-or-later
// Where the start button writes a program.
#include <set>

#include <gtest/gtest.h>

#include "files/program_folder.h"
#include "tests/support/temporary_folder.h"

using namespace kerf;

namespace {

const std::filesystem::path Executable = "/opt/kerfwright/bin";
const std::filesystem::path Remembered = "/home/user/programs";
const std::filesystem::path Preset = "/srv/programs";

// Which folders the writability test is asked about, and what it answers.
struct FakeWritable {
    std::set<std::filesystem::path> writable;
    bool operator()(const std::filesystem::path& folder) const { return writable.contains(folder); }
};

} // namespace

TEST(ProgramFolder, ExecutableFolderWhenItCanBeWritten)
{
    EXPECT_EQ(programFolder({{}, Executable, Remembered}, FakeWritable{{Executable, Remembered}}), Executable);
}

TEST(ProgramFolder, RememberedFolderWhenTheExecutablesCannotBeWritten)
{
    EXPECT_EQ(programFolder({{}, Executable, Remembered}, FakeWritable{{Remembered}}), Remembered);
}

TEST(ProgramFolder, AsksWhenNeitherCanBeWritten)
{
    EXPECT_EQ(programFolder({{}, Executable, Remembered}, FakeWritable{}), std::nullopt);
    EXPECT_EQ(programFolder({{}, Executable, {}}, FakeWritable{{std::filesystem::path()}}), std::nullopt);
}

TEST(ProgramFolder, PresetWinsEvenOverAWritableExecutableFolder)
{
    EXPECT_EQ(programFolder({Preset, Executable, Remembered}, FakeWritable{{Executable, Remembered}}), Preset);
    // Not writable: the write then says why; the user is not asked over the site's choice.
    EXPECT_EQ(programFolder({Preset, Executable, Remembered}, FakeWritable{}), Preset);
}

TEST(ProgramFolder, WritabilityOfRealFolders)
{
    const kerf::testing::TemporaryFolder folder;
    EXPECT_TRUE(folderIsWritable(folder.path()));
    EXPECT_FALSE(folderIsWritable(folder.path() / "missing"));
    folder.write("file", "x");
    EXPECT_FALSE(folderIsWritable(folder.path() / "file")); // a file is no folder
    EXPECT_FALSE(folderIsWritable({}));
}

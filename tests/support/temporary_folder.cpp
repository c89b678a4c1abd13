// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/temporary_folder.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kerf::testing {

TemporaryFolder::TemporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kerf-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TemporaryFolder::write(const std::string& name, const std::string& content) const
{
    std::ofstream(path_ / name, std::ios::binary) << content;
}

std::map<std::string, std::string> TemporaryFolder::snapshot() const
{
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_)) {
        const std::string name = std::filesystem::relative(entry.path(), path_).string();
        entries[name] = entry.is_directory() ? "<folder>" : readFile(entry.path());
    }
    return entries;
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace kerf::testing

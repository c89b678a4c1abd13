// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace kerf::testing {

/// A new empty folder for one test, removed with everything in it afterwards.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// The path of a file of the folder, as a command line takes it.
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    /// Writes a file of the folder.
    void write(const std::string& name, const std::string& content) const;
    /// Every entry below the folder with its content ("<folder>" for folders).
    std::map<std::string, std::string> snapshot() const;

private:
    std::filesystem::path path_;
};

/// The bytes of a file (empty when it cannot be read).
std::string readFile(const std::filesystem::path& path);

} // namespace kerf::testing

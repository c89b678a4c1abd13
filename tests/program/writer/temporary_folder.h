#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace kerf::test {

/// A new empty folder for one test, removed with everything in it afterwards.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// Writes a file of the folder.
    void write(const std::string& name, const std::string& content) const;
    /// Every entry below the folder with its content ("<folder>" for folders).
    std::map<std::string, std::string> snapshot() const;

private:
    std::filesystem::path path_;
};

/// The whole content of a file.
std::string readFile(const std::filesystem::path& path);

} // namespace kerf::test

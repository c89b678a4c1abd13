#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kerf::testing {

/// What one kerfwright-cli command line did.
struct CliRun {
    int status;
    std::string out;
    std::string err;
};

/// Runs a command line (without the program name) as main() would.
CliRun run(const std::vector<std::string>& args);

/// The bytes of a file (empty when it cannot be read).
std::string readFile(const std::filesystem::path& path);

} // namespace kerf::testing

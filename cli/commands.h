#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kerf::cli {

/// One command of kerfwright-cli: its word, a usage text, and the function
/// that runs it on the arguments after the word and returns the exit code
/// (0 done, 1 refused or failed, 2 usage error).
struct Command {
    std::string_view name;
    std::string_view usage;
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

int runDesignCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runSimulateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// All commands, in the order the usage lists them.
const std::vector<Command>& commands();

/// Runs a whole command line (argv without the program name).
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kerf::cli

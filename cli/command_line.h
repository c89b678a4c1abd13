// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

namespace kerf::cli {

/// A command line that does not follow the usage: printed with the command's
/// usage line, exit 2. The text is for people (Traditional Chinese).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Thrown by a command whose input file (a program or a job) could not be
/// read, once it has said why on its error stream: exit 2.
struct UnreadableInput {};

/// What runs a command once its options are parsed: the exit code.
using CommandRun = std::function<int(std::ostream& out, std::ostream& err)>;

/// A command's option set, ready for its options to be declared: Traditional
/// Chinese help with a usage line built from the declarations, -h/--help.
/// `name` is the command word ("design").
std::unique_ptr<CLI::App> commandApp(std::string_view name, std::string_view description);

/// `--name VALUE`: the text as it stands goes into `text` when the option is
/// given (std::string keeps its default when it is not, std::optional stays
/// empty). Given twice or without a value is a usage error.
template <typename Text>
CLI::Option* addTextOption(CLI::App& app, const std::string& name, Text& text, const std::string& valueName,
                           const std::string& description)
{
    return app.add_option_function<std::string>(name, [&text](const std::string& value) { text = value; },
                                                description)
        ->type_name(valueName);
}

/// `--name N`: a whole number from `least` to `most`, written with digits
/// only (a minus sign at most; no plus, blanks or base prefix); anything else
/// is a usage error.
/// `refusal` is the usage error's text.
CLI::Option* addWholeNumberOption(CLI::App& app, const std::string& name, std::optional<int>& number, int least,
                                  int most, const std::string& valueName, const std::string& description,
                                  const std::string& refusal);

/// Refuses an empty text for the option (a file name, say) with `message`.
void refuseEmpty(CLI::Option& option, const std::string& message);

/// Parses `args` (after the command word) into the declared options. False
/// when they ask for help (-h or --help); throws UsageError, in Traditional
/// Chinese, when they do not follow the declarations.
bool parseArguments(CLI::App& app, std::vector<std::string> args);

/// The command's usage line ("用法：kerfwright-cli design [--wafer SIZE] ...").
std::string usageLine(const CLI::App& app);

} // namespace kerf::cli

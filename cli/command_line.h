#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kerf::cli {

/// A command line that does not follow the usage: printed with the usage, exit 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// True when the arguments ask for help ("--help" or "-h").
bool asksForHelp(const std::vector<std::string>& args);

/// The options of one command: "--name value" or "--name=value", each at most once.
class Options {
public:
    /// Reads `args` (after the command word), accepting only the `known` names
    /// (without "--"). Throws UsageError.
    Options(const std::vector<std::string>& args, const std::vector<std::string_view>& known);

    bool has(std::string_view name) const { return values_.count(std::string(name)) != 0; }
    /// The value as typed, or empty when the option is absent.
    std::optional<std::string> get(std::string_view name) const;
    /// The value; throws UsageError when the option is absent.
    std::string require(std::string_view name) const;

private:
    std::map<std::string, std::string> values_;
};

} // namespace kerf::cli

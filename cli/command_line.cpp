#include "cli/command_line.h"

#include <algorithm>

namespace kerf::cli {

bool asksForHelp(const std::vector<std::string>& args)
{
    return std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; });
}

Options::Options(const std::vector<std::string>& args, const std::vector<std::string_view>& known)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0)
            throw UsageError("unexpected argument: " + arg);
        std::string name = arg.substr(2);
        std::string value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        } else {
            if (i + 1 >= args.size())
                throw UsageError("--" + name + " needs a value");
            value = args[++i];
        }
        if (std::find(known.begin(), known.end(), name) == known.end())
            throw UsageError("unknown option: --" + name);
        if (!values_.emplace(name, value).second)
            throw UsageError("--" + name + " given twice");
    }
}

std::optional<std::string> Options::get(std::string_view name) const
{
    const auto found = values_.find(std::string(name));
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

std::string Options::require(std::string_view name) const
{
    const auto value = get(name);
    if (!value)
        throw UsageError("--" + std::string(name) + " is required");
    return *value;
}

} // namespace kerf::cli

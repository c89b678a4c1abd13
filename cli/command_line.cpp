// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"

#include <algorithm>
#include <charconv>

namespace kerf::cli {
namespace {

// The help in Traditional Chinese, its usage line built from the declarations.
class HelpFormatter : public CLI::Formatter {
public:
    HelpFormatter()
    {
        label("Positionals", "引數");
        column_width(28);
    }

    std::string make_usage(const CLI::App* app, std::string) const override { return usageLine(*app) + "\n"; }

    // The left column holds ASCII only, so that it lines up (CLI11 counts
    // bytes); "必要" goes with the description.
    std::string make_option_opts(const CLI::Option* option) const override
    {
        return option->get_positional() || option->get_items_expected_max() == 0 ? ""
                                                                                 : " " + option->get_type_name();
    }
    std::string make_option_desc(const CLI::Option* option) const override
    {
        return option->get_required() ? "（必要）" + option->get_description() : option->get_description();
    }
};

bool isFlag(const CLI::Option& option) { return option.get_items_expected_max() == 0; }

// The option whose name the message of CLI11 gives (as "--name", or "name"
// in some messages; the longest that stands as a whole word), or null.
const CLI::Option* namedOption(const CLI::App& app, const std::string& message)
{
    const CLI::Option* named = nullptr;
    std::size_t namedLength = 0;
    for (const CLI::Option* option : app.get_options()) {
        std::vector<std::string> names = option->get_lnames();
        names.push_back(option->get_name());
        for (const std::string& name : names) {
            for (auto at = message.find(name); at != std::string::npos; at = message.find(name, at + 1)) {
                const std::size_t end = at + name.size();
                const bool starts = at == 0 || message[at - 1] == ' ';
                const bool ends = end == message.size() || message[end] == ':' || message[end] == ' ';
                if (starts && ends && name.size() > namedLength) {
                    named = option;
                    namedLength = name.size();
                }
            }
        }
    }
    return named;
}

// What a parse error of CLI11 says, in the words of the command line.
std::string usageErrorText(const CLI::App& app, const CLI::ParseError& error)
{
    if (dynamic_cast<const CLI::RequiredError*>(&error)) {
        for (const CLI::Option* option : app.get_options()) {
            if (option->get_required() && option->count() == 0)
                return option->get_positional() ? "缺少必要的引數 " + option->get_type_name() + "。"
                                                : "缺少必要的選項 " + option->get_name() + "。";
        }
    }
    const bool countOrValue = dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr
                              || dynamic_cast<const CLI::ConversionError*>(&error) != nullptr;
    if (const CLI::Option* option = namedOption(app, error.what()); option && countOrValue) {
        if (option->count() > 1)
            return option->get_name() + " 只能給一次。";
        if (isFlag(*option))
            return option->get_name() + " 不接受值。";
        return option->get_name() + " 需要一個值。";
    }
    return std::string("命令列不符合用法：") + error.what();
}

// Arguments that name no declared option, or stand where no argument goes
// (CLI11 leaves the "--" that ends the options among them).
void refuseExtras(const CLI::App& app)
{
    bool optionsEnded = false;
    const std::vector<std::string> extras = app.remaining();
    const std::string* extraArgument = nullptr;
    for (const std::string& arg : extras) {
        if (arg == "--" && !optionsEnded) {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
            throw UsageError("不認得的選項：" + arg);
        } else if (!extraArgument) {
            extraArgument = &arg;
        }
    }
    if (extraArgument)
        throw UsageError("多餘的引數：" + *extraArgument);
}

} // namespace

std::unique_ptr<CLI::App> commandApp(std::string_view name, std::string_view description)
{
    auto app = std::make_unique<CLI::App>(std::string(description), "kerfwright-cli " + std::string(name));
    app->formatter(std::make_shared<HelpFormatter>());
    app->option_defaults()->group("選項");
    app->set_help_flag("-h,--help", "印出這個指令的說明");
    app->allow_extras(); // refused by refuseExtras, in the command line's words
    return app;
}

CLI::Option* addWholeNumberOption(CLI::App& app, const std::string& name, std::optional<int>& number, int least,
                                  int most, const std::string& valueName, const std::string& description,
                                  const std::string& refusal)
{
    return app.add_option_function<std::string>(
                  name,
                  [&number, least, most, refusal](const std::string& text) {
                      int value = 0;
                      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
                      if (ec != std::errc() || end != text.data() + text.size() || value < least || value > most)
                          throw UsageError(refusal);
                      number = value;
                  },
                  description)
        ->type_name(valueName);
}

void refuseEmpty(CLI::Option& option, const std::string& message)
{
    option.each([message](const std::string& text) {
        if (text.empty())
            throw UsageError(message);
    });
}

bool parseArguments(CLI::App& app, std::vector<std::string> args)
{
    // "--name=" is the option with an empty text, as "--name ''" is; CLI11
    // alone would take the next argument for its value.
    // After "--" every word is an argument, whatever it begins with.
    std::vector<std::string> words;
    bool options = true;
    for (std::string& arg : args) {
        if (arg == "--")
            options = false;
        if (options && arg.size() > 3 && arg.starts_with("--") && arg.find('=') == arg.size() - 1) {
            arg.pop_back();
            words.push_back(std::move(arg));
            words.emplace_back();
        } else {
            words.push_back(std::move(arg));
        }
    }
    std::reverse(words.begin(), words.end()); // CLI11 takes them from the back
    try {
        app.parse(words);
    } catch (const CLI::CallForHelp&) {
        return false;
    } catch (const CLI::ParseError& error) {
        // "--dei 5" is said as the unknown option it is, not as --die missing.
        if (dynamic_cast<const CLI::RequiredError*>(&error))
            refuseExtras(app);
        throw UsageError(usageErrorText(app, error));
    }
    refuseExtras(app);
    return true;
}

std::string usageLine(const CLI::App& app)
{
    std::string line = "用法：" + app.get_name();
    for (const CLI::Option* option : app.get_options([](const CLI::Option* o) { return o->get_positional(); }))
        line += " " + option->get_type_name();
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_positional() || option == app.get_help_ptr())
            continue;
        std::string part = option->get_name();
        if (!isFlag(*option))
            part += " " + option->get_type_name();
        line += " " + (option->get_required() ? part : "[" + part + "]");
    }
    return line;
}

} // namespace kerf::cli

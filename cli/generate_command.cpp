#include "cli/generate_command.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/design_options.h"
#include "program/writer/generation_driver.h"
#include "program/writer/local_date.h"
#include "files/program_folder.h"

namespace kerf::cli {
namespace {

// "yyyy/mm/dd" of a real date; anything else is a usage error.
std::chrono::year_month_day dateFrom(const std::optional<std::string>& text)
{
    if (!text)
        return localDate();
    const auto number = [&](std::size_t at, std::size_t length) {
        unsigned value = 0;
        const char* begin = text->data() + at;
        const auto result = std::from_chars(begin, begin + length, value);
        return result.ec == std::errc() && result.ptr == begin + length ? std::optional<unsigned>(value)
                                                                        : std::nullopt;
    };
    if (text->size() == 10 && (*text)[4] == '/' && (*text)[7] == '/') {
        const auto year = number(0, 4);
        const auto month = number(5, 2);
        const auto day = number(8, 2);
        if (year && month && day) {
            const std::chrono::year_month_day date{std::chrono::year(static_cast<int>(*year)),
                                                   std::chrono::month(*month), std::chrono::day(*day)};
            if (date.ok())
                return date;
        }
    }
    throw UsageError("--date must be a date written yyyy/mm/dd, e.g. 2004/03/05");
}

GenerationTexts boxesFrom(const Options& options)
{
    GenerationTexts texts;
    texts.name = options.require("name");
    texts.passes = options.get("passes").value_or(texts.passes);
    texts.DVL = options.get("dvl").value_or(texts.DVL);
    texts.DAC = options.get("dac").value_or(texts.DAC);
    texts.VEL = options.get("vel").value_or(texts.VEL);
    texts.ACC = options.get("acc").value_or(texts.ACC);
    return texts;
}

// The folder the desktop program writes into: the folder of its executable.
std::optional<std::filesystem::path> executableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::nullopt;
    return executable.parent_path();
}

} // namespace

int runGenerateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string_view> names = DesignOptionNames;
    names.insert(names.end(), {"name", "passes", "dvl", "dac", "vel", "acc", "out", "date"});
    const Options options(args, names);
    if (options.get("out") == "")
        throw UsageError("--out needs a folder, or - for standard output");
    const DesignInput design = designInputFrom(options);
    const GenerationRequest request{boxesFrom(options), dateFrom(options.get("date"))};

    const DesignOutcome outcome = runDesign(design);
    if (printedRefusal(outcome, err))
        return 1;
    if (std::holds_alternative<OutlineOnly>(outcome)) {
        err << NoLayoutPrompt << '\n'; // the generate button's refusal without results
        return 1;
    }
    const WaferLayout& layout = std::get<Design>(outcome).layout;

    const auto generate = [&](const ProgramDestination& destination) {
        return runGeneration(layout, request, destination);
    };
    const bool toStandardOutput = options.get("out") == "-";
    std::optional<GenerationOutcome> generated;
    if (toStandardOutput)
        generated = generate(std::ref(out));
    else if (const auto folder = options.get("out"))
        generated = generate(OutputFolder{*folder});
    else if (const char* preset = std::getenv(ProgramFolderVariable); preset && *preset)
        generated = generate(OutputFolder{preset}); // the site's folder, as for the start button
    else if (const auto own = executableFolder())
        generated = generate(OutputFolder{*own});
    if (!generated) {
        err << "找不到 kerfwright-cli 所在的資料夾，請以 --out 指定輸出資料夾。" << '\n';
        return 1;
    }

    if (const auto* refusal = std::get_if<GenerationRefusal>(&*generated)) {
        err << refusal->prompt << '\n';
        return 1;
    }
    if (const auto* failure = std::get_if<GenerationFailure>(&*generated)) {
        err << failure->prompt << '\n';
        return 1;
    }
    if (!toStandardOutput)
        out << std::get<GenerationDone>(*generated).path << '\n';
    return 0;
}

} // namespace kerf::cli

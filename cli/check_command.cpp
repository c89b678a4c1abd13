#include "cli/check_command.h"

#include <charconv>
#include <new>
#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/cut_report_output.h"
#include "cli/design_options.h"
#include "cli/program_file.h"
#include "program/check/cut_check.h"

namespace kerf::cli {

namespace {

// Whole positive numbers up to the pass count box's 999.
int passesFrom(const std::string& text)
{
    int passes = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), passes);
    if (ec != std::errc() || end != text.data() + text.size() || passes < 1 || passes > 999)
        throw UsageError("--passes must be a whole number from 1 to 999");
    return passes;
}

} // namespace

namespace {

int checkProgramFile(const std::string& file, const WaferLayout& layout, const CutCheckOptions& checkOptions,
                     bool json, std::ostream& out, std::ostream& err)
{
    const std::optional<Program> program = readProgramFile(file, err);
    if (!program)
        return 1;
    const CutReport report = checkCuts(*program, layout, checkOptions);
    if (report.unchecked != Unchecked::No) {
        // Not a fault of the program: it could not be checked.
        if (json)
            writeUncheckedJson(out, file, report);
        err << "程式檔 " << file << " 無法檢查：" << uncheckedText(report.unchecked) << '\n';
        return 3;
    }
    if (json)
        writeCutReportJson(out, file, report);
    else
        writeCutReportText(out, file, report);
    return report.clean() ? 0 : 1;
}

} // namespace

int runCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    // The program file stands first; --json takes no value.
    if (args.empty() || args.front().rfind("--", 0) == 0)
        throw UsageError("the program file comes first");
    const std::string file = args.front();
    bool json = false;
    std::vector<std::string> rest;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--json") {
            if (json)
                throw UsageError("--json given twice");
            json = true;
        } else {
            rest.push_back(args[i]);
        }
    }
    std::vector<std::string_view> names = DesignOptionNames;
    names.push_back("passes");
    const Options options(rest, names);
    options.require("shape");
    CutCheckOptions checkOptions;
    checkOptions.listLimit = 20;
    if (const auto passes = options.get("passes"))
        checkOptions.passes = passesFrom(*passes);

    const DesignOutcome outcome = runDesign(designInputFrom(options));
    if (printedRefusal(outcome, err))
        return 1;
    if (std::holds_alternative<OutlineOnly>(outcome)) {
        err << "沒有選擇晶粒形狀，沒有晶粒可以檢查：請以 --shape 選擇 Circle、Hexagon 或 Square。\n";
        return 1;
    }
    const WaferLayout& layout = std::get<Design>(outcome).layout;
    try {
        return checkProgramFile(file, layout, checkOptions, json, out, err);
    } catch (const std::bad_alloc&) {
        err << "程式檔 " << file << " 無法檢查：" << uncheckedText(Unchecked::OutOfMemory) << '\n';
        return 3;
    }
}

} // namespace kerf::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/generate_command.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "cli/design_options.h"
#include "cli/flat_options.h"
#include "cli/job_options.h"
#include "program/writer/generation_driver.h"
#include "numbers/local_date.h"
#include "program/writer/generation_note.h"
#include "files/program_folder.h"

namespace kerf::cli {
namespace {

// "yyyy/mm/dd" of a real date, or none.
std::optional<std::chrono::year_month_day> dateFrom(const std::string& text)
{
    const auto number = [&](std::size_t at, std::size_t length) {
        unsigned value = 0;
        const char* begin = text.data() + at;
        const auto result = std::from_chars(begin, begin + length, value);
        return result.ec == std::errc() && result.ptr == begin + length ? std::optional<unsigned>(value)
                                                                        : std::nullopt;
    };
    if (text.size() != 10 || text[4] != '/' || text[7] != '/')
        return std::nullopt;
    const auto year = number(0, 4);
    const auto month = number(5, 2);
    const auto day = number(8, 2);
    if (!year || !month || !day)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(static_cast<int>(*year)), std::chrono::month(*month),
                                           std::chrono::day(*day)};
    return date.ok() ? std::optional(date) : std::nullopt;
}

struct GenerateChoices {
    Job boxes; // the window's start values for the generation boxes not given
    JobFiles jobFiles;
    std::optional<std::string> out;
    std::optional<std::chrono::year_month_day> date;
};

int generateProgram(const GenerateChoices& choices, std::ostream& out, std::ostream& err)
{
    const std::optional<Job> job = commandJob(choices.jobFiles, choices.boxes, err);
    if (!job)
        return 1;
    const GenerationRequest request{generationTextsOf(job->program), choices.date.value_or(localDate())};
    const DesignOutcome outcome = runDesign(designInputOf(*job));
    if (printedRefusal(outcome, err))
        return 1;
    if (std::holds_alternative<OutlineOnly>(outcome)) {
        err << NoLayoutPrompt << '\n'; // the generate button's refusal without results
        return 1;
    }
    const WaferLayout& layout = std::get<Design>(outcome).layout;
    if (const auto note = generationNote(layout.shape, request.texts))
        err << *note << '\n';

    const auto generate = [&](const ProgramDestination& destination) {
        return runGeneration(layout, request, destination);
    };
    const bool toStandardOutput = choices.out == "-";
    std::optional<GenerationOutcome> generated;
    if (toStandardOutput)
        generated = generate(std::ref(out));
    else if (choices.out)
        generated = generate(OutputFolder{*choices.out});
    else if (const char* preset = std::getenv(ProgramFolderVariable); preset && *preset)
        generated = generate(OutputFolder{preset}); // the site's folder, as for the start button
    else
        generated = generate(OutputFolder{"."}); // the current folder, as other tools write

    if (const auto* refusal = std::get_if<GenerationRefusal>(&*generated)) {
        err << refusal->prompt << '\n';
        return 1;
    }
    if (const auto* failure = std::get_if<GenerationFailure>(&*generated)) {
        err << failure->prompt;
        if (!toStandardOutput) // the way to another folder
            err << "請以 --out 或環境變數 " << ProgramFolderVariable << " 指定可寫入的資料夾。";
        err << '\n';
        return 1;
    }
    if (!toStandardOutput)
        out << std::get<GenerationDone>(*generated).path << '\n';
    return savedJob(choices.jobFiles, *job, err) ? 0 : 1;
}

} // namespace

CommandRun declareGenerateCommand(CLI::App& app)
{
    const auto choices = std::make_shared<GenerateChoices>();
    JobProgram& boxes = choices->boxes.program;
    const GenerationTexts start; // what the window opens with
    const DesignOptions design = addDesignOptions(app, choices->boxes.designer);
    CLI::Option* name = addTextOption(app, "--name", boxes.name, "NAME", "程式檔名（不含 .TXT）")->required();
    addTextOption(app, "--passes", boxes.passes, "N", "切割次數（預設 " + start.passes + "）");
    addTextOption(app, "--dvl", boxes.dvl, "TEXT", "DVL（預設 " + start.DVL + "）");
    addTextOption(app, "--dac", boxes.dac, "TEXT", "DAC（預設 " + start.DAC + "）");
    addTextOption(app, "--vel", boxes.vel, "TEXT", "VEL（預設 " + start.VEL + "）");
    addTextOption(app, "--acc", boxes.acc, "TEXT", "ACC（預設 " + start.ACC + "）");
    addFlatOptions(app, choices->boxes.flats);
    addJobOption(app, choices->jobFiles, {design.wafer, design.die, name});
    addSaveJobOption(app, choices->jobFiles);
    refuseEmpty(*addTextOption(app, "--out", choices->out, "DIR|-",
                               "程式檔的資料夾（預設 $KERFWRIGHT_PROGRAM_DIR，沒有時為目前的資料夾）；- 寫到標準輸出"),
                "--out 需要一個資料夾，或以 - 表示標準輸出。");
    app.add_option_function<std::string>(
           "--date",
           [&date = choices->date](const std::string& text) {
               date = dateFrom(text);
               if (!date)
                   throw UsageError("--date 必須是寫成 yyyy/mm/dd 的日期，例如 2004/03/05。");
           },
           "程式所記的日期（預設為今天）")
        ->type_name("yyyy/mm/dd");
    app.footer("如「開始設計」按鈕排列晶粒，再如產生程式碼視窗的「開始」按鈕寫出切割程式 NAME.TXT，\n"
               "並印出檔案的路徑。機台參數是方塊裡的文字（沒給時為視窗的預設值；\"\" 為清空的方塊）。\n"
               "程式檔寫入 --out 的資料夾；沒有 --out 時寫入環境變數 KERFWRIGHT_PROGRAM_DIR 的資料夾，\n"
               "也沒有時寫入目前的資料夾。");
    return [choices](std::ostream& out, std::ostream& err) { return generateProgram(*choices, out, err); };
}

} // namespace kerf::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/check_command.h"

#include <memory>
#include <new>
#include <optional>

#include "cli/cut_report_output.h"
#include "cli/design_options.h"
#include "cli/flat_options.h"
#include "cli/job_options.h"
#include "files/shown_path.h"
#include "program/check/cut_check.h"
#include "program/reader/program_file.h"

namespace kerf::cli {
namespace {

int checkProgramFile(const std::string& file, const WaferLayout& layout, const CutCheckOptions& checkOptions,
                     bool json, std::ostream& out, std::ostream& err)
{
    auto read = readProgramFile(file);
    if (const auto* refusal = std::get_if<ProgramFileRefusal>(&read)) {
        err << refusal->message << '\n';
        return refusal->fault == ProgramFileFault::TooLarge ? 3   // too large: it could not be checked
             : refusal->fault == ProgramFileFault::Unreadable ? 2 // no file to check
                                                             : 1;
    }
    ProgramFile& program = std::get<ProgramFile>(read);
    // The check runs the compiled program: its text can go.
    program.text = std::pmr::string(program.text.get_allocator());
    const CutReport report = checkCuts(*program.program, layout, checkOptions);
    if (report.unchecked != Unchecked::No) {
        // Not a fault of the program: it could not be checked.
        if (json)
            writeUncheckedJson(out, file, report);
        err << "程式檔 " << shownPath(file) << " 無法檢查：" << uncheckedText(report.unchecked) << '\n';
        return 3;
    }
    if (json)
        writeCutReportJson(out, file, report);
    else
        writeCutReportText(out, file, report);
    return report.clean() ? 0 : 1;
}

struct CheckChoices {
    std::string file;
    std::optional<std::string> program; // --program FILE, as map and sheet take it
    DesignBoxes boxes;
    JobFlats flats;
    JobFiles jobFiles;
    std::optional<int> passes;
    bool json = false;
};

int check(const CheckChoices& choices, std::ostream& out, std::ostream& err)
{
    if (choices.file.empty() == !choices.program)
        throw UsageError(choices.program ? "程式檔只能給一個：FILE.TXT 或 --program FILE.TXT。"
                                         : "缺少要檢查的程式檔：FILE.TXT 或 --program FILE.TXT。");
    const std::string& file = choices.program ? *choices.program : choices.file;
    const bool json = choices.json;
    CutCheckOptions checkOptions;
    checkOptions.listLimit = 20;
    checkOptions.passes = choices.passes;

    const std::optional<Job> job = commandJob(choices.jobFiles, Job{choices.boxes, {}, {}, choices.flats}, err);
    if (!job)
        return 1;
    const DesignOutcome outcome = runDesign(designInputOf(*job));
    if (printedRefusal(outcome, err))
        return 1;
    const auto* design = std::get_if<Design>(&outcome);
    if (!design) { // a job's empty shape: no dies to check against
        err << "沒有選擇晶粒形狀（--shape 或工作檔的 designer.shape），沒有晶粒可以檢查程式。\n";
        return 1;
    }
    const WaferLayout& layout = design->layout;
    try {
        return checkProgramFile(file, layout, checkOptions, json, out, err);
    } catch (const std::bad_alloc&) {
        err << "程式檔 " << shownPath(file) << " 無法檢查：" << uncheckedText(Unchecked::OutOfMemory) << '\n';
        return 3;
    }
}

} // namespace

CommandRun declareCheckCommand(CLI::App& app)
{
    const auto choices = std::make_shared<CheckChoices>();
    app.add_option("FILE.TXT", choices->file, "要檢查的切割程式檔；- 從標準輸入讀取")->type_name("FILE.TXT");
    addTextOption(app, "--program", choices->program, "FILE.TXT", "同 FILE.TXT，如 map 與 sheet 的寫法");
    const DesignOptions design = addDesignOptions(app, choices->boxes);
    design.shape->required();
    addFlatOptions(app, choices->flats);
    addJobOption(app, choices->jobFiles, {design.wafer, design.shape, design.die});
    addWholeNumberOption(app, "--passes", choices->passes, 1, 999, "N",
                         "每個邊必須切的次數（預設：多數晶粒所得的切割次數）",
                         "--passes 必須是 1 到 999 的整數。");
    app.add_flag("--json", choices->json, "以 JSON 印出報告")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
        ->disable_flag_override();
    app.footer("讓程式 FILE.TXT 在這些設定的排列上如機台般跑一遍，報告它的切割：切割與空跑的長度、\n"
               "完整切開的晶粒與沒切開的晶粒、在有效直徑外或不在晶粒邊上的切割、切割頭停在哪裡。\n"
               "結束代碼：0 每個晶粒都切開且沒有切在外面或不在晶粒邊上；1 程式有誤或值被拒絕；\n"
               "2 用法錯誤或程式檔、工作檔無法讀取；3 無法檢查。");
    return [choices](std::ostream& out, std::ostream& err) { return check(*choices, out, err); };
}

} // namespace kerf::cli

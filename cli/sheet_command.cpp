// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sheet_command.h"

#include <filesystem>
#include <memory>
#include <optional>

#include "cli/design_options.h"
#include "cli/drawn_output.h"
#include "cli/flat_options.h"
#include "cli/gui_application.h"
#include "cli/output_file.h"
#include "files/shown_path.h"
#include "job/job_file.h"
#include "program/reader/program_file.h"
#include "render/job_sheet.h"

namespace kerf::cli {

namespace {

struct SheetChoices {
    std::string job;
    std::optional<std::string> program;
    std::string pdf;
    JobFlats flats; // over the job's
};

int writeSheet(const SheetChoices& choices, std::ostream& out, std::ostream& err)
{
    const auto read = readJob(choices.job);
    if (const auto* refusal = std::get_if<JobRefusal>(&read)) {
        err << refusal->prompt << '\n';
        return 1;
    }
    const Job job = completedJob(overlaidJob(std::get<Job>(read), Job{{}, {}, {}, choices.flats}));
    const DesignOutcome outcome = runDesign(designInputOf(job));
    if (printedRefusal(outcome, err))
        return 1;
    const auto* design = std::get_if<Design>(&outcome);
    if (!design) {
        err << "工作檔 " << shownPath(choices.job) << " 沒有選擇晶粒形狀，無晶片資料可以印成工作單。\n";
        return 1;
    }
    std::optional<ProgramFile> program;
    if (const auto& file = choices.program) {
        auto programRead = readProgramFile(*file);
        if (const auto* refusal = std::get_if<ProgramFileRefusal>(&programRead)) {
            err << refusal->message << '\n';
            return refusal->fault == ProgramFileFault::Unreadable ? 2 : 1; // no file, or not a program
        }
        program = std::get<ProgramFile>(std::move(programRead));
    }

    ensureGuiApplication();
    const map::JobSheet sheet = map::jobSheet(std::filesystem::path(choices.job).filename().string(), job,
                                              design->layout, std::move(program));
    const auto failure = writeOutputFile(choices.pdf, out, [&](std::ostream& file) {
        if (!map::writeJobSheetPdf(file, sheet))
            file.setstate(std::ios::failbit);
    });
    if (failure) {
        err << replaceFailureText("工作單", choices.pdf, *failure) << '\n';
        return 1;
    }
    if (choices.pdf != "-") // else the document is the output
        out << choices.pdf << '\n';
    return 0;
}

} // namespace

CommandRun declareSheetCommand(CLI::App& app)
{
    const auto choices = std::make_shared<SheetChoices>();
    refuseEmpty(*addTextOption(app, "--job", choices->job, "JOB.kwjob", "工作檔")->required(), "--job 需要檔名。");
    addFlatOptions(app, choices->flats);
    addTextOption(app, "--program", choices->program, "FILE.TXT", "工作單描述並檢查這個切割程式（預設：現在為工作產生的程式）");
    refuseEmpty(*addTextOption(app, "--pdf", choices->pdf, "SHEET.pdf", "存成 PDF 文件；- 寫到標準輸出")->required(),
                "--pdf 需要檔名。");
    app.footer("如設計視窗排列工作檔的晶粒，把工作單印成一頁 A4 的 PDF：工作檔、晶片設定值與結果、\n"
               "機台參數（取自程式本身：SP 行、檢查讀出的切割次數、圓弧的 VEL 與 ACC；工作檔不同之處並列標出）、\n"
               "切割程式的檔名、資料夾、大小、行數、日期與 SHA-256、檢查結論與預估加工時間，以及畫上切割路徑的晶片圖。\n"
               "沒有 --program 時描述並畫出現在為這個工作產生的程式。印出 PDF 的路徑。");
    return [choices](std::ostream& out, std::ostream& err) {
        return drawnOutput([&] { return writeSheet(*choices, out, err); }, err);
    };
}

} // namespace kerf::cli

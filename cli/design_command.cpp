// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "cli/commands.h"
#include "cli/design_options.h"
#include "cli/die_map_output.h"
#include "cli/job_options.h"
#include "cli/layout_json.h"
#include "cli/output_file.h"
#include "cli/yield_options.h"
#include "layout/die_area.h"
#include "layout/die_csv.h"

namespace kerf::cli {
namespace {

struct DesignChoices {
    DesignBoxes boxes;
    JobYield yield;
    std::optional<std::string> csv;
    std::optional<std::string> bins;
    JobFiles jobFiles;
};

int design(const DesignChoices& choices, std::ostream& out, std::ostream& err)
{
    const std::optional<Job> job = commandJob(choices.jobFiles, Job{choices.boxes, {}, choices.yield}, err);
    if (!job)
        return 1;
    std::optional<YieldSettings> yield;
    if (!readCommandYield(job->yield, yield, err))
        return 1;
    const DesignOutcome outcome = runDesign(designInputOf(job->designer));
    if (printedRefusal(outcome, err))
        return 1;
    if (std::holds_alternative<OutlineOnly>(outcome)) {
        writeOutlineOnlyJson(out);
        return savedJob(choices.jobFiles, *job, err) ? 0 : 1;
    }
    const Design& design = std::get<Design>(outcome);
    std::optional<DieBins> bins;
    if (const auto& file = choices.bins) {
        int exitCode = 0;
        bins = readDieBins(design.layout, *file, err, exitCode);
        if (!bins)
            return exitCode;
    }
    if (const auto& csv = choices.csv) {
        const auto failure = writeOutputFile(*csv, out, [&](std::ostream& file) { writeDieCsv(file, design.layout); });
        if (failure) {
            err << replaceFailureText("晶粒座標檔", *csv, *failure) << '\n';
            return 1;
        }
    }
    // "--csv -" puts the CSV on standard output in place of the JSON.
    if (choices.csv != "-") {
        std::string more =
            yield ? yieldJsonMember(*yield, goodDies(*yield, dieTotal(design.layout), dieAreaCm2(design.layout)))
                  : std::string();
        if (bins)
            more += ",\n " + binsJsonMember(*bins);
        writeLayoutJson(out, design.layout, design.results, more);
    }
    return savedJob(choices.jobFiles, *job, err) ? 0 : 1;
}

} // namespace

CommandRun declareDesignCommand(CLI::App& app)
{
    const auto choices = std::make_shared<DesignChoices>();
    const DesignOptions options = addDesignOptions(app, choices->boxes);
    addJobOption(app, choices->jobFiles, {options.wafer, options.die});
    addSaveJobOption(app, choices->jobFiles);
    addYieldOptions(app, choices->yield);
    refuseEmpty(*addTextOption(app, "--csv", choices->csv, "FILE", "另外寫出每個晶粒一行的座標檔；- 寫到標準輸出，取代 JSON"),
                "--csv 需要檔名。");
    refuseEmpty(*addTextOption(app, "--bins", choices->bins, "FILE.SINF", "讀入這個佈局的 SINF 晶圓圖，數出良品與不良品"),
                "--bins 需要檔名。");
    app.footer("排列以一個 JSON 物件印出：形狀、間距、兩個表格（記錄 1..N 依序）與三個結果方塊的文字，\n"
               "每個數值都是它在切割程式裡的文字。沒有 --shape 時只有晶片外框（形狀為 null）。\n"
               "--csv 的每一行：列（由上而下）、晶粒（由左而右）、中心的 X 與 Y（英吋，自晶片中心，Y 向上）。\n"
               + std::string(YieldOptionsFooter) + "結果在 JSON 的 \"yield\" 物件。\n"
               "--bins 讀入同一佈局（列數、行數與間距相同）的 SINF 晶圓圖：代碼在 BCEQU 之列的晶粒為良品，\n"
               "其他代碼為不良品；JSON 多了 \"bins\": {\"good\", \"bad\", \"codes\"}。");
    return [choices](std::ostream& out, std::ostream& err) { return design(*choices, out, err); };
}

} // namespace kerf::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "cli/commands.h"
#include "cli/design_options.h"
#include "cli/flat_options.h"
#include "cli/job_options.h"
#include "cli/layout_json.h"
#include "cli/output_file.h"
#include "layout/die_csv.h"

namespace kerf::cli {
namespace {

struct DesignChoices {
    DesignBoxes boxes;
    JobFlats flats;
    std::optional<std::string> csv;
    JobFiles jobFiles;
};

int design(const DesignChoices& choices, std::ostream& out, std::ostream& err)
{
    const std::optional<Job> job = commandJob(choices.jobFiles, Job{choices.boxes, {}, choices.flats}, err);
    if (!job)
        return 1;
    const DesignOutcome outcome = runDesign(designInputOf(*job));
    if (printedRefusal(outcome, err))
        return 1;
    if (std::holds_alternative<OutlineOnly>(outcome)) {
        writeOutlineOnlyJson(out);
        return savedJob(choices.jobFiles, *job, err) ? 0 : 1;
    }
    const Design& design = std::get<Design>(outcome);
    if (const auto& csv = choices.csv) {
        const auto failure = writeOutputFile(*csv, out, [&](std::ostream& file) { writeDieCsv(file, design.layout); });
        if (failure) {
            err << replaceFailureText("晶粒座標檔", *csv, *failure) << '\n';
            return 1;
        }
    }
    // "--csv -" puts the CSV on standard output in place of the JSON.
    if (choices.csv != "-")
        writeLayoutJson(out, design.layout, design.results);
    return savedJob(choices.jobFiles, *job, err) ? 0 : 1;
}

} // namespace

CommandRun declareDesignCommand(CLI::App& app)
{
    const auto choices = std::make_shared<DesignChoices>();
    const DesignOptions options = addDesignOptions(app, choices->boxes);
    addFlatOptions(app, choices->flats);
    addJobOption(app, choices->jobFiles, {options.wafer, options.die});
    addSaveJobOption(app, choices->jobFiles);
    addTextOption(app, "--csv", choices->csv, "FILE", "另外寫出每個晶粒一行的座標檔；- 寫到標準輸出，取代 JSON");
    app.footer("排列以一個 JSON 物件印出：形狀、間距、兩個表格（記錄 1..N 依序）與三個結果方塊的文字，\n"
               "每個數值都是它在切割程式裡的文字。沒有 --shape 時只有晶片外框（形狀為 null）。\n"
               "--csv 的每一行：列（由上而下）、晶粒（由左而右）、中心的 X 與 Y（英吋，自晶片中心，Y 向上）。");
    return [choices](std::ostream& out, std::ostream& err) { return design(*choices, out, err); };
}

} // namespace kerf::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/compare_command.h"

#include <memory>
#include <new>
#include <optional>

#include "cli/comparison_output.h"
#include "cli/design_options.h"
#include "cli/job_options.h"
#include "program/compare/comparison_words.h"
#include "program/reader/program_file.h"

namespace kerf::cli {
namespace {

struct CompareChoices {
    std::string fileA;
    std::string fileB;
    DesignBoxes boxes;
    JobFiles jobFiles;
    bool json = false;
};

/// How many differing dies and cuts the report lists.
constexpr std::size_t ListLimit = 20;

// Exit codes: 0 the same, 1 different or values the designer refuses, 2
// usage or a program file that cannot be read as one, 3 either could not be
// checked.
int compare(const CompareChoices& choices, std::ostream& out, std::ostream& err)
{
    if (choices.fileA == "-" && choices.fileB == "-") {
        err << "只有一個程式檔可以從標準輸入（-）讀取。\n";
        return 2;
    }
    const std::optional<Job> job = commandJob(choices.jobFiles, Job{choices.boxes, {}}, err);
    if (!job)
        return 1;
    const DesignOutcome outcome = runDesign(designInputOf(job->designer));
    if (printedRefusal(outcome, err))
        return 1;
    const WaferLayout& layout = std::get<Design>(outcome).layout; // --shape is required: dies were laid out

    std::shared_ptr<const Program> programs[2];
    const std::string* files[2] = {&choices.fileA, &choices.fileB};
    for (int k = 0; k < 2; ++k) {
        auto read = readProgramFile(*files[k]);
        if (const auto* refusal = std::get_if<ProgramFileRefusal>(&read)) {
            err << refusal->message << '\n';
            return refusal->fault == ProgramFileFault::TooLarge ? 3 : 2;
        }
        programs[k] = std::get<ProgramFile>(read).program; // the text goes with the file read
    }
    ComparisonOptions options;
    options.listLimit = ListLimit;
    const ProgramComparison comparison = comparePrograms(*programs[0], *programs[1], layout, options);
    if (!comparison.checked()) {
        err << comparisonVerdict(comparison) << '\n';
        return 3;
    }
    if (choices.json)
        writeComparisonJson(out, comparison, ListLimit);
    else
        writeComparisonText(out, comparison, choices.fileA, choices.fileB, ListLimit);
    return comparison.same() ? 0 : 1;
}

int guardedCompare(const CompareChoices& choices, std::ostream& out, std::ostream& err)
{
    try {
        return compare(choices, out, err);
    } catch (const std::bad_alloc&) {
        err << "無法比較：" << uncheckedText(Unchecked::OutOfMemory) << '\n';
        return 3;
    }
}

} // namespace

CommandRun declareCompareCommand(CLI::App& app)
{
    const auto choices = std::make_shared<CompareChoices>();
    app.add_option("A.TXT", choices->fileA, "第一個切割程式檔；- 從標準輸入讀取")->type_name("A.TXT")->required();
    app.add_option("B.TXT", choices->fileB, "第二個切割程式檔；- 從標準輸入讀取")->type_name("B.TXT")->required();
    const DesignOptions design = addDesignOptions(app, choices->boxes);
    design.shape->required();
    addJobOption(app, choices->jobFiles, {design.wafer, design.shape, design.die});
    app.add_flag("--json", choices->json, "以 JSON 印出比較")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
        ->disable_flag_override();
    app.footer("讓程式 A.TXT 與 B.TXT 在這些設定的排列上各跑一遍，逐一比較每個晶粒被切的次數\n"
               "（圓形晶粒切的圈數，六角形與方形晶粒切得最少的一邊的次數），並比較不在晶粒邊上與有效直徑外的切割\n"
               "（依位置，不依行號）。列出前 20 個不同的晶粒與切割，其餘只計數；也列出兩者的切割遍數與預估加工時間。\n"
               "結束代碼：0 相同；1 不同；2 用法錯誤、設定值被拒絕或程式檔無法讀取；3 有一個程式無法檢查。");
    return [choices](std::ostream& out, std::ostream& err) { return guardedCompare(*choices, out, err); };
}

} // namespace kerf::cli

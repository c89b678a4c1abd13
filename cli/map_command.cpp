// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/map_command.h"

#include <memory>
#include <optional>

#include "cli/design_options.h"
#include "cli/flat_options.h"
#include "cli/drawn_output.h"
#include "cli/gui_application.h"
#include "cli/job_options.h"
#include "cli/output_file.h"
#include "program/check/program_file.h"
#include "program/reader/program_runs.h"
#include "render/layout_export.h"

namespace kerf::cli {

namespace {

struct MapChoices {
    DesignBoxes boxes;
    JobFlats flats;
    JobFiles jobFiles;
    std::optional<std::string> png;
    std::optional<std::string> svg;
    std::optional<int> side;
    std::optional<std::string> program;
};

int drawMap(const MapChoices& choices, std::ostream& out, std::ostream& err)
{
    const auto& png = choices.png;
    if (png.has_value() == choices.svg.has_value())
        throw UsageError("請給 --png FILE 或 --svg FILE 其中之一。");
    const std::string path = png ? *png : *choices.svg;
    const int side = choices.side.value_or(map::MapPictureSide);
    const std::optional<Job> job = commandJob(choices.jobFiles, Job{choices.boxes, {}, choices.flats}, err);
    if (!job)
        return 1;
    const DesignInput input = designInputOf(*job);
    ensureGuiApplication();

    const DesignOutcome outcome = runDesign(input);
    if (printedRefusal(outcome, err))
        return 1;
    // No shape chosen: the outline alone, as the designer draws it.
    WaferLayout outline;
    outline.WaferDiameter = input.WaferDiameter;
    const auto* design = std::get_if<Design>(&outcome);
    const WaferLayout& layout = design ? design->layout : outline;

    std::shared_ptr<const Program> program;
    if (const auto& file = choices.program) {
        auto read = readProgramFile(*file);
        if (const auto* refusal = std::get_if<ProgramFileRefusal>(&read)) {
            err << refusal->message << '\n';
            return refusal->fault == ProgramFileFault::Unreadable ? 2 : 1; // no file, or not a program
        }
        program = std::get<ProgramFile>(std::move(read)).program;
        // A path the drawing could not run to its end would be a partial
        // picture: such a program is refused before anything is drawn.
        if (runProgramRuns(*program, [](const MotionRun&) {}).beyondBounds) {
            err << "程式檔 " << *file << " 無法畫出切割路徑：程式展開後太大，超出執行的界限。\n";
            return 1;
        }
    }

    const Program* cutPath = program.get();
    const auto failure = writeOutputFile(path, out, [&](std::ostream& file) {
        const bool written = png ? map::writeMapPng(file, layout, side, cutPath)
                                 : map::writeMapSvg(file, layout, side, cutPath);
        if (!written)
            file.setstate(std::ios::failbit);
    });
    if (failure) {
        err << replaceFailureText("圖片", path, *failure) << '\n';
        return 1;
    }
    if (path != "-") // else the image is the output
        out << path << '\n';
    return 0;
}

} // namespace

CommandRun declareMapCommand(CLI::App& app)
{
    const auto choices = std::make_shared<MapChoices>();
    const DesignOptions design = addDesignOptions(app, choices->boxes);
    addFlatOptions(app, choices->flats);
    addJobOption(app, choices->jobFiles, {design.wafer, design.die});
    const std::string noName = "--png 與 --svg 需要檔名。";
    refuseEmpty(*addTextOption(app, "--png", choices->png, "FILE", "存成 PNG 圖片；- 寫到標準輸出"), noName);
    addWholeNumberOption(app, "--size", choices->side, 16, 4096, "PIXELS",
                         "PNG 圖片的邊長（像素，16 到 4096，預設 " + std::to_string(map::MapPictureSide) + "）",
                         "--size 必須是 16 到 4096 的整數（像素）。");
    refuseEmpty(*addTextOption(app, "--svg", choices->svg, "FILE", "存成 SVG 文件；- 寫到標準輸出"), noName);
    addTextOption(app, "--program", choices->program, "FILE.TXT", "在圖上畫出這個切割程式的切割路徑；- 從標準輸入讀取");
    app.footer("如「開始設計」按鈕排列晶粒，把晶片圖如設計視窗所畫的存成 --png 或 --svg 其中之一的檔案，\n"
               "並印出檔案的路徑。--program 如預覽視窗把程式的切割路徑畫在圖上：切割為藍色，\n"
               "雷射關閉的移動為灰色虛線。");
    return [choices](std::ostream& out, std::ostream& err) {
        return drawnOutput([&] { return drawMap(*choices, out, err); }, err);
    };
}

} // namespace kerf::cli

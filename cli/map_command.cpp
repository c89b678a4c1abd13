// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/map_command.h"

#include <memory>
#include <optional>

#include "cli/design_options.h"
#include "cli/die_map_output.h"
#include "cli/flat_options.h"
#include "cli/drawn_output.h"
#include "cli/gui_application.h"
#include "cli/job_options.h"
#include "cli/output_file.h"
#include "program/reader/program_file.h"
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
    std::optional<std::string> sinf;
    std::optional<std::string> e142;
    MapHeaderTexts header;
    std::optional<int> side;
    std::optional<std::string> program;
};

int drawMap(const MapChoices& choices, std::ostream& out, std::ostream& err)
{
    const auto& png = choices.png;
    const int outputs = png.has_value() + choices.svg.has_value() + choices.sinf.has_value() + choices.e142.has_value();
    if (outputs != 1)
        throw UsageError("請給 --png FILE、--svg FILE、--sinf FILE 或 --e142 FILE 其中之一。");
    if (choices.program && (choices.sinf || choices.e142))
        throw UsageError("--program 只能畫在 --png 或 --svg 的圖上。");
    const int side = choices.side.value_or(map::MapPictureSide);
    const std::optional<Job> job = commandJob(choices.jobFiles, Job{choices.boxes, {}, {}, choices.flats}, err);
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
    if (choices.sinf || choices.e142) {
        if (!design) {
            err << "晶圓圖沒有寫出：沒有選擇晶粒形狀，沒有晶粒可寫。\n";
            return 1;
        }
        return writeDieMapOutput(layout, choices.sinf ? DieMapFormat::Sinf : DieMapFormat::E142,
                           choices.sinf ? *choices.sinf : *choices.e142, mapHeaderOf(choices.header, *job), out, err);
    }
    const std::string path = png ? *png : *choices.svg;

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
    refuseEmpty(*addTextOption(app, "--sinf", choices->sinf, "FILE", "存成 SINF 晶圓圖（文字）；- 寫到標準輸出"),
                "--sinf 與 --e142 需要檔名。");
    refuseEmpty(*addTextOption(app, "--e142", choices->e142, "FILE", "存成 E142 格式的 XML 晶圓圖；- 寫到標準輸出"),
                "--sinf 與 --e142 需要檔名。");
    addMapHeaderOptions(app, choices->header);
    addTextOption(app, "--program", choices->program, "FILE.TXT", "在圖上畫出這個切割程式的切割路徑；- 從標準輸入讀取");
    app.footer("如「開始設計」按鈕排列晶粒，把晶片圖如設計視窗所畫的存成 --png 或 --svg 其中之一的檔案，\n"
               "並印出檔案的路徑。--program 如預覽視窗把程式的切割路徑畫在圖上：切割為藍色，\n"
               "雷射關閉的移動為灰色虛線。--sinf 與 --e142 改寫出給探針台與分類機的晶圓圖，每個晶粒一格\n"
               "（圓形與六角形的列錯開半個間距，所以行是半個間距）；--device、--lot、--wafer-id 填入圖的標頭。");
    return [choices](std::ostream& out, std::ostream& err) {
        return drawnOutput([&] { return drawMap(*choices, out, err); }, err);
    };
}

} // namespace kerf::cli

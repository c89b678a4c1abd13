// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sweep_command.h"

#include <algorithm>
#include <memory>

#include <QApplication>
#include <QBuffer>

#include "cli/design_options.h"
#include "cli/flat_options.h"
#include "cli/job_options.h"
#include "cli/offscreen_qt.h"
#include "cli/output_file.h"
#include "cli/yield_options.h"
#include "render/die_size_chart.h"
#include "render/drawing_failure.h"
#include "render/drawing_threads.h"
#include "layout/die_size_sweep.h"
#include "layout/flat_checks.h"
#include "layout/sweep_range_texts.h"
#include "yield/yield_sweep.h"

namespace kerf::cli {

namespace {

// The size of the chart image, the window's at its opening size.
constexpr int ChartWidth = 900;
constexpr int ChartHeight = 560;

// "Circle,Square": shapes of the list, separated by commas.
std::vector<std::string> shapesFrom(const std::string& list)
{
    std::vector<std::string> shapes;
    std::string_view rest = list;
    while (true) {
        const auto comma = rest.find(',');
        const std::string shape(rest.substr(0, comma));
        if (std::find(DieShapeItems.begin(), DieShapeItems.end(), shape) == DieShapeItems.end())
            throw UsageError("--shape 只接受 Circle、Hexagon 或 Square，多個以逗號分隔。");
        shapes.push_back(shape);
        if (comma == std::string_view::npos)
            return shapes;
        rest.remove_prefix(comma + 1);
    }
}

// Charts are drawn by widgets: a QApplication on the offscreen platform,
// never destroyed, and its drawing's threads made at once, as for the map.
bool ensureWidgetApplication()
{
    if (QCoreApplication::instance()) {
        map::prepareDrawingThreads();
        return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    }
    prepareOffscreenQt();
    map::requireDrawingRoom(map::QtStartRoom); // loading the platform plugin aborts where memory is short
    static int argc = 1;
    static char name[] = "kerfwright-cli";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    map::prepareDrawingThreads();
    return true;
}

struct SweepChoices {
    DesignBoxes boxes; // the die size is each point's
    JobFlats flats;
    JobFiles jobFiles; // the wafer, the effective diameter and the fine-tune
    JobYield yield;
    SweepRequest request;
    SweepRangeTexts range; // the chart's boxes: from, to, steps
    std::optional<std::string> csv;
    std::optional<std::string> png;
};

int sweep(SweepChoices& choices, std::ostream& out, std::ostream& err)
{
    const auto& csv = choices.csv;
    const auto& png = choices.png;
    if (csv.has_value() == png.has_value())
        throw UsageError("請給 --csv FILE 或 --png FILE 其中之一。");
    SweepRequest& request = choices.request;
    const std::optional<Job> job =
        commandJob(choices.jobFiles, Job{choices.boxes, {}, choices.yield, choices.flats}, err);
    if (!job)
        return 1;
    std::optional<YieldSettings> yield;
    if (!readCommandYield(job->yield, yield, err))
        return 1;
    JobDesigner base = job->designer;
    base.die = "1";
    request.base = designInputOf(Job{base, {}, {}, job->flats});
    if (request.shapes.empty()) { // the job's shape
        if (!base.shape || base.shape->empty())
            throw UsageError("缺少必要的選項 --shape（或工作檔的 designer.shape）。");
        request.shapes = {*base.shape};
    }
    if (const auto refusal = readSweepRange(choices.range, request)) {
        err << refusal->prompt << '\n'; // as the chart's boxes refuse it
        return 1;
    }
    const auto flats = readFlats(request.base.flats, request.base.WaferDiameter);
    if (const auto* refusal = std::get_if<Refusal>(&flats)) {
        err << refusal->prompt << '\n'; // every point would be refused alike
        return 1;
    }

    if (png && !ensureWidgetApplication()) {
        err << "無法繪製圖表：此程序已有不含視窗元件的 Qt 應用程式。\n";
        return 1;
    }
    const std::vector<SweepPoint> points = sweepDieSizes(request);
    // "-" puts the CSV or the image on standard output in place of the path.
    const std::string& path = csv ? *csv : *png;
    std::optional<FileReplaceError> failure;
    if (csv) {
        const std::optional<SweepCsvColumns> columns =
            yield ? std::optional<SweepCsvColumns>(yieldCsvColumns(*yield)) : std::nullopt;
        failure = writeOutputFile(path, out,
                                  [&](std::ostream& file) { writeSweepCsv(file, points, columns ? &*columns : nullptr); });
    } else {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!ui::drawDieSizeChart(points, std::nullopt, {ChartWidth, ChartHeight}, yield).save(&buffer, "PNG")) {
            err << "無法產生 PNG 圖片。\n";
            return 1;
        }
        failure = writeOutputFile(path, out, [&](std::ostream& file) { file.write(bytes.constData(), bytes.size()); });
    }
    if (failure) {
        err << replaceFailureText(csv ? "CSV 檔" : "圖片檔", path, *failure) << '\n';
        return 1;
    }
    if (path != "-")
        out << path << '\n';
    return 0;
}

} // namespace

CommandRun declareSweepCommand(CLI::App& app)
{
    const auto choices = std::make_shared<SweepChoices>();
    SweepRequest& request = choices->request;
    CLI::Option* wafer = addWaferOption(app, choices->boxes);
    app.add_option_function<std::string>(
           "--shape", [&request](const std::string& list) { request.shapes = shapesFrom(list); },
           "晶粒形狀：Circle、Hexagon 或 Square，多個以逗號分隔（預設：工作檔的形狀）")
        ->type_name("SHAPE[,SHAPE...]");
    addTextOption(app, "--from", choices->range.from, "MIL", "最小的晶粒尺寸（mil）")->required();
    addTextOption(app, "--to", choices->range.to, "MIL", "最大的晶粒尺寸（mil）")->required();
    addTextOption(app, "--steps", choices->range.steps, "N",
                  "尺寸的個數，兩端都算（" + std::to_string(MinSweepSteps) + " 到 " + std::to_string(MaxSweepSteps)
                      + "）")
        ->required();
    addGapOption(app, choices->boxes);
    addEffectiveOption(app, choices->boxes);
    addFlatOptions(app, choices->flats);
    addJobOption(app, choices->jobFiles, {wafer});
    addYieldOptions(app, choices->yield);
    const std::string noName = "--csv 與 --png 需要檔名。";
    refuseEmpty(*addTextOption(app, "--csv", choices->csv, "FILE", "寫出 CSV 檔；- 寫到標準輸出"), noName);
    refuseEmpty(*addTextOption(app, "--png", choices->png, "FILE", "存成晶粒尺寸比較圖的 PNG 圖片；- 寫到標準輸出"),
                noName);
    app.footer("對每個形狀，從 --from 到 --to（兩端都算）平均取 N 個晶粒尺寸，如「開始設計」按鈕排列；\n"
               "--csv 每個尺寸一行（形狀、晶粒尺寸、列數、晶粒數、面積使用率，以及被拒絕的尺寸的訊息），\n"
               "--png 為設計視窗的晶粒尺寸比較圖（略去被拒絕的尺寸）；印出檔案的路徑。\n"
               + std::string(YieldOptionsFooter)
               + "CSV 多出 good_dies 與 yield_percent 兩欄（有成本時再加 cost_per_good_die），圖多出良品數的虛線。");
    return [choices](std::ostream& out, std::ostream& err) {
        try {
            return sweep(*choices, out, err);
        } catch (const map::DrawingFailed& failure) { // no chart: its reason, status 1
            err << failure.what() << '\n';
            return 1;
        }
    };
}

} // namespace kerf::cli

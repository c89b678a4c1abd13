#include "cli/sweep_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include <QApplication>
#include <QBuffer>

#include "cli/command_line.h"
#include "cli/design_options.h"
#include "cli/output_file.h"
#include "render/die_size_chart.h"
#include "layout/die_size_sweep.h"

namespace kerf::cli {

namespace {

// The size of the chart image, the window's at its opening size.
constexpr int ChartWidth = 900;
constexpr int ChartHeight = 560;

double milFrom(const Options& options, std::string_view name)
{
    const std::string text = options.require(name);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        throw UsageError("--" + std::string(name) + " must be a number of mil");
    return value;
}

int stepsFrom(const Options& options)
{
    const std::string text = options.require("steps");
    int steps = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), steps);
    if (ec != std::errc() || end != text.data() + text.size())
        throw UsageError("--steps must be a whole number");
    return steps;
}

std::vector<std::string> shapesFrom(const std::string& list)
{
    std::vector<std::string> shapes;
    std::string_view rest = list;
    while (true) {
        const auto comma = rest.find(',');
        const std::string shape(rest.substr(0, comma));
        if (std::find(DieShapeItems.begin(), DieShapeItems.end(), shape) == DieShapeItems.end())
            throw UsageError("--shape takes Circle, Hexagon or Square, several separated by commas");
        shapes.push_back(shape);
        if (comma == std::string_view::npos)
            return shapes;
        rest.remove_prefix(comma + 1);
    }
}

// Charts are drawn by widgets: a QApplication on the offscreen platform
// unless the caller chose another; never destroyed, as for the map.
bool ensureWidgetApplication()
{
    if (QCoreApplication::instance())
        return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kerfwright-cli";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    return true;
}

} // namespace

int runSweepCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Options options(args, {"wafer", "shape", "from", "to", "steps", "gap", "effective", "csv", "png"});
    const auto csv = options.get("csv");
    const auto png = options.get("png");
    if (csv.has_value() == png.has_value())
        throw UsageError("give one of --csv FILE and --png FILE");
    if ((csv && csv->empty()) || (png && png->empty()))
        throw UsageError("--csv and --png need a file name");

    // The design options, with a die size that each point replaces.
    std::vector<std::string> designArgs = {"--die", "1"};
    for (const char* name : {"wafer", "gap", "effective"})
        if (const auto value = options.get(name))
            designArgs.insert(designArgs.end(), {"--" + std::string(name), *value});
    SweepRequest request;
    request.base = designInputFrom(Options(designArgs, DesignOptionNames));
    request.shapes = shapesFrom(options.require("shape"));
    request.fromMil = milFrom(options, "from");
    request.toMil = milFrom(options, "to");
    request.steps = stepsFrom(options);
    if (const auto fault = sweepRequestFault(request)) {
        err << *fault << '\n';
        return 1;
    }

    const std::vector<SweepPoint> points = sweepDieSizes(request);
    // "-" puts the CSV or the image on standard output in place of the path.
    const std::string& path = csv ? *csv : *png;
    std::optional<FileReplaceError> failure;
    if (csv) {
        failure = writeOutputFile(path, out, [&](std::ostream& file) { writeSweepCsv(file, points); });
    } else {
        if (!ensureWidgetApplication()) {
            err << "無法繪製圖表：此程序已有不含視窗元件的 Qt 應用程式。\n";
            return 1;
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!ui::drawDieSizeChart(points, std::nullopt, {ChartWidth, ChartHeight}).save(&buffer, "PNG")) {
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

} // namespace kerf::cli

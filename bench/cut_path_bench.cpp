// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's drawing: a program's path drawn into the layers of a view (the
// work done once per view, in a worker), the path shown after a number of
// steps (each slider move), the map drawn for a view (each zoom or pan), and
// the largest programs the generator writes opened as the preview opens them.
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <random>
#include <memory>
#include <tuple>
#include <sstream>
#include <variant>

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "program/check/cut_check.h"
#include "program/writer/generation_driver.h"
#include "render/cut_path_picture.h"
#include "render/map_view.h"
#include "layout/design_driver.h"

using namespace kerf;

namespace {

// Shapes by index: 0 circle, 1 hexagon, 2 square. Die sizes in tenths of a mil.
const char* shapeName(int index) { return DieShapeItems[static_cast<std::size_t>(index)].data(); }

struct Case {
    WaferLayout layout;
    std::string text;
    Program program;
    std::string dies;
};

// Cases are made once per shape, size, effective diameter and passes: the
// largest take a few seconds.
const Case& caseFor(int shape, double dieMil, const char* effective = "4.75", const char* passes = "1")
{
    static std::map<std::tuple<int, double, std::string, std::string>, std::unique_ptr<Case>> cases;
    auto& slot = cases[{shape, dieMil, effective, passes}];
    if (!slot) {
        DesignInput input;
        input.texts = {"5.0 Inches", effective, shapeName(shape), std::to_string(dieMil), ""};
        input.WaferDiameter = 5.0f;
        Design design = std::get<Design>(runDesign(input));
        GenerationRequest request;
        request.texts.name = "BENCH";
        request.texts.passes = passes;
        request.date = std::chrono::year_month_day{std::chrono::year{2024}, std::chrono::month{1}, std::chrono::day{1}};
        std::ostringstream text;
        runGeneration(design.layout, request, std::ref(static_cast<std::ostream&>(text)));
        Program program = std::get<Program>(parseProgram(text.str()));
        slot = std::make_unique<Case>(
            Case{std::move(design.layout), text.str(), std::move(program), design.results.dies});
    }
    return *slot;
}

map::MapView viewFor(int zoom)
{
    const map::MapView fit = map::fitView(QSize(640, 640), QRectF(0.1, 0.1, 5.05, 5.05));
    return map::zoomedAbout(fit, QPointF(320, 320), zoom);
}

std::string label(const Case& c, int shape, int zoom)
{
    return std::string(shapeName(shape)) + ", " + c.dies + " dies, " + std::to_string(c.program.expandedMotions()) +
           " motions, zoom " + std::to_string(zoom);
}

// A view's layers: every motion run, those in view drawn.
void drawLayers(benchmark::State& state)
{
    const int shape = static_cast<int>(state.range(0));
    const Case& c = caseFor(shape, state.range(1) / 10.0);
    const map::MapView view = viewFor(static_cast<int>(state.range(2)));
    for (auto _ : state) {
        const map::CutPathLayers layers =
            map::drawCutPathLayers(c.program, view, 1.0, {}, map::cutPathMatch(c.layout, 5e-5));
        benchmark::DoNotOptimize(layers.cuts.constBits());
    }
    state.SetLabel(label(c, shape, static_cast<int>(state.range(2))));
}

// One slider move: the path after half the steps, from the layers.
void showSteps(benchmark::State& state)
{
    const int shape = static_cast<int>(state.range(0));
    const Case& c = caseFor(shape, state.range(1) / 10.0);
    const map::CutPathLayers layers = map::drawCutPathLayers(c.program, viewFor(1), 1.0);
    for (auto _ : state) {
        const QImage overlay = map::cutPathOverlay(layers, layers.steps.count() / 2);
        benchmark::DoNotOptimize(overlay.constBits());
    }
    state.SetLabel(label(c, shape, 1));
}

// The map for a view: only the dies in view are drawn.
void drawMapView(benchmark::State& state)
{
    const int shape = static_cast<int>(state.range(0));
    const Case& c = caseFor(shape, state.range(1) / 10.0);
    const map::MapView view = viewFor(static_cast<int>(state.range(2)));
    QImage image(view.size, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        map::drawWaferMap(painter, view, c.layout, 2.5f);
    }
    state.SetLabel(label(c, shape, static_cast<int>(state.range(2))));
}

// What opening the preview costs, as its workers do it: the text read, the
// program checked against its layout, the whole wafer drawn and shown after
// its last step.
void openInPreview(benchmark::State& state)
{
    const int shape = static_cast<int>(state.range(0));
    const double dieMil = state.range(1) / 100.0;
    const std::string passes = std::to_string(state.range(2));
    const Case& c = caseFor(shape, dieMil, "5", passes.c_str());
    const map::MapView view = viewFor(1);
    bool clean = true;
    for (auto _ : state) {
        const Program program = std::get<Program>(parseProgram(c.text));
        const CutReport report = checkCuts(program, c.layout);
        const map::CutPathLayers layers =
            map::drawCutPathLayers(program, view, 1.0, {}, map::cutPathMatch(c.layout, CutCheckOptions{}.tolerance));
        const QImage overlay = map::cutPathOverlay(layers, layers.steps.count());
        clean = clean && report.clean() && layers.complete && !layers.beyondBounds;
        benchmark::DoNotOptimize(overlay.constBits());
    }
    state.SetLabel(std::string(shapeName(shape)) + " " + std::to_string(dieMil).substr(0, 4) + " mil, " + passes +
                   " passes, " + c.dies + " dies, " + std::to_string(c.text.size() / 1024) + " KiB of text" +
                   (clean ? "" : ", NOT CLEAN"));
}

// A program of 200 000 distinct long cuts across a 5-inch wafer (some
// 12 MB), each between two laser-off moves: nothing repeats, every cut
// and move is a run of its own.
const Program& longCuts()
{
    static const Program program = [] {
        std::mt19937 random(32);
        std::uniform_real_distribution<double> angle(0, 2 * std::numbers::pi), turn(-0.5, 0.5);
        std::string text = "PN MAIN\r\nDI 1 10000\r\nII\r\n";
        char line[96];
        for (int i = 0; i < 200000; ++i) {
            const double a = angle(random), b = a + std::numbers::pi + turn(random);
            std::snprintf(line, sizeof line, "MA X %.6f Y %.6f\r\nOS\r\nMA X %.6f Y %.6f\r\nCS\r\n", 2.4 * std::cos(a),
                          2.4 * std::sin(a), 2.4 * std::cos(b), 2.4 * std::sin(b));
            text += line;
        }
        return std::get<Program>(parseProgram(text + "EI\r\n"));
    }();
    return program;
}

// The path of longCuts() drawn into the layers of a square picture of the
// side given (the map command's 504 and 4096 pixels, the sheet's picture,
// the preview's fitted view): the cost is the picture's pixels.
void drawLongCuts(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    const Program& program = longCuts();
    map::MapView view;
    view.pixelsPerInch = side / 5.25;
    view.size = QSize(side, side);
    for (auto _ : state) {
        const map::CutPathLayers layers = map::drawCutPathLayers(program, view, 1.0);
        const QImage overlay = map::cutPathOverlay(layers, layers.steps.count());
        benchmark::DoNotOptimize(overlay.constBits());
    }
    state.SetLabel(std::to_string(side) + " pixels square, 200 000 long cuts");
}

void sizeArguments(benchmark::internal::Benchmark* b)
{
    // 100 mil; 5 mil; 1 mil (some twenty million dies); fitted and zoomed in.
    for (int shape = 0; shape < 3; ++shape)
        for (int tenthsOfMil : {1000, 50, 10})
            for (int zoom : {1, 50})
                b->Args({shape, tenthsOfMil, zoom});
    b->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(drawLayers)->Apply(sizeArguments);
BENCHMARK(showSteps)->Apply([](benchmark::internal::Benchmark* b) {
    for (int shape = 0; shape < 3; ++shape)
        for (int tenthsOfMil : {1000, 10})
            b->Args({shape, tenthsOfMil});
    b->Unit(benchmark::kMillisecond);
});
BENCHMARK(drawMapView)->Apply(sizeArguments);
BENCHMARK(drawLongCuts)->Arg(504)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond);
// The worst inputs the design accepts: 5.0 Inches, effective 5, the smallest dies.
BENCHMARK(openInPreview)
    ->Args({0, 18, 1})
    ->Args({1, 18, 1})
    ->Args({1, 18, 2})
    ->Args({2, 16, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The design button from click to finished map, and the map drawing alone,
// drawn into the picture's retained image (offscreen, no display needed).
#include <variant>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>

#include "windows/designer/frm_wafer.h"
#include "render/inch_canvas.h"
#include "forms/picture_box.h"
#include "render/wafer_map.h"
#include "layout/design_driver.h"
#include "windows/simulator/frm_hex.h"

using namespace kerf;

namespace {

// Shapes by index: 0 circle, 1 hexagon, 2 square. Die sizes in tenths of a mil.
const char* shapeName(int index) { return DieShapeItems[static_cast<std::size_t>(index)].data(); }

Design designFor(int shape, double dieMil)
{
    DesignInput input;
    input.texts = {"5.0 Inches", "4.75", shapeName(shape), std::to_string(dieMil), ""};
    input.WaferDiameter = 5.0f;
    return std::get<Design>(runDesign(input));
}

// The map alone, drawn into the picture's image.
void drawIntoPicture(benchmark::State& state)
{
    const Design design = designFor(static_cast<int>(state.range(0)), state.range(1) / 10.0);
    ui::PictureBox picture;
    for (auto _ : state) {
        picture.Cls();
        picture.draw([&](map::InchCanvas& canvas) {
            map::DrawWaferOutline(canvas, CenterX, CenterY, 2.5f);
            map::drawDies(canvas, design.layout);
        });
        benchmark::DoNotOptimize(picture.image().constBits());
    }
    state.SetLabel(std::string(shapeName(static_cast<int>(state.range(0)))) + ", " + design.results.dies
                   + " dies");
}

// The whole design button: reading the boxes, the layout, the map, the results.
void pressDesignButton(benchmark::State& state)
{
    ui::frmWafer window(nullptr);
    window.showModeless();
    window.Combo1->setCurrentText(QStringLiteral("5.0 Inches"));
    window.Combo1_Click();
    window.Combo2->setCurrentText(QString::fromLatin1(shapeName(static_cast<int>(state.range(0)))));
    window.Text1->setText(QString::number(state.range(1) / 10.0));
    for (auto _ : state) {
        window.cmdDraw_Click();
        benchmark::DoNotOptimize(window.PIC1->image().constBits());
    }
    state.SetLabel(std::string(shapeName(static_cast<int>(state.range(0)))) + ", "
                   + window.Text4->text().toStdString() + " dies");
}

// The simulator's button: reading the boxes, the column layout, the map, the results.
void pressSimulateButton(benchmark::State& state)
{
    ui::frmHex window(nullptr);
    window.showModeless();
    window.Combo1->setCurrentIndex(4); // 5.0 Inches
    window.Text1->setText(QString::number(state.range(0) / 10.0));
    for (auto _ : state) {
        window.cmdSimulate_Click();
        benchmark::DoNotOptimize(window.PIC1->image().constBits());
    }
    state.SetLabel(window.Text3->text().toStdString() + " dies");
}

void sizeArguments(benchmark::internal::Benchmark* b)
{
    // 100 mil; dies of 2 pixels (the smallest drawn one by one) and of 3;
    // dies drawn as rows; the smallest dies the counters allow.
    for (int shape = 0; shape < 3; ++shape)
        for (int tenthsOfMil : {1000, 210, 320, 50, 2})
            b->Args({shape, tenthsOfMil});
    b->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(drawIntoPicture)->Apply(sizeArguments);
BENCHMARK(pressDesignButton)->Apply(sizeArguments);
BENCHMARK(pressSimulateButton)->Arg(1000)->Arg(210)->Arg(50)->Arg(2)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

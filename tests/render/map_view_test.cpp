// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's views: zoom and pan, the visible part of a layout, and the
// cut path drawn in layers of first steps.
#include <cmath>
#include <random>
#include <variant>

#include <QImage>
#include <QPainter>
#include <QTest>

#include "program/reader/reading_error_text.h"
#include "render/cut_path_picture.h"
#include "render/inch_canvas.h"
#include "render/map_view.h"
#include "render/pixel_lines.h"
#include "render/wafer_map.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"

using namespace kerf;
using namespace kerf::map;
using namespace kerf::testing;

namespace {

const QRectF Picture(0, 0, 5.25, 5.25);

QImage mapImage(const MapView& view, const WaferLayout& layout)
{
    QImage image(view.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawWaferMap(painter, view, layout, layout.WaferDiameter / 2);
    return image;
}

// The map with the path after `steps` steps laid over it.
QImage pathImage(const WaferLayout& layout, const CutPathLayers& layers, std::uint32_t steps)
{
    QImage image = mapImage(layers.view, layout);
    QPainter painter(&image);
    painter.drawImage(0, 0, cutPathOverlay(layers, steps));
    return image;
}

int count(const QImage& image, const QColor& colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

Program parsed(const std::string& text)
{
    auto program = parseProgram(text);
    if (auto* error = std::get_if<ProgramError>(&program))
        qFatal("%s", readingErrorText(*error).c_str());
    return std::get<Program>(std::move(program));
}

CutPathMatch withTolerance(double tolerance)
{
    CutPathMatch match;
    match.edgeTolerance = tolerance;
    return match;
}

// The horizontal and vertical extent of a colour's pixels.
QSize extent(const QImage& image, const QColor& colour)
{
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return {right - left + 1, bottom - top + 1};
}

} // namespace

class MapViewTest : public QObject {
    Q_OBJECT
private slots:
    void fitShowsThePictureWholeAndCentred();
    void zoomKeepsThePointUnderThePointerAndOneScale();
    void zoomStaysWithinItsBounds();
    void panFollowsTheDrag();
    void zoomedMapStaysTrueToScale();
    void visiblePartDrawsTheSamePixels_data();
    void visiblePartDrawsTheSamePixels();
    void visiblePartOfAZoomedWaferIsSmall();
    void cutsCoverTheEdgesOfTheDiesTheyCut_data();
    void cutsCoverTheEdgesOfTheDiesTheyCut();
    void stepsWalkThePathInMachineOrder();
    void retracedPassesAreDrawnOnce();
    void laserOffMovesAreDashed();
    void cutsAreAsWideAsTheToleranceWhereItSpansPixels();
    void cancelledDrawingSaysSo();
    void runsTakeThePixelsOfTheirMotions_data();
    void runsTakeThePixelsOfTheirMotions();
    void pixelLinesTakeThePaintersPixels_data();
    void pixelLinesTakeThePaintersPixels();
};

void MapViewTest::fitShowsThePictureWholeAndCentred()
{
    const MapView view = fitView(QSize(700, 525), Picture);
    QCOMPARE(view.pixelsPerInch, 100.0);
    QCOMPARE(view.toPixels(Picture.center()), QPointF(350, 262.5));
    QVERIFY(view.inchRect().contains(Picture));
}

void MapViewTest::zoomKeepsThePointUnderThePointerAndOneScale()
{
    const MapView view = fitView(QSize(600, 600), Picture);
    const QPointF pointer(150, 420);
    const QPointF under = view.toInches(pointer);
    const MapView zoomed = zoomedAbout(view, pointer, 3.0);
    QCOMPARE(zoomed.pixelsPerInch, 3 * view.pixelsPerInch);
    QCOMPARE(zoomed.toInches(pointer), under);
    QCOMPARE(zoomed.size, view.size);
    // One scale: an inch across and an inch down are as many pixels.
    const QPointF a = zoomed.toPixels(QPointF(1, 1));
    const QPointF b = zoomed.toPixels(QPointF(2, 2));
    QCOMPARE(b.x() - a.x(), b.y() - a.y());
    const MapView back = zoomedAbout(zoomed, pointer, 1 / 3.0);
    QVERIFY(std::abs(back.pixelsPerInch - view.pixelsPerInch) < 1e-9);
    QVERIFY(QLineF(back.topLeft, view.topLeft).length() < 1e-9);
}

void MapViewTest::zoomStaysWithinItsBounds()
{
    const MapView view = fitView(QSize(600, 600), Picture);
    QCOMPARE(zoomedAbout(view, {10, 10}, 1e9).pixelsPerInch, MapView::MaxPixelsPerInch);
    QCOMPARE(zoomedAbout(view, {10, 10}, 1e-9).pixelsPerInch, MapView::MinPixelsPerInch);
    QCOMPARE(zoomedAbout(view, {10, 10}, std::nan("")), view);
    QCOMPARE(zoomedAbout(view, {10, 10}, -2), view);
}

void MapViewTest::panFollowsTheDrag()
{
    const MapView view = fitView(QSize(600, 600), Picture);
    const QPointF grabbed = view.toInches({100, 100});
    const MapView moved = panned(view, {30, -40});
    QVERIFY(QLineF(moved.toPixels(grabbed), QPointF(130, 60)).length() < 1e-9);
    QCOMPARE(moved.pixelsPerInch, view.pixelsPerInch);
}

void MapViewTest::zoomedMapStaysTrueToScale()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Hexagon", "200");
    MapView view = fitView(QSize(640, 400), Picture);
    view = zoomedAbout(view, view.toPixels({CenterX, CenterY}), 1.4);
    const QImage image = mapImage(view, layout);
    const QSize outline = extent(image, Black);
    QVERIFY2(std::abs(outline.width() - outline.height()) <= 1,
             qPrintable(QStringLiteral("%1 x %2").arg(outline.width()).arg(outline.height())));
    QVERIFY(std::abs(outline.width() - 2.0 * view.pixelsPerInch) <= 2);
}

void MapViewTest::visiblePartDrawsTheSamePixels_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("die");
    QTest::addColumn<double>("zoom");
    QTest::newRow("circles") << "Circle" << "60" << 6.0;
    QTest::newRow("hexagons") << "Hexagon" << "40" << 5.0;
    QTest::newRow("squares") << "Square" << "45" << 7.0;
    QTest::newRow("tiny squares as bands") << "Square" << "3" << 1.5;
    QTest::newRow("tiny hexagons as bands") << "Hexagon" << "4" << 1.2;
}

void MapViewTest::visiblePartDrawsTheSamePixels()
{
    QFETCH(QString, shape);
    QFETCH(QString, die);
    QFETCH(double, zoom);
    const WaferLayout layout =
        designedLayout("3.0 Inches", shape.toLatin1().constData(), die.toLatin1().constData());
    const MapView fit = fitView(QSize(500, 420), Picture);
    const MapView view = zoomedAbout(fit, {140, 90}, zoom);

    QImage whole(view.size, QImage::Format_RGB32);
    whole.fill(Qt::white);
    {
        QPainter painter(&whole);
        painter.translate(view.painterOffset());
        InchCanvas canvas(painter, view.pixelsPerInch);
        DrawWaferOutline(canvas, CenterX, CenterY, layout.WaferDiameter / 2);
        drawDies(canvas, layout);
    }
    const QImage part = mapImage(view, layout);
    QVERIFY(count(part, Red) > 100);
    QCOMPARE(part, whole);
}

void MapViewTest::visiblePartOfAZoomedWaferIsSmall()
{
    const WaferLayout layout = designedLayout("5.0 Inches", "Circle", "10");
    const MapView view = zoomedAbout(fitView(QSize(500, 500), Picture), {250, 250}, 40);
    const WaferLayout part = visibleLayout(layout, view.inchRect());
    int dies = 0;
    for (int i = 1; i <= part.RowTable.upperBound(); ++i)
        dies += part.RowTable[i].DieCount;
    // About 5.25 / 40 inch square of 10-mil dies: some 13 by 13, with a margin.
    QVERIFY2(dies > 100 && dies < 400, qPrintable(QString::number(dies)));
    QVERIFY(part.RowTable.upperBound() < 30);
}

void MapViewTest::cutsCoverTheEdgesOfTheDiesTheyCut_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("die");
    QTest::addColumn<QString>("passes");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QString>("gap");
    // Fitted to an even size, the wafer centre and the edges through it fall
    // on pixel boundaries.
    for (double zoom : {1.0, 2.4}) {
        const QByteArray at = zoom == 1 ? "fitted" : "zoomed";
        QTest::newRow("circles " + at) << "Circle" << "300" << "1" << zoom << "";
        QTest::newRow("hexagons there and back " + at) << "Hexagon" << "200" << "2" << zoom << "";
        QTest::newRow("hexagons one way " + at) << "Hexagon" << "150" << "1" << zoom << "";
        QTest::newRow("squares " + at) << "Square" << "250" << "1" << zoom << "";
        // A fine-tune moves a round die's cut half of it to the left of the
        // die; the die is still drawn as cut.
        QTest::newRow("circles with a fine-tune " + at) << "Circle" << "300" << "1" << zoom << "12";
        QTest::newRow("hexagons with a fine-tune " + at) << "Hexagon" << "200" << "1" << zoom << "12";
        QTest::newRow("squares with a fine-tune " + at) << "Square" << "250" << "1" << zoom << "12";
        // Dies too small to draw one by one: rows drawn as bands.
        QTest::newRow("tiny circles with a fine-tune " + at) << "Circle" << "6" << "1" << zoom << "0.5";
        QTest::newRow("tiny hexagons with a fine-tune " + at) << "Hexagon" << "6" << "2" << zoom << "0.5";
    }
    // Far in, off the centre's row: only the copies of a row's run in view are drawn.
    QTest::newRow("tiny circles with a fine-tune far in") << "Circle" << "6" << "1" << 30.0 << "0.5";
    QTest::newRow("tiny hexagons far in") << "Hexagon" << "6" << "1" << 30.0 << "";
    QTest::newRow("designer's scale") << "Hexagon" << "200" << "1" << 0.0 << "";
    QTest::newRow("designer's scale, circles with a fine-tune") << "Circle" << "300" << "1" << 0.0 << "20";
}

void MapViewTest::cutsCoverTheEdgesOfTheDiesTheyCut()
{
    QFETCH(QString, shape);
    QFETCH(QString, die);
    QFETCH(QString, passes);
    QFETCH(double, zoom);
    QFETCH(QString, gap);
    const WaferLayout layout = designedLayout("2.0 Inches", shape.toLatin1().constData(),
                                              die.toLatin1().constData(), gap.toLatin1().constData());
    const Program program = parsed(programFor(layout, passes.toInt()));
    const QPointF about = zoom > 10 ? QPointF(150, 190) : QPointF(260, 260);
    MapView view = zoomedAbout(fitView(QSize(520, 520), QRectF(1.5, 1.5, 2.25, 2.25)), about, zoom);
    if (zoom == 0) // the designer's picture: 96 pixels an inch from its corner
        view = MapView{96.0, {0, 0}, QSize(504, 504)};
    const CutPathLayers layers = drawCutPathLayers(program, view, 1.0, {}, cutPathMatch(layout));
    QVERIFY(layers.complete);

    const QImage before = mapImage(view, layout);
    const QImage after = pathImage(layout, layers, layers.steps.count());
    const int red = count(before, Red);
    QVERIFY(red > 1000);
    // Every die is cut along its edges, which the cuts cover pixel for pixel
    // (but at the picture's border, where the painter clips the two lines
    // at slightly different points).
    QCOMPARE(count(after.copy(after.rect().adjusted(2, 2, -2, -2)), Red), 0);
    QVERIFY(count(after, CutColour) >= red);
}

void MapViewTest::stepsWalkThePathInMachineOrder()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Hexagon", "200");
    const Program program = parsed(programFor(layout, 2));
    const MapView view = fitView(QSize(504, 504), Picture);
    const CutPathLayers layers = drawCutPathLayers(program, view, 1.0);
    const CutPathSteps& steps = layers.steps;
    QCOMPARE(steps.runsPerStep, std::uint64_t(1));
    QCOMPARE(std::uint64_t(steps.count()), steps.runs);
    QCOMPARE(steps.headAfter.front(), (ProgramPoint{0, 0}));
    // The first move goes to the top left of row 1; the program ends at the origin.
    QCOMPARE(steps.headAfter[1], (ProgramPoint{-0.5, 0.635085}));
    QCOMPARE(steps.headAfter.back(), (ProgramPoint{0, 0}));

    QCOMPARE(count(cutPathOverlay(layers, 0), CutColour), 0);
    QCOMPARE(count(cutPathOverlay(layers, 0), TravelColour), 0);
    int previous = 0;
    for (std::uint32_t done = 1; done <= steps.count(); done += std::max(1u, steps.count() / 7)) {
        const int now = count(cutPathOverlay(layers, done), CutColour);
        QVERIFY(now >= previous);
        previous = now;
    }
    QVERIFY(previous > count(cutPathOverlay(layers, 8), CutColour));
    // After the first steps the cuts are all near the head's start, at the top.
    const QImage early = cutPathOverlay(layers, 8);
    const QSize reach = extent(early, CutColour);
    QVERIFY(reach.height() < 40);
}

void MapViewTest::retracedPassesAreDrawnOnce()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Square", "500");
    const MapView view = fitView(QSize(504, 504), Picture);
    const CutPathLayers once = drawCutPathLayers(parsed(programFor(layout, 1)), view, 1.0);
    const CutPathLayers thrice = drawCutPathLayers(parsed(programFor(layout, 3)), view, 1.0);
    // Only the moves back to the origin around the loop's end come on top.
    QVERIFY(thrice.steps.runs > once.steps.runs && thrice.steps.runs <= once.steps.runs + 2);
    // The same cuts, made by the same steps; the passes' return to the origin
    // is a move of its own.
    QCOMPARE(thrice.cuts, once.cuts);
}

void MapViewTest::laserOffMovesAreDashed()
{
    // One move with the laser off across the picture, then one cut.
    const std::string text = "PN T\nDI 1 10000\nII\nMA X -2 Y 0\nOS\nMI X 1\nCS\nEI\n";
    const MapView view = fitView(QSize(504, 504), Picture);
    const CutPathLayers layers = drawCutPathLayers(parsed(text), view, 1.0);
    QCOMPARE(layers.steps.count(), 2u);
    const QImage overlay = cutPathOverlay(layers, 2);
    // The move from the origin to (-2, 0) runs along the middle row; the cut
    // covers its first half.
    const int row = static_cast<int>(view.toPixels({CenterX, CenterY}).y());
    int on = 0, off = 0;
    for (int x = static_cast<int>(view.toPixels({CenterX - 0.9, 0}).x()); x < view.toPixels({CenterX - 0.1, 0}).x(); ++x)
        (overlay.pixelColor(x, row) == TravelColour ? on : off) += 1;
    QVERIFY2(on > 20 && off > 15, qPrintable(QStringLiteral("%1 on %2 off").arg(on).arg(off)));
    // The cut from (-2, 0) to (-1, 0) is solid and drawn over the move.
    QCOMPARE(overlay.pixelColor(view.toPixels({CenterX - 1.5, CenterY}).toPoint()), CutColour);
    QVERIFY(cutPathOverlay(layers, 1).pixelColor(view.toPixels({CenterX - 1.5, CenterY}).toPoint()) != CutColour);
}

void MapViewTest::cutsAreAsWideAsTheToleranceWhereItSpansPixels()
{
    // A cut across the middle, seen at 40000 pixels an inch.
    const std::string text = "PN T\nDI 1 10000\nII\nMA X -0.001 Y 0\nOS\nMI X 0.002\nCS\nEI\n";
    const Program program = parsed(text);
    const MapView view = fitView(QSize(200, 200), QRectF(CenterX - 0.0025, CenterY - 0.0025, 0.005, 0.005));
    QCOMPARE(view.pixelsPerInch, 40000.0);
    const auto thickness = [&](double tolerance) {
        const QImage overlay = cutPathOverlay(drawCutPathLayers(program, view, 1.0, {}, withTolerance(tolerance)), 2);
        int n = 0;
        for (int y = 0; y < overlay.height(); ++y)
            n += overlay.pixelColor(100, y) == CutColour;
        return n;
    };
    QCOMPARE(thickness(0), 1);
    QCOMPARE(thickness(5e-5), 5); // 2 pixels each side
    QCOMPARE(thickness(1e-6), 1); // less than a pixel
}

void MapViewTest::cancelledDrawingSaysSo()
{
    const WaferLayout layout = designedLayout("3.0 Inches", "Hexagon", "20");
    const Program program = parsed(programFor(layout));
    int calls = 0;
    double fraction = -1;
    const CutPathLayers layers = drawCutPathLayers(program, fitView(QSize(300, 300), Picture), 1.0,
                                                   [&](double done) {
                                                       fraction = done;
                                                       return ++calls < 2;
                                                   });
    QVERIFY(!layers.complete);
    QCOMPARE(calls, 2);
    QVERIFY(fraction > 0 && fraction < 1);
}

void MapViewTest::runsTakeThePixelsOfTheirMotions_data()
{
    QTest::addColumn<double>("zoom");
    QTest::newRow("copies closer than a pixel") << 1.0;
    QTest::newRow("copies a few pixels apart") << 12.0;
    QTest::newRow("copies far apart, some out of view") << 150.0;
}

void MapViewTest::runsTakeThePixelsOfTheirMotions()
{
    QFETCH(double, zoom);
    // Rows of short cuts, round dies and an upright cut, repeated; and the same
    // motions written out one by one.
    const std::string pass = "OS\nMI X 0.002\nCS\nMI X 0.001 Y 0.0\nOS\nMI X 0.0015 Y 0.0 ARC 360\nCS\n"
                             "MI Y 0.004\nOS\nMI Y -0.004\nCS\n";
    std::string repeated = "PN T\nDI 1 10000\nII\nMA X -1.2 Y 0.3\nSL 5\nSL 400\n" + pass +
                           "EL\nMI X -1.2 Y -0.05\nEL\nEI\n";
    std::string literal = "PN T\nDI 1 10000\nII\nMA X -1.2 Y 0.3\n";
    for (int row = 0; row < 5; ++row) {
        for (int i = 0; i < 400; ++i)
            literal += pass;
        literal += "MI X -1.2 Y -0.05\n";
    }
    literal += "EI\n";
    const MapView view = zoomedAbout(fitView(QSize(400, 400), Picture), QPointF(180, 184.7), zoom);
    const CutPathLayers runs = drawCutPathLayers(parsed(repeated), view, 1.0);
    const CutPathLayers motions = drawCutPathLayers(parsed(literal), view, 1.0);
    QVERIFY(runs.steps.runs < 20);
    QCOMPARE(runs.steps.motionsAfter.back(), motions.steps.motionsAfter.back());
    // Up to the rounding of adding steps.
    const ProgramPoint end = runs.steps.headAfter.back();
    const ProgramPoint expected = motions.steps.headAfter.back();
    QVERIFY(std::abs(end.x - expected.x) < 1e-9 && std::abs(end.y - expected.y) < 1e-9);
    int differ = 0, cut = 0;
    for (int y = 0; y < runs.cuts.height(); ++y)
        for (int x = 0; x < runs.cuts.width(); ++x) {
            const bool a = runs.cuts.pixel(x, y) != 0;
            const bool b = motions.cuts.pixel(x, y) != 0;
            differ += a != b;
            cut += b;
        }
    QVERIFY(cut > 50);
    QCOMPARE(differ, 0);
}

void MapViewTest::pixelLinesTakeThePaintersPixels_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<bool>("dashed");
    for (const double ratio : {1.0, 1.25, 2.0}) {
        QTest::addRow("solid at %g", ratio) << ratio << false;
        QTest::addRow("dashed at %g", ratio) << ratio << true;
    }
}

void MapViewTest::pixelLinesTakeThePaintersPixels()
{
    QFETCH(double, ratio);
    QFETCH(bool, dashed);
    // Lines of every slope, level and upright ones, ends on and off the
    // pixel grid, inside and far outside the image: the painter's pen is the judge.
    std::mt19937 random(32);
    std::uniform_real_distribution<double> inside(-4, 60), far(-5000, 5000);
    QPen pen(Qt::blue, 0);
    if (dashed) {
        pen = QPen(Qt::blue, 0, Qt::CustomDashLine, Qt::FlatCap);
        pen.setDashPattern({4, 3});
    }
    int drawn = 0;
    for (int i = 0; i < 1500; ++i) {
        QPointF from = QPointF(inside(random), inside(random)) / ratio;
        QPointF to = (i % 5 == 4 ? QPointF(far(random), far(random)) : QPointF(inside(random), inside(random))) / ratio;
        if (i % 5 == 1)
            to.setY(from.y());
        if (i % 5 == 2)
            to.setX(from.x());
        if (i % 7 == 3)
            from = QPointF(std::round(from.x() * 4) / 4, std::round(from.y() * 4) / 4);
        QImage painted(96, 64, QImage::Format_ARGB32_Premultiplied);
        painted.setDevicePixelRatio(ratio);
        painted.fill(0);
        QImage written = painted.copy();
        QTransform toDevice;
        {
            QPainter painter(&painted);
            painter.translate(1.75, -0.5);
            painter.setPen(pen);
            painter.drawLine(QLineF(from, to));
            toDevice = painter.combinedTransform();
        }
        {
            PixelLines lines(written, toDevice);
            const QRgb blue = QColor(Qt::blue).rgba();
            dashed ? lines.dashedLine(from, to, blue) : lines.line(from, to, blue);
        }
        QCOMPARE(written, painted);
        drawn += count(painted, QColor(Qt::blue)) > 0;
    }
    QVERIFY(drawn > 1000);
    // Many long lines in one large image, written band by band.
    QImage painted(2000, 1500, QImage::Format_ARGB32_Premultiplied);
    painted.setDevicePixelRatio(ratio);
    painted.fill(0);
    QImage written = painted.copy();
    QPainter painter(&painted);
    painter.setPen(pen);
    PixelLines lines(written, painter.combinedTransform());
    for (int i = 0; i < 400; ++i) {
        const QLineF line(QPointF(inside(random) * 30, inside(random) * 20) / ratio, QPointF(far(random), far(random)));
        painter.drawLine(line);
        dashed ? lines.dashedLine(line.p1(), line.p2(), 0xFF0000FFu) : lines.line(line.p1(), line.p2(), 0xFF0000FFu);
    }
    painter.end();
    lines.flush();
    QVERIFY(count(painted, QColor(Qt::blue)) > 65536);
    QCOMPARE(written, painted);
}

QTEST_MAIN(MapViewTest)
#include "map_view_test.moc"

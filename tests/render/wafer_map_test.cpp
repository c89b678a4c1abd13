// SPDX-License-Identifier: GPL-3.0-or-later
// The wafer map drawn into an image, without a window.
#include <cmath>
#include <variant>

#include <QImage>
#include <QPainter>
#include <QTest>

#include "render/inch_canvas.h"
#include "render/wafer_map.h"
#include "layout/design_driver.h"
#include "layout/simulation/simulation.h"
#include "render/sim_map.h"
#include "tests/support/design_helpers.h"
#include "tests/support/picture_pixels.h"

using namespace kerf;
using namespace kerf::map;
using kerf::testing::designed;
using kerf::testing::countPixels;
using kerf::testing::near;

namespace {

constexpr int Side = 504; // 5.25 inches at 96 pixels an inch

QImage blankImage()
{
    QImage image(Side, Side, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QColor at(const QImage& image, double x, double y)
{
    return image.pixelColor(static_cast<int>(std::floor(x * 96)), static_cast<int>(std::floor(y * 96)));
}

} // namespace

class WaferMapTest : public QObject {
    Q_OBJECT
private slots:
    void pointCircleAndLinesLandWhereTheInchScaleSays();
    void relativeLineStartsAtTheCurrentPoint();
    void hexagonHasTwoVerticalSidesAndCornersTopAndBottom();
    void outlineIsBlackAndTheCentrePointToo();
    void everyShapeDrawsRedDiesInsideTheWafer();
    void largeDiesAreDrawnOneByOne();
    void tinyDiesFillTheirRowsRed();
    void testHexagonIsDrawnAroundTheCentre();
    void simulationDrawsColumnsOfHexagons();
};

void WaferMapTest::pointCircleAndLinesLandWhereTheInchScaleSays()
{
    QImage image = blankImage();
    {
        QPainter painter(&image);
        InchCanvas canvas(painter);
        canvas.point(1.0f, 1.0f, Red);
        canvas.circle(2.625f, 2.625f, 1.0f, Black);
        canvas.line(0.5f, 4.0f, 1.5f, 4.0f, Red);
    }
    QCOMPARE(at(image, 1.0, 1.0), Red);
    QVERIFY(near(image, 2.625, 1.625, Black)); // top of the circle
    QVERIFY(near(image, 3.625, 2.625, Black)); // its right
    QCOMPARE(at(image, 2.625, 2.625), QColor(Qt::white));
    QCOMPARE(at(image, 1.0, 4.0), Red);
    QCOMPARE(at(image, 1.8, 4.0), QColor(Qt::white));
}

void WaferMapTest::relativeLineStartsAtTheCurrentPoint()
{
    QImage image = blankImage();
    QPainter painter(&image);
    InchCanvas canvas(painter);
    canvas.moveTo(1.0f, 1.0f);
    canvas.lineRel(1.0f, 0.0f, Red);
    canvas.lineRel(0.0f, 1.0f, Red);
    QCOMPARE(canvas.currentX(), 2.0f);
    QCOMPARE(canvas.currentY(), 2.0f);
    canvas.flush();
    QCOMPARE(at(image, 1.5, 1.0), Red);
    QCOMPARE(at(image, 2.0, 1.5), Red);
    QCOMPARE(at(image, 1.5, 1.5), QColor(Qt::white));
}

void WaferMapTest::hexagonHasTwoVerticalSidesAndCornersTopAndBottom()
{
    QImage image = blankImage();
    {
        QPainter painter(&image);
        InchCanvas canvas(painter);
        // Half width 0.5, half side 0.25: vertical sides at x 2 and 3, corners at y 1.5 and 2.5.
        DrawHexagon(canvas, LayoutPoint{*Decimal::parse("2.5"), *Decimal::parse("2")}, 0.5f,
                    Number::ofDouble(0.25));
    }
    QCOMPARE(at(image, 2.0, 2.0), Red); // left side
    QCOMPARE(at(image, 3.0, 2.0), Red); // right side
    QVERIFY(near(image, 2.5, 1.5, Red)); // top corner
    QVERIFY(near(image, 2.5, 2.5, Red)); // bottom corner
    QCOMPARE(at(image, 2.5, 2.0), QColor(Qt::white));
    QCOMPARE(at(image, 2.5, 1.4), QColor(Qt::white));
}

void WaferMapTest::outlineIsBlackAndTheCentrePointToo()
{
    QImage image = blankImage();
    {
        QPainter painter(&image);
        InchCanvas canvas(painter);
        DrawWaferOutline(canvas, CenterX, CenterY, 2.5f);
    }
    QCOMPARE(at(image, CenterX, CenterY), Black);
    QVERIFY(near(image, CenterX, CenterY - 2.5, Black));
    QVERIFY(near(image, CenterX - 2.5, CenterY, Black));
    QCOMPARE(countPixels(image, Red), 0);
}

void WaferMapTest::everyShapeDrawsRedDiesInsideTheWafer()
{
    for (const char* shape : {"Circle", "Hexagon", "Square"}) {
        const Design d = designed("4.0 Inches", shape, "200");
        QImage image = blankImage();
        {
            QPainter painter(&image);
            InchCanvas canvas(painter);
            DrawWaferOutline(canvas, CenterX, CenterY, d.layout.WaferDiameter / 2);
            drawDies(canvas, d.layout);
        }
        QVERIFY2(countPixels(image, Red) > 1000, shape);
        // Nothing red outside the effective circle (radius 1.9) but for a pixel of rounding.
        for (int y = 0; y < Side; ++y)
            for (int x = 0; x < Side; ++x)
                if (image.pixelColor(x, y) == Red) {
                    const double r = std::hypot((x + 0.5) / 96 - CenterX, (y + 0.5) / 96 - CenterY);
                    QVERIFY2(r < 1.9 + 2.0 / 96, shape);
                }
    }
}

void WaferMapTest::largeDiesAreDrawnOneByOne()
{
    const Design d = designed("2.0 Inches", "Circle", "500");
    QVERIFY(d.layout.RowTable.upperBound() >= 1);
    QImage image = blankImage();
    {
        QPainter painter(&image);
        InchCanvas canvas(painter);
        QVERIFY(drawsEachDie(canvas, d.layout.DieSize));
        DrawCircleDies(canvas, d.layout);
    }
    // The centre die of the centre row: red on its circle, white inside.
    const LayoutRow& centre = d.layout.RowTable[1];
    const double firstX = centre.PosX.toDouble();
    const double y = centre.PosY.toDouble();
    QCOMPARE(at(image, firstX, y), QColor(Qt::white));
    QVERIFY(near(image, firstX, y - d.layout.HalfDieSize, Red));
}

void WaferMapTest::tinyDiesFillTheirRowsRed()
{
    const Design d = designed("5.0 Inches", "Hexagon", "5");
    QImage image = blankImage();
    {
        QPainter painter(&image);
        InchCanvas canvas(painter);
        QVERIFY(!drawsEachDie(canvas, d.layout.DieSize));
        DrawHexagonDies(canvas, d.layout);
    }
    // Seen from afar the dies cover the wafer: the centre and points well
    // inside are red, the corners of the picture are not.
    QCOMPARE(at(image, CenterX, CenterY), Red);
    QCOMPARE(at(image, CenterX + 1.5, CenterY + 0.7), Red);
    QCOMPARE(at(image, CenterX - 1.0, CenterY - 1.7), Red);
    QCOMPARE(at(image, 0.1, 0.1), QColor(Qt::white));
    const double share = double(countPixels(image, Red)) / (M_PI * std::pow(2.375 * 96, 2));
    QVERIFY2(share > 0.9 && share < 1.05, qPrintable(QString::number(share)));
}

void WaferMapTest::testHexagonIsDrawnAroundTheCentre()
{
    QImage image = blankImage();
    {
        QPainter painter(&image);
        InchCanvas canvas(painter);
        drawTestHexagon(canvas, CenterX, CenterY);
    }
    QCOMPARE(at(image, CenterX, CenterY), Black);
    QVERIFY(near(image, CenterX - 0.052, CenterY, Red));
    QVERIFY(near(image, CenterX + 0.052, CenterY, Red));
    QVERIFY(near(image, CenterX, CenterY - 0.06, Red)); // top corner: 2 × 0.030022 above
}

void WaferMapTest::simulationDrawsColumnsOfHexagons()
{
    SimulationOutcome outcome = runSimulation({"300", "4.75", 5.0f});
    const Simulation& s = std::get<Simulation>(outcome);
    QImage image = blankImage();
    {
        QPainter painter(&image);
        InchCanvas canvas(painter);
        DrawSimHexagonDies(canvas, s.layout);
    }
    // The centre column's middle die: its vertical sides are red, its middle white.
    const double r = s.layout.HalfDieSize;
    QVERIFY(near(image, CenterX - r, CenterY, Red));
    QCOMPARE(at(image, CenterX, CenterY), QColor(Qt::white));
    QVERIFY(countPixels(image, Red) > 2000);
}

QTEST_MAIN(WaferMapTest)
#include "wafer_map_test.moc"

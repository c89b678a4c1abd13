// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's picture: the cut path over the dies, its steps and play, zoom
// and pan, and programs too big to read in a moment or to check.
#include <cmath>

#include <QApplication>
#include <QTest>

#include "forms/application.h"
#include "render/cut_path_picture.h"
#include "tests/gui/preview_fixture.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/picture_pixels.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

class FrmPreviewPictureTest : public QObject, PreviewFixture {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void cutsAreDrawnOverTheDieEdges();
    void lastStepLeavesNoRed_data();
    void lastStepLeavesNoRed();
    void sliderMovesTheHead();
    void playWalksToTheEnd();
    void wheelZoomsAboutThePointerAtOneScale();
    void dragPansAndFitShowsTheWaferAgain();
    void bigProgramShowsProgressAndClosingCancelsIt();
    void largestCircleProgramOpensInFull();
};

void FrmPreviewPictureTest::cutsAreDrawnOverTheDieEdges()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Square", "500");
    frmPreview* preview = openPreview(layout, programFor(layout));
    CutPathView* picture = preview->picture;
    const QImage image = picture->picture();
    // The cut lines lie on the grid lines of the map: cut colour, no red left.
    QCOMPARE(colourAt(image, pixelOf(picture, 0.25, 0.0)), map::CutColour);
    QCOMPARE(colourAt(image, pixelOf(picture, -0.5, -0.25)), map::CutColour);
    QCOMPARE(colourAt(image, pixelOf(picture, 0.25, 0.25)), QColor(Qt::white)); // inside a die
    QCOMPARE(countPixels(image, map::Red), 0);
}

void FrmPreviewPictureTest::lastStepLeavesNoRed_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("die");
    QTest::addColumn<QString>("gap");
    QTest::addColumn<QString>("passes");
    QTest::newRow("circles") << "Circle" << "150" << "" << "1";
    QTest::newRow("circles with a fine-tune") << "Circle" << "150" << "10" << "1";
    QTest::newRow("small circles with a fine-tune") << "Circle" << "8" << "1" << "2";
    QTest::newRow("hexagons with a fine-tune") << "Hexagon" << "150" << "10" << "2";
    QTest::newRow("squares with a fine-tune") << "Square" << "150" << "10" << "1";
}

void FrmPreviewPictureTest::lastStepLeavesNoRed()
{
    QFETCH(QString, shape);
    QFETCH(QString, die);
    QFETCH(QString, gap);
    QFETCH(QString, passes);
    const WaferLayout layout = designedLayout("2.0 Inches", shape.toLatin1().constData(), die.toLatin1().constData(),
                                              gap.toLatin1().constData());
    frmPreview* preview = openPreview(layout, programFor(layout, passes.toInt()));
    QVERIFY(preview->report() && preview->report()->clean());
    QCOMPARE(preview->stepSlider->value(), preview->stepSlider->maximum());
    const QImage image = preview->picture->picture();
    QCOMPARE(countPixels(image, map::Red), 0);
    // One step back the last cut is still to come: red again.
    if (shape == QStringLiteral("Circle")) {
        preview->stepSlider->setValue(preview->stepSlider->maximum() / 2);
        QVERIFY(countPixels(preview->picture->picture(), map::Red) > 0);
    }
}

void FrmPreviewPictureTest::sliderMovesTheHead()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Hexagon", "500");
    frmPreview* preview = openPreview(layout, programFor(layout));
    CutPathView* picture = preview->picture;
    QVERIFY(preview->stepSlider->isEnabled());
    QCOMPARE(preview->stepSlider->value(), preview->stepSlider->maximum()); // the whole path at first
    const int steps = preview->stepSlider->maximum();
    QCOMPARE(std::uint32_t(steps), preview->steps()->count());

    preview->stepSlider->setValue(0);
    QImage image = picture->picture();
    QCOMPARE(colourAt(image, pixelOf(picture, 0, 0)), HeadColour); // at the origin
    QVERIFY(colourAt(image, pixelOf(picture, -0.5, 0.2)) != map::CutColour); // nothing cut yet
    QVERIFY(preview->stepLabel->text().startsWith(QStringLiteral("第 0 / %1 步").arg(steps)));

    preview->stepSlider->setValue(1); // the move to the first row
    image = picture->picture();
    QCOMPARE(colourAt(image, pixelOf(picture, -0.5, 0.288676)), HeadColour);
    QVERIFY(colourAt(image, pixelOf(picture, 0, 0)) != HeadColour);
    QVERIFY(preview->stepLabel->text().contains(QStringLiteral("X -0.500000, Y 0.288676")));

    preview->stepSlider->setValue(2); // the first edge: up the left side of the first die
    image = picture->picture();
    QCOMPARE(colourAt(image, pixelOf(picture, -0.5, 0.4)), map::CutColour);
    QCOMPARE(colourAt(image, pixelOf(picture, -0.75, 0.0)), map::Red); // the next row, not yet cut
}

void FrmPreviewPictureTest::playWalksToTheEnd()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Square", "500");
    frmPreview* preview = openPreview(layout, programFor(layout));
    preview->stepSlider->setValue(0);
    preview->cmdPlay_Click();
    QCOMPARE(preview->cmdPlay->text(), QStringLiteral("暫停(&L)"));
    QTRY_VERIFY_WITH_TIMEOUT(preview->stepSlider->value() > 0, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(preview->stepSlider->value(), preview->stepSlider->maximum(), 10000);
    QCOMPARE(preview->cmdPlay->text(), QStringLiteral("播放(&L)"));
    QCOMPARE(colourAt(preview->picture->picture(), pixelOf(preview->picture, 0, 0)), HeadColour);
}

void FrmPreviewPictureTest::wheelZoomsAboutThePointerAtOneScale()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Hexagon", "200");
    frmPreview* preview = openPreview(layout, programFor(layout));
    CutPathView* picture = preview->picture;
    const map::MapView before = picture->view();
    const QPointF pointer(picture->width() * 0.3, picture->height() * 0.6);
    const QPointF under = before.toInches(pointer);
    wheel(picture, pointer, 240);
    const map::MapView after = picture->view();
    QVERIFY(after.pixelsPerInch > before.pixelsPerInch * 1.3);
    QVERIFY(QLineF(after.toInches(pointer), under).length() < 1e-9);
    QTRY_VERIFY_WITH_TIMEOUT(!preview->isWorking(), WorkTimeout);

    // True to scale: the outline is as wide as it is high, and the cut over a
    // die edge is still where the map puts it.
    wheel(picture, QPointF(picture->width() / 2.0, picture->height() / 2.0), -360);
    QTRY_VERIFY_WITH_TIMEOUT(!preview->isWorking(), WorkTimeout);
    const QImage image = picture->picture();
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == map::Black) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    QVERIFY(right > left);
    QVERIFY(std::abs((right - left) - (bottom - top)) <= 1);
    QVERIFY(std::abs((right - left) - 2.0 * picture->view().pixelsPerInch * image.devicePixelRatio()) <= 2);
    const ProgramPoint firstEdge{-0.5, 0.635085 + 0.05};
    QCOMPARE(colourAt(image, pixelOf(picture, firstEdge.x, firstEdge.y)), map::CutColour);
}

void FrmPreviewPictureTest::dragPansAndFitShowsTheWaferAgain()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Circle", "300");
    frmPreview* preview = openPreview(layout, programFor(layout));
    CutPathView* picture = preview->picture;
    const map::MapView fit = picture->view();
    const QPoint from(100, 100);
    const QPointF grabbed = fit.toInches(from);
    QTest::mousePress(picture, Qt::LeftButton, {}, from);
    QTest::mouseMove(picture, from + QPoint(50, -20));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, from + QPoint(50, -20));
    QVERIFY(QLineF(picture->view().toPixels(grabbed), QPointF(from + QPoint(50, -20))).length() < 1e-6);
    QCOMPARE(picture->view().pixelsPerInch, fit.pixelsPerInch);
    QTRY_VERIFY_WITH_TIMEOUT(!preview->isWorking(), WorkTimeout);
    QTest::mouseClick(preview->cmdFit, Qt::LeftButton);
    QCOMPARE(picture->view().pixelsPerInch, fit.pixelsPerInch);
    QCOMPARE(picture->view().topLeft, fit.topLeft);
    QCOMPARE(picture->view().size, fit.size);
}

void FrmPreviewPictureTest::bigProgramShowsProgressAndClosingCancelsIt()
{
    // Three million motions written out one by one, none repeated by a block:
    // reading, checking and drawing them take well over a moment.
    const WaferLayout layout = designedLayout("5.0 Inches", "Hexagon", "100");
    std::string text = "PN LONG\r\nDI 1 10000\r\nII\r\nLASON\r\nMA X -1.5 Y 0\r\nOS\r\n";
    for (int i = 0; i < 1'500'000; ++i)
        text += "MI X 0.000001 Y 0.001\r\nMI X 0.000001 Y -0.001\r\n";
    text += "CS\r\nOFF\r\nEI\r\n";
    designer->showPreview(ProgramPreview{layout, text});
    frmPreview* preview = designer->previewWindow();
    QVERIFY(preview->isWorking());
    QTRY_VERIFY_WITH_TIMEOUT(preview->progressBar->isVisible(), 5000);
    // The window answers while the workers run.
    const double scale = preview->picture->view().pixelsPerInch;
    wheel(preview->picture, QPointF(100, 100), 120);
    QVERIFY(preview->picture->view().pixelsPerInch > scale);
    QTest::mouseClick(preview->cmdClose, Qt::LeftButton);
    QVERIFY(!preview->isVisible());
    QVERIFY(!preview->isWorking());
}

void FrmPreviewPictureTest::largestCircleProgramOpensInFull()
{
    // Some 512 million round dies in 27455 rows.
    const WaferLayout layout = designedLayout("5.0 Inches", "Circle", "0.2");
    designer->showPreview(ProgramPreview{layout, programFor(layout)});
    frmPreview* preview = designer->previewWindow();
    // The path is drawn whatever the check takes.
    QTRY_VERIFY_WITH_TIMEOUT(preview->steps(), WorkTimeout);
    QVERIFY(preview->stepSlider->isEnabled());
    const map::CutPathSteps& steps = *preview->steps();
    QVERIFY(steps.count() > 1000 && steps.count() <= map::CutPathSteps::MaxSteps);
    QVERIFY(steps.motionsAfter.back() > 2 * std::uint64_t(512'000'000)); // an arc and a move a die
    QCOMPARE(steps.headAfter.back(), (ProgramPoint{0, 0}));
    QVERIFY(!preview->stepLabel->text().contains(QStringLiteral("太大")));
    QVERIFY(!shownInRed(preview->stepLabel));
    // The whole wafer cut: not a red pixel left.
    const QImage image = preview->picture->picture();
    QCOMPARE(countPixels(image, map::Red), 0);
    if (preview->report() && preview->report()->unchecked == Unchecked::No)
        QCOMPARE(preview->report()->motions, steps.motionsAfter.back());
    QTest::mouseClick(preview->cmdClose, Qt::LeftButton);
    QVERIFY(!preview->isWorking());
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    FrmPreviewPictureTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frm_preview_picture_test.moc"

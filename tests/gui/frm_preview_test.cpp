// SPDX-License-Identifier: GPL-3.0-or-later
// The cut path preview, opened from the generation window as a user opens it,
// and fed programs of known layouts and programs broken on purpose.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include "windows/generation/frm_code.h"
#include "forms/application.h"
#include "program/check/report/report_numbers.h"
#include "render/cut_path_picture.h"
#include "windows/preview/frm_preview.h"
#include "windows/designer/frm_wafer.h"
#include "tests/support/gui_test_support.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/temporary_folder.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

namespace {

constexpr int WorkTimeout = 20000;

std::string without(std::string text, const std::string& line)
{
    const std::size_t at = text.find(line);
    if (at == std::string::npos)
        qFatal("no line %s", line.c_str());
    text.erase(at, line.size());
    return text;
}

std::string replaced(std::string text, const std::string& line, const std::string& by)
{
    const std::size_t at = text.find(line);
    if (at == std::string::npos)
        qFatal("no line %s", line.c_str());
    text.replace(at, line.size(), by);
    return text;
}

QString figure(frmPreview* preview, const char* name)
{
    return control<QLabel>(preview, name)->text();
}

bool shownInRed(const QWidget* widget, QPalette::ColorRole role = QPalette::WindowText)
{
    return widget->palette().color(role) == QColor(192, 0, 0);
}

// The contrast of a label's text on the window behind it, as WCAG counts it.
double contrast(const QWidget* widget)
{
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
    };
    const double text = luminance(widget->palette().color(QPalette::WindowText));
    const double back = luminance(widget->palette().color(QPalette::Window));
    return (std::max(text, back) + 0.05) / (std::min(text, back) + 0.05);
}

// The pixel that a program point falls in.
QPoint pixelOf(const CutPathView* picture, double programX, double programY)
{
    const QPointF at = picture->view().toPixels(map::pictureInches({programX, programY}));
    return {static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y()))};
}

QColor colourAt(const QImage& image, QPoint pixel)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(static_cast<int>(pixel.x() * ratio), static_cast<int>(pixel.y() * ratio));
}

void wheel(QWidget* widget, QPointF at, int delta)
{
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class FrmPreviewTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void previewButtonWritesNothingAndOpensOneWindow();
    void previewIsRefusedAsTheStartButtonIs();
    void previewStaysUsableBesideTheModalGenerationWindow();
    void reportOfKnownLayouts_data();
    void reportOfKnownLayouts();
    void cutsAreDrawnOverTheDieEdges();
    void lastStepLeavesNoRed_data();
    void lastStepLeavesNoRed();
    void programLeavingALineUncutShowsItInRed();
    void movedCutIsReportedAtItsLine();
    void textThatIsNoProgramIsReportedAtItsLine();
    void programBeyondTheBoundsIsUncheckedInChinese();
    void sliderMovesTheHead();
    void playWalksToTheEnd();
    void wheelZoomsAboutThePointerAtOneScale();
    void dragPansAndFitShowsTheWaferAgain();
    void bigProgramShowsProgressAndClosingCancelsIt();
    void largestCircleProgramOpensInFull();
    void previewAgainKeepsTheViewAndReopensAfterClosing();
    void closingTheDesignerClosesThePreview();
    void programFileIsCheckedAndReadAgainWhenItChanges();
    void programFileIsReadAsTheCheckReadsIt();
    void jobAndProgramDroppedTogetherOpenInThatOrder();

private:
    void design(const char* shape, const char* die);
    void designAndOpen(const char* shape, const char* die);
    frmPreview* openPreview(const WaferLayout& layout, const std::string& text);
    frmCode* code() const { return designer->codeWindow(); }

    std::unique_ptr<frmWafer> designer;
    std::unique_ptr<MessageRecorder> messages;
};

void FrmPreviewTest::init()
{
    messages = std::make_unique<MessageRecorder>();
    designer = std::make_unique<frmWafer>(nullptr);
    designer->showModeless();
}

void FrmPreviewTest::cleanup()
{
    designer.reset();
    messages.reset();
}

void FrmPreviewTest::design(const char* shape, const char* die)
{
    choose(designer->Combo1, QStringLiteral("2.0 Inches"));
    choose(designer->Combo2, QString::fromLatin1(shape));
    type(designer->Text1, QString::fromLatin1(die));
    QTest::mouseClick(designer->cmdDraw, Qt::LeftButton);
}

void FrmPreviewTest::designAndOpen(const char* shape, const char* die)
{
    design(shape, die);
    QTest::mouseClick(designer->cmdGenerate, Qt::LeftButton);
    QVERIFY(code() && code()->isVisible());
    code()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), code());
}

frmPreview* FrmPreviewTest::openPreview(const WaferLayout& layout, const std::string& text)
{
    designer->showPreview(ProgramPreview{layout, text});
    frmPreview* preview = designer->previewWindow();
    if (!QTest::qWaitFor([preview] { return !preview || !preview->isWorking(); }, WorkTimeout))
        qWarning("the preview is still working");
    return preview;
}

void FrmPreviewTest::previewButtonWritesNothingAndOpensOneWindow()
{
    designAndOpen("Square", "500");
    const QString name = QStringLiteral("prev%1").arg(QCoreApplication::applicationPid());
    type(code()->Text1, name);
    const std::filesystem::path file =
        std::filesystem::path(frmCode::outputFolder()) / (name.toStdString() + ".TXT");
    QCOMPARE(code()->cmdPreview->text(), QStringLiteral("預覽(&P)"));
    QVERIFY(code()->cmdStart->isDefault());
    QVERIFY(code()->cmdStart->x() < code()->cmdPreview->x() && code()->cmdPreview->x() < code()->cmdExit->x());

    QTest::mouseClick(code()->cmdPreview, Qt::LeftButton);
    frmPreview* preview = designer->previewWindow();
    QVERIFY(preview && preview->isVisible());
    QCOMPARE(preview->windowTitle(), QStringLiteral("切割路徑預覽"));
    QCOMPARE(preview->windowModality(), Qt::NonModal);
    QCOMPARE(preview->parentWidget(), designer.get());
    QTRY_VERIFY_WITH_TIMEOUT(!preview->isWorking(), WorkTimeout);
    QTest::mouseClick(code()->cmdPreview, Qt::LeftButton);
    QCOMPARE(designer->previewWindow(), preview);
    QCOMPARE(designer->findChildren<frmPreview*>().size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(!preview->isWorking(), WorkTimeout);

    QVERIFY(messages->shown.empty()); // no completion message either
    QVERIFY(!std::filesystem::exists(file));
    QVERIFY(code()->isVisible());
    QVERIFY(preview->report());
    QCOMPARE(preview->report()->dies, std::int64_t(4));
}

void FrmPreviewTest::previewIsRefusedAsTheStartButtonIs()
{
    designAndOpen("Hexagon", "200");
    QTest::mouseClick(code()->cmdPreview, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QCOMPARE(messages->shown[0].prompt, std::string("未輸入欲產生的檔名，請輸入檔名。"));
    QCOMPARE(messages->shown[0].icon, MessageIcon::Exclamation);
    type(code()->Text1, QStringLiteral("job"));
    code()->Text2->setText(QStringLiteral("x"));
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QTest::mouseClick(code()->cmdPreview, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(3));
    QCOMPARE(messages->shown[2].prompt, messages->shown[1].prompt);
    QCOMPARE(messages->shown[2].title, messages->shown[1].title);
    QCOMPARE(QApplication::focusWidget(), code()->Text2.data());
    QVERIFY(!designer->previewWindow());
}

void FrmPreviewTest::previewStaysUsableBesideTheModalGenerationWindow()
{
    designAndOpen("Circle", "300");
    type(code()->Text1, QStringLiteral("job"));
    QTest::mouseClick(code()->cmdPreview, Qt::LeftButton);
    frmPreview* preview = designer->previewWindow();
    QTRY_VERIFY_WITH_TIMEOUT(!preview->isWorking(), WorkTimeout);
    QVERIFY(QTest::qWaitForWindowExposed(preview));
    QCOMPARE(code()->windowModality(), Qt::ApplicationModal);
    // A drag through the window system, which a modal window would block.
    QWindow* window = preview->windowHandle();
    const QPoint from = preview->picture->mapTo(preview, QPoint(200, 200));
    const QPointF before = preview->picture->view().topLeft;
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, from + QPoint(40, 30));
    QTest::mouseRelease(window, Qt::LeftButton, {}, from + QPoint(40, 30));
    QVERIFY(preview->picture->view().topLeft != before);
    // Once the generation window closes the preview follows the designer.
    code()->cmdExit_Click();
    QCOMPARE(window->transientParent(), designer->windowHandle());
}

void FrmPreviewTest::reportOfKnownLayouts_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("die");
    QTest::addColumn<int>("dies");
    QTest::addColumn<int>("cuts");
    QTest::addColumn<double>("cutLength");
    QTest::addColumn<double>("travelLength");
    // One round die of 1 inch at the centre: from the origin to its left
    // edge, one turn about it, a die pitch on, back to the origin.
    QTest::newRow("one-die wafer") << "Circle" << "1000" << 1 << 1 << std::numbers::pi << 0.5 + 1.0 + 0.5;
    // Rows of 2, 3 and 2 hexagons of half width 0.25: 34 edges of 0.5/√3 are
    // cut, in four cuts (the last row's lower edges on their own).
    QTest::newRow("three rows of hexagons") << "Hexagon" << "500" << 7 << 4 << 34 * 0.5 / std::sqrt(3.0) << -1.0;
    // Three row lines and three column lines of 1 inch; between them four
    // half-inch steps and the two diagonals from and to the origin.
    QTest::newRow("2 x 2 square grid") << "Square" << "500" << 4 << 6 << 6.0 << 2.0 + 2 * std::sqrt(0.5);
}

void FrmPreviewTest::reportOfKnownLayouts()
{
    QFETCH(QString, shape);
    QFETCH(QString, die);
    QFETCH(int, dies);
    QFETCH(int, cuts);
    QFETCH(double, cutLength);
    QFETCH(double, travelLength);
    const WaferLayout layout = designedLayout("2.0 Inches", shape.toLatin1().constData(), die.toLatin1().constData());
    frmPreview* preview = openPreview(layout, programFor(layout));
    QVERIFY(preview->report());
    const CutReport& report = *preview->report();
    QCOMPARE(report.dies, std::int64_t(dies));
    QCOMPARE(report.diesFullyCut, std::int64_t(dies));
    QCOMPARE(report.cuts, std::uint64_t(cuts));
    QVERIFY2(std::abs(report.cutLength - cutLength) < 1e-4, qPrintable(QString::number(report.cutLength, 'f', 6)));
    if (travelLength >= 0)
        QVERIFY2(std::abs(report.travelLength - travelLength) < 1e-4,
                 qPrintable(QString::number(report.travelLength, 'f', 6)));

    QCOMPARE(figure(preview, "cutsValue"), QString::number(cuts));
    QCOMPARE(figure(preview, "cutLengthValue"), QString::number(cutLength, 'f', 4) + QStringLiteral(" 英吋"));
    QCOMPARE(figure(preview, "diesFullyCutValue"), QStringLiteral("%1 / %1").arg(dies));
    QCOMPARE(figure(preview, "uncutDiesValue"), QStringLiteral("0"));
    QCOMPARE(figure(preview, "outsideCutsValue"), QStringLiteral("0"));
    QCOMPARE(figure(preview, "endValue"), QStringLiteral("X 0.000000, Y 0.000000 英吋"));
    QVERIFY(report.machineSeconds && *report.machineSeconds > 0);
    QCOMPARE(figure(preview, "machineSecondsValue"), QString::fromStdString(durationText(*report.machineSeconds)));
    QVERIFY(!control<QLabel>(preview, "machineSecondsValue")->toolTip().isEmpty());
    QVERIFY(preview->verdictLabel->text().startsWith(QStringLiteral("全部 %1 個晶粒都已完整切割").arg(dies)));
    QVERIFY(!shownInRed(preview->verdictLabel));
    QVERIFY(contrast(preview->verdictLabel) >= 4.5);
    for (const auto& value : preview->figureValues)
        QVERIFY(!shownInRed(value));
    QVERIFY(preview->faultList->toPlainText().isEmpty());
}

void FrmPreviewTest::cutsAreDrawnOverTheDieEdges()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Square", "500");
    frmPreview* preview = openPreview(layout, programFor(layout));
    CutPathView* picture = preview->picture;
    const QImage image = picture->picture();
    // The cut lines lie on the grid lines of the map: cut colour, no red left.
    QCOMPARE(colourAt(image, pixelOf(picture, 0.25, 0.0)), map::CutColour);
    QCOMPARE(colourAt(image, pixelOf(picture, -0.5, -0.25)), map::CutColour);
    QCOMPARE(colourAt(image, pixelOf(picture, 0.25, 0.25)), QColor(Qt::white)); // inside a die
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += image.pixelColor(x, y) == map::Red;
    QCOMPARE(red, 0);
}

void FrmPreviewTest::lastStepLeavesNoRed_data()
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

void FrmPreviewTest::lastStepLeavesNoRed()
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
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += image.pixelColor(x, y) == map::Red;
    QCOMPARE(red, 0);
    // One step back the last cut is still to come: red again.
    if (shape == QStringLiteral("Circle")) {
        preview->stepSlider->setValue(preview->stepSlider->maximum() / 2);
        const QImage half = preview->picture->picture();
        int left = 0;
        for (int y = 0; y < half.height(); ++y)
            for (int x = 0; x < half.width(); ++x)
                left += half.pixelColor(x, y) == map::Red;
        QVERIFY(left > 0);
    }
}

void FrmPreviewTest::programLeavingALineUncutShowsItInRed()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Square", "500");
    // The middle row line: its cut, which opened and closed on nothing.
    const std::string broken = without(programFor(layout), "MI X -1.0\r\n");
    frmPreview* preview = openPreview(layout, broken);
    QVERIFY(preview->report());
    QVERIFY(preview->report()->uncutDies > 0);
    QVERIFY(shownInRed(preview->verdictLabel));
    QVERIFY(contrast(preview->verdictLabel) >= 4.5);
    QVERIFY(preview->verdictLabel->text().startsWith(QStringLiteral("程式有問題")));
    QVERIFY(shownInRed(control<QLabel>(preview, "uncutDiesValue")));
    QVERIFY(shownInRed(control<QLabel>(preview, "diesFullyCutValue")));
    QVERIFY(figure(preview, "diesFullyCutValue").startsWith(QStringLiteral("0 / 4")));
    QVERIFY(preview->faultList->toPlainText().contains(QStringLiteral("第 1 列第 1 個晶粒")));
    QVERIFY(shownInRed(preview->faultList, QPalette::Text));
    // What the program leaves uncut stays red on the map.
    const QImage image = preview->picture->picture();
    QCOMPARE(colourAt(image, pixelOf(preview->picture, -0.25, 0.0)), map::Red);
    QCOMPARE(colourAt(image, pixelOf(preview->picture, -0.25, 0.5)), map::CutColour);
}

void FrmPreviewTest::movedCutIsReportedAtItsLine()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Square", "500");
    const std::string text = programFor(layout);
    // The first row line cut twice as long: past the effective circle.
    const std::string broken = replaced(text, "MI X 1.0\r\n", "MI X 2.0\r\n");
    const std::size_t at = text.find("MI X 1.0\r\n");
    const int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
    frmPreview* preview = openPreview(layout, broken);
    QVERIFY(preview->report());
    QVERIFY(preview->report()->outsideCuts > 0);
    QVERIFY(shownInRed(control<QLabel>(preview, "outsideCutsValue")));
    QVERIFY(shownInRed(preview->verdictLabel));
    QVERIFY2(preview->faultList->toPlainText().contains(QStringLiteral("程式第 %1 行：切割超出有效圓").arg(line)),
             qPrintable(preview->faultList->toPlainText()));
}

void FrmPreviewTest::textThatIsNoProgramIsReportedAtItsLine()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Hexagon", "500");
    const std::string text = programFor(layout);
    // The first repeat block loses its EL.
    const std::size_t sl = text.find("SL 2\r\n", text.find("MAIN PROGRAM"));
    const std::string broken = text.substr(0, sl) + replaced(text.substr(sl), "EL\r\n", "");
    const int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(sl), '\n'));
    frmPreview* preview = openPreview(layout, broken);
    QVERIFY(!preview->report());
    QVERIFY(shownInRed(preview->verdictLabel));
    QVERIFY2(preview->verdictLabel->text().startsWith(QStringLiteral("程式第 %1 行無法讀取：SL 沒有對應的 EL").arg(line)),
             qPrintable(preview->verdictLabel->text()));
    QVERIFY(!preview->stepSlider->isEnabled());
    QVERIFY(!preview->steps());
}

void FrmPreviewTest::programBeyondTheBoundsIsUncheckedInChinese()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Square", "500");
    // Arcs that never close, each a little further round: equal copies of a
    // pass, far too many to match one by one.
    const std::string text = "PN HUGE\nDI 1 10000\nII\nMA X 0.5 Y 0\nOS\nSL 1300000000\nMI X 0.1 ARC 1\nEL\nCS\nEI\n";
    frmPreview* preview = openPreview(layout, text);
    QVERIFY(!preview->isWorking());
    const QString verdict = preview->verdictLabel->text();
    QVERIFY2(verdict.contains(QStringLiteral("無法檢查")), qPrintable(verdict));
    QVERIFY2(!verdict.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))), qPrintable(verdict));
    // Not the verdict on a wrong program: not red, and no figures as if it had been run.
    QVERIFY(!shownInRed(preview->verdictLabel));
    QVERIFY(contrast(preview->verdictLabel) >= 4.5);
    QVERIFY(!verdict.startsWith(QStringLiteral("程式有問題")));
    QVERIFY(preview->report());
    QCOMPARE(preview->report()->unchecked, Unchecked::TooLarge);
    QVERIFY(figure(preview, "diesFullyCutValue").isEmpty());
}

void FrmPreviewTest::sliderMovesTheHead()
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

void FrmPreviewTest::playWalksToTheEnd()
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

void FrmPreviewTest::wheelZoomsAboutThePointerAtOneScale()
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

void FrmPreviewTest::dragPansAndFitShowsTheWaferAgain()
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

void FrmPreviewTest::bigProgramShowsProgressAndClosingCancelsIt()
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

void FrmPreviewTest::largestCircleProgramOpensInFull()
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
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += image.pixelColor(x, y) == map::Red;
    QCOMPARE(red, 0);
    if (preview->report() && preview->report()->unchecked == Unchecked::No)
        QCOMPARE(preview->report()->motions, steps.motionsAfter.back());
    QTest::mouseClick(preview->cmdClose, Qt::LeftButton);
    QVERIFY(!preview->isWorking());
}

void FrmPreviewTest::previewAgainKeepsTheViewAndReopensAfterClosing()
{
    designAndOpen("Hexagon", "200");
    type(code()->Text1, QStringLiteral("job"));
    QTest::mouseClick(code()->cmdPreview, Qt::LeftButton);
    frmPreview* preview = designer->previewWindow();
    QTRY_VERIFY_WITH_TIMEOUT(!preview->isWorking(), WorkTimeout);
    const std::uint32_t steps = preview->steps()->count();
    wheel(preview->picture, QPointF(120, 140), 480);
    const map::MapView zoomed = preview->picture->view();
    // Two passes there and back: another program of the same layout.
    code()->Text2->setText(QStringLiteral("2"));
    QTest::mouseClick(code()->cmdPreview, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!preview->isWorking(), WorkTimeout);
    QCOMPARE(preview->picture->view(), zoomed);
    QVERIFY(preview->steps()->count() != steps); // the other program's path
    QTest::mouseClick(preview->cmdClose, Qt::LeftButton);
    QVERIFY(!preview->isVisible());
    QTest::mouseClick(code()->cmdPreview, Qt::LeftButton);
    QCOMPARE(designer->previewWindow(), preview);
    QVERIFY(preview->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!preview->isWorking(), WorkTimeout);
    QVERIFY(preview->report() && preview->steps());
    QVERIFY(preview->picture->view().pixelsPerInch < zoomed.pixelsPerInch); // fitted again
}

void FrmPreviewTest::closingTheDesignerClosesThePreview()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Circle", "1000");
    frmPreview* preview = openPreview(layout, programFor(layout));
    QVERIFY(preview->isVisible());
    designer->cmdExit_Click();
    QVERIFY(!preview->isVisible());
}

void FrmPreviewTest::programFileIsCheckedAndReadAgainWhenItChanges()
{
    const TemporaryFolder folder;
    const std::string path = folder.file("JOBA.TXT");
    designer->openProgramFile(QString::fromStdString(path));
    QCOMPARE(messages->shown.size(), std::size_t(1)); // no design yet
    QCOMPARE(messages->shown[0].title, std::string("無資料"));
    QVERIFY(!designer->previewWindow());

    design("Square", "500");
    const std::string program = programFor(*designer->lastLayout());
    const std::string broken = without(program, "MI X -1.0\r\n"); // the middle row line
    std::ofstream(path, std::ios::binary) << broken;
    designer->openProgramFile(QString::fromStdString(path));
    frmPreview* preview = designer->previewWindow();
    QTRY_VERIFY_WITH_TIMEOUT(preview->report(), WorkTimeout);
    QCOMPARE(preview->windowTitle(), QStringLiteral("JOBA.TXT – 切割路徑預覽"));
    QVERIFY2(preview->fileLabel->text().contains(QStringLiteral("%1（%2 位元組）")
                                                     .arg(QString::fromStdString(path))
                                                     .arg(broken.size())),
             qPrintable(preview->fileLabel->text()));
    QVERIFY(shownInRed(preview->verdictLabel));
    QVERIFY(preview->faultList->toPlainText().contains(QStringLiteral("第 1 列第 1 個晶粒")));
    QCOMPARE(colourAt(preview->picture->picture(), pixelOf(preview->picture, -0.25, 0.0)), map::Red);

    // Saved again, whole: read and checked again in the same view.
    wheel(preview->picture, QPointF(100, 100), 120);
    const map::MapView view = preview->picture->view();
    std::ofstream(path, std::ios::binary) << program;
    QTRY_VERIFY_WITH_TIMEOUT(preview->report() && preview->report()->clean(), WorkTimeout);
    QVERIFY(preview->fileLabel->text().contains(QStringLiteral("程式檔已變更，已重新讀取並檢查")));
    QCOMPARE(preview->picture->view(), view);

    std::filesystem::remove(path);
    QTRY_VERIFY_WITH_TIMEOUT(preview->fileLabel->text().contains(QStringLiteral("程式檔已不存在")), WorkTimeout);
    QVERIFY(preview->report() && preview->steps()); // the last picture stays
    QCOMPARE(messages->shown.size(), std::size_t(1));
}

void FrmPreviewTest::programFileIsReadAsTheCheckReadsIt()
{
    design("Square", "500");
    const std::string program = programFor(*designer->lastLayout());
    const auto ending = [&program](const std::string& end) {
        std::string text;
        for (const char c : program)
            if (c != '\r')
                text += c == '\n' ? end : std::string(1, c);
        return text;
    };
    const TemporaryFolder folder;
    for (const auto& [text, clean] :
         {std::pair(program.substr(0, program.size() - 2), true), std::pair(ending("\n"), true),
          std::pair(replaced(program, "II\r\n", "II\r\n# \xB4\xFA\xB8\xD5\r\n"), true), // CP950 in a comment
          std::pair(ending("\r"), false)}) {
        const std::string path = folder.file("P.TXT");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        designer->openProgramFile(QString::fromStdString(path));
        frmPreview* preview = designer->previewWindow();
        QTRY_VERIFY_WITH_TIMEOUT(!preview->isWorking(), WorkTimeout);
        if (clean) {
            QVERIFY(preview->report() && preview->report()->clean());
        } else {
            const auto refusal = readProgramFile(path); // what check says of it
            QVERIFY(std::holds_alternative<ProgramFileRefusal>(refusal));
            QCOMPARE(preview->verdictLabel->text(), QString::fromStdString(std::get<ProgramFileRefusal>(refusal).message));
        }
    }
}

void FrmPreviewTest::jobAndProgramDroppedTogetherOpenInThatOrder()
{
    const TemporaryFolder folder;
    const std::string job = folder.file("SQUARES.kwjob");
    std::ofstream(job) << R"({"format": "kerfwright-job", "version": 1,
        "designer": {"wafer": "2.0 Inches", "shape": "Square", "die": "500"}})";
    const std::string program = folder.file("JOBA.TXT");
    std::ofstream(program, std::ios::binary) << programFor(designedLayout("2.0 Inches", "Square", "500"));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(program)), QUrl::fromLocalFile(QString::fromStdString(job))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(designer.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(designer.get(), &drop);
    QCOMPARE(designer->Text4->text(), QStringLiteral("4"));
    frmPreview* preview = designer->previewWindow();
    QVERIFY(preview);
    QTRY_VERIFY_WITH_TIMEOUT(preview->report() && preview->report()->clean(), WorkTimeout);
    QCOMPARE(preview->windowTitle(), QStringLiteral("JOBA.TXT – 切割路徑預覽"));
    QVERIFY(messages->shown.empty());
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    FrmPreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frm_preview_test.moc"

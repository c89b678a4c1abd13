// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's report of programs of known layouts and of programs broken
// on purpose: figures, verdict, faults and their colours.
#include <algorithm>
#include <cmath>
#include <numbers>

#include <QApplication>
#include <QRegularExpression>
#include <QTest>

#include "forms/application.h"
#include "program/check/report/report_numbers.h"
#include "render/cut_path_picture.h"
#include "tests/gui/preview_fixture.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

namespace {

QString figure(frmPreview* preview, const char* name)
{
    return control<QLabel>(preview, name)->text();
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

} // namespace

class FrmPreviewReportTest : public QObject, PreviewFixture {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void reportOfKnownLayouts_data();
    void reportOfKnownLayouts();
    void programLeavingALineUncutShowsItInRed();
    void movedCutIsReportedAtItsLine();
    void textThatIsNoProgramIsReportedAtItsLine();
    void programBeyondTheBoundsIsUncheckedInChinese();
};

void FrmPreviewReportTest::reportOfKnownLayouts_data()
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

void FrmPreviewReportTest::reportOfKnownLayouts()
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

void FrmPreviewReportTest::programLeavingALineUncutShowsItInRed()
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

void FrmPreviewReportTest::movedCutIsReportedAtItsLine()
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

void FrmPreviewReportTest::textThatIsNoProgramIsReportedAtItsLine()
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

void FrmPreviewReportTest::programBeyondTheBoundsIsUncheckedInChinese()
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

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    FrmPreviewReportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frm_preview_report_test.moc"

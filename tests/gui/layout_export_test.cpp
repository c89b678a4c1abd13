// SPDX-License-Identifier: GPL-3.0-or-later
// The designer's exports: the map as PNG and SVG, the die centres as CSV, and
// the picture's context menu that writes them.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "forms/application.h"
#include "forms/file_dialog.h"
#include "windows/designer/frm_wafer.h"
#include "render/layout_export.h"
#include "render/wafer_map.h"
#include "tests/support/gui_test_support.h"
#include "layout/die_csv.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"

using namespace kerf;
using namespace kerf::map;
using namespace kerf::ui;
using namespace kerf::testing;

namespace {

std::string contents(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

QColor at(const QImage& image, double x, double y)
{
    return image.pixelColor(static_cast<int>(std::floor(x * 96)), static_cast<int>(std::floor(y * 96)));
}

// Answers the save dialog with a path (and a filter) while it lives.
class SaveFileAnswer {
public:
    explicit SaveFileAnswer(QString path, QString filter = {})
    {
        previous_ = setSaveFileFunction([this, path, filter](QWidget*, const QString& caption, const QString& suggested,
                                                             const QString& filters, QString* chosen) {
            asked.push_back({caption, suggested, filters});
            if (chosen)
                *chosen = filter.isEmpty() ? filters.section(QStringLiteral(";;"), 0, 0) : filter;
            return path;
        });
    }
    ~SaveFileAnswer() { setSaveFileFunction(std::move(previous_)); }
    SaveFileAnswer(const SaveFileAnswer&) = delete;
    SaveFileAnswer& operator=(const SaveFileAnswer&) = delete;

    struct Question {
        QString caption, suggested, filters;
    };
    std::vector<Question> asked;

private:
    SaveFileFunction previous_;
};

} // namespace

class LayoutExportTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void pngIsThePictureSizeWithTheMapsColours();
    void svgIsWellFormedAndDrawsTheSameMap();
    void imageTargetFollowsTheExtensionOrTheFilter_data();
    void imageTargetFollowsTheExtensionOrTheFilter();
    void suggestedNameSaysShapeAndSize();
    void csvExportReplacesTheFileWithTheDieCentres();
    void failedExportLeavesTheOldFileAndSaysWhy();
    void cancelledCsvLeavesNothing();

    void contextMenuOffersBothExportsAfterADesign();
    void savedPngIsWhatThePictureShows();
    void savedSvgByItsFilter();
    void exportedCsvHoldsTheDieCentres();
    void exportErrorsAreShownInAMessageBox();
    void cancelledDialogWritesNothing();

private:
    void design(const char* shape, const char* die);

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<frmWafer> designer;
    std::unique_ptr<MessageRecorder> messages;
};

void LayoutExportTest::init()
{
    folder = std::make_unique<QTemporaryDir>();
    messages = std::make_unique<MessageRecorder>();
    designer = std::make_unique<frmWafer>(nullptr);
    designer->showModeless();
}

void LayoutExportTest::cleanup()
{
    designer.reset();
    messages.reset();
    folder.reset();
}

void LayoutExportTest::design(const char* shape, const char* die)
{
    choose(designer->Combo1, QStringLiteral("2.0 Inches"));
    choose(designer->Combo2, QString::fromLatin1(shape));
    type(designer->Text1, QString::fromLatin1(die));
    QTest::mouseClick(designer->cmdDraw, Qt::LeftButton);
    QVERIFY(!designer->Text4->text().isEmpty());
}

void LayoutExportTest::pngIsThePictureSizeWithTheMapsColours()
{
    // One round die of 1 inch at the centre.
    const WaferLayout layout = designedLayout("2.0 Inches", "Circle", "1000");
    std::ostringstream out;
    QVERIFY(writeMapPng(out, layout));
    const std::string bytes = out.str();
    QImage image;
    QVERIFY(image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "PNG"));
    QCOMPARE(image.size(), QSize(504, 504));
    QCOMPARE(at(image, CenterX, CenterY), Black);       // the centre point
    QCOMPARE(at(image, CenterX + 1.0, CenterY), Black); // the outline of 1 inch radius
    QCOMPARE(at(image, CenterX + 0.5, CenterY), Red);   // the die
    QCOMPARE(at(image, CenterX, CenterY - 0.5), Red);
    QCOMPARE(at(image, CenterX + 0.25, CenterY), QColor(Qt::white)); // inside it
    QCOMPARE(at(image, CenterX + 0.75, CenterY), QColor(Qt::white)); // between it and the rim
    QCOMPARE(at(image, 0.1, 0.1), QColor(Qt::white));
    QCOMPARE(image.convertToFormat(QImage::Format_RGB32), mapImage(layout));
}

void LayoutExportTest::svgIsWellFormedAndDrawsTheSameMap()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Hexagon", "200");
    std::ostringstream out;
    QVERIFY(writeMapSvg(out, layout));
    const QByteArray svg = QByteArray::fromStdString(out.str());
    QXmlStreamReader xml(svg);
    int elements = 0;
    bool red = false, black = false;
    QString root;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            if (root.isEmpty())
                root = xml.name().toString();
            ++elements;
            const QString stroke = xml.attributes().value(QStringLiteral("stroke")).toString();
            red = red || stroke == QStringLiteral("#ff0000");
            black = black || stroke == QStringLiteral("#000000");
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(root, QStringLiteral("svg"));
    QVERIFY(svg.contains("viewBox=\"0 0 504 504\""));
    QVERIFY(red && black);
    QVERIFY(elements > 10);
}

void LayoutExportTest::imageTargetFollowsTheExtensionOrTheFilter_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("svgFilter");
    QTest::addColumn<QString>("path"); // empty: refused
    QTest::addColumn<bool>("svg");
    QTest::newRow("png") << "/x/map.png" << true << "/x/map.png" << false;
    QTest::newRow("SVG in capitals") << "/x/map.SVG" << false << "/x/map.SVG" << true;
    QTest::newRow("no extension, png filter") << "/x/map" << false << "/x/map.png" << false;
    QTest::newRow("no extension, svg filter") << "/x/map" << true << "/x/map.svg" << true;
    QTest::newRow("another extension") << "/x/map.jpg" << false << "" << false;
    QTest::newRow("a folder") << "/x/" << false << "" << false;
}

void LayoutExportTest::imageTargetFollowsTheExtensionOrTheFilter()
{
    QFETCH(QString, chosen);
    QFETCH(bool, svgFilter);
    QFETCH(QString, path);
    QFETCH(bool, svg);
    const auto target = imageTarget(chosen.toStdString(), svgFilter);
    if (path.isEmpty()) {
        const auto* refusal = std::get_if<ExportFailure>(&target);
        QVERIFY(refusal);
        QCOMPARE(refusal->prompt, std::string("只能存成 PNG 或 SVG 圖片，請以 .png 或 .svg 作為副檔名。"));
        QCOMPARE(refusal->title, std::string("檔案類型錯誤"));
        return;
    }
    const auto* image = std::get_if<ImageTarget>(&target);
    QVERIFY(image);
    QCOMPARE(QString::fromStdString(image->path.string()), path);
    QCOMPARE(image->kind, svg ? ExportKind::Svg : ExportKind::Png);
}

void LayoutExportTest::suggestedNameSaysShapeAndSize()
{
    WaferLayout layout = designedLayout("2.0 Inches", "Hexagon", "50");
    QCOMPARE(exportFileName(layout, ".png"), std::string("Hexagon_50mil.png"));
    layout.texts.dieSize = "1/2 x";
    QCOMPARE(exportFileName(layout, ".csv"), std::string("Hexagon_1_2_xmil.csv"));
}

void LayoutExportTest::csvExportReplacesTheFileWithTheDieCentres()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Square", "500");
    const std::filesystem::path path = folder->filePath(QStringLiteral("dies.csv")).toStdString();
    write(path, "old contents\n");
    QVERIFY(std::holds_alternative<ExportDone>(exportLayout(path, layout, ExportKind::Csv)));
    QCOMPARE(contents(path), std::string("row,die,x,y\n1,1,-0.25,0.25\n1,2,0.25,0.25\n2,1,-0.25,-0.25\n2,2,0.25,-0.25\n"));
    std::ostringstream expected;
    writeDieCsv(expected, layout);
    QCOMPARE(contents(path), expected.str());
}

void LayoutExportTest::failedExportLeavesTheOldFileAndSaysWhy()
{
    const WaferLayout layout = designedLayout("2.0 Inches", "Circle", "300");
    const std::filesystem::path missing = folder->filePath(QStringLiteral("no/such/map.png")).toStdString();
    const ExportOutcome outcome = exportLayout(missing, layout, ExportKind::Png);
    const auto* failure = std::get_if<ExportFailure>(&outcome);
    QVERIFY(failure);
    QCOMPARE(failure->title, std::string("匯出失敗"));
    QCOMPARE(failure->prompt, "寫入圖片「" + missing.string() +
                                  "」失敗（建立新檔時）：資料夾不存在。沒有留下不完整的檔案。");
    QVERIFY(!std::filesystem::exists(missing.parent_path()));
}

void LayoutExportTest::cancelledCsvLeavesNothing()
{
    // Some ten thousand dies: more than one report of the bytes written,
    // which the estimate asked before a large export comes close to.
    const WaferLayout layout = designedLayout("2.0 Inches", "Hexagon", "15");
    const std::filesystem::path path = folder->filePath(QStringLiteral("dies.csv")).toStdString();
    QVERIFY(std::holds_alternative<ExportDone>(exportLayout(path, layout, ExportKind::Csv)));
    const double written = static_cast<double>(std::filesystem::file_size(path));
    QVERIFY(std::abs(double(estimatedExportBytes(layout, ExportKind::Csv)) - written) < written * 0.1);
    QCOMPARE(estimatedExportBytes(layout, ExportKind::Png), 0u);
    write(path, "old contents\n");
    const auto stop = [](std::uint64_t written) { return written < (1u << 16); };
    QVERIFY(std::holds_alternative<ExportCancelled>(exportLayout(path, layout, ExportKind::Csv, stop)));
    QCOMPARE(contents(path), std::string("old contents\n"));
    QCOMPARE(std::distance(std::filesystem::directory_iterator(folder->path().toStdString()),
                           std::filesystem::directory_iterator()),
             1); // no new file left beside it
}

void LayoutExportTest::contextMenuOffersBothExportsAfterADesign()
{
    QCOMPARE(designer->PIC1->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(designer->mnuSaveImage->text(), QStringLiteral("另存圖片(&S)…"));
    QCOMPARE(designer->mnuExportDies->text(), QStringLiteral("匯出晶粒座標(&E)…"));
    QCOMPARE(designer->PIC1Menu->actions().size(), 15); // and the wafer map's two, 良率設定…, 晶粒尺寸比較… and 晶片平邊…, then the job's four and the program's two, each after a separator; they have tests of their own
    // Before a design there is nothing to export.
    emit designer->PIC1Menu->aboutToShow();
    QVERIFY(!designer->mnuSaveImage->isEnabled());
    QVERIFY(!designer->mnuExportDies->isEnabled());
    design("Circle", "300");
    emit designer->PIC1Menu->aboutToShow();
    QVERIFY(designer->mnuSaveImage->isEnabled());
    QVERIFY(designer->mnuExportDies->isEnabled());
    // The menu opens where the picture is clicked.
    emit designer->PIC1->customContextMenuRequested(QPoint(100, 120));
    QTRY_VERIFY(designer->PIC1Menu->isVisible());
    designer->PIC1Menu->close();
    designer->cmdClear_Click();
    emit designer->PIC1Menu->aboutToShow();
    QVERIFY(!designer->mnuSaveImage->isEnabled());
}

void LayoutExportTest::savedPngIsWhatThePictureShows()
{
    design("Hexagon", "200");
    const QString path = folder->filePath(QStringLiteral("wafer.png"));
    SaveFileAnswer answer(path);
    designer->mnuSaveImage->trigger();
    QTRY_VERIFY(!designer->isExporting());
    QCOMPARE(answer.asked.size(), std::size_t(1));
    QCOMPARE(answer.asked[0].caption, QStringLiteral("另存圖片"));
    QVERIFY(answer.asked[0].suggested.endsWith(QStringLiteral("Hexagon_200mil.png")));
    QVERIFY(messages->shown.empty());
    QImage image(path);
    QCOMPARE(image.size(), QSize(504, 504));
    QCOMPARE(image.convertToFormat(QImage::Format_RGB32), designer->PIC1->image());
}

void LayoutExportTest::savedSvgByItsFilter()
{
    design("Square", "250");
    const QString path = folder->filePath(QStringLiteral("wafer"));
    SaveFileAnswer answer(path, QStringLiteral("SVG 圖片 (*.svg)"));
    designer->mnuSaveImage->trigger();
    QTRY_VERIFY(!designer->isExporting());
    QVERIFY(messages->shown.empty());
    QFile file(path + QStringLiteral(".svg"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY(!xml.hasError());
}

void LayoutExportTest::exportedCsvHoldsTheDieCentres()
{
    design("Square", "500");
    const QString path = folder->filePath(QStringLiteral("dies.csv"));
    SaveFileAnswer answer(path);
    designer->mnuExportDies->trigger();
    QTRY_VERIFY(!designer->isExporting());
    QVERIFY(messages->shown.empty());
    QCOMPARE(answer.asked[0].caption, QStringLiteral("匯出晶粒座標"));
    QCOMPARE(answer.asked[0].filters, QStringLiteral("CSV 檔 (*.csv)"));
    QCOMPARE(contents(path.toStdString()),
             std::string("row,die,x,y\n1,1,-0.25,0.25\n1,2,0.25,0.25\n2,1,-0.25,-0.25\n2,2,0.25,-0.25\n"));
    // The next export suggests the same folder.
    designer->mnuSaveImage->trigger();
    QTRY_VERIFY(!designer->isExporting());
    QCOMPARE(answer.asked[1].suggested, folder->filePath(QStringLiteral("Square_500mil.png")));
}

void LayoutExportTest::exportErrorsAreShownInAMessageBox()
{
    design("Circle", "300");
    const QString dies = designer->Text4->text();
    {
        SaveFileAnswer answer(folder->filePath(QStringLiteral("map.bmp")));
        designer->mnuSaveImage->trigger();
    }
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QCOMPARE(messages->shown[0].icon, MessageIcon::Exclamation);
    QCOMPARE(messages->shown[0].title, std::string("檔案類型錯誤"));
    QVERIFY(!QFile::exists(folder->filePath(QStringLiteral("map.bmp"))));

    const QString missing = folder->filePath(QStringLiteral("gone/dies.csv"));
    {
        SaveFileAnswer answer(missing);
        designer->mnuExportDies->trigger();
        QTRY_VERIFY(!designer->isExporting());
    }
    QTRY_COMPARE(messages->shown.size(), std::size_t(2));
    QCOMPARE(messages->shown[1].icon, MessageIcon::Exclamation);
    QCOMPARE(messages->shown[1].title, std::string("匯出失敗"));
    QCOMPARE(messages->shown[1].owner, designer.get());
    QVERIFY(QString::fromStdString(messages->shown[1].prompt).contains(QStringLiteral("資料夾不存在")));
    QCOMPARE(designer->Text4->text(), dies); // the design stays
}

void LayoutExportTest::cancelledDialogWritesNothing()
{
    design("Circle", "300");
    SaveFileAnswer answer{QString()};
    designer->mnuSaveImage->trigger();
    designer->mnuExportDies->trigger();
    QCOMPARE(answer.asked.size(), std::size_t(2));
    QVERIFY(!designer->isExporting());
    QVERIFY(messages->shown.empty());
    QVERIFY(QDir(folder->path()).isEmpty());
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    LayoutExportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "layout_export_test.moc"

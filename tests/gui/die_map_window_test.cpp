// SPDX-License-Identifier: GPL-3.0-or-later
// The designer's wafer maps: 匯出晶圓圖… writes SINF or E142 by the file type
// chosen, 讀入晶圓圖… reads a binned map back onto the map, the results and
// the job sheet.
#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

#include <QTemporaryDir>
#include <QTest>

#include "forms/file_dialog.h"
#include "forms/open_file_dialog.h"
#include "render/bad_dies.h"
#include "tests/support/gui_test_support.h"
#include "windows/designer/frm_wafer.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

namespace {

std::string contents(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// Answers the save dialog with `path` and `filter`, the open dialog with `path`.
class FileAnswers {
public:
    FileAnswers(QString path, QString filter)
    {
        previousSave_ = setSaveFileFunction([=](QWidget*, const QString&, const QString&, const QString&, QString* chosen) {
            if (chosen)
                *chosen = filter;
            return path;
        });
        previousOpen_ = setOpenFileFunction([=](QWidget*, const QString&, const QString&, const QString&) { return path; });
    }
    ~FileAnswers()
    {
        setSaveFileFunction(std::move(previousSave_));
        setOpenFileFunction(std::move(previousOpen_));
    }

private:
    SaveFileFunction previousSave_;
    OpenFileFunction previousOpen_;
};

} // namespace

class DieMapWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void exportsSinfOrE142ByTheFileType();
    void binnedMapFillsBadDiesAndCountsThem();
    void mapOfAnotherLayoutChangesNothing();

private:
    void design(const char* shape, const char* die);

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<frmWafer> designer;
    std::unique_ptr<MessageRecorder> messages;
};

void DieMapWindowTest::init()
{
    folder = std::make_unique<QTemporaryDir>();
    messages = std::make_unique<MessageRecorder>();
    designer = std::make_unique<frmWafer>(nullptr);
    designer->showModeless();
}

void DieMapWindowTest::cleanup()
{
    designer.reset();
    messages.reset();
    folder.reset();
}

void DieMapWindowTest::design(const char* shape, const char* die)
{
    choose(designer->Combo1, QStringLiteral("2.0 Inches"));
    choose(designer->Combo2, QString::fromLatin1(shape));
    designer->Text5->clear();
    type(designer->Text5, QStringLiteral("1.5"));
    designer->Text1->clear();
    type(designer->Text1, QString::fromLatin1(die));
    QTest::mouseClick(designer->cmdDraw, Qt::LeftButton);
    QVERIFY(!designer->Text4->text().isEmpty());
}

void DieMapWindowTest::exportsSinfOrE142ByTheFileType()
{
    design("Hexagon", "400");
    const QString sinf = folder->filePath(QStringLiteral("w.sinf"));
    const QString xml = folder->filePath(QStringLiteral("w.xml"));
    {
        FileAnswers answers(sinf, QStringLiteral("SINF 晶圓圖 (*.sinf *.txt)"));
        designer->mnuExportMap->trigger();
    }
    {
        FileAnswers answers(xml, QStringLiteral("E142 XML 晶圓圖 (*.xml)"));
        designer->mnuExportMap->trigger();
    }
    QVERIFY(messages->shown.empty());
    QVERIFY(contents(sinf).ends_with("RowData:__ 01 __ 01 __\nRowData:01 __ 01 __ 01\nRowData:__ 01 __ 01 __\n"));
    QVERIFY(contents(xml).find("<BinCode>01__01__01</BinCode>") != std::string::npos);
}

void DieMapWindowTest::binnedMapFillsBadDiesAndCountsThem()
{
    design("Hexagon", "400");
    const QString path = folder->filePath(QStringLiteral("bins.sinf"));
    FileAnswers answers(path, QStringLiteral("SINF 晶圓圖 (*.sinf *.txt)"));
    designer->mnuExportMap->trigger();
    std::string map = contents(path);
    map.replace(map.find("RowData:01 __ 01"), 16, "RowData:0C __ 01");
    std::ofstream(path.toStdString(), std::ios::binary) << map;

    QVERIFY(!designer->lblBins->isVisible());
    designer->mnuReadMap->trigger();
    QVERIFY(messages->shown.empty());
    QVERIFY(designer->lblBins->isVisible());
    QCOMPARE(designer->lblBins->text(), QStringLiteral("晶圓圖：良品 6 個，不良品 1 個，共 7 個"));
    // The bad die is the leftmost of the centre row, at (-0.4, 0) from the wafer centre.
    const QImage picture = designer->PIC1->image();
    const auto pixel = [&](double x) { return picture.pixelColor(int(std::floor((2.625 + x) * 96)), int(std::floor(2.625 * 96))); };
    QCOMPARE(pixel(-0.4), map::BadDieColour);
    QVERIFY(pixel(0) != map::BadDieColour);
    QCOMPARE(std::get<map::JobSheet>(designer->jobSheet()).bins->bad, 1);

    // A new design drops the bins of the one before.
    QTest::mouseClick(designer->cmdDraw, Qt::LeftButton);
    QVERIFY(!designer->bins());
    QVERIFY(!designer->lblBins->isVisible());
}

void DieMapWindowTest::mapOfAnotherLayoutChangesNothing()
{
    design("Square", "400");
    const QString path = folder->filePath(QStringLiteral("square.sinf"));
    FileAnswers answers(path, QStringLiteral("SINF 晶圓圖 (*.sinf *.txt)"));
    designer->mnuExportMap->trigger();
    QVERIFY(designer->readMapFile(path));
    design("Hexagon", "400");
    const QImage before = designer->PIC1->image();
    QVERIFY(!designer->readMapFile(path));
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QCOMPARE(messages->shown[0].title, std::string("無法讀入晶圓圖"));
    QVERIFY(messages->shown[0].prompt.find("這不是同一個佈局的晶圓圖") != std::string::npos);
    QVERIFY(!designer->bins());
    QCOMPARE(designer->PIC1->image(), before);
}

QTEST_MAIN(DieMapWindowTest)
#include "die_map_window_test.moc"

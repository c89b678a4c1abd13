// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's comparison with another program file, as a user opens it, and
// the job sheet that names it.
#include <fstream>

#include <QTest>

#include "forms/open_file_dialog.h"
#include "render/comparison_overlay.h"
#include "tests/gui/preview_fixture.h"
#include "tests/support/generated_programs.h"
#include "tests/support/temporary_folder.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

class FrmCompareTest : public QObject, PreviewFixture {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void anotherProgramIsComparedShownAndReadAgainWhenItChanges();
};

void FrmCompareTest::anotherProgramIsComparedShownAndReadAgainWhenItChanges()
{
    design("Hexagon", "600");
    const TemporaryFolder folder;
    const std::string one = programFor(*designer->lastLayout(), 1);
    folder.write("A.TXT", one);
    folder.write("B.TXT", programFor(*designer->lastLayout(), 2));
    designer->openProgramFile(QString::fromStdString(folder.file("A.TXT")));
    frmPreview* preview = designer->previewWindow();
    QTRY_VERIFY_WITH_TIMEOUT(preview->report(), WorkTimeout);

    // Cancelled: nothing opens.
    OpenFileFunction previous = setOpenFileFunction([](auto...) { return QString(); });
    QTest::mouseClick(preview->cmdCompare, Qt::LeftButton);
    QVERIFY(!preview->compareWindow);
    setOpenFileFunction([&](auto...) { return QString::fromStdString(folder.file("B.TXT")); });
    QTest::mouseClick(preview->cmdCompare, Qt::LeftButton);
    setOpenFileFunction(previous);
    frmCompare* compare = preview->compareWindow;
    QVERIFY(compare && compare->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(compare->comparison(), WorkTimeout);
    QCOMPARE(compare->verdictLabel->text(), QStringLiteral("比較結果：7 個晶粒不同"));
    QCOMPARE(compare->differingList->count(), 7);
    QCOMPARE(compare->differingList->item(0)->text(), QStringLiteral("第 1 列第 1 個晶粒：A 1 次，B 2 次"));
    // Every die cut more in B: its colour at a die's centre.
    const QImage shown = compare->picture->picture();
    QCOMPARE(colourAt(shown, pixelOf(compare->picture, -0.3, 0.519615)).blue() > 150, true);

    // The job sheet of A names B and the result.
    QCOMPARE(std::get<map::JobSheet>(designer->jobSheet()).comparedWith, std::string("與 B.TXT 比較：7 個晶粒不同"));

    // A click shows the die and the lines of both that cut it.
    compare->differingList->setCurrentRow(0);
    QTRY_VERIFY_WITH_TIMEOUT(compare->dieLines->toPlainText().contains(QStringLiteral("程式 B 切它的行：")),
                             WorkTimeout);
    QVERIFY(compare->dieLines->toPlainText().contains(QStringLiteral("程式 A 切它的行：\n  ")));

    // B saved again as A: compared again, the same.
    std::ofstream(folder.file("B.TXT"), std::ios::binary | std::ios::trunc) << one << "\r\n";
    QTRY_COMPARE_WITH_TIMEOUT(compare->verdictLabel->text(), QStringLiteral("比較結果：相同"), WorkTimeout);
    QCOMPARE(compare->differingList->count(), 0);
    QCOMPARE(std::get<map::JobSheet>(designer->jobSheet()).comparedWith, std::string("與 B.TXT 相同"));
    QVERIFY(messages->shown.empty());
}

QTEST_MAIN(FrmCompareTest)
#include "frm_compare_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The designer's good dies: the 良率設定 dialog, the frame of good dies beside
// the results, the job that keeps the settings.
#include <memory>

#include <QTemporaryDir>
#include <QTest>

#include "forms/application.h"
#include "job/job_file.h"
#include "layout/die_area.h"
#include "layout/layout_results.h"
#include "tests/support/gui_test_support.h"
#include "tests/support/temporary_folder.h"
#include "windows/designer/frm_wafer.h"
#include "windows/designer/frm_yield.h"
#include "yield/good_dies.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

class GoodDiesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void frameShowsTheGoodDiesBesideTheResults();
    void dialogRefusesNamingTheBoxAndKeepsNothing();
    void jobKeepsTheSettings();

private:
    void design(const char* shape, const char* die);

    std::unique_ptr<frmWafer> designer;
    std::unique_ptr<MessageRecorder> messages;
    QTemporaryDir folder;
};

void GoodDiesWindowTest::init()
{
    messages = std::make_unique<MessageRecorder>();
    designer = std::make_unique<frmWafer>(nullptr);
    designer->showModeless();
}

void GoodDiesWindowTest::cleanup()
{
    designer.reset();
    messages.reset();
}

void GoodDiesWindowTest::design(const char* shape, const char* die)
{
    choose(designer->Combo1, QStringLiteral("3.0 Inches"));
    choose(designer->Combo2, QString::fromLatin1(shape));
    type(designer->Text1, QString::fromLatin1(die));
    QTest::mouseClick(designer->cmdDraw, Qt::LeftButton);
}

void GoodDiesWindowTest::frameShowsTheGoodDiesBesideTheResults()
{
    design("Hexagon", "120");
    const QRect resultsAt = designer->Frame3->geometry();
    const QString dies = designer->Text4->text();
    QVERIFY(designer->Frame4->isHidden());
    designer->setYieldTexts({"0.9", "seeds", "", "", "1000"});
    QVERIFY(designer->Frame4->isVisible());
    const WaferLayout& layout = *designer->lastLayout();
    const GoodDies expected = goodDies(YieldSettings{YieldModel::Seeds, 0.9, 1, 2, 1000.0}, dieTotal(layout), dieAreaCm2(layout));
    QCOMPARE(designer->Text8->text(), QString::number(expected.goodDies));
    QCOMPARE(designer->Text9->text(), QString::fromStdString(costPerGoodDieText(expected)));
    QVERIFY(designer->Text7->text().endsWith(QString::number(expected.yield * 100, 'f', 2)));
    // The three results keep their place and texts.
    QCOMPARE(designer->Frame3->geometry(), resultsAt);
    QCOMPARE(designer->Text4->text(), dies);
    QVERIFY(!designer->Frame4->geometry().intersects(designer->Frame2->geometry()));
    // Nothing good: a word instead of a cost; cleared with the design; hidden without a density.
    designer->setYieldTexts({"1e9", "poisson", "", "", "1000"});
    QCOMPARE(designer->Text8->text(), QStringLiteral("0"));
    QCOMPARE(designer->Text9->toolTip(), QString::fromStdString(std::string(NoGoodDieNote)));
    QTest::mouseClick(designer->cmdClear, Qt::LeftButton);
    QVERIFY(designer->Text8->text().isEmpty());
    designer->setYieldTexts({});
    QVERIFY(designer->Frame4->isHidden());
    QVERIFY(messages->shown.empty());
}

void GoodDiesWindowTest::dialogRefusesNamingTheBoxAndKeepsNothing()
{
    QVERIFY(designer->PIC1Menu->actions().contains(designer->mnuYieldSettings.data()));
    QVERIFY(designer->Frame3->actions().contains(designer->mnuYieldSettings.data()));
    frmYield dialog(designer.get());
    const struct {
        YieldTexts texts;
        const char* words;
    } refused[] = {
        {{"1.2.3", "murphy", "", "", ""}, "缺陷密度"},
        {{"1", "bose-einstein", "0.5", "", ""}, "關鍵層數"},
        {{"1", "murphy", "", "", "."}, "晶片成本"},
    };
    for (const auto& c : refused) {
        messages->shown.clear();
        dialog.boxes->setTexts(c.texts);
        dialog.show();
        dialog.cmdOK_Click();
        QCOMPARE(messages->shown.size(), std::size_t(1));
        QVERIFY(messages->shown.front().prompt.find(c.words) != std::string::npos);
        QVERIFY(dialog.isVisible());
    }
    QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.boxes->txtCost.data()));
    dialog.boxes->setTexts({"0.25", "bose-einstein", "3", "", ""});
    QVERIFY(dialog.boxes->txtLayers->isEnabled() && !dialog.boxes->txtAlpha->isEnabled());
    dialog.cmdOK_Click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.boxes->texts(), (YieldTexts{"0.25", "bose-einstein", "3", "", ""}));
}

void GoodDiesWindowTest::jobKeepsTheSettings()
{
    design("Square", "150");
    const QString plain = folder.filePath(QStringLiteral("plain.kwjob"));
    const QString withYield = folder.filePath(QStringLiteral("yield.kwjob"));
    QVERIFY(designer->saveJobTo(plain));
    QVERIFY(readFile(plain.toStdString()).starts_with("{\"format\": \"kerfwright-job\", \"version\": 1,"));
    designer->setYieldTexts({"0.5", "moore", "", "", ""});
    QVERIFY(designer->isWindowModified());
    QVERIFY(designer->saveJobTo(withYield));
    QVERIFY(readFile(withYield.toStdString()).ends_with(" \"yield\":    {\"defects\": \"0.5\", \"model\": \"moore\"}}\n"));
    QVERIFY(designer->openJob(plain)); // read in the background
    QTRY_VERIFY(!designer->isReadingJob());
    QVERIFY(designer->Frame4->isHidden());
    QVERIFY(designer->openJob(withYield));
    QTRY_VERIFY(!designer->isReadingJob());
    QCOMPARE(designer->yieldTexts(), (YieldTexts{"0.5", "moore", "", "", ""}));
    QVERIFY(!designer->isWindowModified());
    QVERIFY(!designer->Text8->text().isEmpty());
    QVERIFY(messages->shown.empty());
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    GoodDiesWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "good_dies_window_test.moc"

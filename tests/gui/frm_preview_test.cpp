// SPDX-License-Identifier: GPL-3.0-or-later
// The cut path preview opened as a user opens it: from the generation window,
// again over an open one, and from program files opened, watched and dropped.
#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QWindow>

#include "forms/application.h"
#include "render/cut_path_picture.h"
#include "tests/gui/preview_fixture.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/temporary_folder.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

class FrmPreviewTest : public QObject, PreviewFixture {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void previewButtonWritesNothingAndOpensOneWindow();
    void previewIsRefusedAsTheStartButtonIs();
    void previewStaysUsableBesideTheModalGenerationWindow();
    void previewAgainKeepsTheViewAndReopensAfterClosing();
    void closingTheDesignerClosesThePreview();
    void programFileIsCheckedAndReadAgainWhenItChanges();
    void programFileIsReadAsTheCheckReadsIt();
    void jobAndProgramDroppedTogetherOpenInThatOrder();
    void theSheetDescribesTheProgramShownOrIsRefused();
};

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
    QTRY_COMPARE(designer->Text4->text(), QStringLiteral("4")); // opened once the drop returned
    frmPreview* preview = designer->previewWindow();
    QVERIFY(preview);
    QTRY_VERIFY_WITH_TIMEOUT(preview->report() && preview->report()->clean(), WorkTimeout);
    QCOMPARE(preview->windowTitle(), QStringLiteral("JOBA.TXT – 切割路徑預覽"));
    QVERIFY(messages->shown.empty());
}

void FrmPreviewTest::theSheetDescribesTheProgramShownOrIsRefused()
{
    design("Square", "500");
    // The program handed to the preview, written at another DVL than the boxes say.
    openPreview(*designer->lastLayout(), replaced(programFor(*designer->lastLayout()), "SP DVL = 0.6", "SP DVL = 0.9"));
    const auto sheet = designer->jobSheet();
    QVERIFY(std::holds_alternative<map::JobSheet>(sheet));
    const map::JobSheet& described = std::get<map::JobSheet>(sheet);
    QCOMPARE(described.settings.DVL.texts, std::vector<std::string>{"0.9"});
    QVERIFY(described.program && described.program->folder.empty());
    QVERIFY(described.jobFile.empty() && described.jobChanged); // a job never saved
    // A file that is no program: printing is refused in the words of `sheet --program`.
    const TemporaryFolder folder;
    const std::string garbage = folder.file("garbage.TXT");
    std::ofstream(garbage) << "garbage\n";
    designer->openProgramFile(QString::fromStdString(garbage));
    QTRY_VERIFY_WITH_TIMEOUT(!designer->previewWindow()->isWorking(), WorkTimeout);
    const std::string words = std::get<ProgramFileRefusal>(readProgramFile(garbage)).message;
    QCOMPARE(std::get<std::string>(designer->jobSheet()), words);
    designer->previewWindow()->cmdPrint->click();
    QCOMPARE(messages->shown.back().title, std::string("無法列印"));
    QCOMPARE(messages->shown.back().prompt, words);
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    FrmPreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frm_preview_test.moc"

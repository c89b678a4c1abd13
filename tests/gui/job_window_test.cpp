// SPDX-License-Identifier: GPL-3.0-or-later
// Jobs in the windows: saved, reopened, named in the title, asked about on
// close, and the same values as the command line's.
#include <sys/stat.h>

#include <memory>
#include <random>
#include <sstream>

#include <QAbstractButton>
#include <QDropEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "cli/commands.h"
#include "job/job_file.h"
#include "program/writer/generation_driver.h"
#include "tests/support/gui_test_support.h"
#include "tests/support/temporary_folder.h"
#include "windows/designer/frm_wafer.h"
#include "windows/generation/frm_code.h"
#include "windows/main_menu/main_wafer.h"
#include "forms/application.h"
#include "forms/file_dialog.h"
#include "forms/save_question.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

namespace {

struct CliResult {
    int status;
    std::string out;
};

CliResult runCli(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = kerf::cli::runCommandLine(args, out, err);
    return {status, out.str() + err.str()};
}

// What the window writes for its boxes.
std::string windowProgram(const frmWafer& window)
{
    std::ostringstream text;
    const GenerationRequest request{window.codeWindow()->texts(), std::chrono::year_month_day{
                                                                     std::chrono::year(2004) / 3 / 5}};
    const auto outcome = runGeneration(*window.lastLayout(), request, std::ref(static_cast<std::ostream&>(text)));
    return std::holds_alternative<GenerationDone>(outcome) ? text.str() : "refused";
}

// Opens the job at `path` and waits for its reading: true when the window holds it then.
bool openedJob(frmWafer& window, const QString& path, const QString& program = {})
{
    return window.openJob(path, program) && QTest::qWaitFor([&] { return !window.isReadingJob(); })
           && window.jobPath() == std::filesystem::path(QFileInfo(path).absoluteFilePath().toStdString());
}

} // namespace

class JobWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void boxesRoundTripThroughTheFileAndTheCommandLine();
    void titleNamesTheJobAndMarksItWhileTheBoxesDiffer();
    void closingAChangedJobAsksToSave();
    void aFileThatIsNotAJobChangesNothing();
    void closingTheProgramAsksTooAndItsArgumentOpens();
    void anUnsavedDesignIsAskedAboutOnEveryWayOfClosing();
    void theSaveQuestionAndTheRecentJobsHaveAltLetters();
    void aDropAsksOnlyAfterItHasReturned();

private:
    std::unique_ptr<frmWafer> window;
    std::unique_ptr<MessageRecorder> messages;
    std::unique_ptr<TemporaryFolder> folder;
    QTemporaryDir settingsFolder;
};

void JobWindowTest::init()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    QSettings(QStringLiteral("Kerfwright"), QStringLiteral("Kerfwright")).clear();
    folder = std::make_unique<TemporaryFolder>();
    messages = std::make_unique<MessageRecorder>();
    window = std::make_unique<frmWafer>(nullptr);
    window->showModeless();
}

void JobWindowTest::cleanup()
{
    messages->questions->answer = SaveAnswer::DontSave;
    window.reset();
    messages.reset();
    folder.reset();
}

void JobWindowTest::boxesRoundTripThroughTheFileAndTheCommandLine()
{
    std::mt19937 random(18);
    const auto pick = [&](std::initializer_list<const char*> texts) {
        return QString::fromUtf8(texts.begin()[random() % texts.size()]);
    };
    // An empty job: the boxes as the windows open with them.
    folder->write("empty.kwjob", R"({"format": "kerfwright-job", "version": 1})");
    QVERIFY(openedJob(*window, QString::fromStdString(folder->file("empty.kwjob"))));
    QCOMPARE(window->currentJob(), completedJob(Job{}));
    for (int i = 0; i < 16; ++i) {
        // Boxes as a user leaves them: a size chosen, texts typed.
        window->cmdClear_Click();
        choose(window->Combo1, pick({"2.0 Inches", "3.0 Inches", "5.0 Inches"}));
        if (random() % 3 == 0)
            window->Text5->setText(pick({"", "1.8", "2", "4.5", "x"}));
        window->Combo2->setEditText(pick({"Circle", "Hexagon", "Square", ""}));
        window->Text1->setText(pick({"50", "100", "400", "", ".", "7"}));
        window->Text2->setText(pick({"", "2", "1.5"}));
        GenerationTexts texts{pick({"JOB", "", "晶", "A/B"}).toStdString(), pick({"1", "2", ""}).toStdString(),
                              pick({"0.6", "", "1"}).toStdString(), "6.0", pick({"", "0.7"}).toStdString(), "6.0"};
        window->codeWindow()->setTexts(texts);
        const QString path = QString::fromStdString(folder->file("job" + std::to_string(i)));
        const SaveFileFunction previous = setSaveFileFunction([&](auto...) { return path; });
        window->mnuSaveJobAs_Click(); // the extension is added
        setSaveFileFunction(previous);
        const std::string file = path.toStdString() + ".kwjob";
        QCOMPARE(window->jobPath(), std::optional<std::filesystem::path>(file));
        QCOMPARE(std::get<Job>(readJob(file)), window->currentJob());

        // Reopened in a fresh window: the same boxes, the same design.
        frmWafer reopened(nullptr);
        reopened.showModeless();
        QVERIFY(openedJob(reopened, QString::fromStdString(file)));
        QCOMPARE(reopened.currentJob(), window->currentJob());
        QVERIFY(!reopened.isWindowModified());
        QTest::mouseClick(window->cmdDraw, Qt::LeftButton);
        QCOMPARE(reopened.Text3->text(), window->Text3->text());
        QCOMPARE(reopened.Text4->text(), window->Text4->text());

        // The command line from the file: the results, the same job, the same program.
        const CliResult design = runCli({"design", "--job", file, "--save-job", file + ".cli"});
        if (design.status == 0 && !design.out.starts_with("{\"shape\": null")) {
            QVERIFY(design.out.find("\"rows\": \"" + window->Text3->text().toStdString() + "\", \"dies\": \""
                                    + window->Text4->text().toStdString() + "\"")
                    != std::string::npos);
            QCOMPARE(readFile(file + ".cli"), readFile(file));
            const CliResult program = runCli({"generate", "--job", file, "--out", "-", "--date", "2004/03/05"});
            QCOMPARE(program.status == 0 ? program.out : "refused", windowProgram(*window));
        }
        reopened.close();
    }
}

void JobWindowTest::titleNamesTheJobAndMarksItWhileTheBoxesDiffer()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Kerfwright"));
    choose(window->Combo1, QStringLiteral("2.0 Inches"));
    const QString path = QString::fromStdString(folder->file("wafer.kwjob"));
    QVERIFY(window->saveJobTo(path));
    QCOMPARE(window->windowTitle(), QStringLiteral("wafer.kwjob[*] – Kerfwright"));
    QVERIFY(!window->isWindowModified());
    type(window->Text1, QStringLiteral("5"));
    QVERIFY(window->isWindowModified());
    window->Text1->clear();
    QVERIFY(!window->isWindowModified());
    // The generation window's boxes belong to the job too.
    QTest::mouseClick(window->cmdDraw, Qt::LeftButton);
    window->Text1->setText(QStringLiteral("50"));
    window->Combo2->setCurrentIndex(0);
    QTest::mouseClick(window->cmdDraw, Qt::LeftButton);
    window->mnuSaveJob_Click();
    QVERIFY(!window->isWindowModified());
    window->cmdGenerate_Click();
    type(window->codeWindow()->Text1, QStringLiteral("JOB"));
    QVERIFY(window->isWindowModified());
    window->codeWindow()->close();
    QCOMPARE(window->mnuSaveJob->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    window->mnuSaveJob->trigger();
    QVERIFY(!window->isWindowModified());
    QVERIFY(readFile(path.toStdString()).find("\"name\": \"JOB\"") != std::string::npos);
    // Remembered among the recent jobs, across runs.
    QCOMPARE(QSettings(QStringLiteral("Kerfwright"), QStringLiteral("Kerfwright")).value("recentJobs").toStringList(),
             QStringList{path});
    window->mnuRecentJobs->popup({0, 0});
    QCOMPARE(window->mnuRecentJobs->actions().size(), 1);
    window->mnuRecentJobs->close();
    // A job file dropped on the window opens.
    folder->write("dropped.kwjob", R"({"format": "kerfwright-job", "version": 1, "designer": {"die": "77"}})");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder->file("dropped.kwjob")))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter); // the drop goes to the widget that took the drag
    QVERIFY(enter.isAccepted());
    QApplication::sendEvent(window.get(), &drop);
    QTRY_COMPARE(window->windowTitle(), QStringLiteral("dropped.kwjob[*] – Kerfwright"));
    QCOMPARE(window->Text1->text(), QStringLiteral("77"));
}

void JobWindowTest::closingAChangedJobAsksToSave()
{
    const QString path = QString::fromStdString(folder->file("a.kwjob"));
    QVERIFY(window->saveJobTo(path));
    const std::string saved = readFile(path.toStdString());
    std::vector<std::string>& asked = messages->questions->prompts;
    messages->questions->answer = SaveAnswer::Cancel;
    window->close(); // unchanged: nothing asked
    QVERIFY(asked.empty());
    window->showModeless();
    QVERIFY(openedJob(*window, path));
    type(window->Text1, QStringLiteral("60"));
    QVERIFY(!window->close());
    QVERIFY(window->isLoaded());
    QCOMPARE(asked, std::vector<std::string>{"工作檔「a.kwjob」已變更，要儲存變更嗎？"});
    messages->questions->answer = SaveAnswer::DontSave;
    QVERIFY(window->close());
    QCOMPARE(readFile(path.toStdString()), saved);
    window->showModeless();
    QCOMPARE(window->windowTitle(), QStringLiteral("Kerfwright"));
    QVERIFY(openedJob(*window, path));
    type(window->Text1, QStringLiteral("60"));
    messages->questions->answer = SaveAnswer::Save;
    QVERIFY(window->close());
    QVERIFY(readFile(path.toStdString()).find("\"die\": \"60\"") != std::string::npos);
}

void JobWindowTest::aFileThatIsNotAJobChangesNothing()
{
    choose(window->Combo1, QStringLiteral("3.0 Inches"));
    type(window->Text1, QStringLiteral("70"));
    const Job before = window->currentJob();
    folder->write("new.kwjob", R"({"format": "kerfwright-job", "version": 3})");
    folder->write("twice.kwjob", R"({"format": "kerfwright-job", "version": 1, "designer": {"die": "1", "die": "2"}})");
    // A FIFO would never end: refused unread, the window goes on.
    QCOMPARE(::mkfifo(folder->file("x.kwjob").c_str(), 0600), 0);
    const std::pair<const char*, const char*> cases[] = {
        {"new.kwjob", "的版本是 3"}, {"twice.kwjob", "的鍵「designer.die」寫了兩次"}, {"x.kwjob", "不是一般檔案"}};
    for (const auto& [file, fault] : cases) {
        messages->shown.clear();
        QVERIFY(!openedJob(*window, QString::fromStdString(folder->file(file))));
        QCOMPARE(messages->shown.size(), std::size_t(1));
        QCOMPARE(messages->shown[0].title, std::string(JobOpenTitle));
        QVERIFY2(messages->shown[0].prompt.find(fault) != std::string::npos, messages->shown[0].prompt.c_str());
    }
    QCOMPARE(window->currentJob(), before);
    QCOMPARE(window->windowTitle(), QStringLiteral("Kerfwright"));
    // A save that fails says so and leaves the window without a job.
    QVERIFY(!window->saveJobTo(QString::fromStdString(folder->file("no/such.kwjob"))));
    QCOMPARE(messages->shown.back().title, std::string(JobSaveTitle));
    QVERIFY(!window->jobPath());
}

void JobWindowTest::closingTheProgramAsksTooAndItsArgumentOpens()
{
    const QString path = QString::fromStdString(folder->file("m.kwjob"));
    choose(window->Combo1, QStringLiteral("2.0 Inches"));
    window->Combo2->setCurrentIndex(1);
    window->Text1->setText(QStringLiteral("400"));
    QVERIFY(window->saveJobTo(path));
    MainWafer menu;
    menu.show();
    menu.openJob(path);
    QTRY_VERIFY(!menu.waferWindow()->isReadingJob());
    QCOMPARE(menu.waferWindow()->windowTitle(), QStringLiteral("m.kwjob[*] – Kerfwright"));
    QVERIFY(!menu.waferWindow()->Text4->text().isEmpty());
    type(menu.waferWindow()->Text1, QStringLiteral("0"));
    messages->questions->answer = SaveAnswer::Cancel;
    QVERIFY(!menu.close());
    QVERIFY(menu.waferWindow()->isLoaded());
    QCOMPARE(messages->questions->prompts.size(), std::size_t(1));
    messages->questions->answer = SaveAnswer::DontSave;
    QVERIFY(menu.close());
}

void JobWindowTest::anUnsavedDesignIsAskedAboutOnEveryWayOfClosing()
{
    // Typed, not designed: nothing to lose.
    type(window->Text1, QStringLiteral("50"));
    QVERIFY(window->close());
    QVERIFY(messages->questions->prompts.empty());
    // Designed, never saved: Esc, the title bar's close (Alt+F4) and the menu's exit each ask.
    MainWafer menu;
    menu.show();
    menu.cmdfrmWafer->click();
    frmWafer* designer = menu.waferWindow();
    choose(designer->Combo1, QStringLiteral("2.0 Inches"));
    designer->Combo2->setCurrentIndex(2);
    designer->Text1->setText(QStringLiteral("300"));
    QTest::mouseClick(designer->cmdDraw, Qt::LeftButton);
    messages->questions->answer = SaveAnswer::Cancel;
    QTest::keyClick(designer, Qt::Key_Escape);
    QVERIFY(!designer->close());
    QTest::keyClick(&menu, Qt::Key_Escape);
    QVERIFY(designer->isLoaded() && menu.isVisible());
    QCOMPARE(messages->questions->prompts, std::vector<std::string>(3, std::string(NewWorkQuestion)));
    // 儲存 asks for a file; no file chosen, nothing closes.
    messages->questions->answer = SaveAnswer::Save;
    QString chosen;
    const SaveFileFunction previous = setSaveFileFunction([&](auto...) { return chosen; });
    QVERIFY(!designer->close());
    chosen = QString::fromStdString(folder->file("kept"));
    QVERIFY(designer->close());
    setSaveFileFunction(previous);
    QCOMPARE(std::get<Job>(readJob(folder->file("kept.kwjob"))).designer.die, std::optional<std::string>("300"));
    // Reopened with the job: unchanged, nothing asked.
    messages->questions->prompts.clear();
    menu.openJob(QString::fromStdString(folder->file("kept.kwjob")));
    QVERIFY(designer->close());
    QVERIFY(messages->questions->prompts.empty());
}

void JobWindowTest::theSaveQuestionAndTheRecentJobsHaveAltLetters()
{
    // The question itself: its buttons answer their letters.
    const SaveQuestionFunction recorder = setSaveQuestionFunction({});
    QStringList captions;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (QAbstractButton* button : box->buttons())
            captions << button->text();
        QVERIFY(QTest::qWaitForWindowActive(box));
        QTest::keyClick(box, Qt::Key_N, Qt::AltModifier);
    });
    QTimer::singleShot(5000, [] { // a key that went astray fails the test, never holds it
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->reject();
    });
    QCOMPARE(askToSaveNewWork(window.get()), SaveAnswer::DontSave);
    setSaveQuestionFunction(recorder);
    captions.sort();
    QCOMPARE(captions, (QStringList{QStringLiteral("不儲存(&N)"), QStringLiteral("儲存(&S)"), QStringLiteral("取消(&C)")}));
    // The recent jobs are numbered; one that is gone leaves the list after its message.
    for (const char* name : {"a&b.kwjob", "gone.kwjob"}) {
        folder->write(name, R"({"format": "kerfwright-job", "version": 1})");
        QVERIFY(openedJob(*window, QString::fromStdString(folder->file(name))));
    }
    std::filesystem::remove(folder->file("gone.kwjob"));
    window->mnuRecentJobs->popup({0, 0});
    const QList<QAction*> entries = window->mnuRecentJobs->actions();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0]->text(), QStringLiteral("&1 ") + QString::fromStdString(folder->file("gone.kwjob")));
    QCOMPARE(entries[1]->text(), QStringLiteral("&2 ") + QString::fromStdString(folder->file("a&&b.kwjob")));
    window->mnuRecentJobs->close();
    entries[0]->trigger();
    QTRY_VERIFY(!window->isReadingJob() && !messages->shown.empty());
    QVERIFY(messages->shown.back().prompt.find("檔案不存在") != std::string::npos);
    QCOMPARE(QSettings(QStringLiteral("Kerfwright"), QStringLiteral("Kerfwright")).value("recentJobs").toStringList(),
             QStringList{QString::fromStdString(folder->file("a&b.kwjob"))});
}

void JobWindowTest::aDropAsksOnlyAfterItHasReturned()
{
    const QString path = QString::fromStdString(folder->file("c.kwjob"));
    QVERIFY(window->saveJobTo(path));
    type(window->Text1, QStringLiteral("60"));
    messages->questions->answer = SaveAnswer::Cancel;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QApplication::sendEvent(window.get(), &drop);
    QVERIFY(drop.isAccepted());
    QVERIFY(messages->questions->prompts.empty());
    QTRY_COMPARE(messages->questions->prompts.size(), std::size_t(1));
    QCOMPARE(window->Text1->text(), QStringLiteral("60")); // cancelled: the boxes stay
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    JobWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "job_window_test.moc"

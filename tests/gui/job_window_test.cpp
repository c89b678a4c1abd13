// SPDX-License-Identifier: GPL-3.0-or-later
// Jobs in the windows: saved, reopened, named in the title, asked about on
// close, and the same values as the command line's.
#include <memory>
#include <random>
#include <sstream>

#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

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

// Answers the save question at once, counting the questions.
class SaveAnswers {
public:
    explicit SaveAnswers(SaveAnswer answer)
    {
        previous_ = setSaveQuestionFunction([this, answer](QWidget*, const std::string& prompt) {
            prompts.push_back(prompt);
            return answer;
        });
    }
    ~SaveAnswers() { setSaveQuestionFunction(std::move(previous_)); }
    std::vector<std::string> prompts;

private:
    SaveQuestionFunction previous_;
};

// What the window writes for its boxes.
std::string windowProgram(const frmWafer& window)
{
    std::ostringstream text;
    const GenerationRequest request{window.codeWindow()->texts(), std::chrono::year_month_day{
                                                                     std::chrono::year(2004) / 3 / 5}};
    const auto outcome = runGeneration(*window.lastLayout(), request, std::ref(static_cast<std::ostream&>(text)));
    return std::holds_alternative<GenerationDone>(outcome) ? text.str() : "refused";
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
    const SaveAnswers discard(SaveAnswer::DontSave);
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
    QVERIFY(window->openJob(QString::fromStdString(folder->file("empty.kwjob"))));
    QCOMPARE(window->currentJob(), completedJob(Job{}));
    for (int i = 0; i < 16; ++i) {
        // Boxes as a user leaves them: a size chosen, texts typed.
        window->cmdClear_Click();
        choose(window->Combo1, pick({"2.0 Inches", "3.0 Inches", "5.0 Inches"}));
        if (random() % 3 == 0)
            window->Text5->setText(pick({"", "1.8", "2", "4.5", "x"}));
        window->Combo2->setEditText(pick({"Circle", "Hexagon", "Square", "", "hex"}));
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
        QVERIFY(reopened.openJob(QString::fromStdString(file)));
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
    QCOMPARE(window->windowTitle(), QStringLiteral("dropped.kwjob[*] – Kerfwright"));
    QCOMPARE(window->Text1->text(), QStringLiteral("77"));
}

void JobWindowTest::closingAChangedJobAsksToSave()
{
    const QString path = QString::fromStdString(folder->file("a.kwjob"));
    QVERIFY(window->saveJobTo(path));
    const std::string saved = readFile(path.toStdString());
    {
        const SaveAnswers cancel(SaveAnswer::Cancel);
        window->close(); // unchanged: nothing asked
        QCOMPARE(cancel.prompts.size(), std::size_t(0));
    }
    window->showModeless();
    QVERIFY(window->openJob(path));
    type(window->Text1, QStringLiteral("60"));
    {
        const SaveAnswers cancel(SaveAnswer::Cancel);
        QVERIFY(!window->close());
        QVERIFY(window->isLoaded());
        QCOMPARE(cancel.prompts, std::vector<std::string>{"工作檔「a.kwjob」已變更，要儲存變更嗎？"});
    }
    {
        const SaveAnswers discard(SaveAnswer::DontSave);
        QVERIFY(window->close());
        QCOMPARE(readFile(path.toStdString()), saved);
    }
    window->showModeless();
    QCOMPARE(window->windowTitle(), QStringLiteral("Kerfwright"));
    QVERIFY(window->openJob(path));
    type(window->Text1, QStringLiteral("60"));
    {
        const SaveAnswers save(SaveAnswer::Save);
        QVERIFY(window->close());
    }
    QVERIFY(readFile(path.toStdString()).find("\"die\": \"60\"") != std::string::npos);
}

void JobWindowTest::aFileThatIsNotAJobChangesNothing()
{
    choose(window->Combo1, QStringLiteral("3.0 Inches"));
    type(window->Text1, QStringLiteral("70"));
    const Job before = window->currentJob();
    folder->write("new.kwjob", R"({"format": "kerfwright-job", "version": 3})");
    QVERIFY(!window->openJob(QString::fromStdString(folder->file("new.kwjob"))));
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QCOMPARE(messages->shown[0].title, std::string(JobOpenTitle));
    QVERIFY(messages->shown[0].prompt.find("的版本是 3") != std::string::npos);
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
    QCOMPARE(menu.waferWindow()->windowTitle(), QStringLiteral("m.kwjob[*] – Kerfwright"));
    QVERIFY(!menu.waferWindow()->Text4->text().isEmpty());
    type(menu.waferWindow()->Text1, QStringLiteral("0"));
    const SaveAnswers cancel(SaveAnswer::Cancel);
    QVERIFY(!menu.close());
    QVERIFY(menu.waferWindow()->isLoaded());
    QCOMPARE(cancel.prompts.size(), std::size_t(1));
    const SaveAnswers discard(SaveAnswer::DontSave);
    QVERIFY(menu.close());
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    JobWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "job_window_test.moc"

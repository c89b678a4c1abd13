// SPDX-License-Identifier: GPL-3.0-or-later
// The generation window, opened from the designer as a user opens it.
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "windows/generation/frm_code.h"
#include "files/program_folder.h"
#include "forms/application.h"
#include "forms/folder_dialog.h"
#include "windows/designer/frm_wafer.h"
#include "tests/support/gui_test_support.h"

using namespace kerf;
using namespace kerf::ui;
using namespace kerf::testing;

namespace {

// Test cases run in parallel processes: each writes programs of its own name.
QString programName(int n = 0)
{
    const size_t tag = qHash(QByteArray(QTest::currentTestFunction())) % 1000000;
    return QStringLiteral("gui%1_%2").arg(tag).arg(n);
}

std::filesystem::path programFile(int n = 0)
{
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString())
           / (programName(n).toStdString() + ".TXT");
}

std::string contents(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Stands in for the folder dialog while it lives: counts the questions and
// gives `answer`.
class FolderAnswer {
public:
    explicit FolderAnswer(QString answer) : answer_(std::move(answer))
    {
        previous_ = setFolderDialogFunction([this](QWidget*, const QString&, const QString&) {
            ++asked;
            return answer_;
        });
    }
    ~FolderAnswer() { setFolderDialogFunction(std::move(previous_)); }
    FolderAnswer(const FolderAnswer&) = delete;
    FolderAnswer& operator=(const FolderAnswer&) = delete;

    int asked = 0;

private:
    QString answer_;
    FolderDialogFunction previous_;
};

// A folder that cannot be written by anyone, root included.
const std::filesystem::path Unwritable = "/nonexistent/kerfwright";

} // namespace

class FrmCodeTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensModallyWithItsDefaults();
    void controlsAndTabOrder();
    void emptyNameIsRefusedAndTouchesNoFile();
    void startWritesTheProgramOfTheLastDesign();
    void secondRunReplacesTheFile();
    void badPassCountIsRefusedWithItsBoxFocused();
    void programFollowsTheLayoutNotTheShapeBoxNow();
    void aRefusedDesignNamesTheLayoutWrittenAndAsksFirst();
    void escClosesAndReopeningShowsTheBoxesAsLeft();
    void presetFolderFromTheEnvironment();
    void unwritableExecutableFolderAsksOnceAndRemembers();
    void cancelledFolderDialogWritesNothing();
    void chosenFolderThatCannotBeWrittenIsSaidAndNotRemembered();

private:
    void designAndOpen(const char* shape, const char* die);
    frmCode* code() const { return designer->codeWindow(); }

    std::unique_ptr<frmWafer> designer;
    std::unique_ptr<MessageRecorder> messages;
    QTemporaryDir settingsFolder;
    QTemporaryDir otherFolder;
};

void FrmCodeTest::init()
{
    // The remembered folder lives in this test's own settings.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    QSettings(QStringLiteral("Kerfwright"), QStringLiteral("Kerfwright")).clear();
    qunsetenv(ProgramFolderVariable);
    messages = std::make_unique<MessageRecorder>();
    designer = std::make_unique<frmWafer>(nullptr);
    designer->showModeless();
    for (int n : {0, 1})
        std::filesystem::remove(programFile(n));
}

void FrmCodeTest::cleanup()
{
    designer.reset();
    messages.reset();
    for (int n : {0, 1})
        std::filesystem::remove(programFile(n));
}

void FrmCodeTest::designAndOpen(const char* shape, const char* die)
{
    choose(designer->Combo1, QStringLiteral("2.0 Inches"));
    choose(designer->Combo2, QString::fromLatin1(shape));
    type(designer->Text1, QString::fromLatin1(die));
    QTest::mouseClick(designer->cmdDraw, Qt::LeftButton);
    QTest::mouseClick(designer->cmdGenerate, Qt::LeftButton);
    QVERIFY(code() && code()->isVisible());
    code()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), code());
}

void FrmCodeTest::opensModallyWithItsDefaults()
{
    designAndOpen("Circle", "100");
    QCOMPARE(code()->windowTitle(), QStringLiteral("產生程式碼"));
    QCOMPARE(code()->windowModality(), Qt::ApplicationModal);
    QCOMPARE(code()->parentWidget(), designer.get());
    QVERIFY(code()->Text1->text().isEmpty());
    QCOMPARE(code()->Text2->text(), QStringLiteral("1"));
    QCOMPARE(code()->Text3->text(), QStringLiteral("0.6"));
    QCOMPARE(code()->Text4->text(), QStringLiteral("6.0"));
    QCOMPARE(code()->Text5->text(), QStringLiteral("0.6"));
    QCOMPARE(code()->Text6->text(), QStringLiteral("6.0"));
    QVERIFY(messages->shown.empty());
}

void FrmCodeTest::controlsAndTabOrder()
{
    designAndOpen("Circle", "100");
    frmCode* w = code();
    QCOMPARE(w->Text1->maxLength(), 20);
    QCOMPARE(w->Text2->maxLength(), 3);
    QCOMPARE(w->cmdStart->text(), QStringLiteral("開始(&S)"));
    QCOMPARE(w->cmdExit->text(), QStringLiteral("離開(&E)"));
    QCOMPARE(w->Label1->text(), QStringLiteral("程式檔名："));
    QVERIFY(w->cmdStart->isDefault());
    QVERIFY(w->cmdStart->x() < w->cmdExit->x());
    QVERIFY(w->Text3->y() == w->Text4->y() && w->Text3->x() < w->Text4->x()); // DVL beside DAC
    QVERIFY(w->Text5->y() == w->Text6->y() && w->Text5->y() > w->Text3->y()); // VEL beside ACC
    w->Text1->setFocus();
    QWidget* expected[] = {w->Text2, w->Text3, w->Text4, w->Text5, w->Text6, w->cmdStart, w->cmdPreview, w->cmdExit};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    w->Text2->clear();
    type(w->Text2, QStringLiteral("x-1")); // no key filter here
    QCOMPARE(w->Text2->text(), QStringLiteral("x-1"));
}

void FrmCodeTest::emptyNameIsRefusedAndTouchesNoFile()
{
    designAndOpen("Circle", "100");
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    const ShownMessage& m = messages->shown.front();
    QCOMPARE(m.prompt, std::string("未輸入欲產生的檔名，請輸入檔名。"));
    QCOMPARE(m.title, std::string("未輸入檔名"));
    QCOMPARE(m.icon, MessageIcon::Exclamation);
    QCOMPARE(m.owner, code());
    QCOMPARE(MessageText, m.prompt);
    QVERIFY(code()->isVisible());
}

void FrmCodeTest::startWritesTheProgramOfTheLastDesign()
{
    designAndOpen("Circle", "100");
    type(code()->Text1, programName());
    QTest::keyClick(code()->Text1, Qt::Key_Return);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    const ShownMessage& m = messages->shown.front();
    QCOMPARE(m.prompt, "產生程式碼的程序已經完成。程式檔：" + programFile().string());
    QCOMPARE(m.title, std::string("產生程序完成"));
    QCOMPARE(m.icon, MessageIcon::None);
    QCOMPARE(MessageText, m.prompt);
    const std::string program = contents(programFile());
    QVERIFY(program.find("PN CIR1\r\n") != std::string::npos);
    QVERIFY(program.find("PN " + programName().toStdString() + "\r\n") != std::string::npos);
    QVERIFY(code()->isVisible()); // the window stays open for another run
}

void FrmCodeTest::secondRunReplacesTheFile()
{
    designAndOpen("Square", "100");
    type(code()->Text1, programName());
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    const std::string first = contents(programFile());
    code()->Text2->setText(QStringLiteral("2"));
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    const std::string second = contents(programFile());
    QCOMPARE(messages->shown.size(), std::size_t(2));
    QVERIFY(!first.empty());
    QVERIFY(second != first);
    const std::string unit = "PN " + programName().toStdString() + "\r\n";
    QCOMPARE(second.find(unit), second.rfind(unit)); // one run's lines only
}

void FrmCodeTest::badPassCountIsRefusedWithItsBoxFocused()
{
    designAndOpen("Hexagon", "100");
    type(code()->Text1, programName());
    code()->Text2->setText(QStringLiteral("x"));
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QCOMPARE(messages->shown.front().icon, MessageIcon::Exclamation);
    QCOMPARE(QApplication::focusWidget(), code()->Text2.data());
    QVERIFY(!std::filesystem::exists(programFile()));
    // A count the hexagon program does not repeat is said first; declined, nothing is written.
    std::vector<std::string> asked;
    bool answer = false;
    const QuestionFunction previous = setQuestionFunction([&](QWidget*, const std::string&, const std::string& prompt) {
        asked.push_back(prompt);
        return answer;
    });
    for (const char* passes : {"1", "2", "999", "4"}) {
        code()->Text2->setText(QString::fromLatin1(passes));
        QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    }
    QCOMPARE(asked.size(), std::size_t(2));
    QVERIFY(asked[0].starts_with("切割次數為 999，但六角形的程式只切一趟、單向"));
    QVERIFY(asked[1].starts_with("切割次數為 4，但六角形的程式只切一趟來回"));
    answer = true;
    std::filesystem::remove(programFile());
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QVERIFY(std::filesystem::exists(programFile()));
    setQuestionFunction(previous);
}

void FrmCodeTest::programFollowsTheLayoutNotTheShapeBoxNow()
{
    designAndOpen("Hexagon", "100");
    // The shape box changed after the design: the program is still the hexagon layout's.
    designer->Combo2->setEditText(QStringLiteral("Circle"));
    type(code()->Text1, programName());
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    const std::string program = contents(programFile());
    QVERIFY(program.find("PN HEX1\r\n") != std::string::npos);
    QVERIFY(program.find("PN CIR1\r\n") == std::string::npos);
}

void FrmCodeTest::aRefusedDesignNamesTheLayoutWrittenAndAsksFirst()
{
    designAndOpen("Hexagon", "100");
    QVERIFY(!code()->lblLayout->isVisible());
    const QSize plain = code()->size();
    code()->close();
    // Refused, the design leaves the 100 mil layout drawn while the box says 99999.
    designer->Text1->setText(QStringLiteral("99999"));
    QTest::mouseClick(designer->cmdDraw, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QTest::mouseClick(designer->cmdGenerate, Qt::LeftButton);
    const QString note = QStringLiteral("設計視窗的方塊與畫出的排列不同，程式會依畫出的排列寫出：晶片尺寸 2.0 Inches，"
                                        "有效直徑 1.9 英吋，晶粒形狀 Hexagon，晶粒尺寸 100 mil。");
    QVERIFY(code()->lblLayout->isVisible());
    QCOMPARE(code()->lblLayout->text().remove(QLatin1Char('\n')), note); // broken between phrases
    QVERIFY(code()->height() > plain.height());
    QVERIFY(code()->lblLayout->geometry().bottom() < code()->height()); // all of it in the window
    std::vector<std::string> asked;
    bool answer = false;
    const QuestionFunction previous = setQuestionFunction([&](QWidget*, const std::string&, const std::string& prompt) {
        asked.push_back(prompt);
        return answer;
    });
    type(code()->Text1, programName());
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QCOMPARE(asked, std::vector<std::string>{note.toStdString() + "要照畫出的排列產生程式嗎？"});
    QVERIFY(!std::filesystem::exists(programFile()));
    answer = true;
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QVERIFY(contents(programFile()).find("For Hexagon, size = 100 mil") != std::string::npos);
    setQuestionFunction(previous);
    // Designed again as the boxes say: no note, nothing asked.
    code()->close();
    designer->Text1->setText(QStringLiteral("120"));
    QTest::mouseClick(designer->cmdDraw, Qt::LeftButton);
    QTest::mouseClick(designer->cmdGenerate, Qt::LeftButton);
    QVERIFY(!code()->lblLayout->isVisible());
    QCOMPARE(code()->size(), plain);
}

void FrmCodeTest::escClosesAndReopeningShowsTheBoxesAsLeft()
{
    designAndOpen("Circle", "100");
    type(code()->Text1, programName(1));
    code()->Text3->setText(QStringLiteral("0.9"));
    QTest::keyClick(code()->Text3, Qt::Key_Escape);
    QVERIFY(!code()->isVisible());
    QVERIFY(!code()->isLoaded());
    QVERIFY(!std::filesystem::exists(programFile(1)));
    frmCode* first = code();
    QTest::mouseClick(designer->cmdGenerate, Qt::LeftButton);
    QCOMPARE(code(), first); // one instance
    // The boxes are part of the designer's job: they stay as they were left.
    QCOMPARE(code()->Text1->text(), programName(1));
    QCOMPARE(code()->Text3->text(), QStringLiteral("0.9"));
    QCOMPARE(code()->Text4->text(), QStringLiteral("6.0"));
}

void FrmCodeTest::presetFolderFromTheEnvironment()
{
    qputenv(ProgramFolderVariable, otherFolder.path().toLocal8Bit());
    const FolderAnswer dialog(QString{});
    designAndOpen("Circle", "100");
    type(code()->Text1, programName());
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    qunsetenv(ProgramFolderVariable);
    QCOMPARE(dialog.asked, 0);
    const std::filesystem::path written = otherFolder.path().toStdString() + "/" + programName().toStdString() + ".TXT";
    QVERIFY(contents(written).find("PN CIR1\r\n") != std::string::npos);
    QVERIFY(!std::filesystem::exists(programFile())); // not next to the executable
    QCOMPARE(messages->shown.back().title, std::string("產生程序完成"));
    // A preset folder that cannot be written: the message names the setting.
    qputenv(ProgramFolderVariable, QByteArray(Unwritable.c_str()));
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    qunsetenv(ProgramFolderVariable);
    QVERIFY(messages->shown.back().prompt.ends_with("資料夾由環境變數 KERFWRIGHT_PROGRAM_DIR 指定，請修改或取消這個設定。"));
}

void FrmCodeTest::unwritableExecutableFolderAsksOnceAndRemembers()
{
    const FolderAnswer dialog(otherFolder.path());
    designAndOpen("Square", "100");
    code()->setExecutableFolder(Unwritable);
    type(code()->Text1, programName());
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QCOMPARE(dialog.asked, 1);
    const std::filesystem::path written = otherFolder.path().toStdString() + "/" + programName().toStdString() + ".TXT";
    QVERIFY(contents(written).find("PN " + programName().toStdString() + "\r\n") != std::string::npos);
    QCOMPARE(messages->shown.size(), std::size_t(2));
    QCOMPARE(messages->shown.back().title, std::string("產生程序完成"));
    // Remembered across runs: a new window of a new run does not ask either.
    designer.reset();
    designer = std::make_unique<frmWafer>(nullptr);
    designer->showModeless();
    std::filesystem::remove(written);
    designAndOpen("Square", "100");
    code()->setExecutableFolder(Unwritable);
    type(code()->Text1, programName());
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QCOMPARE(dialog.asked, 1);
    QVERIFY(std::filesystem::exists(written));
    // Changed from the window's menu: asked, remembered, and said where programs go now.
    const QTemporaryDir third;
    const FolderAnswer another(third.path());
    code()->mnuProgramFolder->trigger();
    QCOMPARE(another.asked, 1);
    QCOMPARE(messages->shown.back().prompt, "程式檔會寫入資料夾「" + third.path().toStdString() + "」。");
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QVERIFY(std::filesystem::exists(third.path().toStdString() + "/" + programName().toStdString() + ".TXT"));
}

void FrmCodeTest::cancelledFolderDialogWritesNothing()
{
    const FolderAnswer dialog(QString{});
    designAndOpen("Circle", "100");
    code()->setExecutableFolder(Unwritable);
    type(code()->Text1, programName());
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QCOMPARE(dialog.asked, 1);
    QVERIFY(messages->shown.empty());
    QVERIFY(!std::filesystem::exists(programFile()));
    QVERIFY(QDir(otherFolder.path()).isEmpty());
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QCOMPARE(dialog.asked, 2); // nothing remembered: asked again
}

void FrmCodeTest::chosenFolderThatCannotBeWrittenIsSaidAndNotRemembered()
{
    const FolderAnswer dialog(QString::fromStdString(Unwritable.string()));
    designAndOpen("Circle", "100");
    code()->setExecutableFolder(Unwritable);
    type(code()->Text1, programName());
    QTest::mouseClick(code()->cmdStart, Qt::LeftButton);
    QCOMPARE(messages->shown.size(), std::size_t(1));
    QCOMPARE(messages->shown.front().title, std::string("無法寫入"));
    QCOMPARE(messages->shown.front().prompt, std::string("資料夾「/nonexistent/kerfwright」無法寫入，請選擇其他資料夾。"));
    QCOMPARE(messages->shown.front().icon, MessageIcon::Exclamation);
    QVERIFY(QSettings(QStringLiteral("Kerfwright"), QStringLiteral("Kerfwright")).allKeys().isEmpty());
    QVERIFY(code()->isVisible());
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    FrmCodeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frm_code_test.moc"

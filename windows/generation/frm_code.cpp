#include "windows/generation/frm_code.h"

#include <sstream>
#include <variant>

#include <QCoreApplication>
#include <QSettings>

#include "program/writer/generation_driver.h"
#include "program/writer/local_date.h"
#include "files/program_folder.h"

#include "forms/controls.h"
#include "forms/folder_dialog.h"
#include "forms/message_box.h"
#include "forms/twips.h"

namespace kerf::ui {

frmCode::frmCode(QWidget* owner) : Form(owner, twipsSize(4695, 2550), QStringLiteral("產生程式碼"))
{
    setObjectName(QStringLiteral("frmCode"));
}

void frmCode::buildControls(QWidget* surface)
{
    // Four lines: file name; passes; DVL beside DAC; VEL beside ACC.
    Frame1 = makeFrame(surface, "Frame1", QString(), 120, 45, 4455, 1905);
    Label1 = makeLabel(Frame1, "Label1", QStringLiteral("程式檔名："), 180, 315, 900, 180);
    Text1 = makeTextBox(Frame1, "Text1", 1125, 270, 3135, 285);
    Text1->setMaxLength(20);
    Label2 = makeLabel(Frame1, "Label2", QStringLiteral("切割次數："), 180, 720, 900, 180);
    Text2 = makeTextBox(Frame1, "Text2", 1125, 675, 900, 285);
    Text2->setMaxLength(3);
    Label3 = makeLabel(Frame1, "Label3", QStringLiteral("DVL："), 180, 1125, 900, 180);
    Text3 = makeTextBox(Frame1, "Text3", 1125, 1080, 900, 285);
    Label4 = makeLabel(Frame1, "Label4", QStringLiteral("DAC："), 2385, 1125, 900, 180);
    Text4 = makeTextBox(Frame1, "Text4", 3360, 1080, 900, 285);
    Label5 = makeLabel(Frame1, "Label5", QStringLiteral("VEL："), 180, 1530, 900, 180);
    Text5 = makeTextBox(Frame1, "Text5", 1125, 1485, 900, 285);
    Label6 = makeLabel(Frame1, "Label6", QStringLiteral("ACC："), 2385, 1530, 900, 180);
    Text6 = makeTextBox(Frame1, "Text6", 3360, 1485, 900, 285);

    // Start on the left, exit on the right, the preview between them.
    cmdStart = makeButton(surface, "cmdStart", QStringLiteral("開始(&S)"), 120, 2070, 1395, 330);
    cmdPreview = makeButton(surface, "cmdPreview", QStringLiteral("預覽(&P)"), 1650, 2070, 1395, 330);
    cmdExit = makeButton(surface, "cmdExit", QStringLiteral("離開(&E)"), 3180, 2070, 1395, 330);
    cmdStart->setDefault(true);
    setCancelButton(cmdExit);

    chainTabOrder({Text1, Text2, Text3, Text4, Text5, Text6, cmdStart, cmdPreview, cmdExit});
    Text1->setFocus();

    connect(cmdStart, &QPushButton::clicked, this, &frmCode::cmdStart_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &frmCode::cmdPreview_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmCode::cmdExit_Click);
}

void frmCode::Form_Load()
{
    Text2->setText(QStringLiteral("1"));
    Text3->setText(QStringLiteral("0.6"));
    Text4->setText(QStringLiteral("6.0"));
    Text5->setText(QStringLiteral("0.6"));
    Text6->setText(QStringLiteral("6.0"));
}

void frmCode::showFor(const WaferLayout& layout)
{
    layout_ = layout;
    showModal();
}

std::string frmCode::outputFolder()
{
    // An installed copy never writes into its own bin folder, root's neither.
    const std::filesystem::path own = QCoreApplication::applicationDirPath().toStdString();
    std::error_code error;
    return std::filesystem::equivalent(own, KERF_BUILD_PROGRAM_FOLDER, error) ? own.string() : std::string();
}

namespace {

// The user's answer lasts across runs.
constexpr auto RememberedFolderKey = "programFolder";

QSettings settings() { return QSettings(QStringLiteral("Kerfwright"), QStringLiteral("Kerfwright")); }

} // namespace

std::optional<std::filesystem::path> frmCode::programFolder()
{
    const std::filesystem::path remembered = settings().value(RememberedFolderKey).toString().toStdString();
    const ProgramFolderSources sources{qEnvironmentVariable(ProgramFolderVariable).toStdString(), executableFolder_,
                                       remembered};
    if (auto folder = kerf::programFolder(sources))
        return folder;
    const QString chosen = askFolder(this, QStringLiteral("選擇程式檔存放的資料夾"),
                                     remembered.empty() ? QString() : QString::fromStdString(remembered.string()));
    if (chosen.isEmpty())
        return std::nullopt; // cancelled: nothing is written
    if (!folderIsWritable(chosen.toStdString())) {
        showMessage(this, MessageIcon::Exclamation, "無法寫入",
                    "資料夾「" + chosen.toStdString() + "」無法寫入，請選擇其他資料夾。");
        return std::nullopt;
    }
    settings().setValue(RememberedFolderKey, chosen);
    return chosen.toStdString();
}

void frmCode::focusBox(GenerationBox box)
{
    QLineEdit* boxes[] = {Text1, Text2, Text3, Text4, Text5, Text6};
    boxes[static_cast<int>(box)]->setFocus();
    boxes[static_cast<int>(box)]->selectAll();
}

GenerationRequest frmCode::readRequest() const
{
    GenerationRequest request;
    request.texts = {Text1->text().toStdString(), Text2->text().toStdString(), Text3->text().toStdString(),
                     Text4->text().toStdString(), Text5->text().toStdString(), Text6->text().toStdString()};
    request.date = localDate();
    return request;
}

bool frmCode::showFault(const GenerationOutcome& outcome)
{
    if (const auto* refusal = std::get_if<GenerationRefusal>(&outcome)) {
        showMessage(this, MessageIcon::Exclamation, refusal->title, refusal->prompt);
        if (refusal->focus)
            focusBox(*refusal->focus);
        return true;
    }
    if (const auto* failure = std::get_if<GenerationFailure>(&outcome)) {
        showMessage(this, MessageIcon::Exclamation, failure->title, failure->prompt);
        return true;
    }
    return false;
}

void frmCode::cmdStart_Click()
{
    if (!layout_)
        return; // the designer opens this window only with a layout
    const auto folder = programFolder();
    if (!folder)
        return;
    GenerationOutcome outcome = runGeneration(*layout_, readRequest(), OutputFolder{*folder});
    auto* failure = std::get_if<GenerationFailure>(&outcome);
    if (failure && !qEnvironmentVariableIsEmpty(ProgramFolderVariable)) // the way out is the site's setting
        failure->prompt += std::string("資料夾由環境變數 ") + ProgramFolderVariable + " 指定，請修改或取消這個設定。";
    if (showFault(outcome))
        return;
    const auto& done = std::get<GenerationDone>(outcome);
    showMessage(this, MessageIcon::None, done.title, done.prompt);
}

void frmCode::cmdPreview_Click()
{
    if (!layout_)
        return;
    std::ostringstream text;
    const GenerationOutcome outcome = runGeneration(*layout_, readRequest(), std::ref(static_cast<std::ostream&>(text)));
    if (showFault(outcome))
        return;
    emit previewRequested(ProgramPreview{*layout_, std::move(text).str()});
}

void frmCode::cmdExit_Click() { unload(); }

} // namespace kerf::ui

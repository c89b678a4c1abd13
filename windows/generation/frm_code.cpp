// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/generation/frm_code.h"

#include <sstream>
#include <variant>

#include <QCoreApplication>
#include <QSettings>

#include "program/writer/generation_driver.h"
#include "numbers/local_date.h"
#include "files/program_folder.h"
#include "program/writer/generation_note.h"

#include "forms/controls.h"
#include "forms/folder_dialog.h"
#include "forms/message_box.h"
#include "forms/phrase_wrap.h"
#include "forms/twips.h"

namespace kerf::ui {

namespace {

const QSize ClientSize = twipsSize(4695, 2550);

} // namespace

frmCode::frmCode(QWidget* owner) : Form(owner, ClientSize, QStringLiteral("產生程式碼"))
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
    lblLayout = makeLabel(surface, "lblLayout", QString(), 120, 2490, 4455, 0);
    lblLayout->setWordWrap(true);
    QPalette warning = lblLayout->palette();
    warning.setColor(QPalette::WindowText, QColor(192, 0, 0));
    lblLayout->setPalette(warning);
    lblLayout->hide();

    chainTabOrder({Text1, Text2, Text3, Text4, Text5, Text6, cmdStart, cmdPreview, cmdExit});
    Text1->setFocus();

    connect(cmdStart, &QPushButton::clicked, this, &frmCode::cmdStart_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &frmCode::cmdPreview_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmCode::cmdExit_Click);
    for (QLineEdit* box : {Text1, Text2, Text3, Text4, Text5, Text6})
        connect(box, &QLineEdit::textChanged, this, [this] {
            texts_ = readRequest().texts;
            emit textsChanged();
        });

    mnuProgramFolder = new QAction(QStringLiteral("變更程式檔資料夾(&F)…"), surface);
    mnuProgramFolder->setObjectName(QStringLiteral("mnuProgramFolder"));
    surface->addAction(mnuProgramFolder);
    surface->setContextMenuPolicy(Qt::ActionsContextMenu);
    Frame1->setContextMenuPolicy(Qt::ActionsContextMenu);
    Frame1->addAction(mnuProgramFolder);
    connect(mnuProgramFolder, &QAction::triggered, this, &frmCode::mnuProgramFolder_Click);
}

void frmCode::Form_Load()
{
    showTexts();
    showLayoutNote();
}

void frmCode::showLayoutNote()
{
    QSize size = ClientSize;
    if (layoutNote_) {
        const QFontMetrics metrics = lblLayout->fontMetrics();
        lblLayout->setText(wrapAtPhrases(QString::fromStdString(*layoutNote_), lblLayout->width(),
                                         [&](const QString& line) { return metrics.horizontalAdvance(line); }));
        lblLayout->resize(lblLayout->width(), lblLayout->heightForWidth(lblLayout->width()));
        size.rheight() = lblLayout->geometry().bottom() + twipsSize(0, 120).height();
    }
    lblLayout->setVisible(layoutNote_.has_value());
    setFixedSize(size);
    lblLayout->parentWidget()->resize(size);
}

void frmCode::setTexts(const GenerationTexts& texts)
{
    texts_ = texts;
    if (isLoaded())
        showTexts();
    emit textsChanged();
}

void frmCode::showTexts()
{
    const GenerationTexts texts = texts_; // each box's change reads them all back
    Text1->setText(QString::fromStdString(texts.name));
    Text2->setText(QString::fromStdString(texts.passes));
    Text3->setText(QString::fromStdString(texts.DVL));
    Text4->setText(QString::fromStdString(texts.DAC));
    Text5->setText(QString::fromStdString(texts.VEL));
    Text6->setText(QString::fromStdString(texts.ACC));
    texts_ = texts;
}

void frmCode::showFor(const WaferLayout& layout, std::optional<std::string> note)
{
    layout_ = layout;
    layoutNote_ = std::move(note);
    if (isLoaded())
        showLayoutNote();
    showModal();
}

std::string frmCode::outputFolder()
{
    // Only a program run from its build tree (bin/ beside the build's
    // CMakeCache.txt) writes next to itself; an installed copy never writes
    // into its own bin folder, root's neither.
    const std::filesystem::path own = QCoreApplication::applicationDirPath().toStdString();
    std::error_code error;
    return std::filesystem::is_regular_file(own.parent_path() / "CMakeCache.txt", error) ? own.string()
                                                                                          : std::string();
}

namespace {

// The user's answer lasts across runs.
constexpr auto RememberedFolderKey = "programFolder";

QSettings settings() { return QSettings(QStringLiteral("Kerfwright"), QStringLiteral("Kerfwright")); }

} // namespace

ProgramFolderSources frmCode::folderSources() const
{
    return {qEnvironmentVariable(ProgramFolderVariable).toStdString(), executableFolder_,
            settings().value(RememberedFolderKey).toString().toStdString()};
}

std::optional<std::filesystem::path> frmCode::chooseProgramFolder(const std::filesystem::path& start)
{
    const QString chosen = askFolder(this, QStringLiteral("選擇程式檔存放的資料夾"),
                                     start.empty() ? QString() : QString::fromStdString(start.string()));
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

std::optional<std::filesystem::path> frmCode::programFolder()
{
    const ProgramFolderSources sources = folderSources();
    if (auto folder = kerf::programFolder(sources))
        return folder;
    return chooseProgramFolder(sources.remembered);
}

void frmCode::mnuProgramFolder_Click()
{
    const ProgramFolderSources before = folderSources();
    const auto current = kerf::programFolder(before);
    if (!chooseProgramFolder(current ? *current : before.remembered))
        return;
    const auto now = kerf::programFolder(folderSources());
    const std::string where = now ? now->string() : std::string();
    std::string prompt = "程式檔會寫入資料夾「" + where + "」。";
    if (!before.preset.empty())
        prompt += "（由環境變數 " + std::string(ProgramFolderVariable) + " 指定，它優先於選擇的資料夾。）";
    else if (now && *now == executableFolder_)
        prompt += "（程式所在的資料夾可以寫入時優先；選擇的資料夾在它無法寫入時使用。）";
    showMessage(this, MessageIcon::None, "程式檔資料夾", prompt);
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
    const GenerationRequest request = readRequest();
    if (layoutNote_ && !askQuestion(this, "產生程式碼", *layoutNote_ + "要照畫出的排列產生程式嗎？"))
        return;
    // What will be cut differs from what was typed: said before anything is written.
    if (const auto note = generationNote(layout_->shape, request.texts))
        if (!askQuestion(this, "切割次數", *note + "要照這樣產生程式嗎？"))
            return;
    const auto folder = programFolder();
    if (!folder)
        return;
    GenerationOutcome outcome = runGeneration(*layout_, request, OutputFolder{*folder});
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

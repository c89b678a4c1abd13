// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/designer/frm_wafer.h"

#include <memory>
#include <variant>

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QFile>
#include <QFileInfo>

#include "windows/generation/frm_code.h"
#include "forms/box_text.h"
#include "forms/buttons_held.h"
#include "forms/controls.h"
#include "forms/file_dialog.h"
#include "forms/open_file_dialog.h"
#include "files/file_replacement.h"
#include "job/job_file.h"
#include "layout/drawn_layout_note.h"
#include "program/reader/program_file.h"
#include "windows/designer/frm_flats.h"
#include "windows/die_size_chart/frm_die_size_chart.h"
#include "windows/preview/frm_preview.h"
#include "forms/message_box.h"
#include "forms/refusal_message.h"
#include "forms/result_frame.h"
#include "forms/twips.h"
#include "render/wafer_map.h"

namespace kerf::ui {

namespace {

constexpr const char* NoDesignPrompt = "無晶片資料可以檢查切割程式或列印工作單。";

} // namespace

frmWafer::frmWafer(QWidget* owner)
    : WaferForm(owner, twipsSize(11130, 7650), QStringLiteral("Kerfwright")),
      export_([this](const map::ExportOutcome& outcome) { exportFinished(outcome); },
              [this](const std::string& failure) {
                  closeExportProgress();
                  showMessage(this, MessageIcon::Exclamation, "匯出失敗", "無法匯出：" + failure + "。");
              }),
      jobReading_([this](const JobRead& read) { jobRead(read); },
                  [this](const std::string& failure) {
                      showMessage(this, MessageIcon::Exclamation, JobOpenTitle, "無法開啟工作檔：" + failure + "。");
                  })
{
    setObjectName(QStringLiteral("frmWafer"));
    setAcceptDrops(true); // a job file or a cutting program dropped on the window opens
}

frmWafer::~frmWafer()
{
    // Hiding the dialog as it is destroyed takes the focus from an editable
    // combo box, which then emits activated(): no handler may run on a
    // half-destroyed window. A window closed before has no lists left.
    for (QComboBox* list : {Combo1.data(), Combo2.data()})
        if (list)
            list->disconnect(this);
}

void frmWafer::buildControls(QWidget* surface)
{
    makePicture(surface);
    PIC1->setContextMenuPolicy(Qt::CustomContextMenu);
    // The menu's keyboard path: Tab to the picture, then Shift+F10 or the menu key.
    PIC1->setFocusPolicy(Qt::StrongFocus);
    for (const QKeySequence& keys : {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)})
        connect(new QShortcut(keys, PIC1, nullptr, nullptr, Qt::WidgetShortcut), &QShortcut::activated, this,
                [this] { PIC1_ContextMenu(PIC1->rect().center()); });
    PIC1Menu = new QMenu(PIC1);
    PIC1Menu->setObjectName(QStringLiteral("PIC1Menu"));
    mnuSaveImage = PIC1Menu->addAction(QStringLiteral("另存圖片(&S)…"));
    mnuSaveImage->setObjectName(QStringLiteral("mnuSaveImage"));
    mnuExportDies = PIC1Menu->addAction(QStringLiteral("匯出晶粒座標(&E)…"));
    mnuExportDies->setObjectName(QStringLiteral("mnuExportDies"));
    mnuExportMap = PIC1Menu->addAction(QStringLiteral("匯出晶圓圖(&W)…"));
    mnuExportMap->setObjectName(QStringLiteral("mnuExportMap"));
    mnuReadMap = PIC1Menu->addAction(QStringLiteral("讀入晶圓圖(&B)…"));
    mnuReadMap->setObjectName(QStringLiteral("mnuReadMap"));
    mnuDieSizeChart = PIC1Menu->addAction(QStringLiteral("晶粒尺寸比較(&C)…"));
    mnuDieSizeChart->setObjectName(QStringLiteral("mnuDieSizeChart"));
    mnuFlats = PIC1Menu->addAction(QStringLiteral("晶片平邊(&F)…"));
    mnuFlats->setObjectName(QStringLiteral("mnuFlats"));
    mnuFlats->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    surface->addAction(mnuFlats);
    PIC1Menu->addSeparator();
    // The job's actions answer their keys anywhere in the window.
    const auto jobAction = [&](const char* name, const QString& caption, const QKeySequence& keys) {
        QAction* action = PIC1Menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        surface->addAction(action);
        return action;
    };
    mnuOpenJob = jobAction("mnuOpenJob", QStringLiteral("開啟工作檔(&O)…"), QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuRecentJobs = PIC1Menu->addMenu(QStringLiteral("最近的工作檔(&R)"));
    mnuRecentJobs->setObjectName(QStringLiteral("mnuRecentJobs"));
    mnuSaveJob = jobAction("mnuSaveJob", QStringLiteral("儲存工作檔(&J)"), QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSaveJobAs = jobAction("mnuSaveJobAs", QStringLiteral("另存工作檔(&A)…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    PIC1Menu->addSeparator();
    mnuOpenProgram = PIC1Menu->addAction(QStringLiteral("開啟切割程式(&G)…"));
    mnuOpenProgram->setObjectName(QStringLiteral("mnuOpenProgram"));
    mnuPrintSheet = PIC1Menu->addAction(QStringLiteral("列印工作單(&P)…"));
    mnuPrintSheet->setObjectName(QStringLiteral("mnuPrintSheet"));

    // Inputs, top to bottom: wafer diameter, effective diameter, die shape,
    // die size, fine-tune; each unit stands right of its box.
    constexpr int ShapeListWidth = 1905, ShapeListHeight = 300, SizeBoxWidth = 1635;
    Frame1 = makeSideFrame(surface, "Frame1", QStringLiteral("晶片設定值"), 0, 2355);
    Text5 = makeWaferRows<NumberBox>(Frame1, {"Label1", Label1}, {"Label11", Label11}, {"Label12", Label12}, {});
    Text5->setRefusalBox(InputBox::EffectiveDiameter);
    Label2 = makeRowCaption(Frame1, "Label2", QStringLiteral("晶粒形狀："), 2);
    Combo2 = makeComboBox(Frame1, "Combo2", true, RowBoxLeft, rowTop(2), ShapeListWidth, ShapeListHeight);
    Label3 = makeRowCaption(Frame1, "Label3", QStringLiteral("晶粒尺寸："), 3);
    Text1 = placeRowBox(new NumberBox(Frame1), "Text1", 3, SizeBoxWidth);
    Text1->setMaxLength(10);
    Text1->setRefusalBox(InputBox::DieSize);
    Label4 = makeRowUnit(Frame1, "Label4", QStringLiteral("mil"), 3, SizeBoxWidth);
    Label5 = makeRowCaption(Frame1, "Label5", QStringLiteral("切割微調值："), 4);
    Text2 = placeRowBox(new NumberBox(Frame1), "Text2", 4, SizeBoxWidth);
    Text2->setMaxLength(10);
    Text2->setRefusalBox(InputBox::FineTune);
    Label6 = makeRowUnit(Frame1, "Label6", QStringLiteral("mil"), 4, SizeBoxWidth);

    makeResultFrame(surface, {"Frame3", Frame3}, 2385, {{"Label7", Label7}, {"Text3", Text3}, {"Label9", Label9}},
                    {{"Label8", Label8}, {"Text4", Text4}, {"Label10", Label10}},
                    {{"Label13", Label13}, {"Text6", Text6}, {"Label14", Label14}});

    Frame2 = makeSideFrame(surface, "Frame2", QString(), 3960, 1410);
    // Under the buttons: what a binned wafer map read back says.
    lblBins = makeLabel(surface, "lblBins", QString(), 7650, 5460, 3480, 555);
    lblBins->setWordWrap(true);
    lblBins->hide();
    cmdDraw = makeButton(Frame2, "cmdDraw", QStringLiteral("開始設計(&D)"), 225, 180, 1500, 330);
    cmdClear = makeButton(Frame2, "cmdClear", QStringLiteral("清除(&C)"), 1845, 180, 1500, 330);
    cmdGenerate = makeButton(Frame2, "cmdGenerate", QStringLiteral("產生程式碼(&G)"), 225, 570, 1500, 330);
    cmdOption = makeButton(Frame2, "cmdOption", QStringLiteral("設定值(&O)"), 1845, 570, 1500, 330);
    cmdExit = makeButton(Frame2, "cmdExit", QStringLiteral("離開(&E)"), 225, 960, 1500, 330);
    cmdDraw->setDefault(true);
    setCancelButton(cmdExit);
    buildGoodDiesFrame(surface);

    chainTabOrder({Combo1, Text5, Combo2, Text1, Text2, cmdDraw, cmdClear, cmdGenerate, cmdOption, cmdExit, PIC1});
    Combo1->setFocus();

    connect(Combo1, &QComboBox::activated, this, &frmWafer::Combo1_Click);
    connect(Combo1, &QComboBox::editTextChanged, this, &frmWafer::Combo1_Change);
    connect(Combo2, &QComboBox::activated, this, &frmWafer::Combo2_Click);
    connect(Combo2, &QComboBox::editTextChanged, this, &frmWafer::Combo2_Change);
    connect(cmdDraw, &QPushButton::clicked, this, &frmWafer::cmdDraw_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmWafer::cmdClear_Click);
    connect(cmdGenerate, &QPushButton::clicked, this, &frmWafer::cmdGenerate_Click);
    connect(cmdOption, &QPushButton::clicked, this, &frmWafer::cmdOption_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmWafer::cmdExit_Click);
    connect(PIC1, &QWidget::customContextMenuRequested, this, &frmWafer::PIC1_ContextMenu);
    connect(PIC1Menu, &QMenu::aboutToShow, this, [this] {
        mnuSaveImage->setEnabled(hasDesign() && !isExporting());
        mnuExportDies->setEnabled(hasDesign() && !isExporting());
        mnuDieSizeChart->setEnabled(hasDesign());
        mnuExportMap->setEnabled(hasDesign());
        mnuReadMap->setEnabled(hasDesign());
    });
    connect(mnuExportMap, &QAction::triggered, this, &frmWafer::mnuExportMap_Click);
    connect(mnuReadMap, &QAction::triggered, this, &frmWafer::mnuReadMap_Click);
    connect(mnuDieSizeChart, &QAction::triggered, this, &frmWafer::mnuDieSizeChart_Click);
    connect(mnuFlats, &QAction::triggered, this, &frmWafer::mnuFlats_Click);
    connect(mnuSaveImage, &QAction::triggered, this, &frmWafer::mnuSaveImage_Click);
    connect(mnuExportDies, &QAction::triggered, this, &frmWafer::mnuExportDies_Click);
    connect(mnuOpenProgram, &QAction::triggered, this, &frmWafer::mnuOpenProgram_Click);
    connect(mnuPrintSheet, &QAction::triggered, this, &frmWafer::mnuPrintSheet_Click);
    connect(mnuOpenJob, &QAction::triggered, this, &frmWafer::mnuOpenJob_Click);
    connect(mnuSaveJob, &QAction::triggered, this, &frmWafer::mnuSaveJob_Click);
    connect(mnuSaveJobAs, &QAction::triggered, this, &frmWafer::mnuSaveJobAs_Click);
    connect(mnuRecentJobs, &QMenu::aboutToShow, this, &frmWafer::fillRecentJobs);
    connect(Combo1, &QComboBox::editTextChanged, this, &frmWafer::showJobTitle);
    connect(Combo2, &QComboBox::editTextChanged, this, &frmWafer::showJobTitle);
    for (QLineEdit* box : {static_cast<QLineEdit*>(Text1), static_cast<QLineEdit*>(Text2), static_cast<QLineEdit*>(Text5)})
        connect(box, &QLineEdit::textChanged, this, &frmWafer::showJobTitle);
}

void frmWafer::Form_Load()
{
    loadWaferSizes();
    // Filled without a selection; filling fires no change handler.
    const QSignalBlocker block(Combo2);
    for (std::string_view item : DieShapeItems)
        Combo2->addItem(qtText(item));
    Combo2->setCurrentIndex(-1);
    Text2->setEnabled(false);
}

bool frmWafer::Form_QueryUnload() { return mayCloseJob(); }

void frmWafer::Form_Unload()
{
    jobReading_.cancel(); // a job still being read opens into no closed window
    jobPath_.reset();
    setWindowTitle(QStringLiteral("Kerfwright"));
    setWindowModified(false);
    if (frmCode_ && frmCode_->isLoaded())
        frmCode_->unload();
    if (frmPreview_)
        frmPreview_->close();
    if (frmDieSizeChart_)
        frmDieSizeChart_->close();
    export_.cancel();
    closeExportProgress();
}

void frmWafer::Combo1_Click() { chooseWaferSize(Text5); }

void frmWafer::Combo1_Change() { Combo1_Click(); }

void frmWafer::Combo2_Click()
{
    const std::optional<DieShape> shape = shapeFromText(boxText(Combo2));
    Text2->setEnabled(shape && usesFineTune(*shape));
}

void frmWafer::Combo2_Change() { Combo2_Click(); }

DesignInput frmWafer::readInputs() const
{
    DesignInput input;
    input.texts = {boxText(Combo1), boxText(Text5), boxText(Combo2), boxText(Text1),
                   boxText(Text2)}; // the fine-tune is read even while its box is disabled
    input.WaferDiameter = WaferDiameter;
    input.flats = flats_;
    return input;
}

void frmWafer::mnuFlats_Click()
{
    auto* dialog = new frmFlats(this, flats_, WaferDiameter);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { setFlats(dialog->flats()); });
    dialog->open();
}

void frmWafer::setFlats(const FlatTexts& flats)
{
    flats_ = flats;
    showJobTitle();
    if (hasDesign())
        cmdDraw_Click();
}

void frmWafer::cmdDraw_Click()
{
    const DesignInput input = readInputs();
    if (input.texts.dieSize.empty())
        return;
    const ButtonsHeld held{cmdClear, cmdDraw, cmdGenerate, cmdOption, cmdExit};
    const DesignOutcome outcome = runDesign(input);
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
        showRefusal(this, *refusal, {.dieSize = Text1, .fineTune = Text2, .effectiveDiameter = Text5});
    } else if (std::holds_alternative<OutlineOnly>(outcome)) {
        // No dies laid: nothing of an earlier layout may be shown, written or previewed.
        drawWafer({});
        for (QLineEdit* result : {Text3, Text4, Text6})
            result->clear();
        lastLayout_.reset();
        bins_.reset();
        lblBins->hide();
    } else if (const auto* design = std::get_if<Design>(&outcome)) {
        // A new design has no bins: a map read back belonged to the one before.
        lastLayout_ = design->layout;
        bins_.reset();
        drawDesign();
        showResults(design->results, Text3, Text4, Text6);
    }
    showGoodDies();
}

void frmWafer::cmdClear_Click()
{
    clearWafer({Text1, Text2, Text3, Text4});
    {
        // Emptying the list is no choice: its handler does not run.
        const QSignalBlocker block(Combo2);
        Combo2->setCurrentIndex(-1);
    }
    if (lastLayout_) {
        lastLayout_->RowTable.redim(1);
        lastLayout_->ColumnTable.redim(1);
    }
    showGoodDies();
    bins_.reset();
    lblBins->hide();
}

void frmWafer::cmdGenerate_Click()
{
    if (Text3->text().isEmpty() || Text4->text().isEmpty() || !lastLayout_) {
        showMessage(this, MessageIcon::Exclamation, "無資料", "無晶片資料可以產生程式碼。");
        return;
    }
    // A refused design, or boxes changed since, leave the earlier layout drawn: it is the one written.
    generationWindow()->showFor(*lastLayout_, drawnLayoutNote(readInputs().texts, lastLayout_->texts));
    if (frmPreview_ && frmPreview_->isVisible())
        frmPreview_->stayUsableOver(frmCode_);
}

frmCode* frmWafer::generationWindow()
{
    if (!frmCode_) {
        frmCode_ = new frmCode(this);
        connect(frmCode_, &frmCode::previewRequested, this, &frmWafer::showPreview);
        connect(frmCode_, &frmCode::textsChanged, this, &frmWafer::showJobTitle);
    }
    return frmCode_;
}

void frmWafer::showPreview(const ProgramPreview& preview)
{
    madePreview();
    frmPreview_->showProgram(preview.layout, preview.text);
    // The generation window is modal: the preview must stay usable beside it.
    if (frmCode_ && frmCode_->isVisible())
        frmPreview_->stayUsableOver(frmCode_);
}

void frmWafer::cmdOption_Click()
{
    PIC1->draw([&](map::InchCanvas& canvas) { map::drawTestHexagon(canvas, CenterX, CenterY); });
}

void frmWafer::cmdExit_Click() { unload(); }

bool frmWafer::hasDesign() const
{
    return lastLayout_ && !Text3->text().isEmpty() && !Text4->text().isEmpty();
}

void frmWafer::PIC1_ContextMenu(const QPoint& position) { PIC1Menu->popup(PIC1->mapToGlobal(position)); }

QString frmWafer::suggestedPath(const std::string& extension) const
{
    const QString folder = exportFolder_.isEmpty() ? QDir::homePath() : exportFolder_;
    return QDir(folder).filePath(QString::fromStdString(map::exportFileName(*lastLayout_, extension)));
}

void frmWafer::mnuSaveImage_Click()
{
    if (!hasDesign() || isExporting())
        return;
    const QString svgFilter = QStringLiteral("SVG 圖片 (*.svg)");
    QString chosenFilter;
    const QString chosen = askSaveFileName(this, QStringLiteral("另存圖片"), suggestedPath(".png"),
                                           QStringLiteral("PNG 圖片 (*.png);;") + svgFilter, &chosenFilter);
    if (chosen.isEmpty())
        return;
    const auto target = map::imageTarget(QFile::encodeName(chosen).toStdString(), chosenFilter == svgFilter);
    if (const auto* refusal = std::get_if<map::ExportFailure>(&target)) {
        showMessage(this, MessageIcon::Exclamation, refusal->title, refusal->prompt);
        return;
    }
    const auto& image = std::get<map::ImageTarget>(target);
    startExport(image.path, image.kind);
}

void frmWafer::mnuDieSizeChart_Click()
{
    if (!hasDesign())
        return;
    if (!frmDieSizeChart_)
        frmDieSizeChart_ = new frmDieSizeChart(this);
    frmDieSizeChart_->showFor(DesignInput{lastLayout_->texts, lastLayout_->WaferDiameter, flats_}, yieldTexts_);
}

void frmWafer::mnuExportDies_Click()
{
    if (!hasDesign() || isExporting())
        return;
    const QString chosen = askSaveFileName(this, QStringLiteral("匯出晶粒座標"), suggestedPath(".csv"),
                                           QStringLiteral("CSV 檔 (*.csv)"));
    if (chosen.isEmpty())
        return;
    startExport(QFile::encodeName(chosen).toStdString(), map::ExportKind::Csv);
}

frmPreview* frmWafer::madePreview()
{
    if (!frmPreview_) {
        frmPreview_ = new frmPreview(this);
        connect(frmPreview_, &frmPreview::printRequested, this, &frmWafer::mnuPrintSheet_Click);
    }
    return frmPreview_;
}

bool frmWafer::designShown()
{
    if (hasDesign())
        return true;
    showMessage(this, MessageIcon::Exclamation, "無資料", NoDesignPrompt);
    return false;
}

void frmWafer::mnuOpenProgram_Click()
{
    if (!designShown())
        return;
    const QString folder = programFolder_.isEmpty() ? QDir::homePath() : programFolder_;
    const QString chosen = askOpenFileName(this, QStringLiteral("開啟切割程式"), folder,
                                           QStringLiteral("切割程式 (*.TXT *.txt);;所有檔案 (*)"));
    if (!chosen.isEmpty())
        openProgramFile(chosen);
}

void frmWafer::openProgramFile(const QString& path)
{
    if (!hasDesign()) {
        showMessage(this, MessageIcon::Exclamation, "無資料",
                    "無晶片資料可以檢查切割程式「" + QFileInfo(path).fileName().toStdString() +
                        "」：請先開始設計，或開啟工作檔。");
        return;
    }
    programFolder_ = QFileInfo(path).absolutePath();
    madePreview();
    frmPreview_->showProgramFile(*lastLayout_, path);
    if (frmCode_ && frmCode_->isVisible())
        frmPreview_->stayUsableOver(frmCode_);
}

std::variant<map::JobSheet, std::string> frmWafer::jobSheet() const
{
    if (!hasDesign())
        return std::string(NoDesignPrompt);
    // The program the preview shows: its file as read (or as it reads now), or the text handed to it.
    std::optional<std::variant<map::SheetProgram, std::string>> shown;
    if (frmPreview_ && frmPreview_->isVisible()) {
        if (const auto& file = frmPreview_->programFile()) {
            shown = map::sheetProgram(*file);
        } else if (const QString path = frmPreview_->programPath(); !path.isEmpty()) {
            auto read = readProgramFile(QFile::encodeName(path).toStdString());
            if (const auto* refusal = std::get_if<ProgramFileRefusal>(&read))
                return refusal->message;
            shown = map::sheetProgram(std::get<ProgramFile>(std::move(read)));
        } else if (const auto& text = frmPreview_->programText()) {
            const std::string name = frmCode_ ? frmCode_->texts().name : std::string();
            shown = map::unsavedProgram(programFilePath({}, name).filename().string(), *text);
        }
    }
    // The values the map was designed from, with the generation window's.
    const Job boxes = currentJob();
    Job job = boxes;
    job.designer = jobOf(lastLayout_->texts, {}).designer;
    const std::string jobFile = jobPath_ ? jobPath_->filename().string() : std::string();
    map::JobSheet sheet = shown ? map::jobSheet(jobFile, job, *lastLayout_, std::move(*shown))
                                : map::jobSheet(jobFile, job, *lastLayout_);
    sheet.jobChanged = !jobPath_ || boxes != savedJob_;
    sheet.bins = bins_;
    // The preview's program compared with another: the sheet says with which and how.
    if (frmPreview_ && frmPreview_->isVisible() && frmPreview_->compareWindow)
        sheet.comparedWith = frmPreview_->compareWindow->comparedWith();
    return sheet;
}

void frmWafer::mnuPrintSheet_Click()
{
    if (!designShown())
        return;
    // Made before the dialog: a program that cannot be read is refused at once.
    const std::variant<map::JobSheet, std::string> made = jobSheet();
    if (const auto* refusal = std::get_if<std::string>(&made)) {
        showMessage(this, MessageIcon::Exclamation, "無法列印", *refusal);
        return;
    }
    const map::JobSheet& sheet = std::get<map::JobSheet>(made);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    printer.setDocName(QStringLiteral("切割工作單"));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("列印工作單"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        // Printed to a file: the command line's PDF, whose text reads as written.
        const std::filesystem::path path = QFile::encodeName(printer.outputFileName()).toStdString();
        if (const auto failure = replaceFile(path, [&](std::ostream& out) {
                if (!map::writeJobSheetPdf(out, sheet))
                    out.setstate(std::ios::failbit);
            }))
            showMessage(this, MessageIcon::Exclamation, "無法列印", replaceFailureText("工作單", path, *failure));
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        showMessage(this, MessageIcon::Exclamation, "無法列印", "無法開始列印工作單：印表機或檔案無法使用。");
        return;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    map::drawJobSheet(painter, QRectF(0, 0, page.width(), page.height()), printer.resolution(), sheet);
}

void frmWafer::startExport(const std::filesystem::path& path, map::ExportKind kind)
{
    const std::uint64_t estimate = map::estimatedExportBytes(*lastLayout_, kind);
    if (const auto question = map::largeExportQuestion(estimate))
        if (!askQuestion(this, "匯出", *question))
            return;
    exportFolder_ = QFileInfo(QFile::decodeName(path.c_str())).absolutePath();
    // A large layout's CSV takes a while: it is written in the background,
    // with a progress box that comes only if it takes long and can cancel it.
    export_.start([path, kind, estimate, layout = std::make_shared<const WaferLayout>(*lastLayout_)](
                      const BackgroundJob<map::ExportOutcome>::Progress& progress) -> std::optional<map::ExportOutcome> {
        map::ExportOutcome outcome = map::exportLayout(path, *layout, kind, [&](std::uint64_t written) {
            return progress(estimate ? double(written) / double(estimate) : 0.0);
        });
        if (std::holds_alternative<map::ExportCancelled>(outcome))
            return std::nullopt;
        return outcome;
    });
    exportProgress_ = new QProgressDialog(QStringLiteral("正在寫入「%1」……").arg(QFile::decodeName(path.filename().c_str())),
                                          QStringLiteral("取消(&A)"), 0, export_.ProgressSteps, this);
    exportProgress_->setWindowTitle(QStringLiteral("匯出"));
    exportProgress_->setWindowModality(Qt::WindowModal);
    exportProgress_->setAutoClose(false);
    exportProgress_->setAutoReset(false);
    exportProgress_->setMinimumDuration(400);
    exportProgress_->setValue(0);
    connect(&export_.watcher(), &QFutureWatcherBase::progressValueChanged, exportProgress_, &QProgressDialog::setValue);
    connect(exportProgress_, &QProgressDialog::canceled, this, [this] {
        export_.cancel();
        closeExportProgress();
    });
}

void frmWafer::closeExportProgress()
{
    if (!exportProgress_)
        return;
    exportProgress_->disconnect(this);
    exportProgress_->deleteLater();
    exportProgress_ = nullptr;
}

void frmWafer::exportFinished(const map::ExportOutcome& outcome)
{
    closeExportProgress();
    if (const auto* failure = std::get_if<map::ExportFailure>(&outcome))
        showMessage(this, MessageIcon::Exclamation, failure->title, failure->prompt);
}

} // namespace kerf::ui

#include "windows/designer/frm_wafer.h"

#include <memory>
#include <variant>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

#include "windows/generation/frm_code.h"
#include "forms/controls.h"
#include "forms/file_dialog.h"
#include "windows/die_size_chart/frm_die_size_chart.h"
#include "windows/preview/frm_preview.h"
#include "forms/message_box.h"
#include "forms/twips.h"
#include "render/wafer_map.h"
#include "layout/layout_results.h"

namespace kerf::ui {

namespace {

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string text(const QLineEdit* box) { return box->text().toStdString(); }
std::string text(const QComboBox* box) { return box->currentText().toStdString(); }

} // namespace

frmWafer::frmWafer(QWidget* owner) : Form(owner, twipsSize(11130, 7650), QStringLiteral("Kerfwright"))
{
    setObjectName(QStringLiteral("frmWafer"));
}

frmWafer::~frmWafer()
{
    // Hiding the dialog as it is destroyed takes the focus from an editable
    // combo box, which then emits activated(): no handler may run on a
    // half-destroyed window.
    Combo1->disconnect(this);
    Combo2->disconnect(this);
}

void frmWafer::buildControls(QWidget* surface)
{
    PIC1 = new PictureBox(surface);
    PIC1->setObjectName(QStringLiteral("PIC1"));
    PIC1->move(0, 0);
    PIC1->setContextMenuPolicy(Qt::CustomContextMenu);
    PIC1Menu = new QMenu(PIC1);
    PIC1Menu->setObjectName(QStringLiteral("PIC1Menu"));
    mnuSaveImage = PIC1Menu->addAction(QStringLiteral("另存圖片…"));
    mnuSaveImage->setObjectName(QStringLiteral("mnuSaveImage"));
    mnuExportDies = PIC1Menu->addAction(QStringLiteral("匯出晶粒座標…"));
    mnuExportDies->setObjectName(QStringLiteral("mnuExportDies"));
    mnuDieSizeChart = PIC1Menu->addAction(QStringLiteral("晶粒尺寸比較…"));
    mnuDieSizeChart->setObjectName(QStringLiteral("mnuDieSizeChart"));

    // Inputs, top to bottom: wafer diameter, effective diameter, die shape,
    // die size, fine-tune; each unit stands right of its box.
    Frame1 = makeFrame(surface, "Frame1", QStringLiteral("晶片設定值"), 7650, 0, 3480, 2355);
    Label1 = makeLabel(Frame1, "Label1", QStringLiteral("晶片直徑："), 180, 315, 1080, 180);
    Combo1 = makeComboBox(Frame1, "Combo1", true, 1305, 270, 1905, 300);
    Label11 = makeLabel(Frame1, "Label11", QStringLiteral("有效直徑："), 180, 720, 1080, 180);
    Text5 = place(new NumberBox(Frame1), "Text5", 1305, 675, 1365, 285);
    Text5->setMaxLength(5);
    Label12 = makeLabel(Frame1, "Label12", QStringLiteral("Inches"), 2745, 720, 450, 180);
    Label2 = makeLabel(Frame1, "Label2", QStringLiteral("晶粒形狀："), 180, 1125, 1080, 180);
    Combo2 = makeComboBox(Frame1, "Combo2", true, 1305, 1080, 1905, 300);
    Label3 = makeLabel(Frame1, "Label3", QStringLiteral("晶粒尺寸："), 180, 1530, 1080, 180);
    Text1 = place(new NumberBox(Frame1), "Text1", 1305, 1485, 1635, 285);
    Text1->setMaxLength(10);
    Label4 = makeLabel(Frame1, "Label4", QStringLiteral("mil"), 3015, 1530, 225, 180);
    Label5 = makeLabel(Frame1, "Label5", QStringLiteral("切割微調值："), 180, 1935, 1080, 180);
    Text2 = place(new NumberBox(Frame1), "Text2", 1305, 1890, 1635, 285);
    Text2->setMaxLength(10);
    Label6 = makeLabel(Frame1, "Label6", QStringLiteral("mil"), 3015, 1935, 225, 180);

    Frame3 = makeFrame(surface, "Frame3", QStringLiteral("模擬結果值"), 7650, 2385, 3480, 1545);
    Label7 = makeLabel(Frame3, "Label7", QStringLiteral("總切割列數："), 180, 315, 1080, 180);
    Text3 = makeResultBox(Frame3, "Text3", 1305, 270, 1635, 285);
    Label9 = makeLabel(Frame3, "Label9", QStringLiteral("列"), 3015, 315, 225, 180);
    Label8 = makeLabel(Frame3, "Label8", QStringLiteral("總晶粒數："), 180, 720, 1080, 180);
    Text4 = makeResultBox(Frame3, "Text4", 1305, 675, 1635, 285);
    Label10 = makeLabel(Frame3, "Label10", QStringLiteral("個"), 3015, 720, 225, 180);
    Label13 = makeLabel(Frame3, "Label13", QStringLiteral("面積使用率："), 180, 1125, 1080, 180);
    Text6 = makeResultBox(Frame3, "Text6", 1305, 1080, 1635, 285);
    Label14 = makeLabel(Frame3, "Label14", QStringLiteral("%"), 3015, 1125, 225, 180);

    Frame2 = makeFrame(surface, "Frame2", QString(), 7650, 3960, 3480, 1410);
    cmdDraw = makeButton(Frame2, "cmdDraw", QStringLiteral("開始設計(&D)"), 225, 180, 1500, 330);
    cmdClear = makeButton(Frame2, "cmdClear", QStringLiteral("清除(&C)"), 1845, 180, 1500, 330);
    cmdGenerate = makeButton(Frame2, "cmdGenerate", QStringLiteral("產生程式碼(&G)"), 225, 570, 1500, 330);
    cmdOption = makeButton(Frame2, "cmdOption", QStringLiteral("設定值(&O)"), 1845, 570, 1500, 330);
    cmdExit = makeButton(Frame2, "cmdExit", QStringLiteral("離開(&E)"), 225, 960, 1500, 330);
    cmdDraw->setDefault(true);
    setCancelButton(cmdExit);

    chainTabOrder({Combo1, Text5, Combo2, Text1, Text2, cmdDraw, cmdClear, cmdGenerate, cmdOption, cmdExit});
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
    });
    connect(mnuDieSizeChart, &QAction::triggered, this, &frmWafer::mnuDieSizeChart_Click);
    connect(mnuSaveImage, &QAction::triggered, this, &frmWafer::mnuSaveImage_Click);
    connect(mnuExportDies, &QAction::triggered, this, &frmWafer::mnuExportDies_Click);
    connect(&exportWatcher_, &QFutureWatcherBase::finished, this, &frmWafer::exportFinished);
}

void frmWafer::Form_Load()
{
    CenterX = PIC1->scaleWidth() / 2;
    CenterY = PIC1->scaleHeight() / 2;
    // Filled without a selection; filling fires no change handler.
    const QSignalBlocker block1(Combo1);
    const QSignalBlocker block2(Combo2);
    for (std::string_view item : WaferSizeItems)
        Combo1->addItem(qt(item));
    for (std::string_view item : DieShapeItems)
        Combo2->addItem(qt(item));
    Combo1->setCurrentIndex(-1);
    Combo2->setCurrentIndex(-1);
    Text2->setEnabled(false);
}

void frmWafer::Form_Unload()
{
    if (frmCode_ && frmCode_->isLoaded())
        frmCode_->unload();
    if (frmPreview_)
        frmPreview_->close();
    if (frmDieSizeChart_)
        frmDieSizeChart_->close();
    if (exportCancel_)
        exportCancel_->store(true);
}

void frmWafer::Combo1_Click()
{
    const WaferSizeChoice choice = chooseWaferSize(text(Combo1), WaferDiameter);
    WaferDiameter = choice.WaferDiameter;
    WaferRadius = choice.WaferRadius;
    Text5->setText(qt(choice.effectiveText));
}

void frmWafer::Combo1_Change() { Combo1_Click(); }

void frmWafer::Combo2_Click() { Text2->setEnabled(Combo2->currentText() == QStringLiteral("Circle")); }

void frmWafer::Combo2_Change() { Combo2_Click(); }

DesignInput frmWafer::readInputs() const
{
    DesignInput input;
    input.texts.waferSize = text(Combo1);
    input.texts.effectiveDiameter = text(Text5);
    input.texts.shape = text(Combo2);
    input.texts.dieSize = text(Text1);
    input.texts.fineTune = text(Text2); // read even while the box is disabled
    input.WaferDiameter = WaferDiameter;
    return input;
}

void frmWafer::setButtonsEnabled(bool enabled)
{
    for (QPushButton* button : {cmdClear.data(), cmdDraw.data(), cmdGenerate.data(), cmdOption.data(),
                                cmdExit.data()})
        button->setEnabled(enabled);
}

void frmWafer::showResults(const LayoutResults& results)
{
    Text3->setText(qt(results.rows));
    Text4->setText(qt(results.dies));
    Text6->setText(qt(results.utilisation));
}

void frmWafer::focusBox(InputBox box)
{
    switch (box) {
    case InputBox::DieSize: Text1->focusToFix(); break;
    case InputBox::FineTune: Text2->focusToFix(); break;
    case InputBox::EffectiveDiameter: Text5->focusToFix(); break;
    }
}

void frmWafer::cmdDraw_Click()
{
    const DesignInput input = readInputs();
    if (input.texts.dieSize.empty())
        return;
    setButtonsEnabled(false);
    // Enabled again however the run ends, also when memory runs out.
    const std::unique_ptr<frmWafer, void (*)(frmWafer*)> enableAgain(this, [](frmWafer* w) { w->setButtonsEnabled(true); });
    const DesignOutcome outcome = runDesign(input);
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
        showMessage(this, MessageIcon::Exclamation, refusal->title, refusal->prompt);
        focusBox(refusal->focus);
    } else if (std::holds_alternative<OutlineOnly>(outcome) || std::holds_alternative<Design>(outcome)) {
        const auto* design = std::get_if<Design>(&outcome);
        PIC1->Cls();
        PIC1->draw([&](map::InchCanvas& canvas) {
            map::DrawWaferOutline(canvas, CenterX, CenterY, WaferRadius);
            if (design)
                map::DrawDies(canvas, design->layout);
        });
        if (design) {
            showResults(design->results);
            lastLayout_ = design->layout;
        }
    }
}

void frmWafer::cmdClear_Click()
{
    PIC1->Cls();
    {
        // Emptying the lists is no choice: their handlers do not run.
        const QSignalBlocker block1(Combo1);
        const QSignalBlocker block2(Combo2);
        Combo1->setCurrentIndex(-1);
        Combo2->setCurrentIndex(-1);
    }
    Text1->clear();
    Text2->clear();
    Text3->clear();
    Text4->clear();
    if (lastLayout_) {
        lastLayout_->RowTable.redim(1);
        lastLayout_->ColumnTable.redim(1);
    }
}

void frmWafer::cmdGenerate_Click()
{
    if (Text3->text().isEmpty() || Text4->text().isEmpty() || !lastLayout_) {
        showMessage(this, MessageIcon::Exclamation, "無資料", "無晶片資料可以產生程式碼。");
        return;
    }
    if (!frmCode_) {
        frmCode_ = new frmCode(this);
        connect(frmCode_, &frmCode::previewRequested, this, &frmWafer::showPreview);
    }
    frmCode_->showFor(*lastLayout_);
    if (frmPreview_ && frmPreview_->isVisible())
        frmPreview_->stayUsableOver(frmCode_);
}

void frmWafer::showPreview(const ProgramPreview& preview)
{
    if (!frmPreview_)
        frmPreview_ = new frmPreview(this);
    frmPreview_->showProgram(preview.layout, preview.text);
    // The generation window is modal: the preview must stay usable beside it.
    if (frmCode_ && frmCode_->isVisible())
        frmPreview_->stayUsableOver(frmCode_);
}

void frmWafer::cmdOption_Click()
{
    PIC1->draw([&](map::InchCanvas& canvas) { map::DrawTestHexagon(canvas, CenterX, CenterY); });
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
    frmDieSizeChart_->showFor(DesignInput{lastLayout_->texts, lastLayout_->WaferDiameter});
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

void frmWafer::startExport(const std::filesystem::path& path, map::ExportKind kind)
{
    exportFolder_ = QFileInfo(QFile::decodeName(path.c_str())).absolutePath();
    exportCancel_ = std::make_shared<std::atomic<bool>>(false);
    // A large layout's CSV takes a while: it is written beside the window,
    // with a progress box that comes only if it takes long and can cancel it.
    exportWatcher_.setFuture(QtConcurrent::run(
        [path, kind, layout = std::make_shared<const WaferLayout>(*lastLayout_), cancel = exportCancel_] {
            return map::exportLayout(path, *layout, kind, cancel.get());
        }));
    exportProgress_ = new QProgressDialog(QStringLiteral("正在寫入「%1」……").arg(QFile::decodeName(path.filename().c_str())),
                                          QStringLiteral("取消"), 0, 0, this);
    exportProgress_->setWindowTitle(QStringLiteral("匯出"));
    exportProgress_->setWindowModality(Qt::WindowModal);
    exportProgress_->setMinimumDuration(400);
    connect(exportProgress_, &QProgressDialog::canceled, this, [cancel = exportCancel_] { cancel->store(true); });
}

void frmWafer::exportFinished()
{
    if (exportProgress_) {
        exportProgress_->disconnect(this);
        exportProgress_->deleteLater();
    }
    const QFuture<map::ExportOutcome> future = exportWatcher_.future();
    if (future.resultCount() == 0)
        return;
    const map::ExportOutcome outcome = future.result();
    if (const auto* failure = std::get_if<map::ExportFailure>(&outcome))
        showMessage(this, MessageIcon::Exclamation, failure->title, failure->prompt);
}

} // namespace kerf::ui

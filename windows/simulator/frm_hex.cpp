#include "windows/simulator/frm_hex.h"

#include <memory>
#include <variant>

#include "forms/controls.h"
#include "forms/message_box.h"
#include "forms/twips.h"
#include "render/wafer_map.h"
#include "render/sim_map.h"

namespace kerf::ui {

namespace {

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

frmHex::frmHex(QWidget* owner)
    : Form(owner, twipsSize(11130, 7650), QStringLiteral("Hexagan Chip Cutting Simulator"))
{
    setObjectName(QStringLiteral("frmHex"));
}

void frmHex::buildControls(QWidget* surface)
{
    PIC1 = new PictureBox(surface);
    PIC1->setObjectName(QStringLiteral("PIC1"));
    PIC1->move(0, 0);
    PIC1->setFocusPolicy(Qt::TabFocus); // first in the tab order

    Frame1 = makeFrame(surface, "Frame1", QStringLiteral("晶片設定值"), 7650, 0, 3480, 1545);
    Label1 = makeLabel(Frame1, "Label1", QStringLiteral("晶片直徑："), 180, 315, 900, 180);
    Combo1 = makeComboBox(Frame1, "Combo1", false, 1305, 270, 1905, 300);
    Label10 = makeLabel(Frame1, "Label10", QStringLiteral("有效直徑："), 180, 720, 900, 180);
    Text5 = makeTextBox(Frame1, "Text5", 1305, 675, 1365, 285);
    Text5->setMaxLength(5);
    Label11 = makeLabel(Frame1, "Label11", QStringLiteral("Inches"), 2745, 720, 450, 180);
    Label2 = makeLabel(Frame1, "Label2", QStringLiteral("晶粒尺寸："), 180, 1125, 900, 180);
    Text1 = place(new NumberBox(Frame1), "Text1", 1305, 1080, 1635, 285);
    Text1->setMaxLength(10);
    Label3 = makeLabel(Frame1, "Label3", QStringLiteral("mil"), 3015, 1125, 225, 180);

    Frame2 = makeFrame(surface, "Frame2", QStringLiteral("模擬結果值"), 7650, 1575, 3480, 1545);
    Label4 = makeLabel(Frame2, "Label4", QStringLiteral("總切割列數："), 180, 315, 1080, 180);
    Text2 = makeResultBox(Frame2, "Text2", 1305, 270, 1635, 285);
    Label7 = makeLabel(Frame2, "Label7", QStringLiteral("列"), 3015, 315, 225, 180);
    Label5 = makeLabel(Frame2, "Label5", QStringLiteral("總晶粒數："), 180, 720, 1080, 180);
    Text3 = makeResultBox(Frame2, "Text3", 1305, 675, 1635, 285);
    Label8 = makeLabel(Frame2, "Label8", QStringLiteral("個"), 3015, 720, 225, 180);
    Label6 = makeLabel(Frame2, "Label6", QStringLiteral("面積使用率："), 180, 1125, 1080, 180);
    Text4 = makeResultBox(Frame2, "Text4", 1305, 1080, 1635, 285);
    Label9 = makeLabel(Frame2, "Label9", QStringLiteral("%"), 3015, 1125, 225, 180);

    Frame3 = makeFrame(surface, "Frame3", QString(), 7650, 3105, 3480, 1005);
    cmdSimulate = makeButton(Frame3, "cmdSimulate", QStringLiteral("開始模擬(&S)"), 225, 180, 1500, 330);
    cmdClear = makeButton(Frame3, "cmdClear", QStringLiteral("清除(&C)"), 1845, 180, 1500, 330);
    cmdExit = makeButton(Frame3, "cmdExit", QStringLiteral("離開(&E)"), 225, 540, 1500, 330);
    cmdSimulate->setDefault(true);
    setCancelButton(cmdExit);

    chainTabOrder({PIC1, Combo1, Text1, Text5, cmdSimulate, cmdClear, cmdExit});
    PIC1->setFocus();

    connect(Combo1, &QComboBox::activated, this, &frmHex::Combo1_Click);
    connect(Combo1, &QComboBox::currentTextChanged, this, &frmHex::Combo1_Change);
    connect(cmdSimulate, &QPushButton::clicked, this, &frmHex::cmdSimulate_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmHex::cmdClear_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmHex::cmdExit_Click);
}

void frmHex::Form_Load()
{
    CenterX = PIC1->scaleWidth() / 2;
    CenterY = PIC1->scaleHeight() / 2;
    const QSignalBlocker block(Combo1);
    for (std::string_view item : WaferSizeItems)
        Combo1->addItem(qt(item));
    Combo1->setCurrentIndex(-1);
    Text2->setEnabled(false);
}

void frmHex::Combo1_Click()
{
    const WaferSizeChoice choice = chooseWaferSize(Combo1->currentText().toStdString(), WaferDiameter);
    WaferDiameter = choice.WaferDiameter;
    WaferRadius = choice.WaferRadius;
    Text5->setText(qt(choice.effectiveText));
}

void frmHex::Combo1_Change() { Combo1_Click(); }

void frmHex::setButtonsEnabled(bool enabled)
{
    for (QPushButton* button : {cmdSimulate.data(), cmdClear.data(), cmdExit.data()})
        button->setEnabled(enabled);
}

void frmHex::cmdSimulate_Click()
{
    const SimulationInput input{Text1->text().toStdString(), Text5->text().toStdString(), WaferDiameter};
    if (input.dieSize.empty())
        return;
    setButtonsEnabled(false);
    // Enabled again however the run ends, also when memory runs out.
    const std::unique_ptr<frmHex, void (*)(frmHex*)> enableAgain(this, [](frmHex* w) { w->setButtonsEnabled(true); });
    const SimulationOutcome outcome = runSimulation(input);
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
        showMessage(this, MessageIcon::Exclamation, refusal->title, refusal->prompt);
        if (refusal->focus == InputBox::EffectiveDiameter) {
            Text5->setFocus();
            Text5->selectAll();
        } else {
            Text1->focusToFix();
        }
    } else if (const auto* simulation = std::get_if<Simulation>(&outcome)) {
        PIC1->Cls();
        PIC1->draw([&](map::InchCanvas& canvas) {
            map::DrawWaferOutline(canvas, CenterX, CenterY, WaferRadius);
            map::DrawSimHexagonDies(canvas, simulation->layout);
        });
        Text2->setText(qt(simulation->results.rows));
        Text3->setText(qt(simulation->results.dies));
        Text4->setText(qt(simulation->results.utilisation));
        lastLayout_ = simulation->layout;
    }
}

void frmHex::cmdClear_Click()
{
    PIC1->Cls();
    {
        const QSignalBlocker block(Combo1);
        Combo1->setCurrentIndex(-1);
    }
    Text1->clear();
    Text2->clear();
    Text3->clear();
    Text4->clear();
    if (lastLayout_)
        lastLayout_->RowTable.redim(1);
}

void frmHex::cmdExit_Click() { unload(); }

} // namespace kerf::ui

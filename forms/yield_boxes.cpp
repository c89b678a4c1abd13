// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/yield_boxes.h"

#include <QFormLayout>
#include <QHBoxLayout>

#include "forms/box_text.h"
#include "forms/message_box.h"

namespace kerf::ui {
namespace {

// The list's words for a model, after its name.
const char* modelWords(YieldModel model)
{
    switch (model) {
    case YieldModel::Poisson: return "（卜瓦松）";
    case YieldModel::Murphy: return "（墨菲）";
    case YieldModel::Seeds: return "（西茲）";
    case YieldModel::Moore: return "（摩爾）";
    case YieldModel::BoseEinstein: return "（玻色-愛因斯坦）";
    case YieldModel::NegativeBinomial: return "（負二項）";
    }
    return "";
}

NumberBox* numberBox(QWidget* parent, const char* name, const char* tip)
{
    auto* box = new NumberBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(QString::fromUtf8(tip));
    box->setMaxLength(12);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    return box;
}

} // namespace

YieldBoxes::YieldBoxes(QWidget* parent, Arrangement arrangement)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("YieldBoxes"));
    txtDefects = numberBox(this, "txtDefects", "每平方公分的缺陷數（0 以上）；空白為不估算良率");
    cboModel = new QComboBox(this);
    cboModel->setObjectName(QStringLiteral("cboModel"));
    cboModel->setToolTip(QStringLiteral("x = 晶粒面積 × 缺陷密度：poisson e^−x、murphy ((1 − e^−x)/x)²、seeds 1/(1 + x)、"
                                        "moore e^−√x、bose-einstein (1 + x)^−n、negative-binomial (1 + x/α)^−α"));
    for (const YieldModel model : YieldModels)
        cboModel->addItem(qtText(std::string(modelName(model)) + modelWords(model)), qtText(modelName(model)));
    txtLayers = numberBox(this, "txtLayers", "bose-einstein 的關鍵層數 n（1 以上）；空白為 1");
    txtAlpha = numberBox(this, "txtAlpha", "negative-binomial 的叢集參數 α（大於 0）；空白為 2");
    txtCost = numberBox(this, "txtCost", "一片晶片的成本（任何幣別，0 以上）；空白為不算成本");
    // In a row the parameters' names are short: their tooltips say them whole.
    const bool column = arrangement == Arrangement::Column;
    const std::pair<const char*, QWidget*> rows[] = {{"缺陷密度（個/cm²）：", txtDefects},
                                                     {"良率模型：", cboModel},
                                                     {column ? "關鍵層數 n：" : "層數 n：", txtLayers},
                                                     {column ? "叢集參數 α：" : "α：", txtAlpha},
                                                     {"晶片成本：", txtCost}};
    if (column) {
        auto* form = new QFormLayout(this);
        for (const auto& [caption, box] : rows)
            form->addRow(QString::fromUtf8(caption), box);
    } else {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        for (const auto& [caption, box] : rows) {
            row->addWidget(new QLabel(QString::fromUtf8(caption), this));
            row->addWidget(box);
        }
        row->addStretch();
    }
    cboModel_Click();
    connect(cboModel, &QComboBox::currentIndexChanged, this, [this] {
        cboModel_Click();
        emit changed();
    });
    for (NumberBox* box : {txtDefects.data(), txtLayers.data(), txtAlpha.data(), txtCost.data()})
        connect(box, &QLineEdit::textChanged, this, &YieldBoxes::changed);
}

void YieldBoxes::cboModel_Click()
{
    const auto model = modelFromName(cboModel->currentData().toString().toStdString());
    txtLayers->setEnabled(model && usesLayers(*model));
    txtAlpha->setEnabled(model && usesAlpha(*model));
}

YieldTexts YieldBoxes::texts() const
{
    return {boxText(txtDefects), cboModel->currentData().toString().toStdString(), boxText(txtLayers),
            boxText(txtAlpha), boxText(txtCost)};
}

void YieldBoxes::setTexts(const YieldTexts& texts)
{
    txtDefects->setText(qtText(texts.defects));
    cboModel->setCurrentIndex(texts.model.empty() ? 0 : cboModel->findData(qtText(texts.model)));
    txtLayers->setText(qtText(texts.layers));
    txtAlpha->setText(qtText(texts.alpha));
    txtCost->setText(qtText(texts.cost));
}

bool YieldBoxes::read(QWidget* window, std::optional<YieldSettings>& settings)
{
    const YieldTexts typed = texts();
    if (typed.defects.empty()) {
        settings.reset();
        return true;
    }
    const auto outcome = readYieldSettings(typed);
    if (const auto* refusal = std::get_if<YieldRefusal>(&outcome)) {
        showMessage(window, MessageIcon::Exclamation, InputErrorTitle, refusal->prompt);
        switch (refusal->box) {
        case YieldBox::Defects: txtDefects->focusToFix(); break;
        case YieldBox::Model: cboModel->setFocus(); break;
        case YieldBox::Layers: txtLayers->focusToFix(); break;
        case YieldBox::Alpha: txtAlpha->focusToFix(); break;
        case YieldBox::Cost: txtCost->focusToFix(); break;
        }
        return false;
    }
    settings = std::get<YieldSettings>(outcome);
    return true;
}

} // namespace kerf::ui

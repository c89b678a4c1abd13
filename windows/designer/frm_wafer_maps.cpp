// SPDX-License-Identifier: GPL-3.0-or-later
// The designer's wafer maps for probers and sorters: written out, and a
// binned map read back onto the last design.
#include "windows/designer/frm_wafer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "die_maps/die_map_file.h"
#include "die_maps/sinf_reader.h"
#include "forms/file_dialog.h"
#include "forms/message_box.h"
#include "forms/open_file_dialog.h"
#include "render/bad_dies.h"
#include "render/wafer_map.h"

namespace kerf::ui {

namespace {

const QString SinfFilter = QStringLiteral("SINF 晶圓圖 (*.sinf *.txt)");
const QString E142Filter = QStringLiteral("E142 XML 晶圓圖 (*.xml)");

} // namespace

void frmWafer::mnuExportMap_Click()
{
    if (!hasDesign())
        return;
    QString chosenFilter;
    const QString chosen = askSaveFileName(this, QStringLiteral("匯出晶圓圖"), suggestedPath(".sinf"),
                                           SinfFilter + QStringLiteral(";;") + E142Filter, &chosenFilter);
    if (chosen.isEmpty())
        return;
    exportFolder_ = QFileInfo(chosen).absolutePath();
    MapHeader header;
    header.device = currentJob().program.name.value_or("");
    header.flatLocation = flatLocationOf(lastLayout_->flats);
    const auto failure = writeDieMapFile(QFile::encodeName(chosen).toStdString(), *lastLayout_,
                                         chosenFilter == E142Filter ? DieMapFormat::E142 : DieMapFormat::Sinf, header);
    if (failure)
        showMessage(this, MessageIcon::Exclamation, "無法匯出晶圓圖", *failure);
}

void frmWafer::mnuReadMap_Click()
{
    if (!hasDesign())
        return;
    const QString folder = exportFolder_.isEmpty() ? QDir::homePath() : exportFolder_;
    const QString chosen = askOpenFileName(this, QStringLiteral("讀入晶圓圖"), folder,
                                           SinfFilter + QStringLiteral(";;所有檔案 (*)"));
    if (!chosen.isEmpty())
        readMapFile(chosen);
}

bool frmWafer::readMapFile(const QString& path)
{
    if (!hasDesign())
        return false;
    const auto grid = mapGridOf(*lastLayout_);
    if (const auto* refusal = std::get_if<MapGridRefusal>(&grid)) {
        showMessage(this, MessageIcon::Exclamation, "無法讀入晶圓圖", refusal->message);
        return false;
    }
    auto read = readSinfBins(QFile::encodeName(path).toStdString(), std::get<MapGrid>(grid));
    if (const auto* refusal = std::get_if<MapRefusal>(&read)) {
        showMessage(this, MessageIcon::Exclamation, "無法讀入晶圓圖", refusal->message);
        return false;
    }
    bins_ = std::get<DieBins>(std::move(read));
    drawDesign();
    return true;
}

void frmWafer::drawDesign()
{
    drawWafer([&](map::InchCanvas& canvas) {
        map::drawDies(canvas, *lastLayout_);
        if (bins_)
            map::drawBadDies(canvas, *lastLayout_, bins_->badDies);
    }, &*lastLayout_);
    lblBins->setVisible(bins_.has_value());
    if (bins_)
        lblBins->setText(QStringLiteral("晶圓圖：良品 %1 個，不良品 %2 個，共 %3 個")
                             .arg(bins_->good)
                             .arg(bins_->bad)
                             .arg(bins_->total()));
}

} // namespace kerf::ui

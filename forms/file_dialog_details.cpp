// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/file_dialog_details.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>

namespace kerf::ui {

namespace {

/// The file dialog's model with the size and date columns in Chinese.
class ChineseDetails : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files || role != Qt::DisplayRole || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        switch (index.column()) {
        case SizeColumn: return files->isDir(source) ? QString() : fileSizeText(files->size(source));
        case DateColumn:
            return files->lastModified(source).toString(QStringLiteral("yyyy/MM/dd HH:mm"));
        default: return QIdentityProxyModel::data(index, role);
        }
    }

private:
    // QFileSystemModel's columns: name, size, type, date modified.
    static constexpr int SizeColumn = 1, DateColumn = 3;
};

} // namespace

QString fileSizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 位元組").arg(bytes);
    static const char* const Units[] = {"KB", "MB", "GB", "TB"};
    double size = double(bytes) / 1024;
    int unit = 0;
    for (; size >= 1024 && unit < 3; ++unit)
        size /= 1024;
    return QStringLiteral("%1 %2").arg(size, 0, 'f', 1).arg(QLatin1String(Units[unit]));
}

void showDetailsInChinese(QFileDialog& dialog) { dialog.setProxyModel(new ChineseDetails(&dialog)); }

} // namespace kerf::ui

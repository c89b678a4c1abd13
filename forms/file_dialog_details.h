// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

class QFileDialog;

namespace kerf::ui {

/// A file's size as the file dialogs show it: «84 位元組», then «1.5 KB»,
/// «12.0 MB», «2.3 GB» (1024 to the step, as the desktop shows them).
QString fileSizeText(qint64 bytes);

/// Qt's own file dialog writes sizes and dates in the words of the system's
/// locale («84 bytes», «MiB», «9 Dec»): its list shows them as the rest of
/// the program does («84 位元組», «2026/12/09 09:18») instead. A native
/// dialog speaks the desktop's language and is left as it is.
void showDetailsInChinese(QFileDialog& dialog);

} // namespace kerf::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kerf::cli {

/// Readies Qt for drawing images without a display, before the drawing
/// commands create their application: the offscreen platform whatever the
/// environment asks for (a display may be named and not be there), and Qt's
/// own notes and warnings kept off standard error, where only the command's
/// messages go (a failed drawing is said by the command itself). Where Qt
/// gives up and would abort, the command ends with QtGaveUpMessage and
/// status 1.
void prepareOffscreenQt();

inline constexpr const char* QtGaveUpMessage =
    "記憶體不足或系統資源不足：Qt 無法繼續繪圖，沒有寫出或改變任何檔案。\n";

} // namespace kerf::cli

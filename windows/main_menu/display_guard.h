// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace kerf::ui {

/// What the desktop program says when it has no display to open its windows on.
inline constexpr const char* NoDisplayText =
    "kerfwright：無法開啟顯示器，沒有地方顯示視窗（DISPLAY 或 WAYLAND_DISPLAY 未設定，或無法連線）。\n"
    "請在桌面環境中執行，或用 xvfb-run kerfwright；命令列版本為 kerfwright-cli（kerfwright-cli --help）。\n";

/// Holds Qt's messages back while it lives, that is while the application
/// is being made and opens its display. When Qt gives up there (no display,
/// or none it can reach), the program says so in Traditional Chinese on
/// standard error and ends with 1 instead of aborting with Qt's English
/// text; otherwise the messages held are written on standard error when it
/// ends.
class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

private:
    QtMessageHandler previous_;
};

} // namespace kerf::ui

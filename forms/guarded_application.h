// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace kerf::ui {

/// The title and prompt of the box shown when memory runs out.
inline constexpr const char* OutOfMemoryTitle = "記憶體不足";
inline constexpr const char* OutOfMemoryPrompt =
    "記憶體不足，無法完成這項工作。已有的檔案保持原樣；請關閉其他程式或改用較小的設定後再試一次。";

/// The title of the box shown when a picture cannot be drawn.
inline constexpr const char* DrawingFailedTitle = "無法繪圖";

/// The program's QApplication: memory that runs out, or a picture that cannot
/// be drawn (map::DrawingFailed), while an event is handled (a button's work,
/// a paint) stops that work with a message box instead of ending the
/// program; the window stays open. The box comes once the event loop is back:
/// a box's own loop inside a paint would spin on the updates it cannot make.
/// One box at a time; failures meanwhile are not said again.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void sayLater(const char* title, const char* prompt);

    bool saying_ = false;
};

} // namespace kerf::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QPoint>

#include "windows/designer/frm_wafer.h"
#include "windows/generation/frm_code.h"
#include "windows/preview/cut_path_view.h"
#include "windows/preview/frm_preview.h"
#include "tests/support/gui_test_support.h"

// What the preview's window tests share: a designer opened afresh for each
// test, the ways to bring up its preview, and looks at the picture.
namespace kerf::testing {

/// How long the preview's workers may take over a test's program (ms).
inline constexpr int WorkTimeout = 20000;

/// The text without the first `line` in it (the test stops if there is none).
std::string without(std::string text, const std::string& line);

/// The text with the first `line` in it replaced by `by`.
std::string replaced(std::string text, const std::string& line, const std::string& by);

/// Whether a control shows its text (or `role`) in the red of a fault.
bool shownInRed(const QWidget* widget, QPalette::ColorRole role = QPalette::WindowText);

/// The pixel that a program point falls in.
QPoint pixelOf(const ui::CutPathView* picture, double programX, double programY);

/// The colour of the picture at a pixel of the widget.
QColor colourAt(const QImage& image, QPoint pixel);

/// A turn of the mouse wheel over `at` of the widget.
void wheel(QWidget* widget, QPointF at, int delta);

/// A designer shown as the user sees it, and its message boxes recorded.
struct PreviewFixture {
    void setUp();
    void tearDown();

    /// Designs a layout on a 2-inch wafer by the designer's boxes.
    void design(const char* shape, const char* die);
    /// Designs, then opens the generation window and makes it the active one.
    void designAndOpen(const char* shape, const char* die);
    /// Shows a program of the layout in the preview and waits for its workers.
    ui::frmPreview* openPreview(const WaferLayout& layout, const std::string& text);
    ui::frmCode* code() const { return designer->codeWindow(); }

    std::unique_ptr<ui::frmWafer> designer;
    std::unique_ptr<MessageRecorder> messages;
};

} // namespace kerf::testing

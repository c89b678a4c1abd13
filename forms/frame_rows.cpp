// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/frame_rows.h"

namespace kerf::ui {
namespace {

constexpr int SideFrameLeft = 7650;
constexpr int SideFrameWidth = 3480;
constexpr int CaptionLeft = 180;
constexpr int LabelDrop = 45; // captions and units stand this much lower than their box
constexpr int LabelHeight = 180;
constexpr int UnitGap = 75;

} // namespace

QGroupBox* makeSideFrame(QWidget* surface, const char* name, const QString& caption, int top, int height)
{
    return makeFrame(surface, name, caption, SideFrameLeft, top, SideFrameWidth, height);
}

QLabel* makeRowCaption(QWidget* frame, const char* name, const QString& caption, int row, int width)
{
    return makeLabel(frame, name, caption, CaptionLeft, rowTop(row) + LabelDrop, width, LabelHeight);
}

QLabel* makeRowUnit(QWidget* frame, const char* name, const QString& unit, int row, int boxWidth, int width)
{
    return makeLabel(frame, name, unit, RowBoxLeft + boxWidth + UnitGap, rowTop(row) + LabelDrop, width,
                     LabelHeight);
}

} // namespace kerf::ui

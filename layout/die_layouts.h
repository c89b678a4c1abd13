// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/wafer_layout.h"

namespace kerf {

/// Why a layout could not be made. The tables of a failed run are incomplete
/// and must not be used.
enum class LayoutFailure {
    None,
    NoPositivePitch,  // a die pitch of 0 or less would never leave the centre
    CentreDoesNotFit, // not even the centre die fits the effective circle
    TooManyRows,      // more than 32767 records
    RowTooLong,       // a row's die count would not fit a 16-bit integer
    FlatsLeaveNoDie,  // the keep-out lines of the flats leave no die
};

// Each procedure reads the layout's EffectiveRadius, DieSize, HalfDieSize and
// FineTune, sets DiePitch, RowPitch (and HexHalfSide) and rebuilds its table.
// The results are exactly those of walking the probe positions one by one;
// each row's count is searched for, so the cost grows with the rows, not the dies.

/// Close-packed rows of round dies into RowTable.
LayoutFailure LayoutCircleDies(WaferLayout& layout);
/// Honeycomb rows of hexagons into RowTable.
LayoutFailure LayoutHexagonDies(WaferLayout& layout);
/// Horizontal cut lines of the square grid into RowTable.
LayoutFailure LayoutSquareRows(WaferLayout& layout);
/// Vertical cut lines of the square grid into ColumnTable.
LayoutFailure LayoutSquareColumns(WaferLayout& layout);

struct LineCounts;

/// The layout of `layout.shape` counted only, as the procedures above would
/// lay it out (the same pitches set, the same failures, squares' columns
/// too): RowTable's records and dies into `rows`, no table built.
LayoutFailure CountLayoutRows(WaferLayout& layout, LineCounts& rows);

} // namespace kerf

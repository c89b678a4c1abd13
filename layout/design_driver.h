// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "layout/layout_results.h"
#include "layout/wafer_flats.h"
#include "layout/wafer_layout.h"

namespace kerf {

/// The wafer size list, in its order.
inline constexpr std::array<std::string_view, 5> WaferSizeItems = {
    "2.0 Inches", "2.5 Inches", "3.0 Inches", "4.0 Inches", "5.0 Inches"};
/// The shape list, in its order.
inline constexpr std::array<std::string_view, 3> DieShapeItems = {"Circle", "Hexagon", "Square"};

/// What choosing (or typing) a wafer size sets: the diameter (unchanged for a
/// text not in the list) and the text put into the effective diameter box
/// (the diameter × 0.95).
struct WaferSizeChoice {
    float WaferDiameter = 0;
    float WaferRadius = 0;
    std::string effectiveText;
};
WaferSizeChoice chooseWaferSize(std::string_view itemText, float currentDiameter);

/// The input boxes that a refusal sends the focus to.
enum class InputBox { DieSize, FineTune, EffectiveDiameter, Flats };

/// A refused input: the message box's prompt and title, and the box to fix.
struct Refusal {
    std::string prompt;
    std::string title;
    InputBox focus = InputBox::DieSize;
};

/// The title of every input refusal.
inline constexpr std::string_view InputErrorTitle = "輸入數值錯誤";

/// The design button with an empty die size box: nothing happens.
struct NothingToDo {};

/// Accepted inputs with no shape chosen: only the wafer outline is drawn.
struct OutlineOnly {};

/// A finished design: the layout and the result boxes' texts.
struct Design {
    WaferLayout layout;
    LayoutResults results;
};

using DesignOutcome = std::variant<NothingToDo, Refusal, OutlineOnly, Design>;

/// The designer's inputs: the boxes' texts and the diameter that the last
/// wafer size choice set (0 when none was chosen).
struct DesignInput {
    DesignTexts texts;
    float WaferDiameter = 0;
    FlatTexts flats; // none: the round wafer
};

/// The design button: validates the boxes, lays the dies out and counts them.
/// A refusal changes nothing; the caller keeps its previous layout.
DesignOutcome runDesign(const DesignInput& input);

/// The result boxes of a design and the area of one of its dies (layout/die_area.h).
struct DesignedResults {
    LayoutResults results;
    double dieAreaCm2 = 0;
};

using DesignResultsOutcome = std::variant<NothingToDo, Refusal, OutlineOnly, DesignedResults>;

/// What runDesign gives, the result boxes only: the same checks, refusals
/// and results, the rows counted without their table (the die-size sweep);
/// a wafer with flats, whose rows the flats cut short, is laid out in full.
DesignResultsOutcome designResults(const DesignInput& input);

} // namespace kerf

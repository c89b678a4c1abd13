// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace kerf {

/// The boxes of the generation window: Text1 the program name, Text2 the
/// pass count, Text3 DVL, Text4 DAC, Text5 VEL, Text6 ACC.
enum class GenerationBox { Text1, Text2, Text3, Text4, Text5, Text6 };

/// A generation run refused before any file was touched: the message box's
/// prompt and title (shown with the exclamation icon), and the box whose text
/// must change; none when the fix lies outside the generation window.
struct GenerationRefusal {
    std::string prompt;
    std::string title;
    std::optional<GenerationBox> focus;

    bool operator==(const GenerationRefusal&) const = default;
};

} // namespace kerf

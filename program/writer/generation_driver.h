// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>

#include "program/writer/generation_parameters.h"
#include "program/writer/generation_refusal.h"
#include "layout/wafer_layout.h"

namespace kerf {

/// One press of the start button: the boxes as typed and the date that the
/// program's date comments carry.
struct GenerationRequest {
    GenerationTexts texts;
    std::chrono::year_month_day date;
};

/// The folder the program file goes into; the file there is replaced in one step.
struct OutputFolder {
    std::filesystem::path path;
};

/// Where the program goes: a file in a folder, or a stream (the command
/// line's standard output).
using ProgramDestination = std::variant<OutputFolder, std::reference_wrapper<std::ostream>>;

/// A finished run: the file written (empty for a stream) and the completion
/// message box's prompt, which ends with the full path of the file written,
/// and title (shown without an icon).
struct GenerationDone {
    std::string path;
    std::string prompt;
    std::string title;
};

/// A run that could not write its program; shown with the exclamation icon.
/// An old file of the same name is unchanged and no partial file is left.
struct GenerationFailure {
    std::string prompt;
    std::string title;
};

using GenerationOutcome = std::variant<GenerationDone, GenerationRefusal, GenerationFailure>;

/// The refusal of a layout without rows (title "無資料"), as the designer's
/// generate button words it.
inline constexpr std::string_view NoLayoutPrompt = "無晶片資料可以產生程式碼。";

/// The program file of a name in a folder: the folder, "/", the name, ".TXT".
std::filesystem::path programFilePath(const std::filesystem::path& folder, std::string_view name);

/// The start button: checks the name (as a file name and against the
/// program's subroutine units), the layout and the parameters, puts the
/// program name and the designer's texts into CP950 (refusing control
/// characters and what CP950 cannot hold), and writes the program of
/// `layout` (its shape and the designer texts it was made from, whatever the
/// designer shows now) with the generator of its shape. Every refusal comes
/// before the destination is touched; a refused or failed run creates,
/// deletes and changes nothing.
GenerationOutcome runGeneration(const WaferLayout& layout, const GenerationRequest& request,
                                const ProgramDestination& destination);

} // namespace kerf

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include <QImage>

#include "program/reader/program_reader.h"
#include "layout/wafer_layout.h"

namespace kerf::map {

// The designer's exports: the wafer map as an image (PNG or SVG), drawn by the
// procedures that draw the designer's picture, and the die centres as CSV.
// Each file is replaced in one step: a failed export leaves an old file of the
// same name as it was and no partial file.

/// The side of an exported map, pixels: the designer's picture, 5.25 inches
/// at 96 pixels an inch.
inline constexpr int MapPictureSide = 504;

enum class ExportKind { Png, Svg, Csv };

/// The map of `layout` as the designer's picture shows it after a design run:
/// the outline of the nominal wafer and the dies, on white, `side` pixels
/// square for the picture's 5.25 inches; with a `program`, its cut path over
/// it (drawMapPicture). An image that cannot be allocated throws
/// std::bad_alloc, a picture that cannot be drawn map::DrawingFailed.
QImage mapImage(const WaferLayout& layout, int side = MapPictureSide, const Program* program = nullptr);

/// The same map as a PNG file's bytes, or as an SVG document (the map drawn as
/// vectors, `side` user units square). False when the image cannot be encoded
/// or the stream fails; a picture that cannot be drawn throws as for mapImage.
bool writeMapPng(std::ostream& out, const WaferLayout& layout, int side = MapPictureSide,
                 const Program* program = nullptr);
bool writeMapSvg(std::ostream& out, const WaferLayout& layout, int side = MapPictureSide,
                 const Program* program = nullptr);

/// The image kind of a file name by its extension, in any case («.png»,
/// «.SVG»); none for another extension or none.
std::optional<ExportKind> imageKindOf(const std::filesystem::path& path);

/// An export refused or failed: the message box's prompt and title (shown
/// with the exclamation icon).
struct ExportFailure {
    std::string prompt;
    std::string title;
};
/// The export stopped by its cancel flag; nothing was changed.
struct ExportCancelled {};
struct ExportDone {};
using ExportOutcome = std::variant<ExportDone, ExportCancelled, ExportFailure>;

/// Where a chosen image goes: the path as chosen when its extension names a
/// kind, else with the extension of the filter chosen («.svg» when
/// `svgChosen`); refused for another extension.
struct ImageTarget {
    std::filesystem::path path;
    ExportKind kind = ExportKind::Png;
};
std::variant<ImageTarget, ExportFailure> imageTarget(const std::filesystem::path& chosen, bool svgChosen);

/// A file name to suggest for an export of `layout`: shape and die size, then
/// `extension` («Hexagon_50mil.png»); characters that a file name should not
/// hold become "_".
std::string exportFileName(const WaferLayout& layout, const std::string& extension);

/// About how many bytes the export of `kind` of `layout` writes: the CSV's
/// lines row by row (costing the rows, not the dies); 0 for an image, which
/// stays small.
std::uint64_t estimatedExportBytes(const WaferLayout& layout, ExportKind kind);

/// Exports above this many bytes are asked about first.
inline constexpr std::uint64_t LargeExportBytes = 100'000'000;

/// The question asked before an export of about `bytes` bytes: its size and
/// about how long writing it takes; nothing for an export of LargeExportBytes
/// or less.
std::optional<std::string> largeExportQuestion(std::uint64_t bytes);

/// Writes `kind` of `layout` to `path`, replacing a file there. While a CSV
/// is written, `going`, when given, is told the bytes written every few ten
/// kilobytes; once it says false, the export stops.
ExportOutcome exportLayout(const std::filesystem::path& path, const WaferLayout& layout, ExportKind kind,
                           const std::function<bool(std::uint64_t written)>& going = {});

} // namespace kerf::map

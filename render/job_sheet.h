// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <memory>
#include <memory_resource>
#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include <QPainter>
#include <QRectF>

#include "die_maps/die_bins.h"
#include "job/job.h"
#include "layout/layout_results.h"
#include "layout/wafer_layout.h"
#include "program/check/cut_check.h"
#include "program/reader/program_file.h"
#include "program/reader/program_reader.h"
#include "program/reader/program_settings.h"

namespace kerf::map {

// The job sheet: one A4 page for the operator beside the machine, in
// Traditional Chinese. It names the job, the designer's values and results,
// the machine parameters, the program (file, size, lines, date, SHA-256), the
// check's verdict with its counts and the machine time, and draws the wafer
// map with the program's cut path as the preview draws it.

/// The program a sheet describes: a file as read, or the program the start
/// button would write now (no folder, no date).
struct SheetProgram {
    std::string name;   // «JOBA.TXT»
    std::string folder; // empty: written now, not saved
    std::pmr::string text; // its bytes
    std::shared_ptr<const Program> program;
    std::optional<std::time_t> modified;
};

/// Everything a sheet shows.
struct JobSheet {
    std::string jobFile; // the job's file name; empty without one
    bool jobChanged = false; // the job differs from its file, or has none: it is not saved
    Job job;             // every key filled
    std::shared_ptr<const WaferLayout> layout;
    LayoutResults results;
    std::optional<SheetProgram> program;
    ProgramSettings settings; // the machine values the program sets
    std::string noProgram; // why no program is described, when none is
    std::optional<CutReport> report;
    std::optional<DieBins> bins; // of a binned wafer map read back, if any
    /// The program it was compared with and the result («與 B.TXT 相同»); empty: none.
    std::string comparedWith;
    std::time_t printed = 0;
};

/// A program file as a sheet describes it.
SheetProgram sheetProgram(ProgramFile file);

/// The program the start button would write now for `layout` with the
/// generation boxes `texts` (today's date), or why it would not be written.
std::variant<SheetProgram, std::string> programWrittenNow(const WaferLayout& layout, const GenerationTexts& texts);

/// A program not saved in a file, named `name`, from its text; why it is no
/// program when it is none.
std::variant<SheetProgram, std::string> unsavedProgram(std::string name, std::string text);

/// The sheet of a designed job and of `program`, or of no program for the
/// reason given.
JobSheet jobSheet(std::string jobFile, const Job& job, const WaferLayout& layout,
                  std::variant<SheetProgram, std::string> program);

/// The sheet of a designed job: its results, the program (a file's, or else
/// the one written now) checked against the layout, printed now. The machine
/// values are the program's own, the job's beside them where they differ.
JobSheet jobSheet(std::string jobFile, const Job& job, const WaferLayout& layout,
                  std::optional<ProgramFile> programFile = std::nullopt);

/// The SHA-256 of `bytes`, 64 lower-case hexadecimal digits.
std::string sha256Text(std::string_view bytes);

/// Draws the sheet on `painter` into `page` (device pixels of a device of
/// `dotsPerInch`): texts as text; the map with the cut path as one image at
/// the device's resolution (at most 300 dpi), the path over the dies pixel for
/// pixel as the preview draws it; a map without a program as vectors while
/// the layout is small enough.
void drawJobSheet(QPainter& painter, const QRectF& page, int dotsPerInch, const JobSheet& sheet);

/// The sheet as a one-page A4 PDF document (fonts embedded, 300 dpi); false
/// when the stream fails.
bool writeJobSheetPdf(std::ostream& out, const JobSheet& sheet);

} // namespace kerf::map

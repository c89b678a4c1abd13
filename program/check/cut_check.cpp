// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/cut_check.h"

#include <map>
#include <new>

#include "program/check/internal/check_state.h"
#include "program/check/shapes/circle_cuts.h"
#include "program/check/internal/die_tally.h"
#include "program/check/shapes/hexagon_cuts.h"
#include "program/check/internal/literal_matching.h"
#include "program/check/internal/report_assembly.h"
#include "program/check/internal/run_matching.h"
#include "program/check/internal/shape_check.h"
#include "program/check/internal/work_bound.h"
#include "program/check/shapes/square_cuts.h"

namespace kerf {

namespace {

using namespace cutcheck;

/// Runs the program through a shape's check (by runs, or motion by motion
/// when `literal`), then counts its dies. False, with nothing counted, when
/// the runs cannot be matched as they come and the program is to be run
/// motion by motion.
template <ShapeCheck Shape>
bool check(const Program& program, const WaferLayout& layout, CheckState& state, bool literal)
{
    CutReport& report = state.report;
    Shape shape(layout, state);
    report.dies = shape.dies();
    const std::uint64_t total = program.expandedMotions() + static_cast<std::uint64_t>(report.dies);
    RunSummary run;
    if (literal) {
        LiteralMatching<Shape> matching(shape, state, total);
        run = runProgram(program, matching);
        matching.finish();
    } else {
        RunMatching<Shape> matching(shape, state, total);
        run = runProgramRuns(program, matching);
        if (matching.needsLiteralRun())
            return false;
        matching.finish();
    }
    recordRun(state, run);
    if (!runComplete(report))
        return true;
    // Without a pass count given, the dies say it: a first look counts them
    // by their fewest cuts.
    std::map<std::uint64_t, std::int64_t> diesByCuts;
    if (!state.options.passes) {
        DieTally survey(state);
        shape.finish(1, survey);
        report.uncutEdges = 0;
        diesByCuts = survey.diesByCuts();
    }
    settlePasses(state, diesByCuts);
    DieTally tally(state, run.motions, total);
    shape.finish(report.passes, tally);
    return true;
}

/// The keep-out lines of the layout's flats, past which a cut is outside.
std::vector<KeepOutLine> keepOut(const WaferLayout& layout)
{
    return keepOutLines(layout.flats, layout.WaferDiameter, layout.EffectiveRadius);
}

/// The check by runs, else motion by motion within its bound.
template <ShapeCheck Shape>
void check(const Program& program, const WaferLayout& layout, CutReport& report, const CutCheckOptions& options)
{
    if (!options.literal) {
        CheckState state(report, options, layout.EffectiveRadius, keepOut(layout));
        if (check<Shape>(program, layout, state, false))
            return;
        report = CutReport{};
        report.shape = layout.shape;
        if (program.expandedSteps() > MostLiteralSteps) {
            report.unchecked = Unchecked::TooLarge;
            return;
        }
    }
    CheckState state(report, options, layout.EffectiveRadius, keepOut(layout));
    check<Shape>(program, layout, state, true);
}

} // namespace

CutReport checkCuts(const Program& program, const WaferLayout& layout, const CutCheckOptions& options)
{
    CutReport report;
    report.shape = layout.shape;
    try {
        switch (layout.shape) {
        case DieShape::Circle: check<CircleCuts>(program, layout, report, options); break;
        case DieShape::Hexagon: check<HexagonCuts>(program, layout, report, options); break;
        case DieShape::Square: check<SquareCuts>(program, layout, report, options); break;
        }
    } catch (const std::bad_alloc&) {
        // What the check holds is freed on the way out; the figures say nothing.
        report = CutReport{};
        report.shape = layout.shape;
        report.unchecked = Unchecked::OutOfMemory;
    }
    return report;
}

std::variant<CutReport, ProgramError> checkProgramText(std::string_view text, const WaferLayout& layout,
                                                       const CutCheckOptions& options)
{
    auto parsed = parseProgram(text);
    if (auto* error = std::get_if<ProgramError>(&parsed))
        return std::move(*error);
    return checkCuts(std::get<Program>(parsed), layout, options);
}

} // namespace kerf

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QColor>
#include <QImage>

#include "program/reader/program_reader.h"
#include "program/reader/program_runs.h"
#include "render/map_view.h"
#include "layout/wafer_layout.h"

namespace kerf::map {

// The cut path of a program for the preview. The program is run by its
// structure: each run (a motion and its equal copies at a fixed step) is one
// unit of the walk, and the runs, in the order the runner hands them over and
// with retraced passes left out, are grouped into at most a bounded number of
// steps; a slider walks the steps. Each view is drawn once into two layers
// that hold, per pixel, the first step whose cut (or laser-off move) passes
// over it. Drawing a view loops only over the copies that fall in it, and
// over copies closer than a pixel only as far as the pixels they cover, so it
// costs the view's pixels and the program's runs, not its motions. Showing
// the path after any number of steps then costs the pixels of the picture.

/// The colours of the path: cuts, and laser-off moves (thin, dashed).
inline const QColor CutColour{0, 0, 255};
inline const QColor TravelColour{96, 96, 96};

/// The steps a slider walks: how many runs each holds, where the head is and
/// how many motions are made after each. They depend on the program only,
/// not on the view.
struct CutPathSteps {
    /// The most steps a program is divided into.
    static constexpr std::uint32_t MaxSteps = 1u << 16;

    std::uint64_t runsPerStep = 1;
    /// The head after 0, 1, …, count() steps, in program inches (Y up); the
    /// first is the origin. After a step the head is at the end of the last
    /// copy of the step's last run.
    std::vector<ProgramPoint> headAfter{ProgramPoint{}};
    /// The motions the machine has made after 0, 1, …, count() steps.
    std::vector<std::uint64_t> motionsAfter{0};
    /// The runs drawn (those not retracing a pass already drawn).
    std::uint64_t runs = 0;

    std::uint32_t count() const { return static_cast<std::uint32_t>(headAfter.size() - 1); }
};

/// How the path is matched to the map that it lies over.
struct CutPathMatch {
    /// How far, in inches, a cut may lie from the edge it cuts: where it spans
    /// pixels, cuts are drawn as wide as it on both sides.
    double edgeTolerance = 0;
    /// Round dies: a whole-turn cut of `dieRadius` (within `matchTolerance`,
    /// the check's own) cuts the die whose centre lies `arcToDie` from its
    /// own, and is drawn about that die, so that a die the check counts as
    /// cut is drawn as cut.
    double dieRadius = 0;
    ProgramPoint arcToDie;
    double matchTolerance = 5e-5;
};

/// The match for programs of `layout`: round dies are cut half the fine-tune
/// left of their centres.
CutPathMatch cutPathMatch(const WaferLayout& layout, double edgeTolerance = 0);

/// A view of the cut path: the two layers (device pixels of the view, with its
/// device-pixel ratio). A pixel holds 0 where nothing passes, else 0xFF000000
/// plus 1 + the first step passing over it.
struct CutPathLayers {
    MapView view;
    QImage cuts;
    QImage travel;
    CutPathSteps steps;
    /// False when the drawing was cancelled; the layers are then partial.
    bool complete = false;
    /// The program runs past the runner's bounds: only its start is drawn.
    bool beyondBounds = false;
};

/// Reports the share done (0 to 1); returns false to cancel.
using CutPathProgress = std::function<bool(double done)>;

/// Runs `program` and draws its path for `view` at `devicePixelRatio`, in the
/// picture's inches (a program point (x, y) is at (CenterX + x, CenterY − y)),
/// to lie over the map that drawWaferMap draws for the same view.
/// Cuts are drawn one pixel wide as the wafer map draws its dies, so a cut
/// along a die edge covers that edge's pixels (see CutPathMatch for the
/// tolerance and round dies). Laser-off moves are dashed. `progress` is called
/// every few hundred runs.
CutPathLayers drawCutPathLayers(const Program& program, const MapView& view, qreal devicePixelRatio,
                                const CutPathProgress& progress = {}, const CutPathMatch& match = {});

/// The path after `doneSteps` steps, as the operator sees it over the map:
/// CutColour where a done step cuts, TravelColour where a done laser-off
/// move passes (cuts in front), transparent elsewhere. Same size and ratio as
/// the layers.
QImage cutPathOverlay(const CutPathLayers& layers, std::uint32_t doneSteps);

/// A program point in picture inches.
inline QPointF pictureInches(const ProgramPoint& point)
{
    return {CenterX + point.x, CenterY - point.y};
}

} // namespace kerf::map

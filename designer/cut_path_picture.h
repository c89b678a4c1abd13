#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QColor>
#include <QImage>

#include "codegen/program_reader.h"
#include "designer/map_view.h"

namespace kerf::map {

// The cut path of a program for the preview. The motions of a run, in machine
// order and with retraced passes left out, are grouped into at most a bounded
// number of steps; a slider walks the steps. Each view is drawn once into two
// layers that hold, per pixel, the first step whose cut (or laser-off move)
// passes over it. Showing the path after any number of steps then costs the
// pixels of the picture, whatever the number of motions.

/// The colours of the path: cuts, and laser-off moves (thin, dashed).
inline const QColor CutColour{0, 0, 255};
inline const QColor TravelColour{96, 96, 96};

/// The steps a slider walks: how many motions each holds and where the head
/// is after each. They depend on the program only, not on the view.
struct CutPathSteps {
    /// The most steps a program is divided into.
    static constexpr std::uint32_t MaxSteps = 1u << 16;

    std::uint64_t motionsPerStep = 1;
    /// The head after 0, 1, …, count() steps, in program inches (Y up); the
    /// first is the origin.
    std::vector<ProgramPoint> headAfter{ProgramPoint{}};
    /// The motions drawn (those not retracing a pass already drawn).
    std::uint64_t motions = 0;

    std::uint32_t count() const { return static_cast<std::uint32_t>(headAfter.size() - 1); }
};

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
};

/// Reports the share done (0 to 1); returns false to cancel.
using CutPathProgress = std::function<bool(double done)>;

/// Runs `program` and draws its path for `view` at `devicePixelRatio`, in the
/// picture's inches (a program point (x, y) is at (CenterX + x, CenterY − y)),
/// to lie over the map that drawWaferMap draws for the same view.
/// Cuts are drawn one pixel wide as the wafer map draws its dies, so a cut
/// along a die edge covers that edge's pixels; where `edgeTolerance` (how far,
/// in inches, a cut may lie from the edge it cuts) spans pixels, they are as
/// wide as it on both sides. Laser-off moves are dashed. Motions outside the
/// view cost only their test. `progress` is called every few ten thousand
/// motions.
CutPathLayers drawCutPathLayers(const Program& program, const MapView& view, qreal devicePixelRatio,
                                const CutPathProgress& progress = {}, double edgeTolerance = 0);

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

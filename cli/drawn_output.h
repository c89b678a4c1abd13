// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

#include "render/drawing_failure.h"

namespace kerf::cli {

/// The status of `draw`, a command that draws a picture and writes it. A
/// picture that cannot be drawn is no picture: its reason on `err` and
/// status 1; the output, replaced in one step, stays as it was.
template <class Draw>
int drawnOutput(Draw&& draw, std::ostream& err)
{
    try {
        return draw();
    } catch (const map::DrawingFailed& failure) {
        err << failure.what() << '\n';
        return 1;
    }
}

} // namespace kerf::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kerf::cli {

/// Readies Qt for drawing images without a display, before the drawing
/// commands create their application: the offscreen platform whatever the
/// environment asks for (a display may be named and not be there), and Qt's
/// own notes and warnings kept off standard error, where only the command's
/// messages go (a failed drawing is said by the command itself).
void prepareOffscreenQt();

} // namespace kerf::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kerf::cli {

/// Makes sure a Qt GUI application exists for the commands that draw
/// (without a window, on the offscreen platform).
void ensureGuiApplication();

} // namespace kerf::cli

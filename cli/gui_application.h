#pragma once

namespace kerf::cli {

/// Makes sure a Qt GUI application exists for the commands that draw
/// (without a window: the offscreen platform unless the caller chose another).
void ensureGuiApplication();

} // namespace kerf::cli

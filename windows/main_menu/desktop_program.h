// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kerf::ui {

/// The desktop program from its command line to the end of its event loop:
/// help, the version and a usage error (status 2) answered before a display
/// is opened; without a display or the memory to start, a message in
/// Traditional Chinese and status 1; else the main menu, with the job and the
/// program file given opened once the event loop runs.
int runDesktopProgram(int argc, char* argv[]);

} // namespace kerf::ui

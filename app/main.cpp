// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/main_menu/desktop_program.h"

int main(int argc, char* argv[]) { return kerf::ui::runDesktopProgram(argc, argv); }

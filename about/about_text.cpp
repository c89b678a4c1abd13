// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/about_text.h"

namespace kerf {

std::string_view programVersion() { return KERF_VERSION; }

std::string aboutText(std::string_view program)
{
    return std::string(program) + " " + std::string(programVersion()) + "\n"
           "Copyright (C) 2026 Kerfwright 開發團隊\n"
           "授權條款：GNU 通用公共授權條款第 3 版或任何更新的版本（GPL-3.0-or-later）\n"
           "<https://www.gnu.org/licenses/gpl-3.0.html>。\n"
           "這是自由軟體：您可以自由修改與再散布。在法律許可的範圍內，不提供任何擔保。\n";
}

} // namespace kerf

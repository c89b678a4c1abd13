// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/flat_options.h"

namespace kerf::cli {

void addFlatOptions(CLI::App& app, JobFlats& flats)
{
    addTextOption(app, "--flat", flats.length, "MM", "主平邊長度（公釐；空白或 0 為沒有平邊）");
    addTextOption(app, "--flat-at", flats.at, "DEG", "主平邊角度（度，自 3 點鐘方向逆時針；預設 270，即 6 點鐘）");
    addTextOption(app, "--second-flat", flats.secondLength, "MM", "次平邊長度（公釐）");
    addTextOption(app, "--second-at", flats.secondAt, "DEG", "次平邊角度（度；有次平邊時必須給）");
}

} // namespace kerf::cli

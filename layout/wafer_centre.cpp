// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/wafer_centre.h"

namespace kerf {

const LayoutPoint& waferCentre()
{
    static const LayoutPoint centre{Decimal::fromSingle(CenterX), Decimal::fromSingle(CenterY)};
    return centre;
}

} // namespace kerf

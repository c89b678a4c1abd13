// SPDX-License-Identifier: GPL-3.0-or-later
#include "cutting_order.h"

#include <stdexcept>

namespace kerf {

std::vector<int> cuttingOrder(const LayoutTable& table)
{
    const int last = table.upperBound();
    if (last < 1)
        throw std::invalid_argument("a layout table without records has no program");
    const int top = table.half();
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(last));
    for (int record = top; record >= 1; --record)
        order.push_back(record);
    for (int record = top + 1; record <= last; ++record)
        order.push_back(record);
    return order;
}

} // namespace kerf

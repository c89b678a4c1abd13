// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/die_csv.h"

#include "layout/die_centres.h"

namespace kerf {

void writeDieCsv(std::ostream& out, const WaferLayout& layout)
{
    out << "row,die,x,y\n";
    forEachDieCentre(layout, [&out](const DieCentre& die) {
        out << die.row << ',' << die.die << ',' << die.x.text() << ',' << die.y.text() << '\n';
    });
}

} // namespace kerf

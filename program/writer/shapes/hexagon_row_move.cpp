// SPDX-License-Identifier: GPL-3.0-or-later
#include "hexagon_row_move.h"

namespace kerf {
namespace {

// A point in multiples of a (X) and h (Y), from the centre of a row's
// leftmost die.
struct Offset {
    int x = 0;
    int y = 0;
};

// Where a row cut left to right starts, by its die-count difference to the
// row cut after it: the bottom corner of the leftmost die when it is 1, of
// die k + 1 when k dies get end cuts, else the lower-left corner.
Offset leftEntry(int diff)
{
    if (diff == 1)
        return {0, -2};
    if (const int k = endCutDies(diff); k > 0)
        return {2 * k, -2};
    return {-1, -1};
}

// The same point seen from the row's other end.
Offset mirrored(Offset p, int dies)
{
    return {2 * (dies - 1) - p.x, p.y};
}

std::string moveBetweenEndAndStart(const HexagonSteps& steps, RowParity parity, const RowMoveCounts& counts)
{
    const int diff = counts.cut - counts.next;
    const int nextDiff = counts.afterNext ? counts.next - *counts.afterNext : 0;
    const bool odd = parity == RowParity::Odd;
    const Offset end = odd ? mirrored(leftEntry(diff), counts.cut) : leftEntry(diff);
    const Offset start = odd ? mirrored(leftEntry(nextDiff), counts.next) : leftEntry(nextDiff);
    // Centred rows: the next row's leftmost die lies diff × a to the right, 3h lower.
    return steps.move(diff + start.x - end.x, -3 + start.y - end.y);
}

} // namespace

std::string WriteHexagonRowMove(const HexagonSteps& steps, RowParity parity, const RowMoveCounts& counts)
{
    const int A = counts.cut - counts.next;
    const int B = counts.afterNext ? counts.cut - *counts.afterNext : 0;
    const int M = B - A;
    const int sign = parity == RowParity::Odd ? -1 : 1;
    if (A > 0 && B <= 0)
        return steps.move(0, -2);
    if (A > 0 && B > 0 && M >= 1)
        return steps.move(sign * M, -3);
    if (A < 0 && B == 0)
        return steps.move(0, -4);
    if (A < 0 && B < 0 && M <= 0)
        return steps.move(sign * A, -3);
    return moveBetweenEndAndStart(steps, parity, counts);
}

} // namespace kerf

// SPDX-License-Identifier: GPL-3.0-or-later
// The layouts search each row's count; walking every probe must give the same
// tables, to the last digit and number kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/design_helpers.h"
#include "layout/die_layouts.h"
#include "tests/layout/literal_walk.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

struct Case {
    std::string wafer;
    std::string die;
    std::string gap;
    std::string effective; // empty: the size's own
};

std::vector<Case> cases()
{
    std::vector<Case> all;
    const std::vector<std::string> dies = {"10", "13", "20", "26", "33.3", "47", "50", "64", "99.9", "100",
                                           "128", "175", "250", "333", "400", "512", "777", "1000", "1500",
                                           "1899", "2000"};
    for (auto wafer : WaferSizeItems)
        for (const auto& die : dies)
            all.push_back({std::string(wafer), die, "", ""});
    // Fine-tunes, effective diameters equal to the wafer, and diameters that
    // are whole multiples of the die (dies that touch the circle exactly).
    for (const char* gap : {"0", "0.5", "2", "7.25"})
        all.push_back({"3.0 Inches", "50", gap, ""});
    for (const char* effective : {"2", "1.5", "1.2", "0.6", "0.3", "0.25", "0.2", "1.7320508"})
        for (const char* die : {"100", "50", "25", "200"})
            all.push_back({"2.0 Inches", die, "", effective});
    // Small dies, where rows are long.
    for (const char* die : {"1", "2", "3.5", "5"})
        all.push_back({"2.0 Inches", die, "", ""});
    return all;
}

const char* effectiveOf(const Case& c)
{
    return c.effective.empty() ? nullptr : c.effective.c_str();
}

WaferLayout stripped(const WaferLayout& layout)
{
    WaferLayout inputs = layout;
    inputs.RowTable = {};
    inputs.ColumnTable = {};
    inputs.DiePitch = inputs.RowPitch = inputs.HexHalfSide = Number();
    return inputs;
}

void expectSameTable(const LayoutTable& searched, const LayoutTable& walked, const std::string& what)
{
    ASSERT_EQ(searched.upperBound(), walked.upperBound()) << what;
    for (int i = 1; i <= walked.upperBound(); ++i)
        ASSERT_EQ(searched[i], walked[i]) << what << " record " << i << ": count " << searched[i].DieCount
                                          << " vs " << walked[i].DieCount << ", PosX " << searched[i].PosX.text()
                                          << " vs " << walked[i].PosX.text();
}

} // namespace

TEST(SearchMatchesWalk, CircleRows)
{
    for (const Case& c : cases()) {
        for (const std::string& gap : {c.gap, std::string("2")}) {
            const DesignOutcome outcome = design(c.wafer, "Circle", c.die, gap, effectiveOf(c));
            if (std::holds_alternative<Refusal>(outcome))
                continue; // a die as large as the effective diameter
            const Design& d = std::get<Design>(outcome);
            WaferLayout walked = stripped(d.layout);
            literalCircleDies(walked);
            expectSameTable(d.layout.RowTable, walked.RowTable, c.wafer + " " + c.die + " gap " + gap);
            EXPECT_EQ(d.layout.RowPitch, walked.RowPitch);
        }
    }
}

TEST(SearchMatchesWalk, HexagonRows)
{
    for (const Case& c : cases()) {
        const DesignOutcome outcome = design(c.wafer, "Hexagon", c.die, c.gap, effectiveOf(c));
        if (std::holds_alternative<Refusal>(outcome))
            continue; // not even the centre hexagon fits: checked elsewhere
        const Design& d = std::get<Design>(outcome);
        WaferLayout walked = stripped(d.layout);
        literalHexagonDies(walked);
        expectSameTable(d.layout.RowTable, walked.RowTable, c.wafer + " " + c.die);
        EXPECT_EQ(d.layout.HexHalfSide, walked.HexHalfSide);
    }
}

TEST(SearchMatchesWalk, SquareRowsAndColumns)
{
    for (const Case& c : cases()) {
        const DesignOutcome outcome = design(c.wafer, "Square", c.die, c.gap, effectiveOf(c));
        if (std::holds_alternative<Refusal>(outcome))
            continue;
        const Design& d = std::get<Design>(outcome);
        WaferLayout walked = stripped(d.layout);
        literalSquareRows(walked);
        literalSquareColumns(walked);
        expectSameTable(d.layout.RowTable, walked.RowTable, c.wafer + " " + c.die + " rows");
        expectSameTable(d.layout.ColumnTable, walked.ColumnTable, c.wafer + " " + c.die + " columns");
    }
}

TEST(SearchMatchesWalk, SimulatorColumns)
{
    for (const Case& c : cases()) {
        const WaferSizeChoice size = chooseWaferSize(c.wafer, 0);
        const SimulationOutcome outcome =
            runSimulation({c.die, c.effective.empty() ? size.effectiveText : c.effective, size.WaferDiameter});
        if (std::holds_alternative<Refusal>(outcome))
            continue;
        const Simulation& s = std::get<Simulation>(outcome);
        SimulationLayout walked = s.layout;
        walked.RowTable = {};
        literalSimHexagons(walked);
        expectSameTable(s.layout.RowTable, walked.RowTable, c.wafer + " " + c.die);
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "die_maps/e142_writer.h"
#include "die_maps/sinf_reader.h"
#include "die_maps/sinf_writer.h"
#include "layout/die_centres.h"
#include "tests/support/design_helpers.h"
#include "tests/support/temporary_folder.h"

#ifdef KERF_WITH_XML_JUDGE
#include <QXmlStreamReader>
#endif

using namespace kerf;
using namespace kerf::testing;

namespace {

MapGrid gridOf(const WaferLayout& layout)
{
    auto grid = mapGridOf(layout);
    if (auto* refusal = std::get_if<MapGridRefusal>(&grid))
        ADD_FAILURE() << refusal->message;
    return std::get<MapGrid>(std::move(grid));
}

std::string sinfOf(const WaferLayout& layout, const MapHeader& header = {})
{
    std::ostringstream out;
    writeSinf(out, gridOf(layout), header);
    return out.str();
}

/// A SINF text taken apart the plain way: header values and the rows' codes.
struct SinfText {
    std::map<std::string, std::string> header;
    std::vector<std::vector<std::string>> rows;
};

SinfText split(const std::string& text)
{
    SinfText sinf;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const std::string key = line.substr(0, line.find(':'));
        const std::string value = line.substr(key.size() + 1);
        if (key != "RowData") {
            sinf.header[key] = value;
            continue;
        }
        std::istringstream codes(value);
        sinf.rows.emplace_back();
        for (std::string code; codes >> code;)
            sinf.rows.back().push_back(code);
    }
    return sinf;
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

const char* const HexagonExample = "DEVICE:HEX400\nLOT:L01\nWAFER:07\nFNLOC:180\nROWCT:3\nCOLCT:5\nBCEQU:01\n"
                                   "REFPX:2\nREFPY:1\nDUTMS:mil\nXDIES:200\nYDIES:346.41\n"
                                   "RowData:__ 01 __ 01 __\nRowData:01 __ 01 __ 01\nRowData:__ 01 __ 01 __\n";

WaferLayout hexagonExample()
{
    return designedLayout("2.0 Inches", "Hexagon", "400", "", "1.5");
}

} // namespace

TEST(DieMaps, SmallHexagonLayoutInHalfPitchColumns)
{
    EXPECT_EQ(sinfOf(hexagonExample(), {"HEX400", "L01", "07"}), HexagonExample);
}

TEST(DieMaps, SquaresPutOneDiePerCellAndReferTheCellBelowRightOfTheCentre)
{
    // 250-mil squares in 0.72 inches: four cells around the centre.
    const SinfText sinf = split(sinfOf(designedLayout("2.0 Inches", "Square", "250", "", "0.72")));
    EXPECT_EQ(sinf.header.at("XDIES"), "250");
    EXPECT_EQ(sinf.header.at("REFPX") + "," + sinf.header.at("REFPY"), "1,1");
    EXPECT_EQ(sinf.rows, (std::vector<std::vector<std::string>>{{"01", "01"}, {"01", "01"}}));
}

// Every die of a random layout sits in its own cell, at its centre up to one
// translation, and the map reads back with every die good.
TEST(DieMaps, RandomLayoutsRoundTrip)
{
    std::mt19937 random(31);
    const char* shapes[] = {"Circle", "Hexagon", "Square"};
    for (int round = 0; round < 60; ++round) {
        const std::string shape = shapes[round % 3];
        const std::string wafer(WaferSizeItems[static_cast<std::size_t>(round / 3) % WaferSizeItems.size()]);
        const std::string die = std::to_string(std::uniform_int_distribution(40, 900)(random) / 3.0);
        const std::string gap = std::to_string(std::uniform_int_distribution(0, 40)(random) / 4.0);
        const Design design = designed(wafer, shape, die, gap);
        const std::string text = sinfOf(design.layout);
        const SinfText sinf = split(text);
        SCOPED_TRACE(shape + " " + wafer + " " + die + " " + gap);

        const double xStep = std::stod(sinf.header.at("XDIES"));
        const double yStep = std::stod(sinf.header.at("YDIES"));
        std::vector<std::pair<double, double>> cells;
        for (std::size_t row = 0; row < sinf.rows.size(); ++row) {
            ASSERT_EQ(std::to_string(sinf.rows[row].size()), sinf.header.at("COLCT"));
            for (std::size_t column = 0; column < sinf.rows[row].size(); ++column)
                if (sinf.rows[row][column] == "01")
                    cells.emplace_back(double(column) * xStep, -double(row) * yStep);
                else
                    ASSERT_EQ(sinf.rows[row][column], "__");
        }
        std::vector<std::pair<double, double>> centres;
        forEachDieCentre(design.layout, [&](const DieCentre& d) { centres.emplace_back(d.x.toDouble() * 1000, d.y.toDouble() * 1000); });
        ASSERT_EQ(std::to_string(cells.size()), design.results.dies);
        ASSERT_EQ(cells.size(), centres.size());
        const double dx = centres[0].first - cells[0].first, dy = centres[0].second - cells[0].second;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            ASSERT_NEAR(cells[i].first + dx, centres[i].first, 1e-4) << i;
            ASSERT_NEAR(cells[i].second + dy, centres[i].second, 1e-4) << i;
        }
        // The reference cell is the die at the wafer centre (squares: the one below right).
        const double half = shape == "Square" ? xStep / 2 : 0;
        EXPECT_NEAR(std::stod(sinf.header.at("REFPX")) * xStep + dx, half, 1e-4);
        EXPECT_NEAR(-std::stod(sinf.header.at("REFPY")) * yStep + dy, -half, 1e-4);

        const auto bins = parseSinfBins(text, gridOf(design.layout), "map.sinf");
        ASSERT_TRUE(std::holds_alternative<DieBins>(bins)) << std::get<MapRefusal>(bins).message;
        EXPECT_EQ(std::to_string(std::get<DieBins>(bins).good), design.results.dies);
        EXPECT_EQ(std::get<DieBins>(bins).bad, 0);
    }
}

TEST(DieMaps, BadDiesReadBackWithTheirCodes)
{
    // Codes in lower case, good codes listed with a comma, CR LF line ends.
    std::string text = replaced(HexagonExample, "BCEQU:01", "BCEQU:01,0a");
    text = replaced(text, "RowData:__ 01 __ 01 __\nRowData:01 __ 01 __ 01", "RowData:__ 0c __ 0A __\r\nRowData:FF __ 01 __ 0C");
    const auto read = parseSinfBins(text, gridOf(hexagonExample()), "map.sinf");
    ASSERT_TRUE(std::holds_alternative<DieBins>(read)) << std::get<MapRefusal>(read).message;
    const DieBins& bins = std::get<DieBins>(read);
    EXPECT_EQ(bins.good, 4);
    EXPECT_EQ(bins.bad, 3);
    EXPECT_EQ(bins.codes, (std::map<std::string, std::int64_t>{{"01", 3}, {"0A", 1}, {"0C", 2}, {"FF", 1}}));
    EXPECT_EQ(bins.badDies, (std::vector<BadDie>{{1, 1}, {2, 1}, {2, 3}}));
}

struct RefusedMap {
    const char* name;
    std::string from;
    std::string to;
    const char* message;
};

class RefusedMaps : public ::testing::TestWithParam<RefusedMap> {};

TEST_P(RefusedMaps, NameTheLineAndWhatIsWrong)
{
    const RefusedMap& c = GetParam();
    const std::string text = c.from.empty() ? c.to : replaced(HexagonExample, c.from, c.to);
    const auto read = parseSinfBins(text, gridOf(hexagonExample()), "m.sinf");
    ASSERT_TRUE(std::holds_alternative<MapRefusal>(read)) << c.name;
    EXPECT_EQ(std::get<MapRefusal>(read).message, std::string("晶圓圖 m.sinf：") + c.message) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    DieMaps, RefusedMaps,
    ::testing::Values(
        RefusedMap{"empty", "", "\n\n", "是空的，不是 SINF 晶圓圖。"},
        RefusedMap{"not SINF", "", "<html>\n", "第 1 行不是 SINF 晶圓圖的一行（應為「名稱:值」或 RowData:）。"},
        RefusedMap{"no rows header", "ROWCT:3\n", "", "到第 12 行為止沒有標頭 ROWCT：不是 SINF 晶圓圖，或少了這一項。"},
        RefusedMap{"repeated", "LOT:L01", "LOT:L01\nLOT:L02", "第 3 行：標頭 LOT 重複出現。"},
        RefusedMap{"other rows", "ROWCT:3", "ROWCT:4", "第 5 行：這不是同一個佈局的晶圓圖：ROWCT 是 4，這個佈局有 3 列。"},
        RefusedMap{"other step", "XDIES:200", "XDIES:201", "第 11 行：這不是同一個佈局的晶圓圖：XDIES 是 201 mil，這個佈局是 200 mil。"},
        RefusedMap{"unit", "DUTMS:mil", "DUTMS:um", "第 10 行：DUTMS 應為 mil 或 mm。"},
        RefusedMap{"width", "01 __ 01 __ 01", "01 __ 01 __", "第 14 行有 4 個代碼，COLCT 是 5。"},
        RefusedMap{"code", "01 __ 01 __ 01", "01 __ 01 __ G1", "第 14 行第 5 個代碼「G1」不是 __ 或兩位十六進位數。"},
        RefusedMap{"no die there", "01 __ 01 __ 01", "01 01 01 __ 01", "第 14 行第 2 格：這不是同一個佈局的晶圓圖：這個佈局在此沒有晶粒，圖上卻是「01」。"},
        RefusedMap{"die missing", "01 __ 01 __ 01", "01 __ __ __ 01", "第 14 行第 3 格：這不是同一個佈局的晶圓圖：這個佈局在此有晶粒，圖上卻是 __。"},
        RefusedMap{"too many rows", "", HexagonExample + std::string("RowData:__ 01 __ 01 __\n"), "第 16 行：RowData 比 ROWCT 的 3 行多。"},
        RefusedMap{"too few rows", "", std::string(HexagonExample).substr(0, std::strlen(HexagonExample) - 23), "只有 2 行 RowData，ROWCT 是 3。"},
        RefusedMap{"late header", "", HexagonExample + std::string("LOT:X\n"), "第 16 行：標頭 LOT 應在所有 RowData 之前。"},
        RefusedMap{"good codes", "BCEQU:01", "BCEQU:1", "第 7 行：BCEQU 的代碼「1」不是兩位十六進位數。"}));

TEST(DieMaps, MillimetreStepsAndAHugeFile)
{
    const std::string mm = replaced(replaced(HexagonExample, "DUTMS:mil", "DUTMS:mm"), "XDIES:200", "XDIES:5.08");
    EXPECT_TRUE(std::holds_alternative<MapRefusal>(parseSinfBins(mm, gridOf(hexagonExample()), "m"))); // YDIES still in mil
    const std::string both = replaced(mm, "YDIES:346.41", "YDIES:8.798814");
    EXPECT_TRUE(std::holds_alternative<DieBins>(parseSinfBins(both, gridOf(hexagonExample()), "m")));

    const TemporaryFolder folder;
    const std::filesystem::path huge = folder.path() / "huge.sinf";
    folder.write("huge.sinf", HexagonExample);
    std::filesystem::resize_file(huge, MaxMapFileBytes + 1);
    const auto read = readSinfBins(huge, gridOf(hexagonExample()));
    ASSERT_TRUE(std::holds_alternative<MapRefusal>(read));
    EXPECT_NE(std::get<MapRefusal>(read).message.find("太大"), std::string::npos);
    const auto missing = readSinfBins(folder.path() / "none.sinf", gridOf(hexagonExample()));
    ASSERT_TRUE(std::holds_alternative<MapRefusal>(missing));
    EXPECT_TRUE(std::get<MapRefusal>(missing).unreadable);
}

TEST(DieMaps, GridsTooLargeForAMapAreRefused)
{
    const auto grid = mapGridOf(designedLayout("5.0 Inches", "Circle", "1"));
    ASSERT_TRUE(std::holds_alternative<MapGridRefusal>(grid));
    EXPECT_NE(std::get<MapGridRefusal>(grid).message.find("超過上限 16777216 格"), std::string::npos);
}

TEST(DieMaps, FlatLocationsAndHeaderTexts)
{
    const std::pair<std::optional<double>, int> flats[] = {
        {std::nullopt, 180}, {270.0, 180}, {0.0, 90}, {90.0, 0}, {180.0, 270}, {330.0, 90}, {-90.0, 180}, {100.0, 0}};
    for (const auto& [angle, location] : flats)
        EXPECT_EQ(flatLocationOf(angle), location) << angle.value_or(-1);
    EXPECT_FALSE(mapHeaderFault({"A&B <x>", "L'1", "\"7\""}));
    EXPECT_EQ(mapHeaderFault({"ok", "L\n1", ""}), "LOT 的文字不可含控制字元或換行，且須是正確的 UTF-8 文字。");
    EXPECT_TRUE(mapHeaderFault({"", "", "\xff"}));
}

#ifdef KERF_WITH_XML_JUDGE
TEST(DieMaps, E142IsWellFormedWithOneBinCodeLinePerRow)
{
    std::ostringstream out;
    writeE142(out, gridOf(hexagonExample()), {"A&B <x>", "L'1", "\"7\""});
    QXmlStreamReader xml(QByteArray::fromStdString(out.str()));
    QStringList rows;
    QString product, substrate;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"BinCode")
            rows << xml.readElementText();
        else if (xml.name() == u"ProductId")
            product = xml.readElementText();
        else if (xml.name() == u"Substrate")
            substrate = xml.attributes().value("SubstrateId").toString();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(rows, (QStringList{"__01__01__", "01__01__01", "__01__01__"}));
    EXPECT_EQ(product.toStdString(), "A&B <x>");
    EXPECT_EQ(substrate.toStdString(), "\"7\"");
}
#endif

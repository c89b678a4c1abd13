// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "process_run.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_text.h"
#include "tests/support/temporary_folder.h"

using namespace kerf::testing;

namespace {

const std::vector<std::string> Hexagons = {"--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "600"};

/// A folder with ONE.TXT and TWO.TXT (one and two passes over the seven
/// hexagons of Hexagons), NOTE.TXT (no program) and ARCS.TXT (too large to check).
class Programs : public TemporaryFolder {
public:
    Programs()
    {
        const kerf::WaferLayout layout = designed("2.0 Inches", "Hexagon", "600").layout;
        write("ONE.TXT", programFor(layout, 1));
        write("TWO.TXT", programFor(layout, 2));
        write("NOTE.TXT", "not a program\r\n");
        write("ARCS.TXT", "PN ARCS\r\nDI 1 10000\r\nII\r\nLASON\r\nMA X 0.5 Y 0\r\nOS\r\nSL 1300000000\r\n"
                          "MI X 0.1 ARC 1\r\nEL\r\nCS\r\nOFF\r\nEI\r\n");
    }
    std::vector<std::string> compare(const std::string& a, const std::string& b,
                                     const std::vector<std::string>& more = {}) const
    {
        std::vector<std::string> args = {"compare", a == "-" ? a : file(a), b == "-" ? b : file(b)};
        args.insert(args.end(), Hexagons.begin(), Hexagons.end());
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
};

} // namespace

TEST(CliCompare, ExitsBySameDifferentUnreadableOrUnchecked)
{
    const Programs folder;
    const struct {
        const char* a;
        const char* b;
        int status;
        const char* said; // on stdout for 0 and 1, on stderr else
    } cases[] = {
        {"ONE.TXT", "ONE.TXT", 0, "\n比較結果：相同\n切割遍數：A 1，B 1\n"},
        {"ONE.TXT", "TWO.TXT", 1, "\n比較結果：7 個晶粒不同\n"},
        {"TWO.TXT", "ONE.TXT", 1, "切割次數不同的晶粒：7 個（B 切得較少 7 個，較多 0 個）\n"},
        {"ONE.TXT", "NONE.TXT", 2, "kerfwright-cli: 無法讀取程式檔"},
        {"NOTE.TXT", "ONE.TXT", 2, "kerfwright-cli: "},
        {"-", "-", 2, "kerfwright-cli: 只有一個程式檔可以從標準輸入（-）讀取。\n"},
        {"ONE.TXT", "ARCS.TXT", 3, "kerfwright-cli: 無法比較：程式展開後太大，無法檢查。\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(folder.compare(c.a, c.b));
        EXPECT_EQ(r.status, c.status) << c.a << " " << c.b << r.err;
        EXPECT_NE((c.status <= 1 ? r.out : r.err).find(c.said), std::string::npos) << r.out << r.err;
        if (c.status <= 1) {
            EXPECT_TRUE(r.err.empty()) << r.err;
        }
    }
    EXPECT_EQ(run({"compare", folder.file("ONE.TXT")}).status, 2);
    EXPECT_EQ(run({"compare", folder.file("ONE.TXT"), folder.file("TWO.TXT"), "--wafer", "2.0 Inches"}).status, 2);
}

TEST(CliCompare, JsonHasExactlyItsKeysAndReadsStandardInput)
{
    const Programs folder;
    const ProcessRun r = runProcess(folder.compare("ONE.TXT", "-", {"--json"}), "", folder.file("TWO.TXT"));
    EXPECT_EQ(r.status, 1) << r.err;
    const nlohmann::json json = nlohmann::json::parse(r.out, nullptr, false);
    std::vector<std::string> keys;
    for (const auto& [key, value] : json.items())
        keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<std::string>{"differing", "machineSecondsA", "machineSecondsB", "outsideOnlyA",
                                              "outsideOnlyB", "passesA", "passesB", "same", "strayOnlyA",
                                              "strayOnlyB"}));
    EXPECT_EQ(json["same"], false);
    EXPECT_EQ(json["passesA"], 1);
    EXPECT_EQ(json["passesB"], 2);
    ASSERT_EQ(json["differing"].size(), 7u);
    EXPECT_EQ(json["differing"][0], nlohmann::json::parse(R"({"row": 1, "die": 1, "x": -0.3, "y": 0.519615,
                                                              "a": 1, "b": 2})"));
    EXPECT_EQ(json["strayOnlyA"], nlohmann::json::array());
    EXPECT_GT(json["machineSecondsB"].get<double>(), json["machineSecondsA"].get<double>());
}

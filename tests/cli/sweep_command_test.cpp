// SPDX-License-Identifier: GPL-3.0-or-later
// kerfwright-cli sweep: each line is what design prints for its die size; the
// chart as a PNG. Runs without a display (the command picks the offscreen platform).
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <QImage>
#include <nlohmann/json.hpp>

#include "cli_run.h"

using kerf::testing::CliRun;
using kerf::testing::run;
using kerf::testing::TemporaryFolder;

namespace {

std::vector<std::vector<std::string>> csvLines(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::vector<std::vector<std::string>> lines;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, ',');)
            fields.push_back(field);
        if (!line.empty() && line.back() == ',')
            fields.push_back("");
        lines.push_back(fields);
    }
    return lines;
}

} // namespace

TEST(SweepCommand, EachLineIsWhatDesignGives)
{
    const TemporaryFolder folder;
    const auto csv = (folder.path() / "sweep.csv").string();
    const CliRun sweep = run({"sweep", "--wafer", "2.0 Inches", "--shape", "Circle,Hexagon,Square", "--from", "0.02",
                              "--to", "600", "--steps", "9", "--gap", "1", "--csv", csv});
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    EXPECT_EQ(sweep.out, csv + "\n");
    const auto lines = csvLines(csv);
    ASSERT_EQ(lines.size(), 1u + 27u);
    EXPECT_EQ(lines[0], (std::vector<std::string>{"shape", "die_mil", "rows", "dies", "utilisation_percent", "refusal"}));
    int refused = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto& line = lines[i];
        ASSERT_EQ(line.size(), 6u);
        const CliRun design =
            run({"design", "--wafer", "2.0 Inches", "--shape", line[0], "--die", line[1], "--gap", "1"});
        if (design.status == 0) {
            const std::string results = "\"results\": {\"rows\": \"" + line[2] + "\", \"dies\": \"" + line[3]
                                        + "\", \"utilisation\": \"" + line[4] + "\"}";
            EXPECT_NE(design.out.find(results), std::string::npos) << line[0] << ' ' << line[1];
            EXPECT_EQ(line[5], "");
        } else {
            ++refused;
            EXPECT_EQ(design.status, 1);
            EXPECT_EQ("kerfwright-cli: " + line[5] + "\n", design.err);
            EXPECT_EQ(line[2] + line[3] + line[4], "");
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(SweepCommand, ChartAsPng)
{
    const TemporaryFolder folder;
    const auto png = (folder.path() / "chart.png").string();
    const CliRun sweep = run({"sweep", "--wafer", "3.0 Inches", "--shape", "Hexagon", "--from", "25", "--to", "75",
                              "--steps", "200", "--png", png});
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    const QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(900, 560));
    // The hexagons' line is drawn in red somewhere.
    bool red = false;
    for (int y = 0; y < image.height() && !red; ++y)
        for (int x = 0; x < image.width() && !red; ++x)
            red = image.pixelColor(x, y) == QColor(0xd6, 0x27, 0x28);
    EXPECT_TRUE(red);
}

TEST(SweepCommand, RefusalsAndUsage)
{
    const TemporaryFolder folder;
    const auto csv = (folder.path() / "x.csv").string();
    const std::vector<std::string> base = {"sweep", "--wafer", "2.0 Inches", "--shape", "Circle", "--steps", "10"};
    const auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = base;
        args.insert(args.end(), more.begin(), more.end());
        return run(args);
    };
    // The chart's range boxes refuse as the chart does: status 1.
    EXPECT_EQ(with({"--from", "75", "--to", "25", "--csv", csv}).status, 1);     // range backwards
    EXPECT_EQ(with({"--from", "0", "--to", "25", "--csv", csv}).status, 1);      // not above 0
    EXPECT_EQ(with({"--from", "x", "--to", "25", "--csv", csv}).status, 1);      // not a number
    EXPECT_EQ(with({"--from", "1", "--to", "25"}).status, 2);                    // no file
    EXPECT_EQ(with({"--from", "1", "--to", "25", "--csv", csv, "--png", csv}).status, 2);
    EXPECT_EQ(run({"sweep", "--wafer", "2.0 Inches", "--shape", "Oval", "--from", "1", "--to", "2", "--steps", "3",
                   "--csv", csv}).status, 2);
    for (const char* steps : {"1", "0", "10001"}) {
        const CliRun r = run({"sweep", "--wafer", "2.0 Inches", "--shape", "Circle", "--from", "1", "--to", "2",
                              "--steps", steps, "--csv", csv});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("點數必須是 2 到 10000 的整數。"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(csv));
    // A folder that is not there: said, and nothing written.
    const CliRun missing = with({"--from", "1", "--to", "25", "--csv", (folder.path() / "no" / "x.csv").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(missing.err.empty());
}

TEST(SweepCommand, DashWritesTheCsvOrTheImageToStandardOutput)
{
    const TemporaryFolder folder;
    const auto csv = (folder.path() / "sweep.csv").string();
    const std::vector<std::string> base = {"sweep", "--wafer", "2.0 Inches", "--shape", "Circle",
                                           "--from", "50", "--to", "100", "--steps", "3"};
    auto toFile = base, toOut = base, image = base;
    toFile.insert(toFile.end(), {"--csv", csv});
    toOut.insert(toOut.end(), {"--csv", "-"});
    image.insert(image.end(), {"--png", "-"});
    ASSERT_EQ(run(toFile).status, 0);
    const CliRun out = run(toOut);
    ASSERT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(out.out, kerf::testing::readFile(csv));
    EXPECT_FALSE(std::filesystem::exists("-"));
    const CliRun png = run(image);
    ASSERT_EQ(png.status, 0) << png.err;
    EXPECT_EQ(png.out.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
}

TEST(SweepCommand, YieldColumnsAgreeWithDesign)
{
    // The columns of the sweep are what design's "yield" object says for each size, to the last digit.
    const std::vector<std::string> yield = {"--defects", "0.8", "--yield-model", "bose-einstein", "--layers", "2",
                                            "--wafer-cost", "250"};
    std::vector<std::string> args = {"sweep", "--wafer", "2.0 Inches", "--shape", "Circle,Hexagon,Square",
                                     "--from", "40", "--to", "1900", "--steps", "5", "--csv", "-"};
    args.insert(args.end(), yield.begin(), yield.end());
    const CliRun sweep = run(args);
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    std::istringstream lines(sweep.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "shape,die_mil,rows,dies,utilisation_percent,refusal,good_dies,yield_percent,cost_per_good_die");
    int designs = 0;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, ',');)
            fields.push_back(field);
        if (line.back() == ',')
            fields.push_back("");
        ASSERT_EQ(fields.size(), 9u) << line;
        std::vector<std::string> design = {"design", "--wafer", "2.0 Inches", "--shape", fields[0], "--die", fields[1]};
        design.insert(design.end(), yield.begin(), yield.end());
        const CliRun one = run(design);
        if (one.status != 0) {
            EXPECT_EQ(fields[6] + fields[7] + fields[8], "") << line;
            continue;
        }
        ++designs;
        const auto json = nlohmann::json::parse(one.out)["yield"];
        EXPECT_EQ(json["goodDies"].get<long long>(), std::stoll(fields[6])) << line;
        EXPECT_EQ(json["yield"].get<double>() * 100, std::stod(fields[7])) << line;
        if (json["costPerGoodDie"].is_null())
            EXPECT_EQ(fields[8], "") << line;
        else
            EXPECT_EQ(json["costPerGoodDie"].get<double>(), std::stod(fields[8])) << line;
    }
    EXPECT_EQ(designs, 12);
}

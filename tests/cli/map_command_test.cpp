// SPDX-License-Identifier: GPL-3.0-or-later
// kerfwright-cli map: the designer's picture in image files, with and
// without a program's cut path. Runs without a display (the command picks
// the offscreen platform itself).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QFile>
#include <QImage>
#include <QXmlStreamReader>

#include "cli_run.h"
#include "process_run.h"
#include "tests/support/picture_pixels.h"
#include "tests/support/program_text.h"

using kerf::testing::CliRun;
using kerf::testing::run;
using kerf::testing::countPixels;
using kerf::testing::near;
using kerf::testing::ProcessRun;
using kerf::testing::readFile;
using kerf::testing::runProcess;
using kerf::testing::TemporaryFolder;

namespace {

const std::filesystem::path GoldenFolder = KERF_GOLDEN_DIR;
// 2.0 Inches, hexagons of 600 mil: rows of 2, 3 and 2 dies.
const std::string HexagonsProgram = (GoldenFolder / "hexagon-three-rows-one-way" / "expected.TXT").string();

const QColor BlackColour{0, 0, 0};
const QColor RedColour{255, 0, 0};
const QColor WhiteColour{255, 255, 255};
const QColor CutColour{0, 0, 255};
const QColor TravelColour{96, 96, 96};

std::vector<std::string> hexagons(std::vector<std::string> more)
{
    std::vector<std::string> args = {"map", "--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "600"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

/// Parses an SVG file through; the names of its elements, in order.
std::vector<std::string> svgElements(const std::string& path, std::string& error, QString& viewBox)
{
    QFile file(QString::fromStdString(path));
    std::vector<std::string> names;
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot open";
        return names;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            names.push_back(xml.name().toString().toStdString());
            if (names.size() == 1)
                viewBox = xml.attributes().value("viewBox").toString();
        }
    }
    if (xml.hasError())
        error = xml.errorString().toStdString();
    return names;
}

// Picture points of the layout: the wafer's right rim, the left side of the
// middle row's first die, a corner far from the wafer.
constexpr double RimX = 2.625 + 1.0, RimY = 2.625;
constexpr double SideX = 2.625 - 0.9, SideY = 2.625;

} // namespace

TEST(CliMap, PngIsThePictureOfTheDesigner)
{
    const TemporaryFolder folder;
    const std::string png = folder.file("map.png");
    const CliRun r = run(hexagons({"--png", png}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, png + "\n");
    const QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(504, 504));
    EXPECT_TRUE(near(image, RimX, RimY, BlackColour));
    EXPECT_TRUE(near(image, SideX, SideY, RedColour));
    EXPECT_EQ(image.pixelColor(5, 5), WhiteColour);
    EXPECT_TRUE(near(image, 2.625 + 0.1, 2.625 + 0.05, WhiteColour)); // inside the middle die
    EXPECT_EQ(countPixels(image, CutColour), 0);
}

TEST(CliMap, TheCutPathIsDrawnOverTheMap)
{
    const TemporaryFolder folder;
    const std::string png = folder.file("cut.png");
    const CliRun r = run(hexagons({"--png", png, "--program", HexagonsProgram, "--size", "800"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(800, 800));
    EXPECT_TRUE(near(image, SideX, SideY, CutColour));
    EXPECT_TRUE(near(image, RimX, RimY, BlackColour));
    // Every die edge is cut: the cuts cover the red of the map.
    EXPECT_EQ(countPixels(image, RedColour), 0);
    EXPECT_GT(countPixels(image, TravelColour), 0); // the laser-off moves, dashed
    EXPECT_EQ(image.pixelColor(5, 5), WhiteColour);
}

TEST(CliMap, UncutEdgesStayRed)
{
    // Row 2's OS removed: its moves run with the laser off.
    const TemporaryFolder folder;
    const std::string broken = folder.file("BROKEN.TXT");
    {
        std::ifstream in(HexagonsProgram, std::ios::binary);
        std::ofstream out(broken, std::ios::binary);
        bool row2 = false;
        for (std::string line; std::getline(in, line);) {
            if (row2 && line == "OS\r") {
                row2 = false;
                continue;
            }
            row2 |= line == "# Row 2\r";
            out << line << '\n';
        }
    }
    const std::string good = folder.file("good.png"), bad = folder.file("bad.png");
    ASSERT_EQ(run(hexagons({"--png", good, "--program", HexagonsProgram})).status, 0);
    ASSERT_EQ(run(hexagons({"--png", bad, "--program", broken})).status, 0);
    const QImage goodImage(QString::fromStdString(good)), badImage(QString::fromStdString(bad));
    EXPECT_GT(countPixels(badImage, RedColour), 0);
    EXPECT_LT(countPixels(badImage, CutColour), countPixels(goodImage, CutColour));
    EXPECT_GT(countPixels(badImage, TravelColour), countPixels(goodImage, TravelColour));
}

TEST(CliMap, SvgIsWellFormed)
{
    const TemporaryFolder folder;
    const std::string svg = folder.file("map.svg");
    ASSERT_EQ(run(hexagons({"--svg", svg})).status, 0);
    std::string error;
    QString viewBox;
    const std::vector<std::string> names = svgElements(svg, error, viewBox);
    EXPECT_TRUE(error.empty()) << error;
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "svg");
    EXPECT_EQ(viewBox, "0 0 504 504");
    EXPECT_EQ(std::count(names.begin(), names.end(), "image"), 0); // vectors only
    EXPECT_GT(std::count(names.begin(), names.end(), "polyline") + std::count(names.begin(), names.end(), "path") +
                  std::count(names.begin(), names.end(), "ellipse") + std::count(names.begin(), names.end(), "line"),
              0);

    // The cut path goes over the vectors as one image of the picture's pixels.
    const std::string withPath = folder.file("cut.svg");
    ASSERT_EQ(run(hexagons({"--svg", withPath, "--program", HexagonsProgram})).status, 0);
    const std::vector<std::string> more = svgElements(withPath, error, viewBox);
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_EQ(std::count(more.begin(), more.end(), "image"), 1);
}

TEST(CliMap, NoShapeDrawsTheOutlineOnly)
{
    const TemporaryFolder folder;
    const std::string png = folder.file("outline.png");
    ASSERT_EQ(run({"map", "--wafer", "2.0 Inches", "--die", "600", "--png", png}).status, 0);
    const QImage image(QString::fromStdString(png));
    EXPECT_TRUE(near(image, RimX, RimY, BlackColour));
    EXPECT_EQ(countPixels(image, RedColour), 0);
}

TEST(CliMap, RefusalsAndBadFilesExitOneAndWriteNothing)
{
    const TemporaryFolder folder;
    const std::string png = folder.file("map.png");
    const CliRun refused = run(hexagons({"--png", png, "--effective", "2.5"}));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "kerfwright-cli: 晶片有效直徑大於實際直徑，請確認正確數值。\n");
    const CliRun missing = run(hexagons({"--png", png, "--program", folder.file("NONE.TXT")}));
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("無法讀取程式檔 "), std::string::npos);
    const std::string notAProgram = folder.file("WORDS.TXT");
    std::ofstream(notAProgram) << "PN X\nDI 1 10000\nII\nHELLO\nEI\n";
    const CliRun malformed = run(hexagons({"--png", png, "--program", notAProgram}));
    EXPECT_EQ(malformed.status, 1);
    EXPECT_NE(malformed.err.find("程式第 4 行無法讀取："), std::string::npos) << malformed.err;
    // A path past the bounds of the run would be a partial picture.
    const std::string nested = folder.file("NESTED.TXT");
    std::ofstream(nested) << "PN X\nDI 1 10000\nII\n" << kerf::testing::nestedRepeats(1000, "2", "OS\nMI X 0.0002\nCS\n")
                          << "EI\n";
    for (const char* kind : {"--png", "--svg"}) {
        const CliRun past = run(hexagons({kind, png, "--program", nested}));
        EXPECT_EQ(past.status, 1);
        EXPECT_NE(past.err.find("無法畫出切割路徑：程式展開後太大"), std::string::npos) << past.err;
    }
    EXPECT_FALSE(std::filesystem::exists(png));
    const CliRun unwritable = run(hexagons({"--png", folder.file("no/such/folder/map.png")}));
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_FALSE(unwritable.err.empty());
}

TEST(CliMap, DrawingThatCannotBeMadeEndsWithItsReasonAndNoPicture)
{
    // Threads whose stack (the stack limit) finds no room in the address
    // space; an image of 4096 pixels square that finds no room.
    const TemporaryFolder folder;
    const std::string png = folder.file("picture.png");
    const std::string noThreads = "ulimit -s 4000000 && ulimit -v 3000000";
    const std::string threadMessage = "無法建立繪圖所需的執行緒";
    const struct {
        std::string limits;
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {noThreads, hexagons({"--png", png}), threadMessage},
        {noThreads, hexagons({"--svg", png, "--program", HexagonsProgram}), threadMessage},
        {noThreads, {"sweep", "--wafer", "5.0 Inches", "--shape", "Circle,Hexagon", "--from", "1", "--to", "5", "--steps",
                     "200", "--png", png}, threadMessage},
        {"ulimit -v 250000", hexagons({"--png", png, "--size", "4096", "--program", HexagonsProgram}), "記憶體不足"},
    };
    for (const auto& c : cases) {
        const ProcessRun r = runProcess(c.args, "", "/dev/null", c.limits);
        EXPECT_EQ(r.status, 1) << c.args[0] << " " << c.limits << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(folder.snapshot().empty()) << c.args[0] << " " << c.limits;
    }
}

TEST(CliMap, DrawingUnderAMemoryLimitIsWholeOrOutOfMemoryAndTheOldFileStays)
{
    // Limits at which the fonts, the SVG painter and the chart once ended the process.
    const TemporaryFolder folder;
    folder.write("hex.kwjob", R"({"format": "kerfwright-job", "version": 1,
        "designer": {"wafer": "2.0 Inches", "shape": "Hexagon", "die": "300"}, "program": {"name": "HEX"}})");
    const std::string out = folder.file("out");
    const std::vector<std::string> sheet = {"sheet", "--job", folder.file("hex.kwjob"), "--pdf", out};
    const std::vector<std::string> chart = {"sweep", "--wafer", "2.0 Inches", "--shape", "Hexagon", "--from", "100",
                                            "--to", "300", "--steps", "5", "--png", out};
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"ulimit -v 120000", sheet}, {"ulimit -v 320000", sheet}, {"ulimit -d 20000", sheet},
        {"ulimit -d 60000", sheet},  {"ulimit -v 100000", hexagons({"--svg", out})}, {"ulimit -d 20000", chart},
    };
    for (const auto& [limits, args] : cases) {
        folder.write("out", "old");
        const ProcessRun r = runProcess(args, "", "/dev/null", limits);
        if (r.status == 0) {
            EXPECT_NE(readFile(out), "old") << args[0] << " " << limits;
            continue;
        }
        EXPECT_EQ(r.status, 1) << args[0] << " " << limits << ": " << r.err;
        EXPECT_TRUE(r.err.starts_with("kerfwright-cli: 記憶體不足")) << args[0] << " " << limits << ": " << r.err;
        EXPECT_EQ(readFile(out), "old") << args[0] << " " << limits;
    }
}

TEST(CliMap, UsageErrorsExitTwo)
{
    EXPECT_EQ(run(hexagons({})).status, 2);
    EXPECT_EQ(run(hexagons({"--png", "a.png", "--svg", "a.svg"})).status, 2);
    EXPECT_EQ(run(hexagons({"--png", ""})).status, 2);
    EXPECT_EQ(run(hexagons({"--png", "a.png", "--size", "0"})).status, 2);
    EXPECT_EQ(run(hexagons({"--png", "a.png", "--size", "5000"})).status, 2);
    EXPECT_EQ(run(hexagons({"--png", "a.png", "--size", "big"})).status, 2);
    EXPECT_EQ(run({"map", "--wafer", "2.0 Inches", "--png", "a.png"}).status, 2); // no --die
    const CliRun help = run({"--help"});
    EXPECT_NE(help.out.find("\n  map "), std::string::npos) << help.out;
    const CliRun own = run({"map", "--help"});
    EXPECT_EQ(own.status, 0);
    for (const char* option : {"--png FILE", "--svg FILE", "--size PIXELS", "--program FILE.TXT"})
        EXPECT_NE(own.out.find(option), std::string::npos) << option;
}

TEST(CliMap, DashWritesTheImageToStandardOutput)
{
    const CliRun r = run(hexagons({"--png", "-", "--size", "64"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(r.out.data()), static_cast<int>(r.out.size()), "PNG");
    EXPECT_EQ(image.size(), QSize(64, 64));
}

TEST(CliMap, ImageThroughASymbolicLinkReplacesTheFileItNames)
{
    TemporaryFolder folder;
    std::ofstream(folder.file("real.png")) << "old";
    std::filesystem::create_symlink("real.png", folder.path() / "map.png");
    const CliRun r = run(hexagons({"--png", folder.file("map.png"), "--size", "64"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / "map.png"));
    EXPECT_EQ(QImage(QString::fromStdString(folder.file("real.png"))).size(), QSize(64, 64));
}

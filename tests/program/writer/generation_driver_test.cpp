// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "program/writer/shapes/circle_program.h"
#include "program/writer/generation_driver.h"
#include "program/writer/shapes/hexagon_program_one_way.h"
#include "program/writer/shapes/hexagon_program_two_way.h"
#include "program/writer/program_generator.h"
#include "program/writer/shapes/square_program.h"
#include "tests/support/design_helpers.h"
#include "tests/support/generated_programs.h"
#include "tests/support/program_text.h"
#include "tests/support/temporary_folder.h"

using namespace kerf;
using namespace kerf::testing;

namespace {

GenerationRequest request(const std::string& name)
{
    GenerationRequest r;
    r.texts.name = name;
    r.date = TestDate;
    return r;
}

const WaferLayout& circleLayout()
{
    static const WaferLayout layout = designedLayout("2.0 Inches", "Circle", "100", "2");
    return layout;
}

std::string expectedProgram(ProgramGenerator generate, const WaferLayout& layout, const ProgramParameters& p)
{
    std::ostringstream out;
    generate(out, layout, p);
    return out.str();
}

} // namespace

TEST(GenerationDriver, WritesTheProgramIntoTheFolderAndSaysSo)
{
    TemporaryFolder folder;
    const auto outcome = runGeneration(circleLayout(), request("job"), OutputFolder{folder.path()});
    ASSERT_TRUE(std::holds_alternative<GenerationDone>(outcome));
    const GenerationDone& done = std::get<GenerationDone>(outcome);
    EXPECT_EQ(done.path, folder.path().string() + "/job.TXT");
    EXPECT_EQ(done.prompt, "產生程式碼的程序已經完成。程式檔：" + done.path);
    EXPECT_EQ(done.title, "產生程序完成");
    EXPECT_EQ(folder.snapshot(),
              (std::map<std::string, std::string>{
                  {"job.TXT", expectedProgram(&WriteCircleProgram, circleLayout(), defaultParameters(circleLayout()))}}));
    EXPECT_EQ(programLines(readFile(done.path))[24], "PN job");
}

TEST(GenerationDriver, SubroutineNamesOfOtherShapesArePlainNames)
{
    for (const char* name : {"HEX1", "CIR", "CIR12", "OS"}) {
        std::ostringstream out;
        EXPECT_TRUE(std::holds_alternative<GenerationDone>(runGeneration(circleLayout(), request(name), std::ref(out))))
            << name;
    }
    std::ostringstream out;
    const WaferLayout squares = designedLayout("2.0 Inches", "Square", "250");
    EXPECT_TRUE(std::holds_alternative<GenerationDone>(runGeneration(squares, request("HEX1"), std::ref(out))));
}

TEST(GenerationDriver, AlwaysAppendsTheExtension)
{
    TemporaryFolder folder;
    const auto outcome = runGeneration(circleLayout(), request("job.TXT"), OutputFolder{folder.path()});
    ASSERT_TRUE(std::holds_alternative<GenerationDone>(outcome));
    EXPECT_EQ(std::get<GenerationDone>(outcome).path, folder.path().string() + "/job.TXT.TXT");
}

TEST(GenerationDriver, SecondRunReplacesTheFile)
{
    TemporaryFolder folder;
    GenerationRequest first = request("job");
    first.texts.DVL = "0.9";
    runGeneration(circleLayout(), first, OutputFolder{folder.path()});
    GenerationRequest second = request("job");
    second.texts.passes = "2";
    runGeneration(circleLayout(), second, OutputFolder{folder.path()});
    ProgramParameters parameters = defaultParameters(circleLayout(), 2);
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{
                                     {"job.TXT", expectedProgram(&WriteCircleProgram, circleLayout(), parameters)}}));
}

TEST(GenerationDriver, ClearedVelAndAccCarryDvlAndDacIntoTheArc)
{
    GenerationRequest r = request("job");
    r.texts.DVL = "0.8";
    r.texts.DAC = "7";
    r.texts.VEL = "";
    r.texts.ACC = "";
    std::ostringstream out;
    ASSERT_TRUE(std::holds_alternative<GenerationDone>(runGeneration(circleLayout(), r, std::ref(out))));
    const auto lines = programLines(out.str());
    EXPECT_EQ(lines[6], "MI X 0.05 Y 0.0 ARC -360.0 VEL 0.8 ACC 7");
    EXPECT_TRUE(containsLines(lines, {"SP DVL = 0.8", "SP DAC = 7"}));
}

TEST(GenerationDriver, HexagonPassCountParityChoosesTheProgram)
{
    EXPECT_EQ(generatorFor(DieShape::Hexagon, 1), &WriteHexagonProgramOneWay);
    EXPECT_EQ(generatorFor(DieShape::Hexagon, 3), &WriteHexagonProgramOneWay);
    EXPECT_EQ(generatorFor(DieShape::Hexagon, 2), &WriteHexagonProgramTwoWay);
    EXPECT_EQ(generatorFor(DieShape::Hexagon, 0), &WriteHexagonProgramTwoWay);
    EXPECT_EQ(generatorFor(DieShape::Circle, 2), &WriteCircleProgram);
    EXPECT_EQ(generatorFor(DieShape::Square, 1), &WriteSquareProgram);

    const WaferLayout hexagons = designedLayout("2.0 Inches", "Hexagon", "100");
    for (const char* passes : {"1", "2", "3", "", "2.5"}) {
        GenerationRequest r = request("job");
        r.texts.passes = passes;
        std::ostringstream out;
        runGeneration(hexagons, r, std::ref(out));
        const std::int16_t count = *passes ? std::int16_t(std::string(passes) == "2.5" ? 2 : std::stoi(passes)) : 1;
        EXPECT_EQ(out.str(),
                  expectedProgram(generatorFor(DieShape::Hexagon, count), hexagons, defaultParameters(hexagons, count)))
            << passes;
    }
}

TEST(GenerationDriver, CutsTheLayoutItIsGivenWithTheTextsItWasMadeFrom)
{
    // The texts a layout carries are those of its design run, whatever the
    // designer's boxes show later.
    WaferLayout layout = designedLayout("4.0 Inches", "Square", "250");
    std::ostringstream out;
    runGeneration(layout, request("job"), std::ref(out));
    const auto lines = programLines(out.str());
    EXPECT_EQ(lines[4], "# Wafer size = 4.0 Inches");
    EXPECT_EQ(lines[5], "# For Square, size = 250 mil ");
    EXPECT_EQ(out.str(), expectedProgram(&WriteSquareProgram, layout, defaultParameters(layout)));
}

TEST(GenerationDriver, UserTextGoesIntoTheFileInCp950)
{
    TemporaryFolder folder;
    WaferLayout layout = circleLayout();
    layout.texts.waferSize = "四吋";
    GenerationRequest r = request("晶片");
    const auto outcome = runGeneration(layout, r, OutputFolder{folder.path()});
    ASSERT_TRUE(std::holds_alternative<GenerationDone>(outcome));
    EXPECT_EQ(std::get<GenerationDone>(outcome).path, folder.path().string() + "/晶片.TXT");
    const auto lines = programLines(readFile(folder.path() / "晶片.TXT"));
    EXPECT_EQ(lines[24], "PN \xB4\xB9\xA4\xF9");
    EXPECT_EQ(lines[28], "# Wafer size = \xA5\x7C\xA6\x54");
    EXPECT_EQ(lines[30], "SP DVL = 0.6");
    EXPECT_EQ(lines[6], "MI X 0.05 Y 0.0 ARC -360.0 VEL 0.6 ACC 6.0");
}

TEST(GenerationDriver, WritesToAStream)
{
    std::ostringstream out;
    const auto outcome = runGeneration(circleLayout(), request("job"), std::ref(out));
    ASSERT_TRUE(std::holds_alternative<GenerationDone>(outcome));
    EXPECT_EQ(std::get<GenerationDone>(outcome).path, "");
    EXPECT_EQ(out.str(), expectedProgram(&WriteCircleProgram, circleLayout(), defaultParameters(circleLayout())));
}

TEST(GenerationDriver, FailingStreamIsReported)
{
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    const auto outcome = runGeneration(circleLayout(), request("job"), std::ref(out));
    ASSERT_TRUE(std::holds_alternative<GenerationFailure>(outcome));
    EXPECT_EQ(std::get<GenerationFailure>(outcome).prompt, "寫入輸出失敗：程式沒有完整寫出。");
}

TEST(GenerationDriver, FolderThatIsAFileIsReportedAndNothingChanges)
{
    TemporaryFolder folder;
    folder.write("out", "a file");
    const auto outcome = runGeneration(circleLayout(), request("job"), OutputFolder{folder.path() / "out"});
    ASSERT_TRUE(std::holds_alternative<GenerationFailure>(outcome));
    const GenerationFailure& failure = std::get<GenerationFailure>(outcome);
    EXPECT_EQ(failure.prompt, "寫入程式檔「" + (folder.path() / "out" / "job.TXT").string() +
                                  "」失敗（建立新檔時）：資料夾路徑中有一項不是資料夾。沒有留下不完整的檔案。");
    EXPECT_EQ(failure.title, "寫入程式檔失敗");
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"out", "a file"}}));
}

TEST(GenerationDriver, FolderInTheWayOfTheFileIsReportedAndStays)
{
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.path() / "job.TXT");
    const auto outcome = runGeneration(circleLayout(), request("job"), OutputFolder{folder.path()});
    ASSERT_TRUE(std::holds_alternative<GenerationFailure>(outcome));
    EXPECT_NE(std::get<GenerationFailure>(outcome).prompt.find("（取代舊檔時）：已有同名的資料夾。"), std::string::npos);
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"job.TXT", "<folder>"}}));
}

struct RefusedRun {
    const char* name;
    GenerationTexts texts;
    GenerationRefusal refusal;
    WaferLayout layout = circleLayout();
};

void PrintTo(const RefusedRun& c, std::ostream* out) { *out << c.name; }

class RefusedGeneration : public ::testing::TestWithParam<RefusedRun> {};

TEST_P(RefusedGeneration, ChangesNothing)
{
    TemporaryFolder folder;
    folder.write("job.TXT", "old program\r\n");
    folder.write(".TXT", "old program\r\n");
    folder.write("other.TXT", "other\r\n");
    const auto before = folder.snapshot();
    GenerationRequest r{GetParam().texts, TestDate};
    const auto outcome = runGeneration(GetParam().layout, r, OutputFolder{folder.path()});
    ASSERT_TRUE(std::holds_alternative<GenerationRefusal>(outcome));
    EXPECT_EQ(std::get<GenerationRefusal>(outcome), GetParam().refusal);
    EXPECT_EQ(folder.snapshot(), before);

    std::ostringstream out;
    EXPECT_TRUE(std::holds_alternative<GenerationRefusal>(runGeneration(GetParam().layout, r, std::ref(out))));
    EXPECT_EQ(out.str(), "");
}

namespace {

GenerationTexts texts(std::string name, std::string passes = "1", std::string dvl = "0.6", std::string vel = "0.6")
{
    GenerationTexts t;
    t.name = std::move(name);
    t.passes = std::move(passes);
    t.DVL = std::move(dvl);
    t.VEL = std::move(vel);
    return t;
}

WaferLayout withWaferSize(std::string text)
{
    WaferLayout layout = circleLayout();
    layout.texts.waferSize = std::move(text);
    return layout;
}

const char* const NotANumberRefusal = "切割次數不是數字，請輸入 1 到 999 之間的整數。";
const char* const BelowOneRefusal = "切割次數至少要 1 次，請輸入 1 到 999 之間的整數。";

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Runs, RefusedGeneration,
    ::testing::Values(
        RefusedRun{"EmptyName", texts(""), {"未輸入欲產生的檔名，請輸入檔名。", "未輸入檔名", GenerationBox::Text1}},
        RefusedRun{"EmptyNameBeforeAnythingElse", texts("", "abc", "😀"),
                   {"未輸入欲產生的檔名，請輸入檔名。", "未輸入檔名", GenerationBox::Text1}, WaferLayout{}},
        RefusedRun{"NameWithAFolder", texts("../job"),
                   {"檔名不可含有「/」或「\\」，請只輸入檔名，不要輸入資料夾路徑。", "檔名錯誤", GenerationBox::Text1}},
        RefusedRun{"NameOfDots", texts(".."), {"檔名不可含有「..」，請修改檔名。", "檔名錯誤", GenerationBox::Text1}},
        RefusedRun{"NoLayout", texts("job"), {"無晶片資料可以產生程式碼。", "無資料", std::nullopt}, WaferLayout{}},
        RefusedRun{"ZeroPasses", texts("job", "0"), {BelowOneRefusal, "輸入數值錯誤", GenerationBox::Text2}},
        RefusedRun{"NegativeOddPasses", texts("job", "-1"), {BelowOneRefusal, "輸入數值錯誤", GenerationBox::Text2}},
        RefusedRun{"PassesNotANumber", texts("job", "x"), {NotANumberRefusal, "輸入數值錯誤", GenerationBox::Text2}},
        RefusedRun{"NameCp950CannotHold", texts("job😀"),
                   {"「程式檔名」含有繁體中文字碼頁 CP950 無法表示的字元「😀」，請修改後再產生程式碼。", "文字無法轉換",
                    GenerationBox::Text1}},
        RefusedRun{"DvlNotANumber", texts("job", "1", "é"),
                   {"DVL 必須是數字（例如 0.6），不可含有空格或其他文字，請修改。", "輸入數值錯誤", GenerationBox::Text3}},
        RefusedRun{"VelWithALineBreak", texts("job", "1", "0.6", "0.6\r\nMA X 5 Y 5"),
                   {"VEL 必須是數字（例如 0.6），不可含有空格或其他文字，請修改。", "輸入數值錯誤", GenerationBox::Text5}},
        RefusedRun{"NameOfACircleSubroutine", texts("CIR2"),
                   {"這個程式的副程式名稱是 CIR1、CIR2，檔名不可與它們相同，請改用其他檔名。", "檔名錯誤",
                    GenerationBox::Text1}},
        RefusedRun{"NameOfAHexagonSubroutine", texts(" hex1"),
                   {"這個程式的副程式名稱是 HEX1、HEX2、HEX3、HEX4，檔名不可與它們相同，請改用其他檔名。", "檔名錯誤",
                    GenerationBox::Text1},
                   designedLayout("2.0 Inches", "Hexagon", "400")},
        RefusedRun{"DesignTextWithALineBreak", texts("job"),
                   {"「晶片直徑」含有控制字元（例如換行），請在晶片設定視窗修改後重新設計。", "文字無法轉換", std::nullopt},
                   withWaferSize("2.0 Inches\r\nOS")},
        RefusedRun{"DesignTextCp950CannotHold", texts("job"),
                   {"「晶片直徑」含有繁體中文字碼頁 CP950 無法表示的字元「😀」，請在晶片設定視窗修改後重新設計。",
                    "文字無法轉換", std::nullopt},
                   withWaferSize("😀")}),
    [](const auto& info) { return std::string(info.param.name); });

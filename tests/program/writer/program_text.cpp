#include "program_text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kerf::test {

std::vector<std::string> programLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text does not end with CR LF: " << text.substr(start);
            break;
        }
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "bare CR or LF in «" << line << "»";
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

bool containsLines(const std::vector<std::string>& lines, const std::vector<std::string>& fragment)
{
    return std::search(lines.begin(), lines.end(), fragment.begin(), fragment.end()) != lines.end();
}

std::vector<std::string> programBody(const std::vector<std::string>& lines)
{
    const auto main = std::find(lines.begin(), lines.end(), "# MAIN PROGRAM");
    if (main == lines.end() || lines.size() < 4) {
        ADD_FAILURE() << "no main program";
        return {};
    }
    return {main + 1, lines.end() - 4};
}

ProgramParameters defaultParameters(const WaferLayout& layout, std::int16_t cutCount)
{
    ProgramParameters parameters;
    parameters.header = {"job",     layout.texts.waferSize, layout.texts.shape, layout.texts.dieSize,
                         layout.texts.fineTune, "0.6", "6.0", TestDate};
    parameters.CutCount = cutCount;
    parameters.VEL = "0.6";
    parameters.ACC = "6.0";
    return parameters;
}

WaferLayout designed(const std::string& waferSize, const std::string& shape, const std::string& dieSize,
                     const std::string& fineTune)
{
    DesignInput input;
    input.WaferDiameter = chooseWaferSize(waferSize, 0).WaferDiameter;
    input.texts = {waferSize, chooseWaferSize(waferSize, 0).effectiveText, shape, dieSize, fineTune};
    DesignOutcome outcome = runDesign(input);
    if (auto* design = std::get_if<Design>(&outcome))
        return std::move(design->layout);
    ADD_FAILURE() << "no layout for " << waferSize << " " << shape << " " << dieSize;
    return {};
}

WaferLayout hexagonRows(const std::vector<int>& countsTopToBottom, float a, double h)
{
    WaferLayout layout;
    layout.shape = DieShape::Hexagon;
    layout.texts = {"2.0 Inches", "1.9", "Hexagon", "100", ""};
    layout.HalfDieSize = a;
    layout.DieSize = 2 * a;
    layout.HexHalfSide = Number::ofDouble(h);
    layout.DiePitch = Number::ofSingle(2 * a);
    layout.RowPitch = Number::ofDouble(3 * h);
    const int rows = static_cast<int>(countsTopToBottom.size());
    const int top = (rows + 1) / 2;
    layout.RowTable.redim(rows);
    for (int i = 0; i < rows; ++i) {
        const int record = i < top ? top - i : i + 1;
        LayoutRow& row = layout.RowTable[record];
        row.DieCount = static_cast<std::int16_t>(countsTopToBottom[static_cast<std::size_t>(i)]);
        row.RelX = Number::ofDecimal(Decimal::fromSingle(a) * -row.DieCount);
        row.RelY = Number::ofDecimal(Decimal::fromDouble(h) * (3 * (top - 1 - i) - 1));
    }
    return layout;
}

} // namespace kerf::test

#include "cli/cut_report_output.h"

#include "cli/json_text.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace kerf::cli {

namespace {

const char* const kHexagonEdges[6] = {"left", "upper left", "upper right", "right", "lower right", "lower left"};
const char* const kSquareSides[4] = {"left", "top", "right", "bottom"};

std::vector<const char*> edgeList(DieShape shape, std::uint8_t mask)
{
    std::vector<const char*> names;
    if (shape == DieShape::Circle)
        return names;
    const int count = shape == DieShape::Hexagon ? 6 : 4;
    for (int k = 0; k < count; ++k)
        if (mask & (1u << k))
            names.push_back(shape == DieShape::Hexagon ? kHexagonEdges[k] : kSquareSides[k]);
    return names;
}

std::string pointText(const ProgramPoint& p) { return "X " + inchText(p.x) + " Y " + inchText(p.y); }

std::string plural(std::int64_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

/// A JSON number, or null for a value that is none.
std::string jsonNumber(double value) { return std::isfinite(value) ? inchText(value) : "null"; }

std::string jsonPoint(const ProgramPoint& p)
{
    return "{\"x\": " + jsonNumber(p.x) + ", \"y\": " + jsonNumber(p.y) + "}";
}

void writeCutList(std::ostream& out, const char* title, std::int64_t total, const std::vector<FlaggedCut>& cuts)
{
    out << title << ": " << (total == 0 ? "none" : std::to_string(total)) << '\n';
    for (const FlaggedCut& cut : cuts)
        out << "  line " << cut.line << ": " << pointText(cut.from) << " to " << pointText(cut.to) << '\n';
    if (total > static_cast<std::int64_t>(cuts.size()))
        out << "  and " << total - static_cast<std::int64_t>(cuts.size()) << " more\n";
}

void writeJsonCuts(std::ostream& out, const char* name, const std::vector<FlaggedCut>& cuts)
{
    out << " \"" << name << "\": [";
    for (std::size_t i = 0; i < cuts.size(); ++i)
        out << (i ? ", " : "") << "{\"line\": " << cuts[i].line << ", \"from\": " << jsonPoint(cuts[i].from)
            << ", \"to\": " << jsonPoint(cuts[i].to) << "}";
    out << "],\n";
}

} // namespace

std::string inchText(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    char text[400];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    if (ec != std::errc())
        return "nan";
    std::string s(text, end);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string machineTimeText(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0)
        return "無法估計";
    const auto whole = static_cast<long long>(seconds / 60);
    const double rest = seconds - 60.0 * static_cast<double>(whole);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", rest);
    std::string out;
    if (whole >= 60)
        out += std::to_string(whole / 60) + " 小時 ";
    if (whole > 0)
        out += std::to_string(whole % 60) + " 分 ";
    return out + text + " 秒";
}

std::string edgeNames(DieShape shape, std::uint8_t mask)
{
    std::string text;
    for (const char* name : edgeList(shape, mask))
        text += (text.empty() ? "" : ", ") + std::string(name);
    return text;
}

void writeCutReportText(std::ostream& out, std::string_view program, const CutReport& r)
{
    out << "Program: " << program << " (" << shapeText(r.shape) << ", " << plural(r.dies, "die", "dies") << ")\n";
    if (r.cancelled) {
        out << "Result: the check was cancelled\n";
        return;
    }
    out << "Passes expected: " << r.passes << " (" << passSourceText(r.passSource) << ")\n"
        << "Cuts: " << r.cuts << " (" << r.cuttingMotions << " cutting moves of " << r.motions << ")\n"
        << "Cut length: " << inchText(r.cutLength) << " in\n"
        << "Travel length: " << inchText(r.travelLength) << " in\n"
        << "Dies fully cut: " << r.diesFullyCut << " of " << r.dies << '\n';

    const bool squares = r.shape == DieShape::Square;
    const std::string shortOf = r.passes == 1 ? "uncut" : "cut fewer than " + std::to_string(r.passes) + " times";
    out << "Uncut dies: " << (r.uncutDies == 0 ? "none" : std::to_string(r.uncutDies));
    if (r.uncutEdges > 0)
        out << " (" << plural(r.uncutEdges, squares ? "side" : "edge", squares ? "sides" : "edges") << " "
            << shortOf << ")";
    out << '\n';
    for (const UncutDie& die : r.uncut) {
        out << "  row " << die.row << " die " << die.die << " at " << pointText(die.centre) << ": ";
        if (r.shape == DieShape::Circle)
            out << die.cuts << " of " << r.passes << (r.passes == 1 ? " turn" : " turns");
        else
            out << edgeNames(r.shape, die.uncutEdges) << (squares ? " " : " edge") << (squares ? "" : "s ")
                << shortOf << (r.passes > 1 ? " (fewest " + std::to_string(die.cuts) + ")" : "");
        out << '\n';
    }
    if (r.uncutDies > static_cast<std::int64_t>(r.uncut.size()))
        out << "  and " << r.uncutDies - static_cast<std::int64_t>(r.uncut.size()) << " more\n";

    writeCutList(out, "Cuts outside the effective circle", r.outsideCuts, r.outside);
    writeCutList(out, "Cuts on no die edge", r.strayCuts, r.stray);
    out << "Head ends at " << pointText(r.end) << ", laser " << (r.laserOff ? "off" : "ON") << '\n';
    if (r.cutOpen)
        out << "A cut is still open at the end (OS without CS)\n";
    out << "預估加工時間：" << (r.machineSeconds ? machineTimeText(*r.machineSeconds) : "無法估計（程式沒有給出速度）")
        << '\n'
        << "  " << machineTimeAssumption() << '\n';

    if (r.clean()) {
        out << "Result: every die cut, nothing cut outside\n";
        return;
    }
    std::string faults;
    const auto add = [&faults](const std::string& fault) { faults += (faults.empty() ? "" : ", ") + fault; };
    if (r.uncutDies > 0)
        add(plural(r.uncutDies, "die", "dies") + " not fully cut");
    if (r.outsideCuts > 0)
        add(plural(r.outsideCuts, "cut", "cuts") + " outside the effective circle");
    if (r.strayCuts > 0)
        add(plural(r.strayCuts, "cut", "cuts") + " on no die edge");
    out << "Result: FAULTS: " << faults << '\n';
}

void writeCutReportJson(std::ostream& out, std::string_view program, const CutReport& r)
{
    out << "{\"program\": " << jsonString(program) << ", \"shape\": " << jsonString(shapeText(r.shape))
        << ", \"checked\": true, \"cancelled\": " << (r.cancelled ? "true" : "false") << ",\n"
        << " \"passes\": " << r.passes << ", \"passesFrom\": " << jsonString(passSourceText(r.passSource)) << ",\n"
        << " \"cuts\": " << r.cuts << ", \"cuttingMotions\": " << r.cuttingMotions << ", \"motions\": " << r.motions
        << ", \"pointCuts\": " << r.pointCuts << ",\n"
        << " \"cutLength\": " << jsonNumber(r.cutLength) << ", \"travelLength\": " << jsonNumber(r.travelLength)
        << ",\n"
        << " \"machineSeconds\": " << (r.machineSeconds ? jsonNumber(*r.machineSeconds) : "null")
        << ", \"machineTimeAssumption\": " << jsonString(machineTimeAssumption()) << ",\n"
        << " \"dies\": " << r.dies << ", \"diesFullyCut\": " << r.diesFullyCut << ", \"uncutDies\": " << r.uncutDies
        << ", \"uncutEdges\": " << r.uncutEdges << ",\n";
    out << " \"uncut\": [";
    for (std::size_t i = 0; i < r.uncut.size(); ++i) {
        const UncutDie& die = r.uncut[i];
        out << (i ? ", " : "") << "{\"row\": " << die.row << ", \"die\": " << die.die
            << ", \"x\": " << jsonNumber(die.centre.x) << ", \"y\": " << jsonNumber(die.centre.y) << ", \"edges\": [";
        const auto names = edgeList(r.shape, die.uncutEdges);
        for (std::size_t k = 0; k < names.size(); ++k)
            out << (k ? ", " : "") << jsonString(names[k]);
        out << "], \"cuts\": " << die.cuts << "}";
    }
    out << "],\n";
    out << " \"outsideCuts\": " << r.outsideCuts << ",\n";
    writeJsonCuts(out, "outside", r.outside);
    out << " \"strayCuts\": " << r.strayCuts << ",\n";
    writeJsonCuts(out, "stray", r.stray);
    out << " \"end\": {\"x\": " << jsonNumber(r.end.x) << ", \"y\": " << jsonNumber(r.end.y)
        << ", \"laserOff\": " << (r.laserOff ? "true" : "false") << ", \"cutOpen\": " << (r.cutOpen ? "true" : "false")
        << "},\n"
        << " \"allCut\": " << (r.allCut() ? "true" : "false") << ", \"clean\": " << (r.clean() ? "true" : "false")
        << "}\n";
}

void writeUncheckedJson(std::ostream& out, std::string_view program, const CutReport& r)
{
    out << "{\"program\": " << jsonString(program) << ", \"shape\": " << jsonString(shapeText(r.shape))
        << ", \"checked\": false, \"reason\": " << jsonString(uncheckedText(r.unchecked)) << "}\n";
}

} // namespace kerf::cli

#include "windows/preview/cut_report_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace kerf::ui {

namespace {

std::string count(std::int64_t n) { return std::to_string(n); }

std::string pointText(const ProgramPoint& point)
{
    return "X " + inchesText(point.x, 6) + ", Y " + inchesText(point.y, 6);
}

std::string edgesText(DieShape shape, std::uint8_t edges)
{
    static const char* const hexagon[] = {"左", "左上", "右上", "右", "右下", "左下"};
    static const char* const square[] = {"左", "上", "右", "下"};
    const bool hex = shape == DieShape::Hexagon;
    const int n = hex ? 6 : 4;
    std::string text;
    for (int k = 0; k < n; ++k)
        if (edges & (1u << k)) {
            if (!text.empty())
                text += "、";
            text += hex ? hexagon[k] : square[k];
        }
    return text;
}

std::string passSourceWords(PassSource source)
{
    switch (source) {
    case PassSource::Given: return "指定";
    case PassSource::Arcs: return "依程式的圓弧圈數";
    case PassSource::RepeatCount: return "依程式的重複次數";
    }
    return "";
}

std::string uncutLine(const CutReport& report, const UncutDie& die)
{
    std::string line = "第 " + std::to_string(die.row) + " 列第 " + std::to_string(die.die) + " 個晶粒（" +
                       pointText(die.centre) + "）：";
    if (report.shape == DieShape::Circle)
        return line + "切了 " + std::to_string(die.cuts) + " 圈，應切 " + std::to_string(report.passes) + " 圈";
    return line + edgesText(report.shape, die.uncutEdges) + "邊切割不足（最少的一邊切了 " +
           std::to_string(die.cuts) + " 次，應切 " + std::to_string(report.passes) + " 次）";
}

std::string cutLine(const FlaggedCut& cut, const char* what)
{
    return "程式第 " + std::to_string(cut.line) + " 行：" + what + "（從 " + pointText(cut.from) + " 到 " +
           pointText(cut.to) + "）";
}

void listMore(std::vector<std::string>& details, std::int64_t total, std::size_t listed, const char* what)
{
    if (total > static_cast<std::int64_t>(listed))
        details.push_back("……另有 " + count(total - static_cast<std::int64_t>(listed)) + " " + what + "未列出");
}

const char* errorWords(ProgramErrorKind kind)
{
    switch (kind) {
    case ProgramErrorKind::Empty: return "程式中沒有任何程式單元";
    case ProgramErrorKind::OutsideUnit: return "程式單元（PN 到 EI）之外有指令";
    case ProgramErrorKind::Preamble: return "PN 之後缺少「DI」與「II」兩行";
    case ProgramErrorKind::UnitNotClosed: return "程式單元沒有以 EI 結束";
    case ProgramErrorKind::EIWithoutPN: return "EI 之前沒有 PN";
    case ProgramErrorKind::DuplicateUnit: return "有兩個同名的程式單元";
    case ProgramErrorKind::UnknownWord: return "無法辨識的指令";
    case ProgramErrorKind::UnknownUnit: return "呼叫了不存在的程式單元";
    case ProgramErrorKind::BadOperands: return "指令的參數缺少、多餘或位置不對";
    case ProgramErrorKind::BadNumber: return "數值無法讀取或超出範圍";
    case ProgramErrorKind::ELWithoutSL: return "EL 之前沒有對應的 SL";
    case ProgramErrorKind::SLWithoutEL: return "SL 沒有對應的 EL";
    case ProgramErrorKind::Recursion: return "程式單元呼叫了自己";
    }
    return "";
}

// Line `line` (1-based) of `text`, without its end and the blanks about it,
// shortened to `most` characters.
std::string lineOf(std::string_view text, std::uint32_t line, std::size_t most = 40)
{
    std::size_t at = 0;
    for (std::uint32_t n = 1; n < line; ++n) {
        at = text.find('\n', at);
        if (at == std::string_view::npos)
            return {};
        ++at;
    }
    std::string_view rest = text.substr(at);
    rest = rest.substr(0, rest.find('\n'));
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ' || rest.back() == '\t'))
        rest.remove_suffix(1);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    std::string shown;
    for (const char c : rest.substr(0, most))
        shown += (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) ? '?' : c;
    return rest.size() > most ? shown + "……" : shown;
}

std::string twoDigits(long long n)
{
    std::string digits = std::to_string(n);
    if (digits.size() < 2)
        digits.insert(digits.begin(), '0');
    return digits;
}

} // namespace

std::string durationText(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0)
        return "—";
    if (seconds < 59.95) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed, 1);
        return std::string(buffer, result.ptr) + " 秒";
    }
    const long long whole = std::llround(seconds);
    const long long hours = whole / 3600;
    const long long minutes = whole / 60 % 60;
    const std::string secondsText = twoDigits(whole % 60) + " 秒";
    if (hours == 0)
        return std::to_string(minutes) + " 分 " + secondsText;
    return std::to_string(hours) + " 小時 " + twoDigits(minutes) + " 分 " + secondsText;
}

ReportText uncheckedVerdict(const std::string& reason)
{
    ReportText text;
    text.unchecked = true;
    text.verdict = reason + "這不表示程式有錯，但請勿以未經檢查的程式切割。";
    return text;
}

std::string inchesText(double inches, int places)
{
    if (!std::isfinite(inches))
        return "—";
    char buffer[64];
    const double shown = std::abs(inches) < 0.5 * std::pow(10.0, -places) ? 0.0 : inches;
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, shown, std::chars_format::fixed, places);
    return std::string(buffer, result.ptr);
}

ReportText describeReport(const CutReport& report)
{
    if (report.unchecked != Unchecked::No)
        return uncheckedVerdict(uncheckedText(report.unchecked));
    ReportText text;
    const bool uncut = report.uncutDies > 0;
    const bool outside = report.outsideCuts > 0;
    const bool stray = report.strayCuts > 0;
    const bool endFault = !report.laserOff || report.cutOpen;

    std::string end = pointText(report.end) + " 英吋";
    if (!report.laserOff)
        end += "（雷射沒有關閉）";
    if (report.cutOpen)
        end += "（切割沒有以 CS 結束）";
    std::string uncutValue = count(report.uncutDies);
    if (report.uncutEdges > 0)
        uncutValue += "（未切足的邊 " + count(report.uncutEdges) + " 條）";

    text.figures = {
        {"切割次數", count(static_cast<std::int64_t>(report.cuts)), false},
        {"切割遍數", std::to_string(report.passes) + "（" + passSourceWords(report.passSource) + "）", false},
        {"切割長度", inchesText(report.cutLength, 4) + " 英吋", false},
        {"移動長度", inchesText(report.travelLength, 4) + " 英吋", false},
        {"完整切割的晶粒", count(report.diesFullyCut) + " / " + count(report.dies), uncut},
        {"未完整切割的晶粒", uncutValue, uncut},
        {"有效圓外的切割", count(report.outsideCuts), outside},
        {"不在晶粒邊上的切割", count(report.strayCuts), stray},
        {"結束位置", end, endFault},
        {"預估加工時間", report.machineSeconds ? durationText(*report.machineSeconds) : "無法估計（有動作沒有速度）",
         false},
    };

    std::vector<std::string> problems;
    if (uncut)
        problems.push_back(count(report.uncutDies) + " 個晶粒沒有完整切割");
    if (outside)
        problems.push_back(count(report.outsideCuts) + " 道切割超出有效圓");
    if (stray)
        problems.push_back(count(report.strayCuts) + " 道切割不在晶粒邊上");
    if (!report.laserOff)
        problems.push_back("程式結束時雷射沒有關閉");
    if (report.cutOpen)
        problems.push_back("最後的切割沒有以 CS 結束");
    if (report.cancelled)
        problems.push_back("檢查沒有做完");
    text.fault = !problems.empty();
    if (text.fault) {
        text.verdict = "程式有問題：";
        for (std::size_t i = 0; i < problems.size(); ++i)
            text.verdict += (i ? "；" : "") + problems[i];
        text.verdict += "。";
    } else {
        text.verdict = "全部 " + count(report.dies) + " 個晶粒都已完整切割，沒有多餘的切割。";
    }

    for (const UncutDie& die : report.uncut)
        text.details.push_back(uncutLine(report, die));
    listMore(text.details, report.uncutDies, report.uncut.size(), "個未完整切割的晶粒");
    for (const FlaggedCut& cut : report.outside)
        text.details.push_back(cutLine(cut, "切割超出有效圓"));
    listMore(text.details, report.outsideCuts, report.outside.size(), "道有效圓外的切割");
    for (const FlaggedCut& cut : report.stray)
        text.details.push_back(cutLine(cut, "切割不在晶粒邊上"));
    listMore(text.details, report.strayCuts, report.stray.size(), "道不在晶粒邊上的切割");
    return text;
}

ReportText describeProgramError(const ProgramError& error, std::string_view programText)
{
    ReportText text;
    text.fault = true;
    const std::string where = error.line > 0 ? "程式第 " + std::to_string(error.line) + " 行無法讀取：" : "程式無法讀取：";
    const std::string line = error.line > 0 ? lineOf(programText, error.line) : std::string();
    text.verdict = where + errorWords(error.kind) + (line.empty() ? "" : "（「" + line + "」）") + "。";
    return text;
}

} // namespace kerf::ui

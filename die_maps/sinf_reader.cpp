// SPDX-License-Identifier: GPL-3.0-or-later
#include "die_maps/sinf_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <fstream>
#include <map>
#include <optional>

#include "die_maps/map_rows.h"
#include "files/system_error_text.h"
#include "numbers/decimal.h"

namespace kerf {
namespace {

constexpr std::string_view RowDataKey = "RowData";

bool isHexCode(std::string_view code)
{
    return code.size() == 2 && std::isxdigit(static_cast<unsigned char>(code[0]))
           && std::isxdigit(static_cast<unsigned char>(code[1]));
}

int digitValue(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
}

/// The value of a two-digit hexadecimal code.
int codeValue(std::string_view code)
{
    return digitValue(code[0]) * 16 + digitValue(code[1]);
}

/// A code's text: two upper-case hexadecimal digits.
std::string codeText(int value)
{
    constexpr const char* Digits = "0123456789ABCDEF";
    return {Digits[value / 16], Digits[value % 16]};
}

std::string upper(std::string_view code)
{
    std::string out(code);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

/// Calls `visit` with each word of `text` (split at spaces and tabs) until it returns false.
template <typename Visit>
void forEachWord(std::string_view text, Visit visit)
{
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t", at);
        if (start == std::string_view::npos)
            return;
        const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
        if (!visit(text.substr(start, end - start)))
            return;
        at = end;
    }
}

std::size_t wordCount(std::string_view text)
{
    std::size_t count = 0;
    forEachWord(text, [&](std::string_view) { return ++count, true; });
    return count;
}

std::string_view trimmed(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

bool isKey(std::string_view key)
{
    if (key.empty())
        return false;
    for (const char c : key)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return true;
}

/// One header line: its value and the number of its line.
struct HeaderValue {
    std::string_view text;
    int line = 0;
};

class SinfBinsReader {
public:
    SinfBinsReader(const MapGrid& grid, const std::string& name) : grid_(grid), name_(name) {}

    std::variant<DieBins, MapRefusal> read(std::string_view text)
    {
        int lineNumber = 0;
        std::size_t at = 0;
        while (at < text.size() && !refusal_) {
            std::size_t end = text.find('\n', at);
            if (end == std::string_view::npos)
                end = text.size();
            std::string_view line = text.substr(at, end - at);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            at = end + 1;
            ++lineNumber;
            readLine(line, lineNumber);
        }
        if (trimmed(text).find_first_not_of("\r\n") == std::string_view::npos)
            refuse("是空的，不是 SINF 晶圓圖。");
        if (!refusal_ && !headerChecked_)
            checkHeader(lineNumber);
        if (!refusal_ && row_ != grid_.rowCount)
            refuse("只有 " + std::to_string(row_) + " 行 RowData，ROWCT 是 " + std::to_string(grid_.rowCount) + "。");
        if (refusal_)
            return *refusal_;
        for (int code = 0; code < 256; ++code)
            if (codeCounts_[static_cast<std::size_t>(code)] > 0)
                bins_.codes[codeText(code)] = codeCounts_[static_cast<std::size_t>(code)];
        return std::move(bins_);
    }

private:
    void refuse(const std::string& what) { refusal_ = MapRefusal{"晶圓圖 " + name_ + "：" + what}; }
    void refuseLine(int line, const std::string& what)
    {
        refuse("第 " + std::to_string(line) + " 行" + what);
    }

    void readLine(std::string_view line, int number)
    {
        if (trimmed(line).empty())
            return;
        const std::size_t colon = line.find(':');
        const std::string_view key = colon == std::string_view::npos ? std::string_view() : trimmed(line.substr(0, colon));
        if (!isKey(key))
            return refuseLine(number, "不是 SINF 晶圓圖的一行（應為「名稱:值」或 RowData:）。");
        const std::string_view value = line.substr(colon + 1);
        if (key == RowDataKey) {
            if (!headerChecked_)
                checkHeader(number);
            if (!refusal_)
                readRow(value, number);
            return;
        }
        if (headerChecked_)
            return refuseLine(number, "：標頭 " + std::string(key) + " 應在所有 RowData 之前。");
        if (!header_.emplace(std::string(key), HeaderValue{trimmed(value), number}).second)
            return refuseLine(number, "：標頭 " + std::string(key) + " 重複出現。");
    }

    std::optional<HeaderValue> headerValue(std::string_view key, int line)
    {
        const auto found = header_.find(std::string(key));
        if (found == header_.end()) {
            refuse("到第 " + std::to_string(line) + " 行為止沒有標頭 " + std::string(key) + "：不是 SINF 晶圓圖，或少了這一項。");
            return std::nullopt;
        }
        return found->second;
    }

    std::optional<long long> count(std::string_view key, int line)
    {
        const auto value = headerValue(key, line);
        if (!value)
            return std::nullopt;
        const auto number = Decimal::parse(value->text);
        const auto whole = number ? number->scaledInteger(0) : std::nullopt;
        if (!whole || *whole < 0) {
            refuseLine(value->line, "：" + std::string(key) + " 應為不小於 0 的整數。");
            return std::nullopt;
        }
        return whole;
    }

    void compareCount(std::string_view key, long long mapValue, int layoutValue, const char* layoutWords, int line)
    {
        if (mapValue != layoutValue)
            refuseLine(line, "：這不是同一個佈局的晶圓圖：" + std::string(key) + " 是 " + std::to_string(mapValue)
                                 + "，這個佈局有 " + std::to_string(layoutValue) + " " + layoutWords + "。");
    }

    void compareStep(std::string_view key, const Decimal& layoutStep, double milPerUnit, int line)
    {
        const auto value = headerValue(key, line);
        if (!value)
            return;
        const auto number = Decimal::parse(value->text);
        if (!number || number->isNegative())
            return refuseLine(value->line, "：" + std::string(key) + " 應為正數。");
        const Decimal layoutMil = inMil(layoutStep);
        if (std::abs(number->toDouble() * milPerUnit - layoutMil.toDouble()) > MapStepTolerance)
            refuseLine(value->line, "：這不是同一個佈局的晶圓圖：" + std::string(key) + " 是 " + std::string(value->text)
                                        + std::string(milPerUnit == 1 ? " mil" : " mm") + "，這個佈局是 "
                                        + layoutMil.text() + " mil。");
    }

    void checkHeader(int line)
    {
        headerChecked_ = true;
        const auto rows = count("ROWCT", line);
        if (!rows)
            return;
        const auto columns = count("COLCT", line);
        if (!columns)
            return;
        compareCount("ROWCT", *rows, grid_.rowCount, "列", header_.at("ROWCT").line);
        if (refusal_)
            return;
        compareCount("COLCT", *columns, grid_.columnCount, "行", header_.at("COLCT").line);
        if (refusal_)
            return;
        const auto unit = headerValue("DUTMS", line);
        if (!unit)
            return;
        double milPerUnit = 1;
        if (upper(unit->text) == "MM")
            milPerUnit = 1 / 0.0254;
        else if (upper(unit->text) != "MIL")
            return refuseLine(unit->line, "：DUTMS 應為 mil 或 mm。");
        compareStep("XDIES", grid_.xStep, milPerUnit, line);
        if (!refusal_)
            compareStep("YDIES", grid_.yStep, milPerUnit, line);
        if (refusal_)
            return;
        const auto good = headerValue("BCEQU", line);
        if (!good)
            return;
        forEachWord(good->text, [&](std::string_view code) {
            for (const std::string_view part : splitAtCommas(code)) {
                if (!isHexCode(part)) {
                    refuseLine(good->line, "：BCEQU 的代碼「" + std::string(part) + "」不是兩位十六進位數。");
                    return false;
                }
                goodCodes_[static_cast<std::size_t>(codeValue(part))] = true;
            }
            return true;
        });
        if (refusal_)
            return;
        if (std::none_of(goodCodes_.begin(), goodCodes_.end(), [](bool good) { return good; }))
            refuseLine(good->line, "：BCEQU 沒有列出良品的代碼。");
    }

    static std::vector<std::string_view> splitAtCommas(std::string_view text)
    {
        std::vector<std::string_view> parts;
        std::size_t at = 0;
        for (;;) {
            const std::size_t comma = text.find(',', at);
            if (comma != at)
                parts.push_back(text.substr(at, comma == std::string_view::npos ? std::string_view::npos : comma - at));
            if (comma == std::string_view::npos)
                return parts;
            at = comma + 1;
        }
    }

    void readRow(std::string_view value, int line)
    {
        if (row_ >= grid_.rowCount)
            return refuseLine(line, "：RowData 比 ROWCT 的 " + std::to_string(grid_.rowCount) + " 行多。");
        const std::size_t codes = wordCount(value);
        if (codes != static_cast<std::size_t>(grid_.columnCount))
            return refuseLine(line, "有 " + std::to_string(codes) + " 個代碼，COLCT 是 "
                                        + std::to_string(grid_.columnCount) + "。");
        const MapRow& row = grid_.rows[static_cast<std::size_t>(row_)];
        int column = 0;
        forEachWord(value, [&](std::string_view code) {
            readCode(code, column++, row, line);
            return !refusal_;
        });
        ++row_;
    }

    void readCode(std::string_view code, int column, const MapRow& row, int line)
    {
        const bool null = code == NullCode;
        if (!null && !isHexCode(code))
            return refuseLine(line, "第 " + std::to_string(column + 1) + " 個代碼「" + std::string(code)
                                        + "」不是 __ 或兩位十六進位數。");
        const int offset = column - row.firstColumn;
        const bool die = offset >= 0 && offset % grid_.columnStep == 0 && offset / grid_.columnStep < row.count;
        if (null == die)
            return refuseLine(line, "第 " + std::to_string(column + 1) + " 格：這不是同一個佈局的晶圓圖：這個佈局在此"
                                        + (die ? "有晶粒，圖上卻是 __。" : "沒有晶粒，圖上卻是「" + std::string(code) + "」。"));
        if (null)
            return;
        const int bin = codeValue(code);
        ++codeCounts_[static_cast<std::size_t>(bin)];
        if (goodCodes_[static_cast<std::size_t>(bin)]) {
            ++bins_.good;
        } else {
            ++bins_.bad;
            bins_.badDies.push_back({row_ + 1, offset / grid_.columnStep + 1});
        }
    }

    const MapGrid& grid_;
    const std::string& name_;
    std::map<std::string, HeaderValue, std::less<>> header_;
    std::array<bool, 256> goodCodes_{};
    std::array<std::int64_t, 256> codeCounts_{};
    bool headerChecked_ = false;
    int row_ = 0;
    DieBins bins_;
    std::optional<MapRefusal> refusal_;
};

} // namespace

std::variant<DieBins, MapRefusal> parseSinfBins(std::string_view text, const MapGrid& grid, const std::string& name)
{
    return SinfBinsReader(grid, name).read(text);
}

std::variant<DieBins, MapRefusal> readSinfBins(const std::filesystem::path& file, const MapGrid& grid)
{
    const std::string name = file.string();
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return MapRefusal{"無法讀取晶圓圖 " + name + "：" + systemErrorText(errno, FileAccess::Read) + "。", true};
    const MapRefusal tooLarge{"晶圓圖 " + name + " 太大（超過 " + std::to_string(MaxMapFileBytes >> 20)
                              + " MB），不是這個程式能寫出的晶圓圖。"};
    // A regular file is measured first; anything else is read up to the bound.
    std::error_code sizeError;
    if (std::filesystem::is_regular_file(file, sizeError) && std::filesystem::file_size(file, sizeError) > MaxMapFileBytes
        && !sizeError)
        return tooLarge;
    std::string text;
    char block[1 << 16];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        text.append(block, static_cast<std::size_t>(in.gcount()));
        if (text.size() > MaxMapFileBytes)
            return tooLarge;
    }
    if (in.bad())
        return MapRefusal{"無法讀取晶圓圖 " + name + "：" + systemErrorText(errno == 0 ? EIO : errno, FileAccess::Read) + "。",
                          true};
    return parseSinfBins(text, grid, name);
}

} // namespace kerf

// SPDX-License-Identifier: GPL-3.0-or-later
#include "job/job_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <iterator>

#include <nlohmann/json.hpp>

#include "files/file_replacement.h"
#include "files/shown_path.h"
#include "files/system_error_text.h"
#include "files/utf8.h"
#include "job/strict_json.h"

namespace kerf {
namespace {

using nlohmann::json;

std::string named(const std::filesystem::path& file)
{
    return file == "-" ? std::string("標準輸入的工作檔") : "工作檔「" + shownPath(file) + "」";
}

JobRefusal refusal(const std::filesystem::path& file, const std::string& what)
{
    return {named(file) + what, std::string(JobOpenTitle)};
}

JobRefusal unreadable(const std::filesystem::path& file, const std::string& why)
{
    return {named(file) + "無法讀取：" + why + "。", std::string(JobOpenTitle), true};
}

// «第 3 行第 5 個字元» of the byte at `offset` (0-based) in `text`.
std::string lineAndColumn(std::string_view text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    const std::string_view before = text.substr(0, offset);
    const std::size_t line = 1 + std::count(before.begin(), before.end(), '\n');
    const std::size_t lineStart = before.rfind('\n') == std::string_view::npos ? 0 : before.rfind('\n') + 1;
    // Columns count characters, not the bytes of UTF-8.
    const std::size_t column = 1 + std::count_if(before.begin() + lineStart, before.end(),
                                                 [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
    return "第 " + std::to_string(line) + " 行第 " + std::to_string(column) + " 個字元";
}

std::string kindOf(const json& value)
{
    switch (value.type()) {
    case json::value_t::null: return "null";
    case json::value_t::boolean: return "真假值 " + value.dump();
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
    case json::value_t::number_float: return "數值 " + value.dump();
    case json::value_t::array: return "陣列";
    case json::value_t::object: return "物件";
    default: return "字串 " + value.dump();
    }
}

std::string waferListText()
{
    std::string items;
    for (std::string_view item : WaferSizeItems)
        items += (items.empty() ? "「" : "、「") + std::string(item) + "」";
    return items;
}

bool isWaferSize(const std::optional<std::string>& wafer)
{
    return !wafer || wafer->empty() || std::find(WaferSizeItems.begin(), WaferSizeItems.end(), *wafer) != WaferSizeItems.end();
}

std::string waferFault(const std::string& wafer)
{
    return "晶片直徑「" + wafer + "」不是清單的一項（" + waferListText() + "，或空白）。";
}

bool isShape(const std::optional<std::string>& shape)
{
    return !shape || shape->empty() || std::find(DieShapeItems.begin(), DieShapeItems.end(), *shape) != DieShapeItems.end();
}

std::string shapeFault(const std::string& shape)
{
    return "晶粒形狀「" + shape + "」不是清單的一項（「Circle」、「Hexagon」、「Square」，大小寫照寫，或空白）。";
}

// One section's keys into `section`, or what is wrong with it.
template <typename Section, std::size_t N>
std::optional<std::string> readSection(const json& object, std::string_view name, Section& section,
                                       const std::array<JobKey<Section>, N>& keys)
{
    if (!object.is_object())
        return "的「" + std::string(name) + "」必須是 JSON 物件，卻是" + kindOf(object) + "。";
    for (const auto& item : object.items()) {
        const std::string& key = item.key();
        const json& value = item.value();
        const auto known = std::find_if(keys.begin(), keys.end(), [&key](const auto& k) { return k.name == key; });
        if (known == keys.end())
            return "有不認得的鍵「" + std::string(name) + "." + key + "」（拼錯了嗎？）。";
        if (!value.is_string())
            return "的「" + std::string(name) + "." + key + "」必須是字串（方塊裡的文字，例如 \"50\"），卻是"
                   + kindOf(value) + "。";
        section.*known->value = value.template get<std::string>();
    }
    return std::nullopt;
}

// The flats: [{"length": …, "at": …}, {…}], the primary first.
std::optional<std::string> readFlats(const json& list, JobFlats& flats)
{
    if (!list.is_array() || list.size() > 2)
        return "的「flats」必須是至多兩項的 JSON 陣列（主平邊、次平邊），卻是" + kindOf(list) + "。";
    const std::array<std::array<std::optional<std::string>*, 2>, 2> slots = {
        {{&flats.length, &flats.at}, {&flats.secondLength, &flats.secondAt}}};
    for (std::size_t i = 0; i < list.size(); ++i) {
        const json& flat = list[i];
        if (!flat.is_object())
            return "的「flats」每一項必須是 JSON 物件，卻是" + kindOf(flat) + "。";
        for (const auto& item : flat.items()) {
            const std::size_t k = item.key() == "length" ? 0 : item.key() == "at" ? 1 : 2;
            if (k == 2)
                return "有不認得的鍵「flats." + item.key() + "」（拼錯了嗎？）。";
            if (!item.value().is_string())
                return "的「flats." + item.key() + "」必須是字串（方塊裡的文字，例如 \"32.5\"），卻是" +
                       kindOf(item.value()) + "。";
            *slots[i][k] = item.value().get<std::string>();
        }
    }
    return std::nullopt;
}

std::string flatsText(const JobFlats& flats)
{
    const auto entry = [](const std::optional<std::string>& length, const std::optional<std::string>& at) {
        return "{\"length\": " + json(length.value_or("")).dump() + ", \"at\": " + json(at.value_or("")).dump() + "}";
    };
    std::string text = "[" + entry(flats.length, flats.at);
    if (flats.secondLength.value_or("") != "" || flats.secondAt.value_or("") != "")
        text += ", " + entry(flats.secondLength, flats.secondAt);
    return text + "]";
}

bool holdsFlats(const JobFlats& flats)
{
    return std::any_of(FlatKeys.begin(), FlatKeys.end(), [&](const auto& key) {
        return !(flats.*key.value).value_or("").empty();
    });
}

std::optional<std::string> jobFault(const json& document, Job& job)
{
    if (!document.is_object())
        return "不是 Kerfwright 工作檔：內容不是 JSON 物件。";
    const auto format = document.find("format");
    if (format == document.end() || !format->is_string() || format->get<std::string>() != JobFormat)
        return "不是 Kerfwright 工作檔：「format」" + (format == document.end() ? std::string("不存在")
                                                                                : "是" + kindOf(*format))
               + "，應為 \"" + std::string(JobFormat) + "\"。";
    const auto version = document.find("version");
    if (version == document.end() || !version->is_number_integer() || *version < 1)
        return "的「version」" + (version == document.end() ? std::string("不存在") : "是" + kindOf(*version))
               + "，應為 1 以上的整數。";
    if (*version > JobVersion)
        return "的版本是 " + version->dump() + "，比這個程式能讀的版本 " + std::to_string(JobVersion)
               + " 新；請以較新的 Kerfwright 開啟。";
    for (const auto& [key, value] : document.items()) {
        std::optional<std::string> fault;
        if (key == "designer")
            fault = readSection(value, key, job.designer, DesignerKeys);
        else if (key == "program")
            fault = readSection(value, key, job.program, ProgramKeys);
        else if (key == "yield")
            fault = readSection(value, key, job.yield, YieldKeys);
        else if (key == "flats")
            fault = readFlats(value, job.flats);
        else if (key != "format" && key != "version")
            fault = "有不認得的鍵「" + key + "」（拼錯了嗎？）。";
        if (fault)
            return fault;
    }
    if (!isWaferSize(job.designer.wafer))
        return "的「designer.wafer」：" + waferFault(*job.designer.wafer);
    if (!isShape(job.designer.shape))
        return "的「designer.shape」：" + shapeFault(*job.designer.shape);
    return std::nullopt;
}

template <typename Section, std::size_t N>
std::string sectionText(const Section& section, const std::array<JobKey<Section>, N>& keys)
{
    std::string text = "{";
    for (const auto& key : keys) {
        if (const auto& value = section.*key.value) {
            text += (text.size() > 1 ? ", \"" : "\"") + std::string(key.name) + "\": " + json(*value).dump();
        }
    }
    return text + "}";
}

template <typename Section, std::size_t N>
bool isUtf8(const Section& section, const std::array<JobKey<Section>, N>& keys)
{
    return std::all_of(keys.begin(), keys.end(), [&](const auto& key) {
        const auto& value = section.*key.value;
        return !value || value->empty() || decodeUtf8(*value).has_value();
    });
}

} // namespace

std::variant<Job, JobRefusal> parseJob(std::string_view text, const std::filesystem::path& file)
{
    auto parsed = parseStrictJson(text);
    if (const auto* fault = std::get_if<JsonFault>(&parsed)) {
        if (!fault->offset)
            return refusal(file, "的" + fault->what + "。");
        return refusal(file, "不是正確的 JSON：" + lineAndColumn(text, *fault->offset) + fault->what + "。");
    }
    const json& document = std::get<json>(parsed);
    Job job;
    if (const auto fault = jobFault(document, job))
        return refusal(file, *fault);
    return job;
}

std::variant<Job, JobRefusal> readJob(const std::filesystem::path& file, JobSource source)
{
    const bool regularOnly = source == JobSource::RegularFileOnly;
    // Opening a FIFO waits for its writer, unless it is opened without waiting.
    const int fd = !regularOnly && file == "-" ? ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0)
                                               : ::open(file.c_str(), O_RDONLY | O_CLOEXEC | (regularOnly ? O_NONBLOCK : 0));
    if (fd < 0)
        return unreadable(file, systemErrorText(errno, FileAccess::Read));
    struct stat info {};
    if (regularOnly && ::fstat(fd, &info) == 0 && !S_ISREG(info.st_mode)) {
        ::close(fd);
        return unreadable(file, S_ISDIR(info.st_mode) ? systemErrorText(EISDIR, FileAccess::Read)
                                                      : std::string("不是一般檔案（是具名管道、裝置或通訊端）"));
    }
    std::string text;
    char block[1 << 14];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return unreadable(file, systemErrorText(error, FileAccess::Read));
        }
        if (got == 0)
            break;
        text.append(block, static_cast<std::size_t>(got));
        if (text.size() > JobFileMaxBytes) {
            ::close(fd);
            return refusal(file, "太大（超過 1 MB），不是 Kerfwright 工作檔。");
        }
    }
    ::close(fd);
    return parseJob(text, file);
}

int jobVersionOf(const Job& job) { return holdsYield(job.yield) || holdsFlats(job.flats) ? 2 : 1; }

std::string jobText(const Job& job)
{
    std::string text = "{\"format\": \"" + std::string(JobFormat) + "\", \"version\": "
                       + std::to_string(jobVersionOf(job)) + ",\n" + " \"designer\": "
                       + sectionText(job.designer, DesignerKeys) + ",\n" + " \"program\":  "
                       + sectionText(job.program, ProgramKeys);
    if (holdsFlats(job.flats))
        text += ",\n \"flats\": " + flatsText(job.flats);
    if (holdsYield(job.yield))
        text += ",\n \"yield\":    " + sectionText(job.yield, YieldKeys);
    return text + "}\n";
}

std::optional<JobRefusal> writeJob(const std::filesystem::path& file, const Job& job)
{
    const std::string title(JobSaveTitle);
    if (!isUtf8(job.designer, DesignerKeys) || !isUtf8(job.program, ProgramKeys) || !isUtf8(job.yield, YieldKeys)
        || !isUtf8(job.flats, FlatKeys))
        return JobRefusal{named(file) + "沒有寫入：有一個值不是正確的 UTF-8 文字。", title};
    if (!isWaferSize(job.designer.wafer))
        return JobRefusal{named(file) + "沒有寫入：" + waferFault(*job.designer.wafer), title};
    if (!isShape(job.designer.shape))
        return JobRefusal{named(file) + "沒有寫入：" + shapeFault(*job.designer.shape), title};
    const std::string text = jobText(job);
    if (const auto failure = replaceFile(file, [&](std::ostream& out) { out << text; }))
        return JobRefusal{replaceFailureText("工作檔", file, *failure), title};
    return std::nullopt;
}

} // namespace kerf

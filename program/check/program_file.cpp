#include "program/check/program_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

#include "files/system_error_text.h"
#include "program/reader/reading_error_text.h"

namespace kerf {

namespace {

/// The whole file, or the errno that stopped its reading.
std::variant<std::string, int> fileBytes(const std::string& path, std::time_t& modified)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return errno;
    struct stat info {};
    if (::fstat(::fileno(file), &info) == 0)
        modified = info.st_mtime;
    std::string text;
    char block[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0)
        text.append(block, n);
    const bool failed = std::ferror(file) != 0;
    const int error = errno; // a folder opens, and fails as it is read
    std::fclose(file);
    if (failed)
        return error;
    return text;
}

} // namespace

std::variant<ProgramFile, ProgramFileRefusal> readProgramFile(const std::string& path)
{
    ProgramFile file;
    file.path = path;
    auto bytes = fileBytes(path, file.modified);
    if (const int* error = std::get_if<int>(&bytes))
        return ProgramFileRefusal{"無法讀取程式檔 " + path + "：" + systemErrorText(*error, FileAccess::Read) + "。"};
    file.text = std::get<std::string>(std::move(bytes));
    auto parsed = parseProgram(file.text);
    if (const auto* error = std::get_if<ProgramError>(&parsed))
        return ProgramFileRefusal{"程式檔 " + path + " 不是正確的切割程式：" +
                                  readingErrorText(*error, file.text)};
    file.program = std::make_shared<const Program>(std::get<Program>(std::move(parsed)));
    return file;
}

std::uint64_t lineCount(std::string_view text)
{
    const auto ends = static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
    return ends + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

} // namespace kerf

#include "cli/program_file.h"

#include <cerrno>
#include <cstdio>

#include "files/system_error_text.h"
#include "program/reader/reading_error_text.h"

namespace kerf::cli {

namespace {

/// The whole file, or the reason it cannot be read.
std::optional<std::string> readFile(const std::string& path, std::string& reason)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        reason = systemErrorText(errno, FileAccess::Read);
        return std::nullopt;
    }
    std::string text;
    char block[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0)
        text.append(block, n);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        reason = systemErrorText(error, FileAccess::Read); // a folder, say
        return std::nullopt;
    }
    return text;
}

} // namespace

std::optional<Program> readProgramFile(const std::string& path, std::ostream& err)
{
    std::string reason;
    const std::optional<std::string> text = readFile(path, reason);
    if (!text) {
        err << "無法讀取程式檔 " << path << "：" << reason << '\n';
        return std::nullopt;
    }
    auto parsed = parseProgram(*text);
    if (const auto* error = std::get_if<ProgramError>(&parsed)) {
        err << "程式檔 " << path << " 不是正確的切割程式：" << readingErrorText(*error, *text) << '\n';
        return std::nullopt;
    }
    return std::get<Program>(std::move(parsed));
}

} // namespace kerf::cli

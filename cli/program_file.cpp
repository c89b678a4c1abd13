#include "cli/program_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kerf::cli {

namespace {

/// The whole file ("-": standard input), or the reason it cannot be read.
std::optional<std::string> readFile(const std::string& path, std::string& reason)
{
    const bool standardInput = path == "-";
    std::FILE* file = standardInput ? stdin : std::fopen(path.c_str(), "rb");
    if (!file) {
        reason = std::strerror(errno);
        return std::nullopt;
    }
    std::string text;
    char block[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0)
        text.append(block, n);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    if (!standardInput)
        std::fclose(file);
    if (failed) {
        reason = std::strerror(error); // a folder, say
        return std::nullopt;
    }
    return text;
}

} // namespace

std::variant<Program, ProgramFileFault> readProgramFile(const std::string& path, std::ostream& err)
{
    std::string reason;
    const std::optional<std::string> text = readFile(path, reason);
    if (!text) {
        err << "無法讀取程式檔 " << path << "：" << reason << '\n';
        return ProgramFileFault::Unreadable;
    }
    auto parsed = parseProgram(*text);
    if (const auto* error = std::get_if<ProgramError>(&parsed)) {
        err << "程式檔 " << path << " 不是正確的切割程式：" << error->text() << '\n';
        return ProgramFileFault::Malformed;
    }
    return std::get<Program>(std::move(parsed));
}

} // namespace kerf::cli

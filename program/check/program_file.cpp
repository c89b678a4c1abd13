#include "program/check/program_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

#include "program/check/program_error_text.h"

namespace kerf {

namespace {

std::string readingReason(int error)
{
    switch (error) {
    case ENOENT: return "檔案不存在";
    case EACCES:
    case EPERM: return "沒有讀取這個檔案的權限";
    case EISDIR: return "這是資料夾，不是檔案";
    case ENOTDIR: return "路徑中有一項不是資料夾";
    case ENAMETOOLONG: return "路徑太長";
    case ELOOP: return "符號連結太多層或互相連結";
    case EIO: return "磁碟讀寫錯誤";
    case ENOMEM: return "記憶體不足";
    default: return "系統錯誤（錯誤碼 " + std::to_string(error) + "）";
    }
}

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
        return ProgramFileRefusal{"無法讀取程式檔 " + path + "：" + readingReason(*error) + "。"};
    file.text = std::get<std::string>(std::move(bytes));
    auto parsed = parseProgram(file.text);
    if (const auto* error = std::get_if<ProgramError>(&parsed))
        return ProgramFileRefusal{"程式檔 " + path + " 不是正確的切割程式。" +
                                  describeProgramError(*error, file.text).verdict};
    file.program = std::make_shared<const Program>(std::get<Program>(std::move(parsed)));
    return file;
}

std::uint64_t lineCount(std::string_view text)
{
    const auto ends = static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
    return ends + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

} // namespace kerf

// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/reader/program_file.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <new>

#include "files/shown_path.h"
#include "files/system_error_text.h"
#include "program/reader/reading_error_text.h"

namespace kerf {

namespace {

constexpr std::size_t MostProgramMemory = std::size_t(1) << 30;
constexpr std::size_t MiB = std::size_t(1) << 20;

/// Pages the process holds now: its address space and its data.
struct Held {
    std::size_t space = 0;
    std::size_t data = 0;
};

Held heldNow()
{
    Held held;
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0, resident = 0, shared = 0, text = 0, lib = 0, data = 0;
    if (statm >> size >> resident >> shared >> text >> lib >> data) {
        const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        held = {size * page, data * page};
    }
    return held;
}

/// What is left under a limit of the process, or the bound when it has none.
std::size_t leftUnder(int resource, std::size_t held, std::size_t bound)
{
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return bound;
    const auto cur = static_cast<std::size_t>(limit.rlim_cur);
    return cur > held ? std::min(bound, cur - held) : 0;
}

std::string megabytes(std::size_t bytes) { return std::to_string((bytes + MiB - 1) / MiB) + " MB"; }

/// How reading the bytes of a file ended.
struct FileBytes {
    std::pmr::string text{largePageMemory()};
    int error = 0;          // the errno that stopped the reading
    bool tooLarge = false;  // the file holds more than `most` bytes
};

/// The bytes of the file at `path` ("-": standard input), at most `most` of
/// them. A regular file is read into the room its size needs; a device or a
/// pipe grows its text by doubling, never past `most`.
FileBytes fileBytes(const std::string& path, std::size_t most, std::time_t& modified)
{
    FileBytes read;
    const bool standardInput = path == "-";
    std::FILE* file = standardInput ? stdin : std::fopen(path.c_str(), "rb");
    if (!file) {
        read.error = errno;
        return read;
    }
    struct stat info {};
    if (::fstat(::fileno(file), &info) == 0) {
        modified = info.st_mtime;
        if (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) <= most)
            read.text.reserve(static_cast<std::size_t>(info.st_size));
    }
    char block[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0) {
        if (n > most - read.text.size()) {
            read.tooLarge = true;
            break;
        }
        if (read.text.size() + n > read.text.capacity())
            read.text.reserve(std::min(most, std::max(2 * read.text.capacity(), read.text.size() + n)));
        read.text.append(block, n);
    }
    if (!read.tooLarge && std::ferror(file) != 0)
        read.error = errno ? errno : EIO; // a folder opens, and fails as it is read
    if (!standardInput)
        std::fclose(file);
    if (read.tooLarge || read.error)
        read.text = {};
    return read;
}

} // namespace

std::size_t programMemoryBound()
{
    const Held held = heldNow();
    return std::min(leftUnder(RLIMIT_AS, held.space, MostProgramMemory),
                    leftUnder(RLIMIT_DATA, held.data, MostProgramMemory));
}

std::variant<ProgramFile, ProgramFileRefusal> readProgramFile(const std::string& path)
{
    const std::size_t bound = programMemoryBound();
    const auto tooLarge = [&] {
        return ProgramFileRefusal{ProgramFileFault::TooLarge,
                                  "程式檔 " + shownPath(path) + " 太大：讀入它所需的記憶體超過界限 " + megabytes(bound) +
                                      "（程式檔最多 " + megabytes(bound / 2) + "）。"};
    };
    ProgramFile file;
    file.path = path;
    FileBytes bytes = fileBytes(path, bound / 2, file.modified);
    if (bytes.tooLarge)
        return tooLarge();
    if (bytes.error)
        return ProgramFileRefusal{ProgramFileFault::Unreadable,
                                  "無法讀取程式檔 " + shownPath(path) + "：" + systemErrorText(bytes.error, FileAccess::Read) + "。"};
    file.text = std::move(bytes.text);
    try {
        auto parsed = parseProgram(file.text, bound - file.text.size());
        if (const auto* error = std::get_if<ProgramError>(&parsed))
            return ProgramFileRefusal{ProgramFileFault::NotAProgram, "程式檔 " + shownPath(path) + " 不是正確的切割程式：" +
                                                                         readingErrorText(*error, file.text)};
        file.program = std::make_shared<const Program>(std::get<Program>(std::move(parsed)));
    } catch (const std::bad_alloc&) {
        file.text = {};
        return tooLarge();
    }
    return file;
}

std::uint64_t lineCount(std::string_view text)
{
    const auto ends = static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
    return ends + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

} // namespace kerf

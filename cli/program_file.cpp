#include "cli/program_file.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <optional>

namespace kerf::cli {

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

/// The text of the file, at most `most` bytes; none with `reason` set when it
/// cannot be read, or `tooLarge` when it holds more.
std::optional<std::string> readText(const std::string& path, std::size_t most, std::string& reason, bool& tooLarge)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        reason = std::strerror(errno);
        return std::nullopt;
    }
    std::string text;
    // A regular file is read into the room its size needs; a device or a
    // pipe grows its text by doubling, never past `most`.
    struct stat info{};
    if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) <= most)
        text.reserve(static_cast<std::size_t>(info.st_size));
    char block[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0) {
        if (n > most - text.size()) {
            tooLarge = true;
            std::fclose(file);
            return std::nullopt;
        }
        if (text.size() + n > text.capacity())
            text.reserve(std::min(most, std::max(2 * text.capacity(), text.size() + n)));
        text.append(block, n);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        reason = std::strerror(error); // a folder, say
        return std::nullopt;
    }
    return text;
}

} // namespace

std::size_t programMemoryBound()
{
    const Held held = heldNow();
    return std::min(leftUnder(RLIMIT_AS, held.space, MostProgramMemory),
                    leftUnder(RLIMIT_DATA, held.data, MostProgramMemory));
}

std::variant<Program, ProgramFileFault> readProgramFile(const std::string& path, std::ostream& err)
{
    const std::size_t bound = programMemoryBound();
    const auto tooLarge = [&] {
        err << "程式檔 " << path << " 太大：讀入它所需的記憶體超過界限 " << megabytes(bound)
            << "（程式檔最多 " << megabytes(bound / 2) << "）。\n";
        return ProgramFileFault::TooLarge;
    };
    std::string reason;
    bool beyond = false;
    std::optional<std::string> text = readText(path, bound / 2, reason, beyond);
    if (beyond)
        return tooLarge();
    if (!text) {
        err << "無法讀取程式檔 " << path << "：" << reason << '\n';
        return ProgramFileFault::Unreadable;
    }
    try {
        auto parsed = parseProgram(*text, bound - text->size());
        if (const auto* error = std::get_if<ProgramError>(&parsed)) {
            err << "程式檔 " << path << " 不是正確的切割程式：" << error->text() << '\n';
            return ProgramFileFault::NotAProgram;
        }
        return std::get<Program>(std::move(parsed));
    } catch (const std::bad_alloc&) {
        text.reset();
        return tooLarge();
    }
}

} // namespace kerf::cli

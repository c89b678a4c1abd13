// SPDX-License-Identifier: GPL-3.0-or-later
// Any command line: kerfwright-cli answers with a status from 0 to 3, and
// never crashes. Words are separated by NUL. Command lines that could write
// outside the fuzzer's own folder are skipped: no word may hold "/", and
// generate must write to standard output. What a command writes is capped,
// so that no input spends the run writing hundreds of megabytes: files by
// the file size limit (the write fails, as past ulimit -f), standard output
// by a stream that fails past the same size, which ends the input.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"

namespace {

constexpr std::streamsize OutputCapBytes = 32 << 20;
constexpr std::string_view FolderPrefix = "kerf-fuzz-cli-";

// Standard output that takes at most OutputCapBytes.
class CappedBuffer : public std::stringbuf {
protected:
    int_type overflow(int_type c) override
    {
        return ++written_ > OutputCapBytes ? traits_type::eof() : std::stringbuf::overflow(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        if (written_ + n > OutputCapBytes)
            return 0;
        written_ += n;
        return std::stringbuf::xsputn(s, n);
    }

private:
    std::streamsize written_ = 0;
};

std::filesystem::path folder;

// The folders of fuzzer processes that are gone, this one's of an earlier
// process with the same id included: a run ended by its timeout or a crash
// has no exit to remove its own.
void removeLeftoverFolders(const std::filesystem::path& base)
{
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(base, ignored)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(FolderPrefix))
            continue;
        const std::string_view id = std::string_view(name).substr(FolderPrefix.size());
        pid_t pid = 0;
        const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), pid);
        const bool living = ec == std::errc() && end == id.data() + id.size() && pid != ::getpid() &&
                            (::kill(pid, 0) == 0 || errno != ESRCH);
        if (!living)
            std::filesystem::remove_all(entry.path(), ignored);
    }
}

} // namespace

// The files that the command lines write land in a folder of this process
// (under KERF_FUZZ_WORK, else /tmp), removed at the end and, when a run ends
// without an exit, by the next run.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* work = std::getenv("KERF_FUZZ_WORK");
    const std::filesystem::path base = work && *work ? work : "/tmp";
    std::error_code failed;
    std::filesystem::create_directories(base, failed);
    removeLeftoverFolders(base);
    folder = base / (std::string(FolderPrefix) + std::to_string(::getpid()));
    std::filesystem::create_directory(folder, failed);
    if (failed || ::chdir(folder.c_str()) != 0)
        std::abort();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
    const rlimit fileSize{OutputCapBytes, OutputCapBytes};
    if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    bool toStandardOutput = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].find('/') != std::string::npos)
            return 0;
        if (args[i] == "--out=-" || (args[i] == "--out" && i + 1 < args.size() && args[i + 1] == "-"))
            toStandardOutput = true;
    }
    if (!args.empty() && args.front() == "generate" && !toStandardOutput)
        return 0;
    CappedBuffer outBuffer, errBuffer;
    std::ostream out(&outBuffer), err(&errBuffer);
    out.exceptions(std::ios::badbit); // the cap ends the command
    int status = 0;
    try {
        status = kerf::cli::runCommandLine(args, out, err);
    } catch (const std::ios_base::failure&) {
        if (!out.bad())
            throw; // not the cap: a fault
        return 0;
    }
    if (status < 0 || status > 3)
        __builtin_trap();
    return 0;
}

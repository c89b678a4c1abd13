// Any command line: kerfwright-cli answers with a status from 0 to 3, and
// never crashes. Words are separated by NUL. Command lines that could write
// outside the fuzzer's own folder are skipped: no word may hold "/", and
// generate must write to standard output.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

char folder[] = "/tmp/kerf-fuzz-cli-XXXXXX";

} // namespace

// The files that the command lines write land in a folder of their own,
// removed at the end.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!::mkdtemp(folder) || ::chdir(folder) != 0)
        std::abort();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
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
    std::ostringstream out, err;
    const int status = kerf::cli::runCommandLine(args, out, err);
    if (status < 0 || status > 3)
        __builtin_trap();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Memory that runs out at any allocation of a command: the command says so
// and fails, it never aborts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <sstream>

#include "cli/commands.h"

namespace {

// Allocations left before one fails (once: what the unwinding frees is
// there again, as with a real shortage); negative: none fails.
long allocationsLeft = -1;

} // namespace

void* operator new(std::size_t size)
{
    if (allocationsLeft == 0) {
        allocationsLeft = -1;
        throw std::bad_alloc();
    }
    if (allocationsLeft > 0)
        --allocationsLeft;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Standard output that takes everything without allocating, as a file does.
class Discarded : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

struct Outcome {
    int status;
    std::string err;
};

Outcome runFailingAt(const std::vector<std::string>& args, long at)
{
    Discarded discarded;
    std::ostream out(&discarded);
    std::ostringstream err;
    allocationsLeft = at;
    int status = 0;
    try {
        status = kerf::cli::runCommandLine(args, out, err);
    } catch (...) {
        allocationsLeft = -1;
        throw;
    }
    allocationsLeft = -1;
    return {status, err.str()};
}

} // namespace

TEST(CliOutOfMemory, EveryCommandSaysSoWhereverMemoryRunsOut)
{
    const std::vector<std::vector<std::string>> commands = {
        {"design", "--wafer", "2.0 Inches", "--shape", "Hexagon", "--die", "300"},
        {"simulate", "--wafer", "2.0 Inches", "--die", "300"},
        {"generate", "--wafer", "2.0 Inches", "--shape", "Circle", "--die", "300", "--name", "job", "--out", "-"},
    };
    for (const auto& args : commands) {
        int failures = 0;
        for (long at = 0; at < 400; at += 3) {
            const Outcome outcome = runFailingAt(args, at);
            if (outcome.status == 0)
                continue;
            ++failures;
            EXPECT_EQ(outcome.status, 1) << args[0] << " at " << at;
            EXPECT_NE(outcome.err.find(kerf::cli::OutOfMemoryMessage), std::string::npos)
                << args[0] << " at " << at << ": " << outcome.err;
        }
        EXPECT_GT(failures, 0) << args[0];
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>

#include "cli/commands.h"
#include "cli/message_prefix.h"
#include "files/temporary_names.h"

namespace {

void sayOutOfMemory()
{
    std::fputs(kerf::cli::MessagePrefix.data(), stderr);
    std::fputs(kerf::cli::OutOfMemoryMessage.data(), stderr);
    std::fputs("\n", stderr);
}

// Memory that ran out where no one can catch it (in a library's destructor,
// which may not throw): the command's words and status 1 rather than an abort.
[[noreturn]] void endUncaught()
{
    try {
        if (const std::exception_ptr uncaught = std::current_exception())
            std::rethrow_exception(uncaught);
    } catch (const std::bad_alloc&) {
        sayOutOfMemory();
        std::fflush(stderr);
        std::_Exit(1);
    } catch (...) {
    }
    std::abort();
}

} // namespace

int main(int argc, char** argv)
{
    std::set_terminate(endUncaught);
    // SIGXFSZ from elsewhere, while computing too, ends the command with words and status 1.
    kerf::setSignalMessagePrefix(kerf::cli::MessagePrefix.data());
    kerf::handleEndingSignals();
    try {
        const int status = kerf::cli::runCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
        // std::cout hands its text to stdio, which may fail only when it
        // flushes; a failure std::cout saw has been reported already.
        if (std::cout.good() && (std::fflush(stdout) != 0 || std::ferror(stdout))) {
            std::cerr << kerf::cli::MessagePrefix << kerf::cli::StandardOutputFailure << '\n';
            return 1;
        }
        return status;
    } catch (const std::bad_alloc&) {
        sayOutOfMemory();
        return 1;
    }
}

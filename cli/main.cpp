// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <iostream>
#include <new>

#include "cli/commands.h"
#include "cli/message_prefix.h"

int main(int argc, char** argv)
{
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
        std::fputs(kerf::cli::MessagePrefix.data(), stderr);
        std::fputs(kerf::cli::OutOfMemoryMessage.data(), stderr);
        std::fputs("\n", stderr);
        return 1;
    }
}

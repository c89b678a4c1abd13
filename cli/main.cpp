#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv)
{
    return kerf::cli::runCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}

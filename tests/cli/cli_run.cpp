#include "cli_run.h"

#include <fstream>
#include <sstream>

#include "cli/commands.h"

namespace kerf::testing {

CliRun run(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = cli::runCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace kerf::testing

#include "cli/commands.h"

#include <new>

#include "cli/check_command.h"
#include "cli/command_line.h"
#include "cli/generate_command.h"
#ifdef KERF_WITH_MAP
#include "cli/map_command.h"
#include "cli/sweep_command.h"
#endif

namespace kerf::cli {

const std::vector<Command>& commands()
{
    static const std::vector<Command> all = {
        {"design",
         "design --wafer SIZE --shape SHAPE --die MIL [--gap MIL] [--effective INCHES] [--csv FILE]\n"
         "    Lays the dies out as the designer's design button does; prints the layout as JSON.\n"
         "    --csv writes one line per die: row, die, centre X and Y in inches (Y up);\n"
         "    --csv - writes them to standard output in place of the JSON.",
         &runDesignCommand},
        {"simulate",
         "simulate --wafer SIZE --die MIL [--effective INCHES]\n"
         "    Lays hexagons out in columns as the simulator does; prints the layout as JSON.",
         &runSimulateCommand},
        {"generate", GenerateUsage, &runGenerateCommand},
        {"check", CheckUsage, &runCheckCommand},
#ifdef KERF_WITH_MAP
        {"map", MapUsage, &runMapCommand},
        {"sweep", SweepUsage, &runSweepCommand},
#endif
    };
    return all;
}

namespace {

void printUsage(std::ostream& out)
{
    out << "Usage: kerfwright-cli COMMAND [OPTIONS]\n\nCommands:\n";
    for (const Command& command : commands())
        out << "  " << command.usage << "\n";
    out << "\nOption values are the texts typed into the window's boxes, taken as they stand.\n"
           "SIZE is an item of the wafer size list: \"2.0 Inches\", \"2.5 Inches\", \"3.0 Inches\",\n"
           "\"4.0 Inches\", \"5.0 Inches\"; SHAPE is Circle, Hexagon or Square.\n"
           "Exit status: 0 done, 1 input refused or output not written (the message on stderr),\n"
           "2 usage error.\n";
}

} // namespace

bool outputWritten(std::ostream& out, std::ostream& err)
{
    out.flush();
    if (out)
        return true;
    err << "kerfwright-cli: " << StandardOutputFailure << "\n";
    return false;
}

namespace {

int runWords(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        printUsage(err);
        return 2;
    }
    if (args.front() == "--help" || args.front() == "-h" || args.front() == "help") {
        printUsage(out);
        return 0;
    }
    for (const Command& command : commands()) {
        if (args.front() != command.name)
            continue;
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        if (asksForHelp(rest)) {
            out << "Usage: kerfwright-cli " << command.usage << "\n";
            return 0;
        }
        try {
            return command.run(rest, out, err);
        } catch (const UsageError& error) {
            err << "kerfwright-cli " << command.name << ": " << error.what() << "\n"
                << "Usage: kerfwright-cli " << command.usage << "\n";
            return 2;
        }
    }
    err << "kerfwright-cli: unknown command: " << args.front() << "\n\n";
    printUsage(err);
    return 2;
}

} // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    int status = 0;
    try {
        status = runWords(args, out, err);
    } catch (const std::bad_alloc&) {
        err << "kerfwright-cli: " << OutOfMemoryMessage << "\n";
        return !args.empty() && args.front() == "check" ? 3 : 1; // a check that could not be made
    }
    return outputWritten(out, err) ? status : 1;
}

} // namespace kerf::cli

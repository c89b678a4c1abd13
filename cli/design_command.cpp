#include "cli/commands.h"
#include "cli/design_options.h"
#include "cli/layout_json.h"

namespace kerf::cli {

int runDesignCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const DesignOutcome outcome = runDesign(designInputFrom(Options(args, DesignOptionNames)));
    if (std::holds_alternative<NothingToDo>(outcome)) {
        err << EmptyDieSizeMessage << '\n';
        return 1;
    }
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
        err << refusal->prompt << '\n';
        return 1;
    }
    if (std::holds_alternative<OutlineOnly>(outcome)) {
        writeOutlineOnlyJson(out);
        return 0;
    }
    const Design& design = std::get<Design>(outcome);
    writeLayoutJson(out, design.layout, design.results);
    return 0;
}

} // namespace kerf::cli

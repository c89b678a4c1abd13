#include "cli/commands.h"
#include "cli/design_options.h"
#include "layout/die_csv.h"
#include "cli/layout_json.h"
#include "cli/output_file.h"

namespace kerf::cli {

int runDesignCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string_view> names = DesignOptionNames;
    names.push_back("csv");
    const Options options(args, names);
    const DesignOutcome outcome = runDesign(designInputFrom(options));
    if (printedRefusal(outcome, err))
        return 1;
    if (std::holds_alternative<OutlineOnly>(outcome)) {
        writeOutlineOnlyJson(out);
        return 0;
    }
    const Design& design = std::get<Design>(outcome);
    const auto csv = options.get("csv");
    if (csv) {
        const auto failure = writeOutputFile(*csv, out, [&](std::ostream& file) { writeDieCsv(file, design.layout); });
        if (failure) {
            err << replaceFailureText("晶粒座標檔", *csv, *failure) << '\n';
            return 1;
        }
    }
    // "--csv -" puts the CSV on standard output in place of the JSON.
    if (csv != "-")
        writeLayoutJson(out, design.layout, design.results);
    return 0;
}

} // namespace kerf::cli

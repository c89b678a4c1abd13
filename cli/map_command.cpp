#include "cli/map_command.h"

#include <charconv>
#include <optional>

#include <QGuiApplication>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/design_options.h"
#include "cli/program_file.h"
#include "cli/output_file.h"
#include "render/layout_export.h"

namespace kerf::cli {

namespace {

int sideFrom(const std::optional<std::string>& text)
{
    if (!text)
        return map::MapPictureSide;
    int side = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), side);
    if (ec != std::errc() || end != text->data() + text->size() || side < 16 || side > 4096)
        throw UsageError("--size must be a whole number of pixels from 16 to 4096");
    return side;
}

// Images are drawn without a window: Qt runs on the offscreen platform
// unless the caller chose another. The application is never destroyed:
// tearing it down among the other statics at exit is not safe.
void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's note that a session without a desktop has no runtime folder is no
    // concern of an image file; every other message goes where it went.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type != QtWarningMsg || !message.startsWith(QLatin1String("QStandardPaths:")))
                previous(type, context, message);
        });
    static int argc = 1;
    static char name[] = "kerfwright-cli";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

} // namespace

int runMapCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string_view> names = DesignOptionNames;
    names.insert(names.end(), {"png", "svg", "size", "program"});
    const Options options(args, names);
    const auto png = options.get("png");
    const auto svg = options.get("svg");
    if (png.has_value() == svg.has_value())
        throw UsageError("give one of --png FILE and --svg FILE");
    const std::string path = png ? *png : *svg;
    if (path.empty())
        throw UsageError("--png and --svg need a file name");
    const int side = sideFrom(options.get("size"));
    const DesignInput input = designInputFrom(options);

    const DesignOutcome outcome = runDesign(input);
    if (printedRefusal(outcome, err))
        return 1;
    // No shape chosen: the outline alone, as the designer draws it.
    WaferLayout outline;
    outline.WaferDiameter = input.WaferDiameter;
    const auto* design = std::get_if<Design>(&outcome);
    const WaferLayout& layout = design ? design->layout : outline;

    std::optional<Program> program;
    if (const auto file = options.get("program")) {
        program = readProgramFile(*file, err);
        if (!program)
            return 1;
    }

    ensureGuiApplication();
    const Program* cutPath = program ? &*program : nullptr;
    const auto failure = writeOutputFile(path, out, [&](std::ostream& file) {
        const bool written = png ? map::writeMapPng(file, layout, side, cutPath)
                                 : map::writeMapSvg(file, layout, side, cutPath);
        if (!written)
            file.setstate(std::ios::failbit);
    });
    if (failure) {
        err << replaceFailureText("圖片", path, *failure) << '\n';
        return 1;
    }
    if (path != "-") // else the image is the output
        out << path << '\n';
    return 0;
}

} // namespace kerf::cli

#include "cli/map_command.h"

#include <charconv>
#include <optional>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/design_options.h"
#include "cli/program_file.h"
#include "codegen/file_replacement.h"
#include "designer/map_picture.h"

namespace kerf::cli {

namespace {

constexpr int kDefaultSide = 504; // the designer's picture: 5.25 inches at 96 pixels an inch

int sideFrom(const std::optional<std::string>& text)
{
    if (!text)
        return kDefaultSide;
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

bool writeBytes(std::ostream& out, const QByteArray& bytes)
{
    out.write(bytes.constData(), bytes.size());
    return static_cast<bool>(out);
}

QByteArray pngBytes(const WaferLayout& layout, int side, const Program* program)
{
    QImage image(side, side, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        map::drawMapPicture(painter, layout, side, program);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {};
    return bytes;
}

QByteArray svgBytes(const WaferLayout& layout, int side, const Program* program)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(side, side));
    svg.setViewBox(QRect(0, 0, side, side));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Kerfwright wafer map"));
    QPainter painter;
    if (!painter.begin(&svg))
        return {};
    map::drawMapPicture(painter, layout, side, program);
    painter.end();
    return bytes;
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
    if (std::holds_alternative<NothingToDo>(outcome)) {
        err << EmptyDieSizeMessage << '\n';
        return 1;
    }
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
        err << refusal->prompt << '\n';
        return 1;
    }
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
    const QByteArray bytes = png ? pngBytes(layout, side, cutPath) : svgBytes(layout, side, cutPath);
    if (bytes.isEmpty()) {
        err << "無法產生圖片 " << path << "。\n";
        return 1;
    }
    const auto failure = replaceFile(path, [&](std::ostream& file) {
        if (!writeBytes(file, bytes))
            file.setstate(std::ios::failbit);
    });
    if (failure) {
        err << replaceFailureText("圖片", path, *failure) << '\n';
        return 1;
    }
    out << path << '\n';
    return 0;
}

} // namespace kerf::cli

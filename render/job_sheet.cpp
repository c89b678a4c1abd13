// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/job_sheet.h"


#include <algorithm>
#include <charconv>
#include <filesystem>
#include <sstream>
#include <utility>
#include <vector>

#include <QBuffer>
#include <QCryptographicHash>
#include <QFontMetricsF>
#include <QPdfWriter>

#include "program/check/report/cut_report_figures.h"
#include "program/reader/reading_error_text.h"
#include "program/writer/generation_driver.h"
#include "numbers/local_date.h"
#include "render/cut_path_picture.h"
#include "render/drawing_failure.h"
#include "render/map_view.h"
#include "render/pdf_text_layer.h"
#include "layout/die_area.h"
#include "yield/good_dies.h"

namespace kerf::map {

namespace {

/// A layout of more dies than this is drawn as an image: as vectors its page
/// would grow with the dies.
constexpr long long VectorDieLimit = 20000;
/// The resolution of the images on the page.
constexpr int ImageDotsPerInch = 300;
constexpr double PaperMarginMm = 15;

const QColor FaultColour{255, 0, 0};
const QColor CleanColour{0, 128, 0};
const QColor UncheckedColour{176, 96, 0};
/// A machine value of the program that the job gives otherwise.
const QColor DifferenceColour{176, 96, 0};
/// Between the program's value and the job's when they differ.
constexpr const char* DifferenceMark = "　≠ 工作：";

QString qt(const std::string& text) { return QString::fromStdString(text); }

std::string dateTimeText(std::time_t time)
{
    std::tm local{};
    localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return text;
}

std::string boxValue(const std::optional<std::string>& text, const std::string& unit = {})
{
    if (!text || text->empty())
        return "（空白）";
    return unit.empty() ? *text : *text + " " + unit;
}

struct Row {
    std::string label;
    std::string value;
    QColor colour = Qt::black;
};

struct Section {
    std::string title;
    std::vector<Row> rows;
};

/// The job's value as a number, when it is one: «0.60» and «0.6» say the same.
std::optional<double> numberOf(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool sameValue(std::string_view a, std::string_view b)
{
    const auto x = numberOf(a);
    const auto y = numberOf(b);
    return x && y ? *x == *y : a == b;
}

/// The program's value of a parameter; where the job says otherwise, the
/// job's beside it, marked.
Row programRow(std::string label, std::string program, const std::optional<std::string>& job)
{
    if (job && !job->empty() && sameValue(program, *job))
        return {std::move(label), std::move(program)};
    return {std::move(label), program + DifferenceMark + boxValue(job), DifferenceColour};
}

Row settingRow(const std::string& label, const SettingValues& values, const std::optional<std::string>& job,
               const std::string& absent)
{
    if (values.texts.empty())
        return {label, absent + "（工作：" + boxValue(job) + "）"};
    std::string text;
    for (const std::string& value : values.texts)
        text += (text.empty() ? "" : "、") + value;
    if (values.more)
        text += "……";
    if (values.texts.size() > 1 || values.more)
        return {label, text + DifferenceMark + boxValue(job), DifferenceColour};
    return programRow(label, text, job);
}

Section machineSection(const JobSheet& sheet)
{
    const JobProgram& p = sheet.job.program;
    if (!sheet.program)
        return {"機台參數（取自工作）",
                {{"程式檔名", boxValue(p.name)},
                 {"切割次數", boxValue(p.passes)},
                 {"DVL", boxValue(p.dvl)},
                 {"DAC", boxValue(p.dac)},
                 {"VEL", boxValue(p.vel)},
                 {"ACC", boxValue(p.acc)}}};
    const ProgramSettings& set = sheet.settings;
    const std::string jobName = p.name && !p.name->empty() ? programFilePath({}, *p.name).filename().string() : "";
    Row passes{"切割次數", "（無法檢查）", UncheckedColour};
    if (sheet.report && sheet.report->unchecked == Unchecked::No && !sheet.report->cancelled)
        passes = programRow("切割次數", std::to_string(sheet.report->passes), p.passes);
    return {"機台參數（取自程式）",
            {programRow("程式檔名", sheet.program->name, jobName.empty() ? std::nullopt : std::optional(jobName)),
             passes,
             settingRow("DVL", set.DVL, p.dvl, "程式沒有設定"),
             settingRow("DAC", set.DAC, p.dac, "程式沒有設定"),
             settingRow("VEL", set.VEL, p.vel, "不使用：程式沒有圓弧"),
             settingRow("ACC", set.ACC, p.acc, "不使用：程式沒有圓弧")}};
}

// The good dies under the job's yield settings, or why they cannot be told.
Section goodDiesSection(const JobSheet& sheet)
{
    Section section{"良品估算", {}};
    const auto read = readYieldSettings(yieldTextsOf(sheet.job.yield));
    if (const auto* refusal = std::get_if<YieldRefusal>(&read)) {
        section.rows.push_back({"良率設定", refusal->prompt, FaultColour});
        return section;
    }
    const YieldSettings& settings = std::get<YieldSettings>(read);
    const GoodDies dies = goodDies(settings, dieTotal(*sheet.layout), dieAreaCm2(*sheet.layout));
    section.rows = {{"良率模型", yieldModelText(settings)},
                    {"缺陷密度", exactNumberText(settings.defectDensity) + " 個/cm²"},
                    {"良率", yieldPercentText(dies.yield)},
                    {"良品數", std::to_string(dies.goodDies) + " 個"}};
    if (settings.waferCost)
        section.rows.push_back({"每顆良品成本", costPerGoodDieText(dies)});
    return section;
}

std::vector<Section> leftSections(const JobSheet& sheet)
{
    const JobDesigner& d = sheet.job.designer;
    std::vector<Row> results = {{"總切割列數", sheet.results.rows + " 列"},
                                {"總晶粒數", sheet.results.dies + " 個"},
                                {"面積利用率", sheet.results.utilisation + " %"}};
    if (const auto& bins = sheet.bins)
        results.push_back({"晶圓圖良品／不良品／總數", std::to_string(bins->good) + "／" + std::to_string(bins->bad) + "／"
                                                       + std::to_string(bins->total()) + " 個"});
    std::vector<Section> sections = {
        {"晶片設定值",
         {{"晶片尺寸", boxValue(d.wafer)},
          {"有效直徑", boxValue(d.effective, "英吋")},
          {"晶粒形狀", boxValue(d.shape)},
          {"晶粒尺寸", boxValue(d.die, "mil")},
          {"切割微調值", boxValue(d.gap, "mil")}}},
        {"設計結果", results},
        machineSection(sheet),
    };
    if (holdsYield(sheet.job.yield) && sheet.layout) // after the results
        sections.insert(sections.begin() + 2, goodDiesSection(sheet));
    return sections;
}

std::string jobText(const JobSheet& sheet)
{
    if (sheet.jobFile.empty())
        return "（未儲存的工作）";
    return sheet.jobChanged ? sheet.jobFile + "（有未儲存的變更）" : sheet.jobFile;
}

std::vector<Section> rightSections(const JobSheet& sheet)
{
    Section file{"切割程式", {}};
    if (const auto& program = sheet.program) {
        const bool written = !program->folder.empty();
        file.rows = {{"檔名", program->name},
                     {"資料夾", written ? program->folder : "（現在產生，尚未寫出）"},
                     {"大小", std::to_string(program->text.size()) + " 位元組"},
                     {"行數", std::to_string(lineCount(program->text)) + " 行"},
                     {"日期", program->modified ? dateTimeText(*program->modified) : "（現在產生）"}};
    } else {
        file.rows = {{"程式", sheet.noProgram, FaultColour}};
    }
    Section check{std::string(FiguresTitle), {}};
    if (const auto& report = sheet.report) {
        const ReportText text = describeReport(*report);
        check.rows.push_back({"結論", text.verdict,
                              text.fault ? FaultColour : text.unchecked ? UncheckedColour : CleanColour});
        for (const ReportFigure& figure : text.figures) {
            const std::string_view key = figure.key;
            if (key == "diesFullyCut" || key == "uncutDies" || key == "strayCuts" || key == "outsideCuts" ||
                key == "machineSeconds")
                check.rows.push_back({std::string(figure.label), figure.value,
                                      figure.fault ? FaultColour : QColor(Qt::black)});
        }
    } else {
        check.rows.push_back({"結論", "沒有程式可以檢查。", UncheckedColour});
    }
    if (!sheet.comparedWith.empty())
        check.rows.push_back({"比較", sheet.comparedWith});
    return {file, check};
}

/// Fonts sized in points for a device of `dotsPerInch`.
struct Fonts {
    QFont title, heading, text, digits;
    explicit Fonts(int dotsPerInch)
    {
        const auto sized = [dotsPerInch](QFont font, double points, bool bold) {
            font.setPixelSize(std::max(1, static_cast<int>(points * dotsPerInch / 72.0 + 0.5)));
            font.setBold(bold);
            // Shaped Latin runs of the CJK font take digit glyphs that the
            // PDF's text layer cannot map back: the figures would not be found.
            font.setStyleStrategy(QFont::PreferNoShaping);
            return font;
        };
        QFont sans(QStringLiteral("Noto Sans CJK TC"));
        sans.setStyleHint(QFont::SansSerif);
        QFont mono(QStringLiteral("Noto Sans Mono CJK TC"));
        mono.setStyleHint(QFont::Monospace);
        title = sized(sans, 18, true);
        heading = sized(sans, 11, true);
        text = sized(sans, 9, false);
        digits = sized(mono, 8.5, false);
    }
};

/// Writes `text` into the width from `left` at `top`, wrapped; returns the height used.
double drawWrapped(QPainter& painter, const QFont& font, double left, double top, double width, const QString& text,
                   const QColor& colour = Qt::black, Qt::Alignment align = Qt::AlignLeft)
{
    painter.setFont(font);
    painter.setPen(colour);
    const QFontMetricsF metrics(font, painter.device());
    const int flags = int(align) | Qt::AlignTop | Qt::TextWordWrap;
    const QRectF bound = metrics.boundingRect(QRectF(left, top, width, 1e6), flags, text);
    painter.drawText(QRectF(left, top, width, bound.height()), flags, text);
    return bound.height();
}

/// The sections one below the other in a column; returns where they end.
double drawSections(QPainter& painter, const Fonts& fonts, double left, double top, double width,
                    const std::vector<Section>& sections, double mm)
{
    double labelWidth = 0;
    const QFontMetricsF metrics(fonts.text, painter.device());
    for (const Section& section : sections)
        for (const Row& row : section.rows)
            labelWidth = std::max(labelWidth, metrics.horizontalAdvance(qt(row.label) + QStringLiteral("：")) + 2 * mm);
    double y = top;
    for (const Section& section : sections) {
        y += drawWrapped(painter, fonts.heading, left, y, width, qt(section.title)) + 1 * mm;
        painter.setPen(QPen(Qt::gray, 0));
        painter.drawLine(QPointF(left, y), QPointF(left + width, y));
        y += 1.2 * mm;
        for (const Row& row : section.rows) {
            drawWrapped(painter, fonts.text, left, y, labelWidth, qt(row.label) + QStringLiteral("："));
            y += drawWrapped(painter, fonts.text, left + labelWidth, y, width - labelWidth, qt(row.value), row.colour) +
                 0.8 * mm;
        }
        y += 3 * mm;
    }
    return y;
}

/// The wafer map with the cut path in the square at `corner` of `side` device
/// pixels, as the preview shows it fitted to the wafer.
void drawSheetMap(QPainter& painter, QPointF corner, double side, int dotsPerInch, const JobSheet& sheet)
{
    const WaferLayout& layout = *sheet.layout;
    const int imageDots = std::min(dotsPerInch, ImageDotsPerInch);
    const double scale = double(dotsPerInch) / imageDots;
    const int pixels = std::max(16, static_cast<int>(side / scale));
    const double radius = layout.WaferDiameter > 0 ? layout.WaferDiameter / 2.0 : 2.625; // no size: the whole picture
    const double margin = radius * 0.04;
    const MapView view = fitView(QSize(pixels, pixels), QRectF(CenterX - radius - margin, CenterY - radius - margin,
                                                               2 * (radius + margin), 2 * (radius + margin)));
    painter.save();
    painter.translate(corner);
    painter.scale(scale, scale);
    const QRectF square(0, 0, pixels, pixels);
    painter.fillRect(square, Qt::white);
    if (!sheet.program && dieTotal(layout) <= VectorDieLimit) {
        painter.save();
        painter.setClipRect(square);
        drawWaferMap(painter, view, layout, layout.WaferDiameter / 2);
        painter.restore();
    } else {
        // The path lies over the dies pixel for pixel, as the preview shows it.
        QImage image = allocatedImage(QSize(pixels, pixels), QImage::Format_RGB32);
        image.setDotsPerMeterX(static_cast<int>(imageDots / 0.0254));
        image.setDotsPerMeterY(image.dotsPerMeterX());
        QPainter imagePainter;
        beginPainting(imagePainter, image);
        imagePainter.fillRect(square, Qt::white);
        drawWaferMap(imagePainter, view, layout, layout.WaferDiameter / 2);
        if (sheet.program) {
            const CutPathLayers layers = drawCutPathLayers(*sheet.program->program, view, 1.0, {},
                                                           cutPathMatch(layout, CutCheckOptions{}.tolerance));
            imagePainter.drawImage(square, cutPathOverlay(layers, layers.steps.count()));
        }
        imagePainter.end();
        painter.setRenderHint(QPainter::LosslessImageRendering);
        painter.drawImage(square, image);
    }
    painter.setPen(QPen(Qt::gray, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(square);
    painter.restore();
}

} // namespace

SheetProgram sheetProgram(ProgramFile file)
{
    const std::filesystem::path path = std::filesystem::absolute(file.path).lexically_normal();
    return {path.filename().string(), path.parent_path().string(), std::move(file.text), std::move(file.program),
            file.modified};
}

std::variant<SheetProgram, std::string> unsavedProgram(std::string name, std::string text)
{
    SheetProgram program;
    program.name = std::move(name);
    program.text.assign(std::move(text));
    auto parsed = parseProgram(program.text);
    if (const auto* error = std::get_if<ProgramError>(&parsed))
        return readingErrorText(*error, program.text);
    program.program = std::make_shared<const Program>(std::get<Program>(std::move(parsed)));
    return program;
}

std::variant<SheetProgram, std::string> programWrittenNow(const WaferLayout& layout, const GenerationTexts& texts)
{
    std::ostringstream text;
    const GenerationOutcome outcome = runGeneration(layout, {texts, localDate()}, std::ref(text));
    if (const auto* refusal = std::get_if<GenerationRefusal>(&outcome))
        return refusal->prompt;
    if (const auto* failure = std::get_if<GenerationFailure>(&outcome))
        return failure->prompt;
    return unsavedProgram(programFilePath({}, texts.name).filename().string(), std::move(text).str());
}

JobSheet jobSheet(std::string jobFile, const Job& job, const WaferLayout& layout, std::optional<ProgramFile> programFile)
{
    if (programFile)
        return jobSheet(std::move(jobFile), job, layout, sheetProgram(std::move(*programFile)));
    const Job completed = completedJob(job);
    return jobSheet(std::move(jobFile), job, layout, programWrittenNow(layout, generationTextsOf(completed.program)));
}

JobSheet jobSheet(std::string jobFile, const Job& job, const WaferLayout& layout,
                  std::variant<SheetProgram, std::string> program)
{
    JobSheet sheet;
    sheet.jobFile = std::move(jobFile);
    sheet.job = completedJob(job);
    sheet.layout = std::make_shared<const WaferLayout>(layout);
    sheet.results = layoutResults(layout);
    if (auto* described = std::get_if<SheetProgram>(&program))
        sheet.program = std::move(*described);
    else
        sheet.noProgram = "無法產生程式：" + std::get<std::string>(program);
    if (sheet.program) {
        sheet.settings = programSettings(sheet.program->text);
        sheet.report = checkCuts(*sheet.program->program, layout);
    }
    sheet.printed = std::time(nullptr);
    return sheet;
}

std::string sha256Text(std::string_view bytes)
{
    return QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

void drawJobSheet(QPainter& painter, const QRectF& page, int dotsPerInch, const JobSheet& sheet)
{
    requireDrawingRoom(JobSheetDrawingRoom); // the fonts' code ends the process where memory runs out
    const double mm = dotsPerInch / 25.4;
    const Fonts fonts(dotsPerInch);
    const double left = page.left();
    const double width = page.width();
    double y = page.top();

    drawWrapped(painter, fonts.text, left, y + 2 * mm, width, qt("列印時間：" + dateTimeText(sheet.printed)), Qt::black,
                Qt::AlignRight);
    y += drawWrapped(painter, fonts.title, left, y, width, QStringLiteral("切割工作單")) + 1 * mm;
    y += drawWrapped(painter, fonts.heading, left, y, width,
                     qt("工作檔：" + jobText(sheet))) +
         4 * mm;

    const double gap = 6 * mm;
    const double column = (width - gap) / 2;
    const double leftEnd = drawSections(painter, fonts, left, y, column, leftSections(sheet), mm);
    const double rightEnd = drawSections(painter, fonts, left + column + gap, y, column, rightSections(sheet), mm);
    y = std::max(leftEnd, rightEnd);
    if (sheet.program) {
        drawWrapped(painter, fonts.text, left, y, 28 * mm, QStringLiteral("SHA-256："));
        y += drawWrapped(painter, fonts.digits, left + 28 * mm, y + 0.3 * mm, width - 28 * mm,
                         qt(sha256Text(sheet.program->text))) +
             3 * mm;
    }

    const QString caption = QStringLiteral("晶片圖與切割路徑（藍色：切割；灰色虛線：雷射關閉的移動）");
    const double captionHeight = QFontMetricsF(fonts.text, painter.device()).height() + 2 * mm;
    const double side = std::max(10 * mm, std::min(width, page.bottom() - y - captionHeight));
    drawSheetMap(painter, QPointF(left + (width - side) / 2, y), side, dotsPerInch, sheet);
    drawWrapped(painter, fonts.text, left, y + side + 1 * mm, width, caption, Qt::black, Qt::AlignHCenter);
}

bool writeJobSheetPdf(std::ostream& out, const JobSheet& sheet)
{
    requireDrawingRoom(JobSheetDrawingRoom);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(ImageDotsPerInch);
        writer.setPageMargins(QMarginsF(PaperMarginMm, PaperMarginMm, PaperMarginMm, PaperMarginMm),
                              QPageLayout::Millimeter);
        writer.setTitle(QStringLiteral("切割工作單"));
        writer.setCreator(QStringLiteral("Kerfwright"));
        QPainter painter;
        beginPainting(painter, writer);
        drawJobSheet(painter, QRectF(0, 0, writer.width(), writer.height()), ImageDotsPerInch, sheet);
    }
    // The text layer reads as the sheet is written: 工作單, not ⼯作單.
    const Fonts fonts(ImageDotsPerInch);
    bytes = withIdeographsInTextLayer(bytes, radicalIdeographs({fonts.title, fonts.text, fonts.digits}));
    out.write(bytes.constData(), bytes.size());
    return static_cast<bool>(out);
}

} // namespace kerf::map

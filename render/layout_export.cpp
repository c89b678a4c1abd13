// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/layout_export.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <new>
#include <streambuf>

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include "files/file_replacement.h"
#include "layout/die_centres.h"
#include "render/drawing_failure.h"
#include "render/map_picture.h"
#include "layout/die_csv.h"

namespace kerf::map {

namespace {

bool writeBytes(std::ostream& out, const QByteArray& bytes)
{
    out.write(bytes.constData(), bytes.size());
    return static_cast<bool>(out);
}

struct Cancelled {};

// Passes what is written on to `target`, tells `going` the bytes written
// every few ten kilobytes, and throws Cancelled once it says false.
class CancellableBuffer : public std::streambuf {
public:
    CancellableBuffer(std::streambuf* target, const std::function<bool(std::uint64_t)>& going)
        : target_(target), going_(going)
    {
    }

protected:
    int_type overflow(int_type c) override
    {
        check(1);
        return traits_type::eq_int_type(c, traits_type::eof()) ? traits_type::not_eof(c) : target_->sputc(traits_type::to_char_type(c));
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        check(n);
        return target_->sputn(s, n);
    }
    int sync() override { return target_->pubsync(); }

private:
    void check(std::streamsize n)
    {
        unreported_ += n;
        if (unreported_ < 1 << 16)
            return;
        written_ += static_cast<std::uint64_t>(unreported_);
        unreported_ = 0;
        if (going_ && !going_(written_))
            throw Cancelled{};
    }

    std::streambuf* target_;
    const std::function<bool(std::uint64_t)>& going_;
    std::uint64_t written_ = 0;
    std::streamsize unreported_ = 0;
};

} // namespace

QImage mapImage(const WaferLayout& layout, int side, const Program* program)
{
    QImage image = allocatedImage(QSize(side, side), QImage::Format_RGB32);
    QPainter painter;
    beginPainting(painter, image);
    drawMapPicture(painter, layout, side, program);
    return image;
}

bool writeMapPng(std::ostream& out, const WaferLayout& layout, int side, const Program* program)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!mapImage(layout, side, program).save(&buffer, "PNG"))
        return false;
    return writeBytes(out, bytes);
}

bool writeMapSvg(std::ostream& out, const WaferLayout& layout, int side, const Program* program)
{
    // The SVG painter ends the process where memory runs out in it.
    requireDrawingRoom(SvgDrawingRoom);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(side, side));
    svg.setViewBox(QRect(0, 0, side, side));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Kerfwright wafer map"));
    {
        QPainter painter;
        beginPainting(painter, svg);
        drawMapPicture(painter, layout, side, program);
    }
    return writeBytes(out, bytes);
}

std::optional<ExportKind> imageKindOf(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png")
        return ExportKind::Png;
    if (extension == ".svg")
        return ExportKind::Svg;
    return std::nullopt;
}

std::variant<ImageTarget, ExportFailure> imageTarget(const std::filesystem::path& chosen, bool svgChosen)
{
    if (const auto kind = imageKindOf(chosen))
        return ImageTarget{chosen, *kind};
    if (!chosen.has_extension() && chosen.has_filename()) {
        std::filesystem::path path = chosen;
        path += svgChosen ? ".svg" : ".png";
        return ImageTarget{path, svgChosen ? ExportKind::Svg : ExportKind::Png};
    }
    return ExportFailure{"只能存成 PNG 或 SVG 圖片，請以 .png 或 .svg 作為副檔名。", "檔案類型錯誤"};
}

std::string exportFileName(const WaferLayout& layout, const std::string& extension)
{
    std::string name = std::string(shapeText(layout.shape)) + "_" + layout.texts.dieSize + "mil";
    for (char& c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f || std::string_view("/\\:*?\"<>| ").find(c) != std::string_view::npos)
            c = '_';
    }
    return name + extension;
}

std::uint64_t estimatedExportBytes(const WaferLayout& layout, ExportKind kind)
{
    if (kind != ExportKind::Csv)
        return 0; // an image's size does not grow with the dies
    constexpr std::uint64_t Header = sizeof "row,die,x,y\n" - 1;
    std::uint64_t bytes = Header;
    forEachDieRow(layout, [&bytes](const DieRow& row) {
        if (row.count <= 0)
            return;
        // Row, die, the two centres (the leftmost's, as long as most), commas and line end.
        const std::uint64_t line = std::to_string(row.row).size() + std::to_string(row.count).size()
                                   + row.x.text().size() + row.y.text().size() + 4;
        bytes += line * static_cast<std::uint64_t>(row.count);
    });
    return bytes;
}

std::optional<std::string> largeExportQuestion(std::uint64_t bytes)
{
    if (bytes <= LargeExportBytes)
        return std::nullopt;
    // What a local disk takes of a CSV written line by line.
    constexpr double BytesPerSecond = 25e6;
    const double gigabytes = double(bytes) / 1e9;
    char size[32];
    std::snprintf(size, sizeof size, gigabytes >= 1 ? "%.1f GB" : "%.0f MB", gigabytes >= 1 ? gigabytes : gigabytes * 1e3);
    const double minutes = double(bytes) / BytesPerSecond / 60;
    const std::string time = minutes < 1 ? "不到 1 分鐘" : "約 " + std::to_string(std::lround(minutes)) + " 分鐘";
    return "這個匯出的檔案約有 " + std::string(size) + "，寫入需要" + time + "（寫入時可以取消）。要開始寫入嗎？";
}

ExportOutcome exportLayout(const std::filesystem::path& path, const WaferLayout& layout, ExportKind kind,
                           const std::function<bool(std::uint64_t written)>& going)
{
    std::optional<FileReplaceError> error;
    try {
        error = replaceFile(path, [&](std::ostream& out) {
            switch (kind) {
            case ExportKind::Png:
                if (!writeMapPng(out, layout))
                    out.setstate(std::ios::failbit);
                break;
            case ExportKind::Svg:
                if (!writeMapSvg(out, layout))
                    out.setstate(std::ios::failbit);
                break;
            case ExportKind::Csv: {
                CancellableBuffer buffer(out.rdbuf(), going);
                std::ostream csv(&buffer);
                csv.exceptions(std::ios::badbit);
                writeDieCsv(csv, layout);
                csv.flush();
                break;
            }
            }
        });
    } catch (const Cancelled&) {
        return ExportCancelled{};
    } catch (const DrawingFailed& failure) {
        return ExportFailure{failure.what(), "匯出失敗"};
    } catch (const std::bad_alloc&) {
        return ExportFailure{"記憶體不足，無法匯出。已有的同名檔案保持原樣，也沒有留下不完整的檔案。", "匯出失敗"};
    }
    if (!error)
        return ExportDone{};
    const char* what = kind == ExportKind::Csv ? "晶粒座標檔" : "圖片";
    return ExportFailure{replaceFailureText(what, path, *error), "匯出失敗"};
}

} // namespace kerf::map

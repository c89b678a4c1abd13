// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/pdf_text_layer.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include <QFontDatabase>
#include <QList>
#include <QRawFont>
#include <QString>

namespace kerf::map {

namespace {

/// A stretch of the document replaced by other bytes.
struct Edit {
    qsizetype at = 0;
    qsizetype length = 0;
    QByteArray bytes;
};

constexpr char32_t FirstRadical = 0x2E80, LastRadical = 0x2FDF;
constexpr char32_t FirstIdeograph = 0x4E00, LastIdeograph = 0x9FFF;

QByteArray hex4(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

std::optional<unsigned> readHex(const QByteArray& token)
{
    if (token.size() < 3 || !token.startsWith('<') || !token.endsWith('>'))
        return std::nullopt;
    bool ok = false;
    const unsigned value = token.mid(1, token.size() - 2).toUInt(&ok, 16);
    return ok ? std::optional(value) : std::nullopt;
}

/// One line of a bfrange block, its radicals read as ideographs; none when unchanged.
std::optional<QByteArray> mendedRange(const QByteArray& line, const std::map<char32_t, char32_t>& ideographs)
{
    QList<QByteArray> tokens = line.simplified().replace("[", "").replace("]", "").split(' ');
    tokens.removeAll(QByteArray());
    if (tokens.size() < 3)
        return std::nullopt;
    const auto first = readHex(tokens[0]);
    const auto last = readHex(tokens[1]);
    if (!first || !last || *last < *first)
        return std::nullopt;
    std::vector<unsigned> codes;
    if (line.contains('[')) {
        for (qsizetype i = 2; i < tokens.size(); ++i)
            if (const auto code = readHex(tokens[i]))
                codes.push_back(*code);
    } else if (const auto start = readHex(tokens[2])) {
        for (unsigned glyph = *first; glyph <= *last; ++glyph)
            codes.push_back(*start + (glyph - *first));
    }
    bool changed = false;
    for (unsigned& code : codes)
        if (const auto ideograph = ideographs.find(code); ideograph != ideographs.end()) {
            code = ideograph->second;
            changed = true;
        }
    if (!changed)
        return std::nullopt;
    QByteArray mended = tokens[0] + ' ' + tokens[1] + " [";
    for (unsigned code : codes)
        mended += '<' + hex4(code) + "> ";
    return mended + ']';
}

/// The edits of one bfrange block from `begin` (after its keyword) to `end`.
void mendBlock(const QByteArray& pdf, qsizetype begin, qsizetype end, const std::map<char32_t, char32_t>& ideographs,
               std::vector<Edit>& edits)
{
    for (qsizetype at = begin; at < end;) {
        qsizetype lineEnd = pdf.indexOf('\n', at);
        if (lineEnd < 0 || lineEnd > end)
            lineEnd = end;
        if (auto mended = mendedRange(pdf.mid(at, lineEnd - at), ideographs))
            edits.push_back({at, lineEnd - at, std::move(*mended)});
        at = lineEnd + 1;
    }
}

/// How far the byte at `at` moves with the edits before it.
qsizetype shiftAt(const std::vector<Edit>& edits, qsizetype at)
{
    qsizetype shift = 0;
    for (const Edit& edit : edits)
        if (edit.at < at)
            shift += edit.bytes.size() - edit.length;
    return shift;
}

} // namespace

std::map<char32_t, char32_t> radicalIdeographs(const QList<QFont>& fonts)
{
    std::map<char32_t, char32_t> ideographs;
    for (const QFont& font : fonts) {
        const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::TraditionalChinese);
        std::map<quint32, char32_t> radicalOfGlyph;
        for (char32_t code = FirstRadical; code <= LastRadical; ++code)
            if (const quint32 glyph = raw.glyphIndexesForString(QString::fromUcs4(&code, 1)).value(0); glyph != 0)
                radicalOfGlyph.emplace(glyph, code);
        QString all;
        for (char32_t code = FirstIdeograph; code <= LastIdeograph; ++code)
            all += QChar(code);
        const QList<quint32> glyphs = raw.glyphIndexesForString(all);
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            if (const auto radical = radicalOfGlyph.find(glyphs[i]); radical != radicalOfGlyph.end())
                ideographs.emplace(radical->second, FirstIdeograph + char32_t(i));
    }
    for (char32_t code = 0x2F00; code <= LastRadical; ++code) {
        const QString decomposed = QString(QChar(code)).normalized(QString::NormalizationForm_KC);
        if (decomposed.size() == 1 && decomposed.at(0).unicode() != code)
            ideographs.emplace(code, decomposed.at(0).unicode());
    }
    return ideographs;
}

QByteArray withIdeographsInTextLayer(const QByteArray& pdf, const std::map<char32_t, char32_t>& ideographs)
{
    std::vector<Edit> edits;
    constexpr QByteArrayView Begin = "beginbfrange\n", End = "endbfrange", LengthKey = "<< /Length ";
    for (qsizetype at = pdf.indexOf(Begin); at >= 0; at = pdf.indexOf(Begin, at)) {
        const qsizetype begin = at + Begin.size();
        const qsizetype end = pdf.indexOf(End, begin);
        if (end < 0)
            break;
        const std::size_t before = edits.size();
        mendBlock(pdf, begin, end, ideographs, edits);
        at = end;
        if (edits.size() == before)
            continue;
        // The stream's length: «<< /Length n >>» before its «stream».
        const qsizetype stream = pdf.lastIndexOf("stream\n", begin);
        const qsizetype key = pdf.lastIndexOf(LengthKey, stream);
        const qsizetype number = key + LengthKey.size();
        const qsizetype numberEnd = pdf.indexOf(' ', number);
        bool ok = false;
        const qsizetype length = stream < 0 || key < 0 ? 0 : pdf.mid(number, numberEnd - number).toLongLong(&ok);
        if (!ok)
            return pdf;
        qsizetype grown = 0;
        for (std::size_t i = before; i < edits.size(); ++i)
            grown += edits[i].bytes.size() - edits[i].length;
        edits.push_back({number, numberEnd - number, QByteArray::number(length + grown)});
    }
    if (edits.empty())
        return pdf;
    // The cross-reference table: «xref», «0 n», n lines of «offset generation n/f».
    const qsizetype xref = pdf.lastIndexOf("\nxref\n");
    const qsizetype startxref = pdf.lastIndexOf("startxref\n");
    if (xref < 0 || startxref < xref)
        return pdf;
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.at < b.at; });
    std::vector<Edit> moved;
    qsizetype at = pdf.indexOf('\n', pdf.indexOf('\n', xref + 1) + 1) + 1; // the first entry
    for (; at + 20 <= startxref && (pdf.at(at + 17) == 'n' || pdf.at(at + 17) == 'f'); at += 20) {
        if (pdf.at(at + 17) == 'f')
            continue;
        const qsizetype offset = pdf.mid(at, 10).toLongLong();
        char text[16];
        std::snprintf(text, sizeof text, "%010lld", static_cast<long long>(offset + shiftAt(edits, offset)));
        moved.push_back({at, 10, text});
    }
    const qsizetype startNumber = startxref + 10;
    const qsizetype startEnd = pdf.indexOf('\n', startNumber);
    const qsizetype xrefOffset = pdf.mid(startNumber, startEnd - startNumber).trimmed().toLongLong();
    moved.push_back({startNumber, startEnd - startNumber, QByteArray::number(xrefOffset + shiftAt(edits, xrefOffset)) + ' '});
    edits.insert(edits.end(), moved.begin(), moved.end());
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.at < b.at; });

    QByteArray mended;
    mended.reserve(pdf.size() + 4096);
    qsizetype copied = 0;
    for (const Edit& edit : edits) {
        mended += pdf.mid(copied, edit.at - copied);
        mended += edit.bytes;
        copied = edit.at + edit.length;
    }
    mended += pdf.mid(copied);
    return mended;
}

} // namespace kerf::map

// SPDX-License-Identifier: GPL-3.0-or-later
// Text drawn into a PDF by Qt reads back as written once its text layer is
// mended: no Kangxi radicals in the place of the ideographs that share their glyph.
#include <cstdio>

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

#include "render/pdf_text_layer.h"

using namespace kerf::map;

namespace {

QFont sheetFont()
{
    QFont font(QStringLiteral("Noto Sans CJK TC"));
    font.setPixelSize(200);
    font.setStyleStrategy(QFont::PreferNoShaping); // digits the text layer can map back
    return font;
}

QByteArray pdfOf(const QString& text)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPainter painter(&writer);
    painter.setFont(sheetFont());
    painter.drawText(QPointF(100, 400), text);
    painter.end();
    return bytes;
}

/// pdftotext's reading of `pdf`, its blanks and line ends left out; what it
/// says of a broken document ends the text.
QString textOf(const QByteArray& pdf)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("t.pdf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return QStringLiteral("not written");
    file.close();
    QByteArray text;
    const QByteArray command = "pdftotext -enc UTF-8 '" + QFile::encodeName(file.fileName()) + "' - 2>&1";
    if (std::FILE* pipe = popen(command.constData(), "r")) {
        char block[4096];
        for (std::size_t n; (n = std::fread(block, 1, sizeof block, pipe)) > 0;)
            text.append(block, static_cast<qsizetype>(n));
        pclose(pipe);
    }
    return QString::fromUtf8(text).remove(QLatin1Char(' ')).remove(QLatin1Char('\n')).remove(QLatin1Char('\f'));
}

} // namespace

class PdfTextLayerTest : public QObject {
    Q_OBJECT
private slots:
    void readsAsWritten_data();
    void readsAsWritten();
};

void PdfTextLayerTest::readsAsWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("sheet words") << QStringLiteral("切割工作單晶片尺寸加工時間大小日期行白色用面");
    // Radicals of consecutive code points (a range of the map, widened when
    // mended), and 幺, which the font draws for a radical of the supplement.
    QTest::newRow("consecutive radicals")
        << QStringLiteral("abcdefghijklmnopqrstuvwxyz工己巾干幺广廴廾弋弓彐彡彳心戈戶手支攴文斗斤方无日曰月木欠止歹殳毋比");
    QTest::newRow("no radical") << QStringLiteral("Kerfwright 0.6 mil");
}

void PdfTextLayerTest::readsAsWritten()
{
    QFETCH(QString, text);
    QCOMPARE(textOf(withIdeographsInTextLayer(pdfOf(text), radicalIdeographs({sheetFont()}))),
             QString(text).remove(QLatin1Char(' ')));
}

QTEST_MAIN(PdfTextLayerTest)
#include "pdf_text_layer_test.moc"

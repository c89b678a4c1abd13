// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/die_size_chart.h"

#include <algorithm>
#include <cmath>

#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

#include "files/file_replacement.h"
#include "render/drawing_failure.h"
#include "yield/yield_sweep.h"

namespace kerf::ui {

namespace {

QColor shapeColour(const std::string& shape)
{
    if (shape == "Circle")
        return QColor(0x1f, 0x77, 0xb4);
    if (shape == "Hexagon")
        return QColor(0xd6, 0x27, 0x28);
    return QColor(0x2c, 0xa0, 0x2c);
}

double number(const std::string& text) { return QString::fromStdString(text).toDouble(); }

QScatterSeries::MarkerShape shapeMarker(const std::string& shape)
{
    if (shape == "Circle")
        return QScatterSeries::MarkerShapeCircle;
    if (shape == "Hexagon")
        return QScatterSeries::MarkerShapeTriangle;
    return QScatterSeries::MarkerShapeRectangle;
}

// How many markers a line carries, whatever its points.
constexpr int MarkersPerLine = 12;

// The dies axis's unit: none, 萬 (10⁴) or 億 (10⁸).
struct CountUnit {
    double size;
    const char* name;
};

CountUnit countUnit(double most)
{
    if (most >= 1e8)
        return {1e8, "億"};
    if (most >= 1e4)
        return {1e4, "萬"};
    return {1, ""};
}

// Ticks every `step` from a multiple of it, labelled with as many decimals as the step has.
void tickRound(QValueAxis* axis, double low, double high, int most)
{
    const double step = roundTickStep(high - low, most);
    axis->setRange(low, high);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(std::floor(low / step) * step);
    axis->setTickInterval(step);
    const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
}

void addMarkers(QChart* chart, const QLineSeries* line, const std::string& shape, int offset,
                QAbstractAxis* across, QAbstractAxis* up)
{
    const QList<QPointF> points = line->points();
    if (points.isEmpty())
        return;
    auto* markers = new QScatterSeries;
    markers->setMarkerShape(shapeMarker(shape));
    markers->setMarkerSize(9);
    markers->setColor(line->pen().color());
    markers->setBorderColor(line->pen().color());
    markers->setProperty("shape", QString::fromStdString(shape));
    // Shapes' markers a third of a stride apart, so lines that lie on each other still show both.
    const qsizetype stride = std::max<qsizetype>(1, points.size() / MarkersPerLine);
    for (qsizetype i = (offset * stride) / 3 % stride; i < points.size(); i += stride)
        markers->append(points[i]);
    chart->addSeries(markers);
    markers->attachAxis(across);
    markers->attachAxis(up);
    for (QLegendMarker* legend : chart->legend()->markers(markers))
        legend->setVisible(false);
}

// The good dies of a shape, dashed in its colour, and a star at its size with
// the most, which the title names (the legend has no room for it); the title's
// words for the star, or none.
QString addGoodDies(QChart* chart, const std::vector<SweepPoint>& points, const std::string& shape,
                    const YieldSettings& yield, double unit, QAbstractAxis* across, QAbstractAxis* up)
{
    const QString name = QString::fromStdString(shape);
    auto* good = new QLineSeries;
    good->setProperty("shape", name);
    good->setName(QStringLiteral("%1 良品數").arg(name));
    good->setPen(QPen(shapeColour(shape), 2, Qt::DashLine));
    for (const SweepPoint& point : points)
        if (point.shape == shape && point.results)
            good->append(point.dieMil, static_cast<double>(pointGoodDies(point, yield)->goodDies) / unit);
    chart->addSeries(good);
    good->attachAxis(across);
    good->attachAxis(up);
    const auto best = mostGoodDiesPoint(points, shape, yield);
    if (!best)
        return {};
    const SweepPoint& point = points[*best];
    const long long most = pointGoodDies(point, yield)->goodDies;
    auto* star = new QScatterSeries;
    star->setProperty("shape", name);
    star->setMarkerShape(QScatterSeries::MarkerShapeStar);
    star->setMarkerSize(16);
    star->setColor(shapeColour(shape));
    star->setBorderColor(Qt::black);
    star->append(point.dieMil, static_cast<double>(most) / unit);
    chart->addSeries(star);
    star->attachAxis(across);
    star->attachAxis(up);
    for (QLegendMarker* legend : chart->legend()->markers(star))
        legend->setVisible(false);
    return QStringLiteral("%1 %2 mil（%3 顆）").arg(name, QString::fromStdString(point.dieSize)).arg(most);
}

} // namespace

QString pointTip(const SweepPoint& point, const std::optional<YieldSettings>& yield)
{
    if (!point.results)
        return QStringLiteral("%1 %2 mil：%3").arg(QString::fromStdString(point.shape),
                                                  QString::fromStdString(point.dieSize),
                                                  QString::fromStdString(point.refusal));
    QString tip = QStringLiteral("%1 %2 mil\n晶粒數：%3\n面積利用率：%4 %")
                      .arg(QString::fromStdString(point.shape), QString::fromStdString(point.dieSize),
                           QString::fromStdString(point.results->dies),
                           QString::fromStdString(point.results->utilisation));
    if (yield) {
        const GoodDies dies = *pointGoodDies(point, *yield);
        tip += QStringLiteral("\n良率：%1\n良品數：%2")
                   .arg(QString::fromStdString(yieldPercentText(dies.yield)))
                   .arg(dies.goodDies);
        if (yield->waferCost)
            tip += QStringLiteral("\n每顆良品成本：%1").arg(QString::fromStdString(costPerGoodDieText(dies)));
    }
    return tip;
}

double roundTickStep(double span, int most)
{
    if (!(span > 0) || most < 1)
        return 1;
    const double rough = span / most;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= rough * (1 - 1e-9))
            return factor * power;
    return 10 * power;
}

QString refusalNote(const std::vector<SweepPoint>& points)
{
    QStringList lines;
    for (std::size_t i = 0; i < points.size();) {
        const SweepPoint& first = points[i];
        std::size_t end = i + 1;
        if (!first.results) {
            while (end < points.size() && !points[end].results && points[end].shape == first.shape
                   && points[end].refusal == first.refusal)
                ++end;
            const SweepPoint& last = points[end - 1];
            const QString range = end - i == 1 ? QString::fromStdString(first.dieSize) + QStringLiteral(" mil")
                                               : QStringLiteral("%1 到 %2 mil").arg(QString::fromStdString(first.dieSize),
                                                                                   QString::fromStdString(last.dieSize));
            lines << QStringLiteral("%1 %2（%3 個尺寸）未列入：%4")
                         .arg(QString::fromStdString(first.shape), range)
                         .arg(end - i)
                         .arg(QString::fromStdString(first.refusal));
        }
        i = end;
    }
    return lines.join(QLatin1Char('\n'));
}

QChart* makeDieSizeChart(const std::vector<SweepPoint>& points, const std::optional<ChartMark>& mark,
                         const std::optional<YieldSettings>& yield)
{
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("晶粒尺寸比較"));
    auto* sizeAxis = new QValueAxis;
    sizeAxis->setTitleText(QStringLiteral("晶粒尺寸（mil）"));
    sizeAxis->setLabelFormat(QStringLiteral("%.4g"));
    auto* diesAxis = new QValueAxis;
    auto* usedAxis = new QValueAxis;
    usedAxis->setTitleText(QStringLiteral("面積利用率（%）"));
    chart->addAxis(sizeAxis, Qt::AlignBottom);
    chart->addAxis(diesAxis, Qt::AlignLeft);
    chart->addAxis(usedAxis, Qt::AlignRight);

    double minSize = 0, maxSize = 0, maxDies = 0, minUsed = 100, maxUsed = 0;
    bool any = false;
    std::vector<std::string> shapes;
    QStringList best; // the stars' words
    for (const SweepPoint& point : points) {
        if (std::find(shapes.begin(), shapes.end(), point.shape) == shapes.end())
            shapes.push_back(point.shape);
        if (point.results)
            maxDies = std::max(maxDies, number(point.results->dies));
    }
    if (mark)
        maxDies = std::max(maxDies, mark->dies);
    const CountUnit unit = countUnit(maxDies);
    diesAxis->setTitleText(unit.size > 1 ? QStringLiteral("晶粒數（%1）").arg(QString::fromUtf8(unit.name))
                                         : QStringLiteral("晶粒數"));
    for (const std::string& shape : shapes) {
        auto* dies = new QLineSeries;
        auto* used = new QLineSeries;
        dies->setProperty("shape", QString::fromStdString(shape));
        used->setProperty("shape", QString::fromStdString(shape));
        dies->setName(QStringLiteral("%1 晶粒數").arg(QString::fromStdString(shape)));
        used->setName(QStringLiteral("%1 利用率").arg(QString::fromStdString(shape)));
        dies->setPen(QPen(shapeColour(shape), 2));
        used->setPen(QPen(shapeColour(shape), 1.5, yield ? Qt::DotLine : Qt::DashLine));
        for (const SweepPoint& point : points) {
            if (point.shape != shape || !point.results)
                continue; // a refused size has no point
            const double d = number(point.results->dies) / unit.size, u = number(point.results->utilisation);
            dies->append(point.dieMil, d);
            used->append(point.dieMil, u);
            minSize = any ? std::min(minSize, point.dieMil) : point.dieMil;
            maxSize = any ? std::max(maxSize, point.dieMil) : point.dieMil;
            minUsed = std::min(minUsed, u);
            maxUsed = std::max(maxUsed, u);
            any = true;
        }
        for (QLineSeries* series : {dies, used}) {
            chart->addSeries(series);
            series->attachAxis(sizeAxis);
        }
        dies->attachAxis(diesAxis);
        used->attachAxis(usedAxis);
        const int offset = static_cast<int>(&shape - shapes.data());
        addMarkers(chart, dies, shape, offset, sizeAxis, diesAxis);
        addMarkers(chart, used, shape, offset, sizeAxis, usedAxis);
        if (yield)
            if (const QString words = addGoodDies(chart, points, shape, *yield, unit.size, sizeAxis, diesAxis);
                !words.isEmpty())
                best << words;
    }
    if (!best.isEmpty())
        chart->setTitle(QStringLiteral("晶粒尺寸比較<br>★ 良品最多：%1").arg(best.join(QStringLiteral("、"))));
    if (mark) {
        auto* marked = new QScatterSeries;
        marked->setName(QStringLiteral("目前設計"));
        marked->setMarkerSize(11);
        marked->setColor(Qt::black);
        marked->append(mark->dieMil, mark->dies / unit.size);
        chart->addSeries(marked);
        marked->attachAxis(sizeAxis);
        marked->attachAxis(diesAxis);
    }
    if (any) {
        tickRound(sizeAxis, minSize, maxSize > minSize ? maxSize : minSize + 1, 10);
        const double diesTop = maxDies > 0 ? maxDies / unit.size * 1.05 : 1;
        const double diesStep = roundTickStep(diesTop, 8);
        tickRound(diesAxis, 0, std::ceil(diesTop / diesStep) * diesStep, 8);
        const double usedStep = roundTickStep(maxUsed - minUsed + 10, 8);
        tickRound(usedAxis, std::max(0.0, std::floor((minUsed - 5) / usedStep) * usedStep),
                  std::min(100.0, std::ceil((maxUsed + 5) / usedStep) * usedStep), 8);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    if (yield) { // three lines a shape: a smaller type keeps their names whole
        QFont font = chart->legend()->font();
        font.setPointSizeF(font.pointSizeF() * 0.75);
        chart->legend()->setFont(font);
    }
    return chart;
}

QImage drawDieSizeChart(const std::vector<SweepPoint>& points, const std::optional<ChartMark>& mark, QSize size,
                        const std::optional<YieldSettings>& yield)
{
    // The image first: laying out the chart already needs its room.
    QImage image = map::allocatedImage(size, QImage::Format_ARGB32_Premultiplied);
    QGraphicsScene scene;
    QChart* chart = makeDieSizeChart(points, mark, yield);
    scene.addItem(chart); // the scene owns it
    chart->setGeometry(QRectF(QPointF(0, 0), size));
    scene.setSceneRect(QRectF(QPointF(0, 0), size));
    image.fill(Qt::white);
    QPainter painter;
    map::beginPainting(painter, image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), size), scene.sceneRect());
    return image;
}

std::optional<std::string> savePng(const QImage& image, const std::filesystem::path& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return std::string("無法產生 PNG 圖片。");
    const auto failure = replaceFile(path, [&](std::ostream& out) { out.write(bytes.constData(), bytes.size()); });
    if (failure)
        return replaceFailureText("圖片檔", path, *failure);
    return std::nullopt;
}

std::optional<std::string> saveSweepCsv(const std::vector<SweepPoint>& points, const std::filesystem::path& path,
                                        const std::optional<YieldSettings>& yield)
{
    const std::optional<SweepCsvColumns> columns =
        yield ? std::optional<SweepCsvColumns>(yieldCsvColumns(*yield)) : std::nullopt;
    const auto failure = replaceFile(path, [&](std::ostream& out) {
        writeSweepCsv(out, points, columns ? &*columns : nullptr);
    });
    if (failure)
        return replaceFailureText("CSV 檔", path, *failure);
    return std::nullopt;
}

} // namespace kerf::ui

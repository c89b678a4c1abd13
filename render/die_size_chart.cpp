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

} // namespace

QString pointTip(const SweepPoint& point)
{
    if (!point.results)
        return QStringLiteral("%1 %2 mil：%3").arg(QString::fromStdString(point.shape),
                                                  QString::fromStdString(point.dieSize),
                                                  QString::fromStdString(point.refusal));
    return QStringLiteral("%1 %2 mil\n晶粒數：%3\n面積利用率：%4 %")
        .arg(QString::fromStdString(point.shape), QString::fromStdString(point.dieSize),
             QString::fromStdString(point.results->dies), QString::fromStdString(point.results->utilisation));
}

QChart* makeDieSizeChart(const std::vector<SweepPoint>& points, const std::optional<ChartMark>& mark)
{
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("晶粒尺寸比較"));
    auto* sizeAxis = new QValueAxis;
    sizeAxis->setTitleText(QStringLiteral("晶粒尺寸（mil）"));
    sizeAxis->setLabelFormat(QStringLiteral("%.4g"));
    auto* diesAxis = new QValueAxis;
    diesAxis->setTitleText(QStringLiteral("晶粒數"));
    diesAxis->setLabelFormat(QStringLiteral("%.0f"));
    auto* usedAxis = new QValueAxis;
    usedAxis->setTitleText(QStringLiteral("面積利用率（%）"));
    chart->addAxis(sizeAxis, Qt::AlignBottom);
    chart->addAxis(diesAxis, Qt::AlignLeft);
    chart->addAxis(usedAxis, Qt::AlignRight);

    double minSize = 0, maxSize = 0, maxDies = 0, minUsed = 100, maxUsed = 0;
    bool any = false;
    std::vector<std::string> shapes;
    for (const SweepPoint& point : points)
        if (std::find(shapes.begin(), shapes.end(), point.shape) == shapes.end())
            shapes.push_back(point.shape);
    for (const std::string& shape : shapes) {
        auto* dies = new QLineSeries;
        auto* used = new QLineSeries;
        dies->setProperty("shape", QString::fromStdString(shape));
        used->setProperty("shape", QString::fromStdString(shape));
        dies->setName(QStringLiteral("%1 晶粒數").arg(QString::fromStdString(shape)));
        used->setName(QStringLiteral("%1 利用率").arg(QString::fromStdString(shape)));
        dies->setPen(QPen(shapeColour(shape), 2));
        used->setPen(QPen(shapeColour(shape), 1.5, Qt::DashLine));
        for (const SweepPoint& point : points) {
            if (point.shape != shape || !point.results)
                continue; // a refused size has no point
            const double d = number(point.results->dies), u = number(point.results->utilisation);
            dies->append(point.dieMil, d);
            used->append(point.dieMil, u);
            minSize = any ? std::min(minSize, point.dieMil) : point.dieMil;
            maxSize = any ? std::max(maxSize, point.dieMil) : point.dieMil;
            maxDies = std::max(maxDies, d);
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
    }
    if (mark) {
        auto* marked = new QScatterSeries;
        marked->setName(QStringLiteral("目前設計"));
        marked->setMarkerSize(11);
        marked->setColor(Qt::black);
        marked->append(mark->dieMil, mark->dies);
        chart->addSeries(marked);
        marked->attachAxis(sizeAxis);
        marked->attachAxis(diesAxis);
    }
    if (any) {
        sizeAxis->setRange(minSize, maxSize > minSize ? maxSize : minSize + 1);
        diesAxis->setRange(0, maxDies > 0 ? maxDies * 1.05 : 1);
        usedAxis->setRange(std::max(0.0, minUsed - 5), std::min(100.0, maxUsed + 5));
        diesAxis->applyNiceNumbers();
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QImage drawDieSizeChart(const std::vector<SweepPoint>& points, const std::optional<ChartMark>& mark, QSize size)
{
    // The image first: laying out the chart already needs its room.
    QImage image = map::allocatedImage(size, QImage::Format_ARGB32_Premultiplied);
    QGraphicsScene scene;
    QChart* chart = makeDieSizeChart(points, mark);
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

std::optional<std::string> saveSweepCsv(const std::vector<SweepPoint>& points, const std::filesystem::path& path)
{
    const auto failure = replaceFile(path, [&](std::ostream& out) { writeSweepCsv(out, points); });
    if (failure)
        return replaceFailureText("CSV 檔", path, *failure);
    return std::nullopt;
}

} // namespace kerf::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: draws an SVG icon into PNG images of the sizes given, for the
// icon theme's fixed-size folders, named after the SVG (NAME-SIZE.png):
// icon_png ICON.svg OUTFOLDER SIZE...
#include <cstdio>
#include <cstdlib>

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc < 4)
        return 2;
    const QString file = QString::fromLocal8Bit(argv[1]);
    const QString name = QFileInfo(file).completeBaseName();
    QSvgRenderer icon(file);
    if (!icon.isValid())
        return 1;
    for (int i = 3; i < argc; ++i) {
        const int side = std::atoi(argv[i]);
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        icon.render(&painter);
        painter.end();
        if (!image.save(QStringLiteral("%1/%2-%3.png").arg(QString::fromLocal8Bit(argv[2]), name).arg(side)))
            return 1;
    }
    return 0;
}

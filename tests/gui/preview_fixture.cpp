// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/gui/preview_fixture.h"

#include <cmath>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include "render/cut_path_picture.h"

namespace kerf::testing {

std::string without(std::string text, const std::string& line)
{
    const std::size_t at = text.find(line);
    if (at == std::string::npos)
        qFatal("no line %s", line.c_str());
    text.erase(at, line.size());
    return text;
}

std::string replaced(std::string text, const std::string& line, const std::string& by)
{
    const std::size_t at = text.find(line);
    if (at == std::string::npos)
        qFatal("no line %s", line.c_str());
    text.replace(at, line.size(), by);
    return text;
}

bool shownInRed(const QWidget* widget, QPalette::ColorRole role)
{
    return widget->palette().color(role) == QColor(192, 0, 0);
}

QPoint pixelOf(const ui::CutPathView* picture, double programX, double programY)
{
    const QPointF at = picture->view().toPixels(map::pictureInches({programX, programY}));
    return {static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y()))};
}

QColor colourAt(const QImage& image, QPoint pixel)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(static_cast<int>(pixel.x() * ratio), static_cast<int>(pixel.y() * ratio));
}

void wheel(QWidget* widget, QPointF at, int delta)
{
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

void PreviewFixture::setUp()
{
    messages = std::make_unique<MessageRecorder>();
    designer = std::make_unique<ui::frmWafer>(nullptr);
    designer->showModeless();
}

void PreviewFixture::tearDown()
{
    designer.reset();
    messages.reset();
}

void PreviewFixture::design(const char* shape, const char* die)
{
    choose(designer->Combo1, QStringLiteral("2.0 Inches"));
    choose(designer->Combo2, QString::fromLatin1(shape));
    type(designer->Text1, QString::fromLatin1(die));
    QTest::mouseClick(designer->cmdDraw, Qt::LeftButton);
}

void PreviewFixture::designAndOpen(const char* shape, const char* die)
{
    design(shape, die);
    QTest::mouseClick(designer->cmdGenerate, Qt::LeftButton);
    QVERIFY(code() && code()->isVisible());
    code()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), code());
}

ui::frmPreview* PreviewFixture::openPreview(const WaferLayout& layout, const std::string& text)
{
    designer->showPreview(ui::ProgramPreview{layout, text});
    ui::frmPreview* preview = designer->previewWindow();
    if (!QTest::qWaitFor([preview] { return !preview || !preview->isWorking(); }, WorkTimeout))
        qWarning("the preview is still working");
    return preview;
}

} // namespace kerf::testing

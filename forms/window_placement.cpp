// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/window_placement.h"

#include <algorithm>
#include <limits>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kerf::ui {

namespace {

// Room between the anchor and the window, in pixels.
constexpr int Gap = 8;

// The position moved so that the whole window is on the screen, its top-left
// corner first when the window is larger than the screen.
QPoint inside(QPoint corner, const QSize& window, const QRect& screen)
{
    corner.setX(std::max(screen.left(), std::min(corner.x(), screen.right() + 1 - window.width())));
    corner.setY(std::max(screen.top(), std::min(corner.y(), screen.bottom() + 1 - window.height())));
    return corner;
}

// The cascade's offset along a side of `room` pixels, wrapping round before
// the window would be pushed against the screen's edge.
int cascadeOffset(int cascade, int room)
{
    const int steps = std::max(1, room / CascadeStep);
    return (cascade % steps) * CascadeStep;
}

long long overlap(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : static_cast<long long>(common.width()) * common.height();
}

} // namespace

QPoint placeBeside(const QRect& anchor, const QSize& window, const QRect& screen, int cascade)
{
    const int down = cascadeOffset(cascade, screen.height() - window.height());
    const int across = cascadeOffset(cascade, screen.width() - window.width());
    const QPoint candidates[] = {
        {anchor.right() + 1 + Gap, anchor.top() + down},        // right
        {anchor.left() - Gap - window.width(), anchor.top() + down}, // left
        {anchor.left() + across, anchor.bottom() + 1 + Gap},    // below
        {anchor.left() + across, anchor.top() - Gap - window.height()}, // above
    };
    QPoint best;
    long long bestOverlap = std::numeric_limits<long long>::max();
    for (const QPoint& candidate : candidates) {
        const QPoint corner = inside(candidate, window, screen);
        const long long covered = overlap(QRect(corner, window), anchor);
        if (covered == 0)
            return corner;
        if (covered < bestOverlap) {
            bestOverlap = covered;
            best = corner;
        }
    }
    return best;
}

void moveBesideMenu(QWidget* window)
{
    QWidget* anchor = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    while (anchor && anchor->parentWidget())
        anchor = anchor->parentWidget()->window();
    if (!anchor || !anchor->isVisible())
        return; // no menu to stand beside: where the system puts it
    int cascade = 0;
    for (const QWidget* other : anchor->findChildren<QWidget*>())
        if (other != window && other->isWindow() && other->isVisible())
            ++cascade;
    // Not shown yet, the window's frame is taken to be as thick as the menu's.
    const QSize frame = window->size() + (anchor->frameGeometry().size() - anchor->size());
    window->move(placeBeside(anchor->frameGeometry(), frame, anchor->screen()->availableGeometry(), cascade));
}

QSize assumedFrame(const QSize& ownerFrame)
{
    constexpr QSize UsualFrame(16, 48);
    return ownerFrame.isEmpty() ? UsualFrame : ownerFrame;
}

QSize sizeInside(const QSize& wanted, const QSize& frame, const QRect& screen, const QSize& least)
{
    return QSize(std::max(least.width(), std::min(wanted.width(), screen.width() - frame.width())),
                 std::max(least.height(), std::min(wanted.height(), screen.height() - frame.height())));
}

void fitWindow(QWidget* window, const QSize& wanted)
{
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    const QSize ownerFrame = owner && owner->isVisible() ? owner->frameGeometry().size() - owner->size() : QSize();
    window->resize(
        sizeInside(wanted, assumedFrame(ownerFrame), screen->availableGeometry(), window->minimumSizeHint()));
}

void offerNoMaximize(QWidget* window)
{
    window->setWindowFlags(window->windowType() | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
}

} // namespace kerf::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/drawing_failure.h"

#include <sys/mman.h>

#include <new>

#include <QPainter>

#include "render/drawing_threads.h"

namespace kerf::map {
namespace {

// Room that drawing into an image needs besides it: Qt's paths, spans and
// glyphs and the fonts mapped in while drawing, and a converted copy of the
// image while it is saved.
// Qt does not check all of its own allocations, so it must find the room.
constexpr qsizetype DrawingRoomBytes = 64 << 20;

// Whether `bytes` of memory are free now, under the limit of the address
// space (ulimit -v) and of the data (ulimit -d, which counts only writable
// memory); the reservation touches no memory and is given back at once.
bool roomFor(qsizetype bytes)
{
    void* room = ::mmap(nullptr, static_cast<std::size_t>(bytes), PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (room == MAP_FAILED)
        return false;
    ::munmap(room, static_cast<std::size_t>(bytes));
    return true;
}

} // namespace

QImage allocatedImage(QSize size, QImage::Format format)
{
    prepareDrawingThreads();
    QImage image(size, format);
    if (image.isNull() || !roomFor(image.sizeInBytes() + DrawingRoomBytes))
        throw std::bad_alloc();
    return image;
}

void requireDrawingRoom(qsizetype bytes)
{
    if (!roomFor(bytes))
        throw std::bad_alloc();
}

void beginPainting(QPainter& painter, QPaintDevice& device)
{
    prepareDrawingThreads();
    if (!painter.begin(&device))
        throw DrawingFailed("無法開始繪圖：繪圖裝置無法使用，可能是記憶體不足。沒有產生圖片。");
}

} // namespace kerf::map

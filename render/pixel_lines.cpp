// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/pixel_lines.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace kerf::map {

namespace {

// Device coordinates in 26.6 fixed point, truncated as the painter does.
int fixed26(double v) { return static_cast<int>(v * 64.0); }

// a / b in 16.16 fixed point.
int fixedDivide(int a, int b)
{
    if (std::abs(a) > 0x7fff)
        return static_cast<int>(static_cast<long long>(a) * (1 << 16) / b);
    return a * (1 << 16) / b;
}

constexpr int DashOn = 4;
constexpr int DashPeriod = 7;

} // namespace

PixelLines::PixelLines(QImage& image, const QTransform& toDevice)
    : bits_(reinterpret_cast<QRgb*>(image.bits())), stride_(image.bytesPerLine() / 4), width_(image.width()),
      height_(image.height()), toDevice_(toDevice)
{
}

bool PixelLines::clip(double& x1, double& y1, double& x2, double& y2) const
{
    const double xmin = -1, xmax = width_ + 1, ymin = -1, ymax = height_ + 1;
    if (x1 < xmin) {
        if (x2 <= xmin)
            return false;
        y1 += (y2 - y1) / (x2 - x1) * (xmin - x1);
        x1 = xmin;
    } else if (x1 > xmax) {
        if (x2 >= xmax)
            return false;
        y1 += (y2 - y1) / (x2 - x1) * (xmax - x1);
        x1 = xmax;
    }
    if (x2 < xmin) {
        y2 += (y2 - y1) / (x2 - x1) * (xmin - x2);
        x2 = xmin;
    } else if (x2 > xmax) {
        y2 += (y2 - y1) / (x2 - x1) * (xmax - x2);
        x2 = xmax;
    }
    if (y1 < ymin) {
        if (y2 <= ymin)
            return false;
        x1 += (x2 - x1) / (y2 - y1) * (ymin - y1);
        y1 = ymin;
    } else if (y1 > ymax) {
        if (y2 >= ymax)
            return false;
        x1 += (x2 - x1) / (y2 - y1) * (ymax - y1);
        y1 = ymax;
    }
    if (y2 < ymin) {
        x2 += (x2 - x1) / (y2 - y1) * (ymin - y2);
        y2 = ymin;
    } else if (y2 > ymax) {
        x2 += (x2 - x1) / (y2 - y1) * (ymax - y2);
        y2 = ymax;
    }
    return true;
}

void PixelLines::add(QPointF from, QPointF to, QRgb value, bool dashed)
{
    const QPointF a = toDevice_.map(from);
    const QPointF b = toDevice_.map(to);
    double rx1 = a.x(), ry1 = a.y(), rx2 = b.x(), ry2 = b.y();
    if (!clip(rx1, ry1, rx2, ry2))
        return;
    int x1 = fixed26(rx1), y1 = fixed26(ry1), x2 = fixed26(rx2), y2 = fixed26(ry2);
    const bool upright = std::abs(x2 - x1) < std::abs(y2 - y1);
    // Walk along the longer axis (u), stepping across it (v) in 16.16.
    int u1 = upright ? y1 : x1, u2 = upright ? y2 : x2;
    int v1 = upright ? x1 : y1, v2 = upright ? x2 : y2;
    const bool reversed = u1 > u2;
    if (reversed) {
        std::swap(u1, u2);
        std::swap(v1, v2);
    }
    const int increment = u2 == u1 ? 0 : fixedDivide(v2 - v1, u2 - u1);
    int v = v1 * (1 << 10);
    if (!dashed) { // square caps: half a pixel more at both ends
        u1 -= 32;
        v -= increment >> 1;
        u2 += 32;
    }
    const int u = (u1 + 32) >> 6;
    const int last = (u2 + 32) >> 6;
    if (u == last)
        return;
    const int round = increment > 0 ? 32 : 0;
    v += ((u * (1 << 6)) + round - u1) * increment >> 6;
    waiting_.push_back({u, last - u, v, increment, value, upright, dashed, reversed});
    waitingPixels_ += static_cast<std::uint64_t>(last - u);
    // A batch holds a few images' worth of pixels, or lines enough to amortise a pass over the bands.
    if (waiting_.size() >= (1u << 16) || waitingPixels_ >= 4 * static_cast<std::uint64_t>(width_) * height_)
        flush();
}

void PixelLines::flush()
{
    if (waiting_.empty())
        return;
    // Bands of about a megabyte of pixels; a batch of few pixels is one band.
    const bool small = waitingPixels_ < (std::uint64_t(1) << 16);
    const int band = small ? height_ + 2 : std::max(1, static_cast<int>((1 << 18) / std::max<qsizetype>(stride_, 1)));
    for (int top = -1; top <= height_; top += band)
        for (const Walk& walk : waiting_)
            write(walk, top, top + band);
    waiting_.clear();
    waitingPixels_ = 0;
}

void PixelLines::write(const Walk& walk, int top, int bottom)
{
    top = std::max(top, 0);
    bottom = std::min(bottom, height_);
    // The steps k of the walk whose pixels lie on rows top … bottom − 1 (and,
    // level walks, in the image's columns).
    long long from = 0, to = walk.count; // k in [from, to)
    if (walk.upright) {
        from = std::max<long long>(from, top - walk.first);
        to = std::min<long long>(to, bottom - walk.first);
    } else {
        from = std::max<long long>(from, -walk.first);
        to = std::min<long long>(to, width_ - walk.first);
        if (walk.increment == 0) {
            const int row = walk.v >> 16;
            if (row < top || row >= bottom)
                return;
        } else {
            // Row of step k: (v + k·increment) >> 16, monotonic in k.
            const long long v = walk.v, d = walk.increment;
            const long long lo = static_cast<long long>(top) * 65536 - v;    // v + k·d ≥ top·2^16
            const long long hi = static_cast<long long>(bottom) * 65536 - v; // v + k·d < bottom·2^16
            const auto ceilDiv = [](long long a, long long b) { // b > 0
                const long long q = a / b;
                return q + (a % b > 0);
            };
            if (d > 0) {
                from = std::max(from, ceilDiv(lo, d));
                to = std::min(to, ceilDiv(hi, d));
            } else {
                from = std::max(from, ceilDiv(-hi + 1, -d));
                to = std::min(to, ceilDiv(-lo + 1, -d));
            }
        }
    }
    if (from >= to)
        return;
    int v = walk.v + static_cast<int>(from) * walk.increment;
    const auto unsignedWidth = static_cast<unsigned>(width_);
    // Dashes: the place of step k in the pattern, counted from the line's start.
    int dash = walk.dashed ? static_cast<int>((walk.reversed ? walk.count - 1 - from : from) % DashPeriod) : 0;
    const int dashStep = walk.reversed ? DashPeriod - 1 : 1;
    for (auto k = static_cast<int>(from); k < to; ++k, v += walk.increment) {
        if (walk.dashed) {
            const bool off = dash >= DashOn;
            dash += dashStep;
            if (dash >= DashPeriod)
                dash -= DashPeriod;
            if (off)
                continue;
        }
        const int across = v >> 16;
        QRgb* p;
        if (walk.upright) {
            if (static_cast<unsigned>(across) >= unsignedWidth)
                continue;
            p = bits_ + static_cast<qsizetype>(walk.first + k) * stride_ + across;
        } else {
            p = bits_ + static_cast<qsizetype>(across) * stride_ + (walk.first + k);
        }
        if (*p == 0)
            *p = walk.value;
    }
}

} // namespace kerf::map

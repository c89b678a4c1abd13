// SPDX-License-Identifier: GPL-3.0-or-later
// Defects scattered at random over laid-out wafers: the share of dies a defect
// hits tends to 1 − yield of the poisson model, and of the negative binomial
// when each wafer's density is drawn from a gamma distribution of mean D.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "layout/die_area.h"
#include "layout/die_centres.h"
#include "tests/support/design_helpers.h"
#include "yield/good_dies.h"

using namespace kerf;

namespace {

struct Centre {
    double x, y;
};

// The dies of a layout by the cell of their centre, cells a die size wide:
// a point lies in a die centred in its own cell or a neighbouring one.
class DieFinder {
public:
    explicit DieFinder(const WaferLayout& layout)
        : shape_(layout.shape), half_(layout.DieSize / 2.0),
          halfSide_(layout.HexHalfSide.isEmpty() ? 0 : 2 * layout.HexHalfSide.toDouble()), cell_(layout.DieSize),
          side_(static_cast<long>(std::ceil(layout.EffectiveRadius / cell_)) + 2), cells_(4 * side_ * side_)
    {
        forEachDieCentre(layout, [&](const DieCentre& die) {
            const Centre c{die.x.toDouble(), die.y.toDouble()};
            const auto [col, row] = key(c.x, c.y);
            cells_[index(col, row)].push_back(static_cast<int>(centres_.size()));
            centres_.push_back(c);
        });
    }

    int dies() const { return static_cast<int>(centres_.size()); }

    // The die holding (x, y), or -1.
    int dieAt(double x, double y) const
    {
        const auto [col, row] = key(x, y);
        for (long i = col - 1; i <= col + 1; ++i)
            for (long j = row - 1; j <= row + 1; ++j) {
                for (const int die : cells_[index(i, j)])
                    if (inside(x - centres_[die].x, y - centres_[die].y))
                        return die;
            }
        return -1;
    }

private:
    std::pair<long, long> key(double x, double y) const
    {
        return {static_cast<long>(std::floor(x / cell_)), static_cast<long>(std::floor(y / cell_))};
    }

    std::size_t index(long col, long row) const { return static_cast<std::size_t>((col + side_) * 2 * side_ + row + side_); }

    bool inside(double dx, double dy) const
    {
        dx = std::abs(dx);
        dy = std::abs(dy);
        switch (shape_) {
        case DieShape::Circle: return dx * dx + dy * dy <= half_ * half_;
        case DieShape::Square: return dx <= half_ && dy <= half_;
        case DieShape::Hexagon: return dx <= half_ && dy <= halfSide_ - dx / std::sqrt(3.0); // vertical sides
        }
        return false;
    }

    DieShape shape_;
    double half_, halfSide_, cell_;
    long side_; // cells from the centre to an edge of the grid
    std::vector<Centre> centres_;
    std::vector<std::vector<int>> cells_;
};

// The share of dies hit over `wafers` wafers, defects uniform over the square
// around the effective circle, their number poisson of each wafer's density.
template <typename Density>
double shareHit(const WaferLayout& layout, int wafers, std::mt19937_64& random, Density density)
{
    const DieFinder finder(layout);
    const double half = layout.EffectiveRadius;
    const double boxCm2 = 4 * half * half * SquareCentimetresPerSquareInch;
    std::uniform_real_distribution<double> along(-half, half);
    std::vector<char> hit(static_cast<std::size_t>(finder.dies()));
    long long hits = 0;
    for (int wafer = 0; wafer < wafers; ++wafer) {
        std::fill(hit.begin(), hit.end(), 0);
        std::poisson_distribution<long> defects(density(random) * boxCm2);
        for (long n = defects(random); n > 0; --n) {
            const double x = along(random);
            if (const int die = finder.dieAt(x, along(random)); die >= 0)
                hit[static_cast<std::size_t>(die)] = 1;
        }
        hits += std::count(hit.begin(), hit.end(), 1);
    }
    return static_cast<double>(hits) / (static_cast<double>(finder.dies()) * wafers);
}

} // namespace

TEST(DefectScatter, ShareOfDiesHitIsOneMinusTheYield)
{
    std::mt19937_64 random(20261209);
    for (const char* shape : {"Circle", "Hexagon", "Square"}) {
        const WaferLayout layout = kerf::testing::designedLayout("2.0 Inches", shape, "100", "10");
        const double area = dieAreaCm2(layout), density = 0.6 / area; // 0.6 defects a die on average
        const double poisson = shareHit(layout, 2000, random, [=](auto&) { return density; });
        const double expectedPoisson = 1 - modelYield(YieldModel::Poisson, area * density, 0);
        EXPECT_NEAR(poisson, expectedPoisson, 0.01 * expectedPoisson) << shape;

        std::gamma_distribution<double> wafersDensity(DefaultAlpha, density / DefaultAlpha);
        const double clustered = shareHit(layout, 30000, random, [&](auto& r) { return wafersDensity(r); });
        const double expectedClustered = 1 - modelYield(YieldModel::NegativeBinomial, area * density, DefaultAlpha);
        EXPECT_NEAR(clustered, expectedClustered, 0.01 * expectedClustered) << shape;
    }
}

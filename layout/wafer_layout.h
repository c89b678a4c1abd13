// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "layout/die_shape.h"
#include "layout/wafer_centre.h"
#include "layout/wafer_flats.h"
#include "numbers/halved_to_even.h"
#include "numbers/number.h"

namespace kerf {

/// One record of a layout table. Positions are picture inches (Y down);
/// RelX, RelY are the cutting start point from the wafer centre (Y up).
struct LayoutRow {
    std::int16_t DieCount = 0; // dies in the row, or die pitches along a cut line
    Number PosX;
    Number PosY;
    Number RelX;
    Number RelY;

    bool operator==(const LayoutRow&) const = default;
};

/// A layout table: records 1..N at indices 1..N, N odd = 2K − 1. Record 1 is the
/// centre line, 2..K go away from the centre (up for rows, left for columns),
/// record K+j mirrors record j+1. Index 0 is an empty record, never written.
/// Records live in blocks of a few tens of kilobytes, which the allocator
/// serves again from the heap on the next run instead of fresh pages.
class LayoutTable {
public:
    LayoutTable() = default;
    LayoutTable(const LayoutTable& other);
    LayoutTable& operator=(const LayoutTable& other);
    LayoutTable(LayoutTable&&) noexcept = default;
    LayoutTable& operator=(LayoutTable&&) noexcept = default;

    /// Records in the table: N. Zero for a table that holds none.
    int upperBound() const { return size_ == 0 ? 0 : size_ - 1; }
    const LayoutRow& operator[](int index) const { return at(index); }
    LayoutRow& operator[](int index) { return const_cast<LayoutRow&>(at(index)); }

    /// Discards every record and holds records 1..n, all empty.
    void redim(int n);
    /// Adds one empty record at index N + 1, keeping the others.
    void grow();

    /// K: records 1..K go away from the centre line on the first half's side,
    /// K+1..N on the other. (N + 1) / 2 halved to even unless set: a flat
    /// takes lines from one side only.
    int half() const { return half_ >= 0 ? half_ : halvedToEven(upperBound() + 1); }
    void setHalf(int k) { half_ = k; }

    bool operator==(const LayoutTable& other) const;

private:
    static constexpr int BlockBits = 9; // 512 records a block
    static constexpr int BlockSize = 1 << BlockBits;
    using Block = std::array<LayoutRow, BlockSize>;

    const LayoutRow& at(int index) const
    {
        if (index < 0 || index >= size_)
            throw std::out_of_range("layout table index");
        return (*blocks_[static_cast<std::size_t>(index >> BlockBits)])[static_cast<std::size_t>(index & (BlockSize - 1))];
    }

    std::vector<std::unique_ptr<Block>> blocks_;
    int size_ = 0;
    int half_ = -1; // unset
};

/// The texts of the designer's boxes that a layout was made from; the program
/// header writes them as typed.
struct DesignTexts {
    std::string waferSize;         // Combo1, e.g. "2.0 Inches" (may be empty)
    std::string effectiveDiameter; // Text5, inches
    std::string shape;             // Combo2
    std::string dieSize;           // Text1, mil
    std::string fineTune;          // Text2, mil (read even when disabled)
};

/// One finished layout of the designer: the values it was made from, its
/// pitches and its tables. Handed from the designer to the map drawing, the
/// statistics and the program generators.
struct WaferLayout {
    DieShape shape = DieShape::Circle;
    DesignTexts texts;

    float WaferDiameter = 0;     // nominal, inches (0 when no size was chosen)
    float EffectiveDiameter = 0; // inches
    float EffectiveRadius = 0;
    float DieSize = 0;           // inches
    float HalfDieSize = 0;
    Number FineTune;             // inches: integer 0 when the box is empty, else a double

    Number DiePitch;
    Number RowPitch;
    Number HexHalfSide; // hexagons only; empty otherwise

    LayoutTable RowTable;
    LayoutTable ColumnTable; // squares only; empty otherwise

    WaferFlats flats; // none on a round wafer
};

} // namespace kerf

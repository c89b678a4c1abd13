// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/wafer_layout.h"

namespace kerf {

LayoutTable::LayoutTable(const LayoutTable& other) : size_(other.size_), half_(other.half_)
{
    blocks_.reserve(other.blocks_.size());
    for (const auto& block : other.blocks_)
        blocks_.push_back(std::make_unique<Block>(*block));
}

LayoutTable& LayoutTable::operator=(const LayoutTable& other)
{
    if (this != &other)
        *this = LayoutTable(other);
    return *this;
}

void LayoutTable::redim(int n)
{
    blocks_.clear();
    size_ = 0;
    half_ = -1;
    for (int i = 1; i <= n; ++i)
        grow();
}

void LayoutTable::grow()
{
    if (size_ == 0)
        ++size_; // index 0: the empty record that is never written
    if (size_ >= static_cast<int>(blocks_.size()) * BlockSize)
        blocks_.push_back(std::make_unique<Block>());
    (*this)[size_++] = LayoutRow{};
}

bool LayoutTable::operator==(const LayoutTable& other) const
{
    if (size_ != other.size_ || half() != other.half())
        return false;
    for (int i = 0; i < size_; ++i)
        if (!(at(i) == other.at(i)))
            return false;
    return true;
}

} // namespace kerf

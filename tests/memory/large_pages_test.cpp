// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <numeric>
#include <vector>

#include "memory/large_pages.h"

using namespace kerf;

TEST(LargePageMemory, ArraysOfEverySizeHoldWhatIsWrittenAndLargeOnesStartOnAHugePage)
{
    std::pmr::memory_resource* memory = largePageMemory();
    for (const std::size_t bytes : {std::size_t(1), std::size_t(4096), LargeRequest - 1, LargeRequest,
                                    LargeRequest + 1, 5 * LargeRequest + 12345}) {
        auto* p = static_cast<unsigned char*>(memory->allocate(bytes, 8));
        for (std::size_t i = 0; i < bytes; i += 4096)
            p[i] = static_cast<unsigned char>(i / 4096);
        p[bytes - 1] = 0xA5;
        EXPECT_EQ(p[bytes - 1], 0xA5) << bytes;
        if (bytes >= LargeRequest) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % (std::uintptr_t(2) << 20), 0u) << bytes;
        }
        memory->deallocate(p, bytes, 8);
    }
    // A vector that grows through the sizes keeps its elements.
    std::pmr::vector<std::uint64_t> values(memory);
    for (std::uint64_t i = 0; i < 3 * LargeRequest / sizeof(std::uint64_t); ++i)
        values.push_back(i);
    EXPECT_EQ(std::accumulate(values.begin(), values.end(), std::uint64_t(0)),
              values.size() * (values.size() - 1) / 2);
}

TEST(LargePageMemory, ARequestTheSystemCannotMapFailsAsNewDoes)
{
    for (const std::size_t bytes : {SIZE_MAX / 2, SIZE_MAX - 1})
        EXPECT_THROW(static_cast<void>(largePageMemory()->allocate(bytes, 8)), std::bad_alloc) << bytes;
}

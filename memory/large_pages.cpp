// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/large_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

namespace kerf {

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;

/// The system's page.
std::size_t smallPage()
{
    static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return page;
}

std::size_t roundedUp(std::size_t bytes, std::size_t unit) { return (bytes + unit - 1) / unit * unit; }

/// The mapping of a request: its whole huge pages, and a last one when it
/// would be at least half full (an array then holds at most 1 MB more than
/// its size); the rest in small pages.
struct Mapping {
    std::size_t length = 0; // of the whole mapping
    std::size_t huge = 0;   // of its huge pages, from its start
};

Mapping mappingOf(std::size_t bytes)
{
    Mapping mapping{roundedUp(bytes, smallPage()), 0};
    mapping.huge = mapping.length / HugePage * HugePage;
    if (mapping.length - mapping.huge >= HugePage / 2)
        mapping.length = mapping.huge = mapping.huge + HugePage;
    return mapping;
}

class LargePageResource final : public std::pmr::memory_resource {
    static bool large(std::size_t bytes, std::size_t alignment)
    {
        return bytes >= LargeRequest && alignment <= HugePage;
    }

    void* do_allocate(std::size_t bytes, std::size_t alignment) override
    {
        if (!large(bytes, alignment))
            return std::pmr::get_default_resource()->allocate(bytes, alignment);
        if (bytes > SIZE_MAX - 3 * HugePage)
            throw std::bad_alloc();
        const Mapping mapping = mappingOf(bytes);
        // One huge page more than needed, trimmed so that the mapping starts on one.
        void* raw = ::mmap(nullptr, mapping.length + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                           -1, 0);
        if (raw == MAP_FAILED)
            throw std::bad_alloc();
        const auto at = reinterpret_cast<std::uintptr_t>(raw);
        const std::uintptr_t start = roundedUp(at, HugePage);
        if (start > at)
            ::munmap(raw, start - at);
        if (at + HugePage > start)
            ::munmap(reinterpret_cast<void*>(start + mapping.length), at + HugePage - start);
        // Advice only: a system without huge pages fills the mapping page by page.
        if (mapping.huge > 0)
            ::madvise(reinterpret_cast<void*>(start), mapping.huge, MADV_HUGEPAGE);
        return reinterpret_cast<void*>(start);
    }

    void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override
    {
        if (!large(bytes, alignment))
            return std::pmr::get_default_resource()->deallocate(p, bytes, alignment);
        ::munmap(p, mappingOf(bytes).length);
    }

    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};

} // namespace

std::pmr::memory_resource* largePageMemory()
{
    static LargePageResource resource;
    return &resource;
}

} // namespace kerf

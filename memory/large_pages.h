// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory_resource>

namespace kerf {

/// Requests from this many bytes on are mapped by largePageMemory() itself.
inline constexpr std::size_t LargeRequest = std::size_t(1) << 20;

/// Memory for the arrays that grow with a program or a layout (megabytes of
/// compiled words, of a check's lines and counts). A request of LargeRequest
/// bytes or more gets a mapping of its own that starts on a 2 MB boundary,
/// on huge pages where the system gives them (Linux's transparent huge
/// pages, "madvise" mode): its whole 2 MB stretches, and a last one when it
/// would be at least half full, so that an array holds at most 1 MB more
/// than its size. Filling it then costs a page fault per 2 MB rather than
/// per 4 kB, which on a virtual machine is most of the cost of a large
/// check. Smaller requests go to the default resource. Fails with
/// std::bad_alloc, as new does, when the system refuses the memory.
std::pmr::memory_resource* largePageMemory();

} // namespace kerf

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory_resource>

namespace kerf {

/// Requests from this many bytes on are mapped by largePageMemory() itself.
inline constexpr std::size_t LargeRequest = std::size_t(2) << 20;

/// Memory for the arrays that grow with a program or a layout (megabytes of
/// compiled words, of a check's lines and counts). A request of LargeRequest
/// bytes or more gets a mapping of its own that starts on a 2 MB boundary
/// and asks the system for huge pages (Linux's transparent huge pages in
/// their "madvise" mode): filling it then costs a page fault per 2 MB rather
/// than per 4 kB, which on a virtual machine is most of the cost of a large
/// check. Where the system gives none, the mapping is one of small pages.
/// Smaller requests go to the default resource. Fails with std::bad_alloc,
/// as new does, when the system refuses the memory.
std::pmr::memory_resource* largePageMemory();

} // namespace kerf

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kerf::testing {

/// Reports that a helper could not give what the test asked of it. Each test
/// framework links its own: a GoogleTest suite records the failure and goes
/// on, a window test stops there.
void failTest(const std::string& what);

} // namespace kerf::testing

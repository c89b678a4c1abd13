// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/test_failure.h"

#include <gtest/gtest.h>

namespace kerf::testing {

void failTest(const std::string& what) { ADD_FAILURE() << what; }

} // namespace kerf::testing

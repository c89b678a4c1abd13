// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/test_failure.h"

#include <QtGlobal>

namespace kerf::testing {

// A window test stops at once: what follows would act on an empty layout or
// program.
void failTest(const std::string& what) { qFatal("%s", what.c_str()); }

} // namespace kerf::testing

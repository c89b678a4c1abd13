// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numbers/number.h"

namespace kerf {

/// The value with its sign reversed, of the same kind (an empty value stays
/// empty), so that its text follows the same rule as the value's own.
Number negated(const Number& value);

} // namespace kerf

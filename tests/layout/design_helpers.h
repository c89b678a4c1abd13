#pragma once

#include <string>

#include "layout/design_driver.h"

namespace kerf::testing {

/// Runs the design button for a wafer size item (or none: ""), a shape and the
/// box texts; the effective diameter box holds what the size choice put there
/// unless `effective` is given.
DesignOutcome design(const std::string& wafer, const std::string& shape, const std::string& die,
                     const std::string& gap = "", const char* effective = nullptr);

/// The same, expecting a finished design.
Design designed(const std::string& wafer, const std::string& shape, const std::string& die,
                const std::string& gap = "", const char* effective = nullptr);

} // namespace kerf::testing

// SPDX-License-Identifier: GPL-3.0-or-later
// Any text typed into a number box: read as each kind, and what is read
// written as the program writes it and read again (a single's seven digits
// need not give the same single back; an integer's text does).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "numbers/decimal.h"
#include "numbers/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto single = kerf::parseSingle(text)) {
        if (std::isfinite(*single) && !kerf::parseSingle(kerf::singleText(*single)))
            __builtin_trap();
    }
    if (const auto value = kerf::parseDouble(text)) {
        if (std::isfinite(*value) && !kerf::parseDouble(kerf::doubleText(*value)))
            __builtin_trap();
        if (std::abs(*value) <= 1e6) // a share of an area, in percent
            kerf::utilisationText(*value);
    }
    if (const auto whole = kerf::parseInteger16(text)) {
        const auto again = kerf::parseInteger16(kerf::integerText(*whole));
        if (!again || *again != *whole)
            __builtin_trap();
    }
    if (const auto decimal = kerf::Decimal::parse(text))
        kerf::lengthText(*decimal);
    return 0;
}

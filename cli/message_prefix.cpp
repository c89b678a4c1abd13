// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/message_prefix.h"

namespace kerf::cli {

PrefixedLines::int_type PrefixedLines::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char character = traits_type::to_char_type(c);
    return xsputn(&character, 1) == 1 ? c : traits_type::eof();
}

std::streamsize PrefixedLines::xsputn(const char* text, std::streamsize count)
{
    said_ |= count > 0;
    for (std::streamsize i = 0; i < count; ++i) {
        if (lineStart_)
            err_ << MessagePrefix;
        err_.put(text[i]);
        lineStart_ = text[i] == '\n';
    }
    return err_ ? count : 0;
}

int PrefixedLines::sync() { return err_.flush() ? 0 : -1; }

} // namespace kerf::cli

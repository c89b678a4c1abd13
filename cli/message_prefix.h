// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <streambuf>
#include <string_view>

namespace kerf::cli {

/// What begins every message of kerfwright-cli on standard error.
inline constexpr std::string_view MessagePrefix = "kerfwright-cli: ";

/// A stream over `err` that begins each line written to it with
/// MessagePrefix, so that whatever a command says is marked as the
/// program's; the text is passed on as it comes.
class PrefixedLines : private std::streambuf {
public:
    explicit PrefixedLines(std::ostream& err) : err_(err), stream_(this) {}
    PrefixedLines(const PrefixedLines&) = delete;
    PrefixedLines& operator=(const PrefixedLines&) = delete;

    std::ostream& stream() { return stream_; }
    /// True once anything was written.
    bool said() const { return said_; }

private:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

    std::ostream& err_;
    std::ostream stream_;
    bool lineStart_ = true;
    bool said_ = false;
};

} // namespace kerf::cli

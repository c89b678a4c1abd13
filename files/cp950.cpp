// SPDX-License-Identifier: GPL-3.0-or-later
#include "cp950.h"

#include <iconv.h>

#include <algorithm>

#include "files/utf8.h"

namespace kerf {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (opened())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool opened() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return handle_; }

private:
    iconv_t handle_;
};

// The whole UTF-8 character that starts at `offset` of well-formed text.
std::string characterAt(std::string_view text, std::size_t offset)
{
    std::size_t end = offset + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return std::string(text.substr(offset, end - offset));
}

} // namespace

std::variant<std::string, Cp950Failure> toCp950(std::string_view utf8)
{
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(utf8);
    if (!decodeUtf8(utf8))
        return Cp950Failure{Cp950Failure::Reason::NotUtf8, {}};
    Converter converter("CP950", "UTF-8");
    if (!converter.opened())
        return Cp950Failure{Cp950Failure::Reason::NoConversion, {}};

    std::string input(utf8);
    std::string output(input.size() * 2 + 8, '\0'); // CP950 never takes more bytes than UTF-8
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    if (iconv(converter.handle(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1))
        return Cp950Failure{Cp950Failure::Reason::Unrepresentable,
                            characterAt(utf8, static_cast<std::size_t>(in - input.data()))};
    output.resize(output.size() - outLeft);
    return output;
}

std::optional<std::string> fromCp950(std::string_view cp950)
{
    Converter converter("UTF-8", "CP950");
    if (!converter.opened())
        return std::nullopt;
    std::string input(cp950);
    std::string output(input.size() * 2 + 8, '\0'); // a CP950 character takes at most 3 bytes of UTF-8
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    if (iconv(converter.handle(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

} // namespace kerf

// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_descriptor_buffer.h"

#include <unistd.h>

#include <cerrno>

namespace kerf {

FileDescriptorBuffer::FileDescriptorBuffer(int fd) : fd_(fd)
{
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool FileDescriptorBuffer::drain()
{
    const char* next = pbase();
    while (error_ == 0 && next < pptr()) {
        const ssize_t written = ::write(fd_, next, static_cast<std::size_t>(pptr() - next));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            error_ = written < 0 ? errno : EIO;
        else
            next += written;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
}

FileDescriptorBuffer::int_type FileDescriptorBuffer::overflow(int_type ch)
{
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(ch);
        pbump(1);
    }
    return traits_type::not_eof(ch);
}

int FileDescriptorBuffer::sync()
{
    return drain() ? 0 : -1;
}

} // namespace kerf

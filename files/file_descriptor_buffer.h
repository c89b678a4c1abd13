// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <streambuf>

namespace kerf {

/// A stream buffer that writes to an open POSIX file descriptor (which it
/// does not own). A failed write makes the stream fail and keeps its errno.
class FileDescriptorBuffer : public std::streambuf {
public:
    explicit FileDescriptorBuffer(int fd);

    /// The errno of the first failed write, 0 while none failed.
    int error() const { return error_; }

protected:
    int_type overflow(int_type ch) override;
    int sync() override;

private:
    bool drain();

    int fd_;
    int error_ = 0;
    std::array<char, 1 << 16> buffer_{};
};

} // namespace kerf

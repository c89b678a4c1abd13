// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <ios>
#include <memory>
#include <random>
#include <string>
#include <variant>

#include "files/broken_pipe_held.h"
#include "files/file_descriptor_buffer.h"
#include "files/shown_path.h"
#include "files/system_error_text.h"
#include "files/temporary_names.h"

namespace kerf {
namespace {

using Step = FileReplaceError::Step;

// What a target names once symbolic links are followed.
struct Destination {
    std::string path;   // the file to replace or to open
    int descriptor = -1; // an open descriptor of this process (/dev/stdout, /dev/fd/N)
    bool exists = false;
    struct stat info {};
};

std::string folderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// The number N of a name in this process's own descriptor folder
// (/proc/PID/fd/N, also reached as /proc/self/fd/N or /dev/fd/N).
std::optional<int> ownDescriptor(const std::string& path)
{
    char real[PATH_MAX];
    if (!::realpath(folderOf(path).c_str(), real))
        return std::nullopt;
    const std::string own = "/proc/" + std::to_string(::getpid()) + "/";
    const std::string folder = real;
    if (folder.rfind(own, 0) != 0 || !folder.ends_with("/fd"))
        return std::nullopt;
    const std::string name = std::filesystem::path(path).filename().string();
    int fd = -1;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), fd);
    if (ec != std::errc() || end != name.data() + name.size())
        return std::nullopt;
    return fd;
}

std::variant<Destination, FileReplaceError> destinationOf(const std::filesystem::path& target)
{
    Destination destination{target.string()};
    for (int hop = 0; hop < 40; ++hop) {
        if (const auto fd = ownDescriptor(destination.path)) {
            destination.descriptor = *fd;
            return destination;
        }
        if (::lstat(destination.path.c_str(), &destination.info) != 0)
            return destination; // a new name, or a folder that a later step reports
        if (!S_ISLNK(destination.info.st_mode)) {
            destination.exists = true;
            return destination;
        }
        char link[PATH_MAX];
        const ssize_t length = ::readlink(destination.path.c_str(), link, sizeof link - 1);
        if (length < 0)
            return FileReplaceError{Step::Open, errno};
        const std::filesystem::path named(std::string(link, static_cast<std::size_t>(length)));
        destination.path = named.is_absolute() ? named.string()
                                               : (std::filesystem::path(folderOf(destination.path)) / named).string();
    }
    return FileReplaceError{Step::Open, ELOOP};
}

std::optional<FileReplaceError> writeTo(int fd, const std::function<void(std::ostream&)>& write, bool direct)
{
    const BrokenPipeHeld held; // a reader that goes is a failed write
    FileDescriptorBuffer buffer(fd);
    std::ostream stream(&buffer);
    // The first failed write ends the writer, which would else go on making
    // text that goes nowhere (a full disk, the file size limit).
    stream.exceptions(std::ios::badbit);
    try {
        write(stream);
        stream.flush();
    } catch (const std::ios_base::failure&) {
        return FileReplaceError{Step::Write, buffer.error(), direct};
    }
    if (!stream)
        return FileReplaceError{Step::Write, buffer.error(), direct};
    return std::nullopt;
}

// A device, a FIFO or a socket: opened and written as it is.
std::optional<FileReplaceError> writeDirectly(const std::string& path, const std::function<void(std::ostream&)>& write)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return FileReplaceError{Step::Open, errno, true};
    auto error = writeTo(fd, write, true);
    if (::close(fd) != 0 && !error && errno != EINTR)
        error = FileReplaceError{Step::Save, errno, true};
    return error;
}

bool readOnly(const Destination& destination)
{
    // The mode bits also for a superuser, who may write whatever they say.
    if ((destination.info.st_mode & 0222) == 0)
        return true;
    return ::access(destination.path.c_str(), W_OK) != 0 && errno == EACCES;
}

// The new file: unnamed until it is put in place, or, where the file system
// has no unnamed files, a short hidden name that is removed unless placed.
class NewFile {
public:
    explicit NewFile(std::string folder) : folder_(std::move(folder)) {}
    ~NewFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!name_.empty() && !placed_)
            ::unlink(name_.c_str());
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    /// 0, or the errno of the failed creation.
    int create()
    {
        // 0666 lets the umask give the new file the mode of any file created here.
        fd_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            return 0;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return errno;
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = (std::filesystem::path(folder_) / temporaryName(random_)).string();
            // Recorded before the file exists, so no signal finds it unrecorded.
            auto guard = std::make_unique<RemovedOnSignal>(name.c_str());
            fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                name_ = std::move(name);
                guard_ = std::move(guard);
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }

    int fd() const { return fd_; }

    /// Flushes the file to disk and closes it; 0 or the errno.
    int save()
    {
        if (::fsync(fd_) != 0)
            return errno;
        if (!name_.empty()) {
            const int result = ::close(fd_);
            fd_ = -1;
            if (result != 0)
                return errno;
        }
        return 0;
    }

    /// Puts the file at `path`, replacing what is there; 0 or the errno.
    int place(const std::string& path)
    {
        // An unnamed file gets a short name and is renamed at once, with the
        // signals held so that no name is left between the two steps.
        std::optional<SignalsHeld> held;
        if (name_.empty()) {
            held.emplace();
            const std::string self = "/proc/self/fd/" + std::to_string(fd_);
            for (int attempt = 0; name_.empty(); ++attempt) {
                std::string name = (std::filesystem::path(folder_) / temporaryName(random_)).string();
                if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                    name_ = std::move(name);
                else if (errno != EEXIST || attempt == 100)
                    return errno;
            }
        }
        if (::rename(name_.c_str(), path.c_str()) != 0)
            return errno;
        placed_ = true;
        return 0;
    }

private:
    std::string folder_;
    std::random_device random_;
    int fd_ = -1;
    std::string name_;
    std::unique_ptr<RemovedOnSignal> guard_;
    bool placed_ = false;
};

// Makes the rename itself durable; a failure here leaves the new file in
// place and readable, so it is not reported.
void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::optional<FileReplaceError> replaceRegular(const Destination& destination, const timespec& started,
                                               const std::function<void(std::ostream&)>& write)
{
    const std::string folder = folderOf(destination.path);
    removeLeftoverNames(folder, started);
    NewFile file(folder);
    if (const int error = file.create())
        return FileReplaceError{Step::CreateTemporary, error};
    if (destination.exists && S_ISREG(destination.info.st_mode)) {
        // The old file's permissions, never its setuid and setgid bits: a
        // new content is not what they were granted to.
        ::fchmod(file.fd(), destination.info.st_mode & 07777 & ~(S_ISUID | S_ISGID));
        if (destination.info.st_uid != ::geteuid() || destination.info.st_gid != ::getegid())
            (void)::fchown(file.fd(), destination.info.st_uid, destination.info.st_gid);
    }
    if (auto error = writeTo(file.fd(), write, false))
        return error;
    if (const int error = file.save())
        return FileReplaceError{Step::Save, error};
    if (const int error = file.place(destination.path))
        return FileReplaceError{Step::Rename, error};
    syncFolder(folder);
    return std::nullopt;
}

} // namespace

std::optional<FileReplaceError> replaceFile(const std::filesystem::path& target,
                                            const std::function<void(std::ostream&)>& write)
{
    timespec started {};
    ::clock_gettime(CLOCK_REALTIME, &started);
    handleEndingSignals();
    const NamedForSignal named(target.c_str());
    const auto found = destinationOf(target);
    if (const auto* error = std::get_if<FileReplaceError>(&found))
        return *error;
    const Destination& destination = std::get<Destination>(found);
    if (destination.descriptor >= 0)
        return writeTo(destination.descriptor, write, true);
    if (destination.exists && !S_ISREG(destination.info.st_mode) && !S_ISDIR(destination.info.st_mode))
        return writeDirectly(destination.path, write);
    if (destination.exists && S_ISREG(destination.info.st_mode) && readOnly(destination))
        return FileReplaceError{Step::ReadOnly, EACCES};
    return replaceRegular(destination, started, write);
}

namespace {

std::string reasonOf(int error)
{
    return error == 0 ? "輸出沒有完整寫出" : systemErrorText(error, FileAccess::Write);
}

const char* stepOf(Step step)
{
    switch (step) {
    case Step::ReadOnly: return "";
    case Step::Open: return "開啟時";
    case Step::CreateTemporary: return "建立新檔時";
    case Step::Write: return "寫入時";
    case Step::Save: return "存入磁碟時";
    case Step::Rename: return "取代舊檔時";
    }
    return "";
}

} // namespace

std::string replaceFailureText(std::string_view what, const std::filesystem::path& target,
                               const FileReplaceError& error)
{
    if (target.empty())
        return "沒有寫入" + std::string(what) + "：檔名是空的。";
    const std::string name = "「" + shownPath(target) + "」";
    if (error.step == Step::ReadOnly)
        return std::string(what) + name + "是唯讀檔案，沒有寫入，它保持原樣。請先取消它的唯讀屬性，或改用其他檔名。";
    // A folder that is there but takes no new file (/proc, /sys) has nothing missing.
    std::error_code ignored;
    const bool folderThere = std::filesystem::is_directory(folderOf(target.string()), ignored);
    const std::string reason = error.error == ENOENT && folderThere ? "這個資料夾不能建立檔案"
                                                                    : reasonOf(error.error);
    const std::string failed = "寫入" + std::string(what) + name + "失敗（" + stepOf(error.step) + "）：" + reason + "。";
    if (error.direct)
        return failed + (error.step == Step::Open ? "沒有寫出任何內容。" : "已寫出的內容可能不完整。");
    // Nothing changed: a file there now was there before.
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0)
        return failed + "沒有留下不完整的檔案。";
    return failed + "已有的同名檔案保持原樣，也沒有留下不完整的檔案。";
}

} // namespace kerf

#include "file_replacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#include "codegen/file_descriptor_buffer.h"

namespace kerf {
namespace {

// Closes and removes the new file unless it was put in place.
class NewFile {
public:
    NewFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~NewFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!placed_)
            ::unlink(path_.c_str());
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    /// Closes the descriptor; false (errno set) when the close reports an error.
    bool close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }
    void placed() { placed_ = true; }

private:
    int fd_;
    std::string path_;
    bool placed_ = false;
};

std::string randomSuffix(std::random_device& random)
{
    char text[17];
    std::snprintf(text, sizeof text, "%08x%08x", random(), random());
    return text;
}

// Makes the rename itself durable; a failure here leaves the new file in
// place and readable, so it is not reported.
void syncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::optional<FileReplaceError> replaceFile(const std::filesystem::path& target,
                                            const std::function<void(std::ostream&)>& write)
{
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::random_device random;
    int fd = -1;
    std::string path;
    for (int attempt = 0; fd < 0; ++attempt) {
        std::string name = ".";
        name.append(target.filename().string()).append(".").append(randomSuffix(random));
        path = (folder / name).string();
        // 0666 lets the umask give the new file the same mode as any file created here.
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 100))
            return FileReplaceError{FileReplaceError::Step::CreateTemporary, errno};
    }
    NewFile file(fd, path);

    FileDescriptorBuffer buffer(file.fd());
    std::ostream stream(&buffer);
    write(stream);
    stream.flush();
    if (!stream)
        return FileReplaceError{FileReplaceError::Step::Write, buffer.error()};
    if (::fsync(file.fd()) != 0 || !file.close())
        return FileReplaceError{FileReplaceError::Step::Save, errno};
    if (::rename(file.path().c_str(), target.c_str()) != 0)
        return FileReplaceError{FileReplaceError::Step::Rename, errno};
    file.placed();
    syncFolder(folder);
    return std::nullopt;
}

namespace {

std::string reasonOf(int error)
{
    switch (error) {
    case 0: return "輸出沒有完整寫出";
    case ENOSPC:
    case EDQUOT: return "磁碟空間不足";
    case EACCES:
    case EPERM: return "沒有寫入這個資料夾的權限";
    case EROFS: return "資料夾位於唯讀的磁碟上";
    case ENOENT: return "資料夾不存在";
    case ENOTDIR: return "資料夾路徑中有一項不是資料夾";
    case EISDIR: return "已有同名的資料夾";
    case ENAMETOOLONG: return "路徑太長";
    case EIO: return "磁碟讀寫錯誤";
    default: return "系統錯誤（錯誤碼 " + std::to_string(error) + "）";
    }
}

const char* stepOf(FileReplaceError::Step step)
{
    switch (step) {
    case FileReplaceError::Step::CreateTemporary: return "建立新檔時";
    case FileReplaceError::Step::Write: return "寫入時";
    case FileReplaceError::Step::Save: return "存入磁碟時";
    case FileReplaceError::Step::Rename: return "取代舊檔時";
    }
    return "";
}

} // namespace

std::string replaceFailureText(std::string_view what, const std::filesystem::path& target,
                               const FileReplaceError& error)
{
    return "寫入" + std::string(what) + "「" + target.string() + "」失敗（" + stepOf(error.step) + "）：" +
           reasonOf(error.error) + "。已有的同名檔案保持原樣，也沒有留下不完整的檔案。";
}

} // namespace kerf

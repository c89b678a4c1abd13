// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/system_error_text.h"

#include <cerrno>

namespace kerf {

std::string systemErrorText(int error, FileAccess access)
{
    const bool reading = access == FileAccess::Read;
    switch (error) {
    case ENOSPC:
    case EDQUOT: return "磁碟空間不足";
    case EACCES:
    case EPERM: return reading ? "沒有讀取這個檔案的權限" : "沒有寫入這個資料夾的權限";
    case EROFS: return "資料夾位於唯讀的磁碟上";
    case ENOENT: return reading ? "檔案不存在" : "資料夾不存在";
    case ENOTDIR: return "資料夾路徑中有一項不是資料夾";
    case EISDIR: return reading ? "這是一個資料夾，不是檔案" : "已有同名的資料夾";
    case ENAMETOOLONG: return "路徑太長";
    case ELOOP: return "符號連結太多層或互相連結";
    case EPIPE: return "讀取輸出的程式已經結束";
    case EIO: return "磁碟讀寫錯誤";
    case EFBIG: return "檔案超過系統允許的大小";
    case ENOMEM: return "記憶體不足";
    case EBADF: return reading ? "標準輸入已關閉" : "標準輸出已關閉"; // only a closed standard stream meets it
    case EMFILE:
    case ENFILE: return "同時開啟的檔案太多";
    default: return "系統錯誤（錯誤碼 " + std::to_string(error) + "）";
    }
}

} // namespace kerf

#include "program/check/cut_check.h"

namespace kerf {

const char* uncheckedText(Unchecked reason)
{
    switch (reason) {
    case Unchecked::No: return "";
    case Unchecked::TooLarge: return "程式展開後太大，無法檢查。";
    case Unchecked::OutOfMemory: return "記憶體不足，無法檢查。";
    }
    return "";
}

const char* passSourceText(PassSource source)
{
    switch (source) {
    case PassSource::Given: return "given";
    case PassSource::Dies: return "dies";
    }
    return "";
}

} // namespace kerf

// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/check/report/cut_report.h"

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

const char* machineTimeAssumption()
{
    return "假設每段移動皆由靜止加速再減速至靜止（梯形速度曲線）：直線以 SP DVL 速度、SP DAC 加速度，"
           "圓弧以其 VEL、ACC，單位英吋與秒，另加 WT 等待時間。";
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

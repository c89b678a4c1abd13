#include "program/check/machine_time.h"

#include "program/check/cut_check.h"

namespace kerf {

const char* machineTimeAssumption()
{
    return "假設每段移動皆由靜止加速再減速至靜止（梯形速度曲線）：直線以 SP DVL 速度、SP DAC 加速度，"
           "圓弧以其 VEL、ACC，單位英吋與秒，另加 WT 等待時間。";
}

namespace cutcheck {

std::optional<double> machineTime(const RunSummary& run)
{
    if (!run.machineTimeKnown)
        return std::nullopt;
    return run.machineSeconds;
}

} // namespace cutcheck

} // namespace kerf

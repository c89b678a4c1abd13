// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/command_line.h"
#include "job/job.h"
#include "yield/good_dies.h"

namespace kerf::cli {

/// --defects D, --yield-model NAME, --layers N, --alpha A and --wafer-cost C:
/// the yield boxes' texts, the keys of a job's yield section.
void addYieldOptions(CLI::App& app, JobYield& yield);

/// The yield settings of the job a command runs on: none when it holds none
/// (nothing is asked), else the settings or, when a box would refuse, false
/// with the message on `err`.
bool readCommandYield(const JobYield& yield, std::optional<YieldSettings>& settings, std::ostream& err);

/// `,\n "yield": {...}`: the good dies of a design as a member of its JSON
/// object, every number at full precision.
std::string yieldJsonMember(const YieldSettings& settings, const GoodDies& dies);

/// The options' part of the help's footer.
inline constexpr std::string_view YieldOptionsFooter =
    "--defects 與 --yield-model 依缺陷密度（每平方公分）與良率模型算出良品晶粒數；模型：poisson、murphy、seeds、\n"
    "moore、bose-einstein（--layers 關鍵層數 n，預設 1）、negative-binomial（--alpha 叢集參數 α，預設 2）；\n"
    "--wafer-cost 為一片晶片的成本，另算每顆良品的成本。";

} // namespace kerf::cli

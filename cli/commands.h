// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"

namespace kerf::cli {

/// One command of kerfwright-cli: its word, what it does in a line, and the
/// function that declares its options on the command's option set and returns
/// what runs it on them (exit code 0 done, 1 refused or failed; a usage error
/// thrown as UsageError is exit 2).
struct Command {
    std::string_view name;
    std::string_view summary;
    CommandRun (*declare)(CLI::App& app);
};

CommandRun declareDesignCommand(CLI::App& app);
CommandRun declareSimulateCommand(CLI::App& app);

/// All commands, in the order the help lists them.
const std::vector<Command>& commands();

/// Said when memory runs out: the command stops and changes nothing.
inline constexpr std::string_view OutOfMemoryMessage = "記憶體不足，無法完成這項工作，沒有寫出或改變任何檔案。";
/// Said when standard output could not be written whole.
inline constexpr std::string_view StandardOutputFailure = "無法寫出標準輸出（磁碟已滿或輸出已關閉），輸出不完整。";

/// Runs a whole command line (argv without the program name); a command
/// whose standard output could not be written fails (exit 1), said once: by
/// the command when it noticed, else here.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kerf::cli

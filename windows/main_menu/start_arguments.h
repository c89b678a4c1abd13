// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kerf::ui {

/// What the desktop program's arguments ask for. Help and the version are
/// answered before anything needs a display; Qt's own options (-platform,
/// -style…) are taken out by the application before the rest is read.
struct StartRequest {
    enum class Kind { Run, Help, Version, UnknownOption };
    Kind kind = Kind::Run;
    std::vector<std::string> jobs;     ///< the job files to open (.kwjob); the first opens
    std::vector<std::string> programs; ///< the program files to open in the preview; the first opens
    std::string unknownOption;
};

/// Reads the arguments after the program's name: --help or -h, --version or
/// -v wherever they stand; any other word that begins with "-" is an unknown
/// option (after "--" every word is a file). A file is a job by its extension
/// .kwjob (in any case), else a cutting program.
StartRequest readStartArguments(const std::vector<std::string>& args);

/// `kerfwright --help`, in Traditional Chinese.
std::string startHelpText(std::string_view version);

} // namespace kerf::ui

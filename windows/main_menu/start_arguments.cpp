// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/main_menu/start_arguments.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string_view>
#include <utility>

namespace kerf::ui {

namespace {

// Qt's own options, which the application takes out of the arguments: read
// before it starts, they are no unknown options (those of the first list take
// the next word as their value). Qt takes them with one dash or two.
constexpr std::string_view QtOptionsWithValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                                   "qwindowgeometry", "qwindowicon", "qwindowtitle", "session",
                                                   "style", "stylesheet", "display", "geometry", "title", "name"};
constexpr std::string_view QtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

std::string_view qtOptionName(std::string_view arg)
{
    arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
    return arg.substr(0, arg.find('='));
}

bool isQtOption(std::string_view arg, bool& takesValue)
{
    const std::string_view name = qtOptionName(arg);
    const bool withValue = std::ranges::find(QtOptionsWithValue, name) != std::end(QtOptionsWithValue);
    takesValue = withValue && arg.find('=') == std::string_view::npos;
    return withValue || std::ranges::find(QtFlags, name) != std::end(QtFlags) || name.starts_with("qmljsdebugger");
}

bool isJobFile(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name.ends_with(".kwjob");
}

} // namespace

StartRequest readStartArguments(const std::vector<std::string>& args)
{
    StartRequest request;
    bool filesOnly = false;
    bool qtValue = false;
    for (const std::string& arg : args) {
        if (std::exchange(qtValue, false))
            continue; // the value of a Qt option
        if (filesOnly || arg == "-" || !arg.starts_with("-")) {
            (isJobFile(arg) ? request.jobs : request.programs).push_back(arg);
        } else if (arg == "--") {
            filesOnly = true;
        } else if (arg == "--help" || arg == "-h") {
            return {StartRequest::Kind::Help, {}, {}, {}};
        } else if (arg == "--version" || arg == "-V" || arg == "-v") {
            return {StartRequest::Kind::Version, {}, {}, {}};
        } else if (isQtOption(arg, qtValue)) {
            continue;
        } else if (request.unknownOption.empty()) {
            request.unknownOption = arg;
        }
    }
    if (!request.unknownOption.empty())
        request.kind = StartRequest::Kind::UnknownOption;
    return request;
}

std::string startHelpText(std::string_view version)
{
    return "用法：kerfwright [工作檔.kwjob] [切割程式.TXT]\n\n"
           "Kerfwright " + std::string(version) + "：晶片雷射切割程式碼產生器的視窗程式。\n"
           "給了工作檔時，設計視窗開啟它：填入設計視窗與產生程式碼視窗的方塊，再開始設計。\n"
           "給了切割程式時，預覽視窗開啟它，以設計視窗的排列檢查。\n\n"
           "選項：\n"
           "  -h, --help     印出這個說明\n"
           "  -V, --version  印出版本與授權\n\n"
           "命令列版本為 kerfwright-cli（kerfwright-cli --help）。\n";
}

} // namespace kerf::ui

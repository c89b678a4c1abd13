// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commands.h"

#include <new>

#include "about/about_text.h"
#include "cli/check_command.h"
#include "cli/compare_command.h"
#include "cli/message_prefix.h"
#include "cli/generate_command.h"
#ifdef KERF_WITH_MAP
#include "cli/map_command.h"
#include "cli/sheet_command.h"
#include "cli/sweep_command.h"
#endif

namespace kerf::cli {

const std::vector<Command>& commands()
{
    static const std::vector<Command> all = {
        {"design", "如設計視窗的「開始設計」按鈕排列晶粒，以 JSON 印出排列。", &declareDesignCommand},
        {"simulate", "如模擬視窗的「開始模擬」按鈕把六角形晶粒排成直行，以 JSON 印出排列。", &declareSimulateCommand},
        {"generate", "排列晶粒後，如產生程式碼視窗的「開始」按鈕寫出切割程式 NAME.TXT。", &declareGenerateCommand},
        {"check", "讓切割程式在這些設定的排列上跑一遍，報告它的切割。", &declareCheckCommand},
        {"compare", "逐一晶粒比較兩個切割程式切了什麼，列出切割次數不同的晶粒。", &declareCompareCommand},
#ifdef KERF_WITH_MAP
        {"map", "排列晶粒後，把設計視窗所畫的晶片圖存成 PNG 或 SVG 圖片。", &declareMapCommand},
        {"sweep", "比較多種晶粒尺寸的排列結果，如設計視窗的晶粒尺寸比較圖。", &declareSweepCommand},
        {"sheet", "把工作檔、它的切割程式與檢查結果、晶片圖印成一頁 A4 的 PDF 工作單。", &declareSheetCommand},
#endif
    };
    return all;
}

namespace {

void printOverview(std::ostream& out)
{
    out << "用法：kerfwright-cli 指令 [選項]\n"
           "      kerfwright-cli help [指令]\n"
           "      kerfwright-cli --version\n\n指令：\n";
    for (const Command& command : commands())
        out << "  " << command.name << std::string(10 - command.name.size(), ' ') << command.summary << "\n";
    out << "\n"
           "kerfwright-cli help 指令（或 kerfwright-cli 指令 --help）印出該指令的選項；"
           "-V、--version 印出版本與授權條款。\n"
           "選項的值就是在視窗方塊裡輸入的文字，照原樣採用；-- 之後的每一項都是引數，不是選項。"
           "SIZE 是晶片直徑清單的一項：\"2.0 Inches\"、\"2.5 Inches\"、\"3.0 Inches\"、\"4.0 Inches\"、"
           "\"5.0 Inches\"；SHAPE 是 Circle、Hexagon 或 Square。\n"
           "讀取程式檔或工作檔的地方，- 表示標準輸入。"
           "generate 把程式檔寫入目前的資料夾，除非以 --out 或環境變數 KERFWRIGHT_PROGRAM_DIR 指定。"
           "訊息都寫在標準錯誤，以「kerfwright-cli:」開頭。\n"
           "\n"
           "結束代碼：\n"
           "  0    完成；check、compare：程式切割每個晶粒、兩個程式相同。\n"
           "  1    值被拒絕（訊息與視窗方塊的相同），或輸出沒有完整寫出；check：程式有誤；compare：兩個程式不同。\n"
           "  2    用法錯誤，或輸入檔（切割程式、工作檔、晶圓圖）無法讀取。\n"
           "  3    check、compare：程式無法檢查。\n"
           "  141  讀取輸出的一方先結束（例如 | head）：如其他指令被 SIGPIPE 結束，不印訊息。\n"
           "\n"
           "環境變數：\n"
           "  KERFWRIGHT_PROGRAM_DIR  generate 沒有 --out 時寫入程式檔的資料夾。\n"
           "  QT_QPA_PLATFORM         不必設定：map、sweep、sheet 不開視窗，一律在 offscreen 平台上繪圖。\n";
}

const Command* commandNamed(std::string_view name)
{
    for (const Command& command : commands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

// A command line without a command to run: the reason, then the overview.
int refuseWords(const std::string& reason, std::ostream& err)
{
    err << MessagePrefix << reason << "\n\n";
    printOverview(err);
    return 2;
}

// One command: its options parsed, then run with every line it says on
// `err` marked as the program's (`said` tells whether it said anything); a
// usage error is said with the command's usage line.
int runCommand(const Command& command, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err, bool& said)
{
    const auto app = commandApp(command.name, command.summary);
    const CommandRun run = command.declare(*app);
    try {
        if (!parseArguments(*app, args)) {
            out << app->help();
            return 0;
        }
        PrefixedLines messages(err);
        int status = 2;
        try {
            status = run(out, messages.stream());
        } catch (const UnreadableInput&) { // said on the stream already
        }
        said = messages.said();
        return status;
    } catch (const UsageError& error) {
        err << MessagePrefix << command.name << "：" << error.what() << "\n"
            << usageLine(*app) << "\n"
            << "kerfwright-cli help " << command.name << " 印出所有選項。\n";
        return 2;
    }
}

int runWords(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool& said)
{
    if (args.empty()) {
        printOverview(err);
        return 2;
    }
    const std::string& word = args.front();
    if ((word == "--version" || word == "-V" || word == "--help" || word == "-h") && args.size() > 1)
        return refuseWords("多餘的引數：" + args[1], err);
    if (word == "--version" || word == "-V") {
        out << aboutText("kerfwright-cli");
        return 0;
    }
    if (word == "help" && args.size() > 1) { // help COMMAND
        const Command* command = commandNamed(args[1]);
        if (!command)
            return refuseWords("不認得的指令：" + args[1], err);
        if (args.size() > 2)
            return refuseWords("多餘的引數：" + args[2], err);
        return runCommand(*command, {"--help"}, out, err, said);
    }
    if (word == "--help" || word == "-h" || word == "help") {
        printOverview(out);
        return 0;
    }
    if (const Command* command = commandNamed(word))
        return runCommand(*command, std::vector<std::string>(args.begin() + 1, args.end()), out, err, said);
    return refuseWords("不認得的指令：" + word, err);
}

} // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    int status = 0;
    bool said = false; // whether the command said anything on stderr
    try {
        status = runWords(args, out, err, said);
    } catch (const std::bad_alloc&) {
        err << MessagePrefix << OutOfMemoryMessage << "\n";
        return !args.empty() && args.front() == "check" ? 3 : 1; // a check that could not be made
    }
    out.flush();
    if (out)
        return status;
    if (status == 0 || !said) // else the command's failure was its output's, and said
        err << MessagePrefix << StandardOutputFailure << "\n";
    return 1;
}

} // namespace kerf::cli

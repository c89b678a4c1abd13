#include "cli/commands.h"

#include <new>

#include "cli/check_command.h"
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
    out << "用法：kerfwright-cli 指令 [選項]\n\n指令：\n";
    for (const Command& command : commands())
        out << "  " << command.name << std::string(10 - command.name.size(), ' ') << command.summary << "\n";
    out << "\n"
           "kerfwright-cli 指令 --help 印出該指令的選項。\n"
           "選項的值就是在視窗方塊裡輸入的文字，照原樣採用。\n"
           "SIZE 是晶片直徑清單的一項：\"2.0 Inches\"、\"2.5 Inches\"、\"3.0 Inches\"、\"4.0 Inches\"、\n"
           "\"5.0 Inches\"；SHAPE 是 Circle、Hexagon 或 Square。\n"
           "結束代碼：0 完成；1 輸入被拒絕或輸出沒有完整寫出（訊息在標準錯誤）；2 用法錯誤；\n"
           "check 另有：1 程式有誤，3 程式無法檢查。\n";
}

// One command: its options parsed, then run; a usage error is said with the
// command's usage line.
int runCommand(const Command& command, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err)
{
    const auto app = commandApp(command.name, command.summary);
    const CommandRun run = command.declare(*app);
    try {
        if (!parseArguments(*app, args)) {
            out << app->help();
            return 0;
        }
        return run(out, err);
    } catch (const UsageError& error) {
        err << "kerfwright-cli " << command.name << "：" << error.what() << "\n"
            << usageLine(*app) << "\n"
            << "kerfwright-cli " << command.name << " --help 印出所有選項。\n";
        return 2;
    }
}

int runWords(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        printOverview(err);
        return 2;
    }
    if (args.front() == "--help" || args.front() == "-h" || args.front() == "help") {
        printOverview(out);
        return 0;
    }
    for (const Command& command : commands()) {
        if (args.front() == command.name)
            return runCommand(command, std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    }
    err << "kerfwright-cli：不認得的指令：" << args.front() << "\n\n";
    printOverview(err);
    return 2;
}

} // namespace

bool outputWritten(std::ostream& out, std::ostream& err)
{
    out.flush();
    if (out)
        return true;
    err << "kerfwright-cli: " << StandardOutputFailure << "\n";
    return false;
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    int status = 0;
    try {
        status = runWords(args, out, err);
    } catch (const std::bad_alloc&) {
        err << "kerfwright-cli: " << OutOfMemoryMessage << "\n";
        return !args.empty() && args.front() == "check" ? 3 : 1; // a check that could not be made
    }
    return outputWritten(out, err) ? status : 1;
}

} // namespace kerf::cli

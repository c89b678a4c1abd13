// SPDX-License-Identifier: GPL-3.0-or-later
#include "generation_driver.h"

#include <algorithm>
#include <cerrno>

#include "files/cp950.h"
#include "files/file_replacement.h"
#include "program/writer/program_generator.h"
#include "program/writer/program_name_check.h"
#include "files/utf8.h"

namespace kerf {
namespace {

const char* const TextTitle = "文字無法轉換";

// What the user sees of a box or a designer setting in a message.
struct TextSource {
    const char* label;
    std::optional<GenerationBox> focus;
};

std::string fixOf(const TextSource& source)
{
    return source.focus ? "請修改後再產生程式碼。" : "請在晶片設定視窗修改後重新設計。";
}

GenerationRefusal unconvertible(const TextSource& source, const Cp950Failure& failure)
{
    const std::string where = std::string("「") + source.label + "」";
    const std::string fix = fixOf(source);
    switch (failure.reason) {
    case Cp950Failure::Reason::Unrepresentable:
        return {where + "含有繁體中文字碼頁 CP950 無法表示的字元「" + failure.character + "」，" + fix,
                TextTitle, source.focus};
    case Cp950Failure::Reason::NotUtf8:
        return {where + "含有無法辨識的文字編碼，" + fix, TextTitle, source.focus};
    case Cp950Failure::Reason::NoConversion:
        break;
    }
    return {"系統沒有 CP950 字碼轉換，" + where + "只能使用英文字母、數字與半形符號。", TextTitle,
            source.focus};
}

// Puts each text into CP950 in turn; the first that holds a control
// character (a line break would split its line into commands) or that CP950
// cannot hold refuses the run.
class Encoder {
public:
    std::string operator()(const std::string& text, const TextSource& source)
    {
        if (refusal)
            return {};
        if (const auto points = decodeUtf8(text);
            points && std::any_of(points->begin(), points->end(), isControlCharacter)) {
            refusal = GenerationRefusal{std::string("「") + source.label + "」含有控制字元（例如換行），" + fixOf(source),
                                        TextTitle, source.focus};
            return {};
        }
        auto converted = toCp950(text);
        if (auto* failure = std::get_if<Cp950Failure>(&converted)) {
            refusal = unconvertible(source, *failure);
            return {};
        }
        return std::move(std::get<std::string>(converted));
    }

    std::optional<GenerationRefusal> refusal;
};

// The machine parameters are plain ASCII numbers by now; the program name
// and the designer's texts go into CP950.
std::variant<ProgramParameters, GenerationRefusal> programParameters(const WaferLayout& layout,
                                                                      const GenerationRequest& request,
                                                                      const MachineParameters& machine)
{
    Encoder encode;
    ProgramParameters parameters;
    ProgramHeader& header = parameters.header;
    header.programName = encode(request.texts.name, {"程式檔名", GenerationBox::Text1});
    header.waferSize = encode(layout.texts.waferSize, {"晶片直徑", std::nullopt});
    header.shape = encode(layout.texts.shape, {"晶粒形狀", std::nullopt});
    header.dieSize = encode(layout.texts.dieSize, {"晶粒尺寸", std::nullopt});
    header.fineTune = encode(layout.texts.fineTune, {"切割微調值", std::nullopt});
    header.DVL = machine.DVL;
    header.DAC = machine.DAC;
    header.date = request.date;
    parameters.CutCount = machine.CutCount;
    parameters.VEL = machine.VEL;
    parameters.ACC = machine.ACC;
    if (encode.refusal)
        return *encode.refusal;
    return parameters;
}

bool hasLayout(const WaferLayout& layout)
{
    if (layout.RowTable.upperBound() < 1)
        return false;
    return layout.shape != DieShape::Square || layout.ColumnTable.upperBound() >= 1;
}

GenerationFailure writeFailure(const std::filesystem::path& path, const FileReplaceError& error)
{
    return {replaceFailureText("程式檔", path, error), "寫入程式檔失敗"};
}

} // namespace

std::filesystem::path programFilePath(const std::filesystem::path& folder, std::string_view name)
{
    return folder / (std::string(name) + ".TXT");
}

GenerationOutcome runGeneration(const WaferLayout& layout, const GenerationRequest& request,
                                const ProgramDestination& destination)
{
    if (auto refusal = checkProgramName(request.texts.name))
        return *refusal;
    if (!hasLayout(layout))
        return GenerationRefusal{std::string(NoLayoutPrompt), "無資料", std::nullopt};
    if (auto refusal = checkMainUnitName(request.texts.name, layout.shape))
        return *refusal;
    const auto machine = ReadGenerationParameters(request.texts);
    if (const auto* refusal = std::get_if<GenerationRefusal>(&machine))
        return *refusal;
    const auto prepared = programParameters(layout, request, std::get<MachineParameters>(machine));
    if (const auto* refusal = std::get_if<GenerationRefusal>(&prepared))
        return *refusal;
    const ProgramParameters& parameters = std::get<ProgramParameters>(prepared);
    const ProgramGenerator generate = generatorFor(layout, parameters.CutCount);

    GenerationDone done{{}, "產生程式碼的程序已經完成。", "產生程序完成"};
    if (const auto* folder = std::get_if<OutputFolder>(&destination)) {
        const std::filesystem::path path = programFilePath(folder->path, request.texts.name);
        const auto error = replaceFile(path, [&](std::ostream& out) { generate(out, layout, parameters); });
        if (error)
            return writeFailure(path, *error);
        done.path = path.string();
        done.prompt += "程式檔：" + done.path;
        return done;
    }
    std::ostream& out = std::get<std::reference_wrapper<std::ostream>>(destination).get();
    generate(out, layout, parameters);
    out.flush();
    if (!out)
        return GenerationFailure{"寫入輸出失敗：程式沒有完整寫出。", "寫入程式檔失敗"};
    return done;
}

} // namespace kerf

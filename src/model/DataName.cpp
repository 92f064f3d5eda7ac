#include "model/DataName.h"

#include "model/Program.h"
#include "platform/Files.h"
#include "platform/Sjis.h"

#include <algorithm>

namespace rahmen {

namespace {

// The longest ending any writer puts after a data name: the grid loads of
// rahmen-batch ("_loads.adt"; the model files add four bytes) and then the
// writer's temporary-file suffix.
constexpr std::size_t kLongestSuffix = sizeof("_loads.adt") - 1 + Files::kTempSuffixLength;
// A file name holds at most 255 bytes.
constexpr std::size_t kLongestName = 255 - kLongestSuffix;

} // namespace

std::string dataNameProblem(const std::string& name) {
    if (name.empty()) return "データ名が入力されていません。";
    if (name.find_first_not_of('.') == std::string::npos)
        return "データ名を「.」だけにすることはできません。";
    // UTF-8 continuation and lead bytes are >= 0x80, so a byte test finds
    // exactly these ASCII characters and the control characters.
    for (unsigned char ch : name) {
        if (ch < 0x20 || ch == 0x7F ||
            std::string("\\/:*?\"<>|").find(static_cast<char>(ch)) != std::string::npos)
            return "データ名に使えない文字があります。\r\n"
                   "次の文字は使えません：\\ / : * ? \" < > |";
    }
    // The name is a file name here in UTF-8 (three bytes for a Japanese
    // character) and in the files in CP932 (two): it must fit as either.
    if (std::max(name.size(), cp932Width(name)) > kLongestName)
        return "データ名が長すぎます、ファイル名にできません。\r\n"
               "データ名は英数字で " +
               std::to_string(kLongestName) + " 文字、全角文字で " +
               std::to_string(kLongestName / 3) + " 文字までにしてください。";
    return {};
}

bool acceptDataName(Program& program, const std::string& name) {
    const std::string problem = dataNameProblem(name);
    if (problem.empty()) return true;
    program.say(problem);
    return false;
}

std::optional<std::string> askDataName(Program& program, const std::string& prompt,
                                       const std::string& defaultText) {
    for (;;) {
        auto answer = program.io.dialogs.input(prompt, "rahmen", defaultText);
        if (!answer) return std::nullopt;
        if (acceptDataName(program, *answer)) return answer;
    }
}

bool mayReplaceFilesOf(Program& program, const std::string& name) {
    const Model& m = program.model;
    // The data's own files are its to replace.
    if (name == m.DataName && m.DataFolder.empty() &&
        (m.FrameFileState != 0 || m.CoordFileState != 0))
        return true;
    std::string existing;
    for (const char* extension : {".fdt", ".cdt"})
        if (program.io.files.exists(name + extension))
            existing += (existing.empty() ? "" : "、") + name + extension;
    if (existing.empty()) return true;
    return program.say("既存のﾃﾞｰﾀ " + existing +
                           " があります、新しいデータ名を入力しますか？\r\n\r\n"
                           "既存ﾃﾞｰﾀに上書き→いいえﾎﾞﾀﾝ",
                       MessageButtons::YesNo, MessageIcon::Question) == MessageResult::No;
}

std::optional<std::string> askNewDataName(Program& program, const std::string& prompt) {
    for (;;) {
        auto name = askDataName(program, prompt);
        if (!name || mayReplaceFilesOf(program, *name)) return name;
    }
}

} // namespace rahmen

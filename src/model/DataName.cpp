#include "model/DataName.h"

#include "model/Program.h"

namespace rahmen {

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

} // namespace rahmen

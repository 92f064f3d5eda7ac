#include "model/Limits.h"

#include "platform/Dialogs.h"

namespace rahmen {

std::string limitMessage(const std::string& what, long count, long limit) {
    if (count < 0) return what + "に負の値 " + std::to_string(count) + " は指定できません。";
    return what + "は " + std::to_string(limit) + " までです（" + std::to_string(count) +
           " が指定されました）。";
}

bool checkLimit(Dialogs& dialogs, const std::string& what, long count, long limit) {
    if (count >= 0 && count <= limit) return true;
    dialogs.message("rahmen", limitMessage(what, count, limit), MessageButtons::Ok,
                    MessageIcon::Exclamation);
    return false;
}

} // namespace rahmen

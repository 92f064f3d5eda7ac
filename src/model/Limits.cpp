#include "model/Limits.h"

#include "platform/Dialogs.h"

#include <cmath>
#include <cstdio>

namespace rahmen {

const char* const kLargestValueText = "1E+30";

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

bool withinLargestValue(double value) {
    const double magnitude = std::fabs(value);
    // Checked in double first, so that the conversion below is defined.
    if (!(magnitude < 2.0 * static_cast<double>(kLargestValue))) return false;
    return static_cast<float>(magnitude) <= kLargestValue;
}

std::string messageNumber(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.8G", value);
    return text;
}

std::string rangeMessage(const std::string& what, double value, ValueRange range) {
    return what + "は " + messageNumber(range.least) + " から " + messageNumber(range.most) +
           " までです（" + messageNumber(value) + " が入力されました）。";
}

bool checkValue(Dialogs& dialogs, const std::string& what, double value, ValueRange range) {
    if (value >= range.least && value <= range.most && withinLargestValue(value)) return true;
    dialogs.message("rahmen", rangeMessage(what, value, range), MessageButtons::Ok,
                    MessageIcon::Exclamation);
    return false;
}

std::string notWholeMessage(const std::string& what, double value) {
    return what + " が整数ではありません（" + messageNumber(value) + "）";
}

std::string tooLargeMessage(const std::string& what, double value) {
    return what + " が大きすぎます（" + messageNumber(value) + "、絶対値は " + kLargestValueText +
           " まで）";
}

std::string negativeMessage(const std::string& what, double value) {
    return what + " が負の値です（" + messageNumber(value) + "）";
}

} // namespace rahmen

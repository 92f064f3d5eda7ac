#include "forms/Form7.h"

#include "forms/InputForms.h"
#include "forms/LoadForms.h"
#include "model/Program.h"
#include "platform/FormServices.h"

#include <algorithm>
#include <string>

namespace rahmen {

namespace {

// The single pin boxes: CHECK1..3 at the start, CHECK4..6 at the end, each
// end in the order x, y, z.
std::string pinBox(int k) {
    return "CHECK" + std::to_string(k);
}

// Spring boxes of one end and the spring component k each one holds; the
// rotational ones are typed in force·m/rad and held in force·cm/rad.
struct SpringBox {
    const char* edit;
    const char* label;
    int k;
};
constexpr SpringBox kStartSprings[] = {{"EDIT88", "TEXT30", 5},
                                       {"EDIT89", "TEXT31", 6},
                                       {"EDIT87", "TEXT32", 4},
                                       {"EDIT86", "TEXT33", 1}};
constexpr SpringBox kEndSprings[] = {{"EDIT92", "TEXT34", 5},
                                     {"EDIT93", "TEXT35", 6},
                                     {"EDIT91", "TEXT36", 4},
                                     {"EDIT90", "TEXT37", 1}};

double springScale(int k) {
    return k == 1 ? 1.0 : 100.0;
}

// The range of a spring box as typed: never negative (a negative spring
// would take stiffness away from the frame), the rotational ones held ×100.
ValueRange springRange(int k) {
    return k == 1 ? kNotNegative : kRotationalSpring;
}

bool editsSprings(int16_t choice) {
    return choice == 2 || choice == 4;
}

} // namespace

Form7::Form7(Program& program) : Form("FORM7", "ピン・バネ入力", 560, 336), p_(program) {
    setHelpKeyword("ピン・バネ入力");
    addLabel("TEXT51", "", 14, 8, 532, 38);

    // Each end is one group: the pin boxes on a line, under them the four
    // spring boxes with their headings. Tab runs through the start, then the
    // end.
    const struct {
        const char* group;
        const char* caption;
        const char* all;
        int firstPin;
        const SpringBox* springs;
        int top;
    } ends[] = {{"GROUP1", "始点", "CHECK8", 1, kStartSprings, 50},
                {"GROUP2", "終点", "CHECK9", 4, kEndSprings, 168}};
    const char* const axes[] = {"x軸廻り", "y軸廻り", "z軸廻り"};
    const char* const headings[] = {"曲げ（y軸廻り）", "曲げ（ｚ軸廻り）", "捻り（x軸廻り）",
                                    "軸方向"};
    for (const auto& e : ends) {
        addGroup(e.group, e.caption, 10, e.top, 540, 110);
        addCheck(e.all, "全方向", 24, e.top + 20, 96, 22);
        for (int i = 0; i < 3; ++i)
            addCheck(pinBox(e.firstPin + i), axes[i], 150 + 110 * i, e.top + 20, 100, 22);
        for (int i = 0; i < 4; ++i) {
            addLabel(e.springs[i].label, headings[i], 24 + 130 * i, e.top + 50, 128, 20);
            addEdit(e.springs[i].edit, "", 24 + 130 * i, e.top + 72, 116, 26);
        }
    }
    addButton("BUTTON43", "終了", 20, 290, 100, 32);
    addButton("BUTTON44", "キャンセル", 130, 290, 100, 32);
    addButton("BUTTON59", "ヘルプ", 446, 290, 100, 32);

    numberBoxes();
    onClick("CHECK1", [this] { CHECK1_ON(); });
    onClick("CHECK2", [this] { CHECK2_ON(); });
    onClick("CHECK3", [this] { CHECK3_ON(); });
    onClick("CHECK4", [this] { CHECK4_ON(); });
    onClick("CHECK5", [this] { CHECK5_ON(); });
    onClick("CHECK6", [this] { CHECK6_ON(); });
    onClick("CHECK8", [this] { CHECK8_ON(); });
    onClick("CHECK9", [this] { CHECK9_ON(); });
    onClick("BUTTON43", [this] { BUTTON43_ON(); });
    onClick("BUTTON44", [this] { BUTTON44_ON(); });
    onClick("BUTTON59", [this] { PINHP_ON(); });
}

int Form7::member() const {
    const int m = p_.model.CurrentMember;
    return m >= 1 && m <= kMaxMembers ? m : 0;
}

void Form7::FORM7_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form7::FORM7_START() {
    FORM7_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    AllPinsStart = -1;
    AllPinsEnd = -1;
    const int16_t choice = p_.PinSpringChoice;
    const bool older = p_.model.UnitFactor == 1.0f;
    if (member() != 0) setCaption("ピン・バネ入力　部材 " + std::to_string(member()));
    if (editsSprings(choice)) {
        if (choice == 4)
            c("TEXT51").caption =
                older ? "既設定のバネ定数が表示されています入力後は、すべて上書きされます。( "
                        "回転：tf･m/rad.軸方向：tf/cm )"
                      : "既設定のバネ定数が表示されています入力後は、すべて上書きされます。("
                        "回転：kN･m/rad.軸方向：kN/cm)";
        else
            c("TEXT51").caption = older ? "バネがある方向についてのみバネ定数を入力してください。( "
                                          "回転：tf･m/rad.軸方向：tf/cm )"
                                        : "バネがある方向についてのみバネ定数を入力してください。( "
                                          "回転：kN･m/rad.軸方向：kN/cm )";
        enableChecks(false);
        showSprings();
    } else {
        c("TEXT51").caption =
            choice == 3 ? "チェックがあれば既設定のピンです、ﾋﾟﾝ→ﾁｪｯｸ、固定→ﾁｪｯｸをはずす　。"
                        : "回転が自由な方向をチェックしてください。";
        enableSprings(false);
        showPins();
    }
    // From mouse editing the form is left through "終了" only.
    if (choice == 3 || choice == 4) c("BUTTON44").enabled = false;
}

void Form7::enableSprings(bool enabled) {
    for (const auto* springs : {kStartSprings, kEndSprings})
        for (int i = 0; i < 4; ++i) {
            c(springs[i].edit).enabled = enabled;
            c(springs[i].label).enabled = enabled;
        }
}

void Form7::enableChecks(bool enabled) {
    for (const char* name :
         {"CHECK8", "CHECK1", "CHECK2", "CHECK3", "CHECK9", "CHECK4", "CHECK5", "CHECK6"})
        c(name).enabled = enabled;
}

void Form7::showPins() {
    const int m = member();
    if (m == 0) return;
    const Model& md = p_.model;
    const int16_t pins[2][3] = {{md.PinStartX[m], md.PinStartY[m], md.PinStartZ[m]},
                                {md.PinEndX[m], md.PinEndY[m], md.PinEndZ[m]}};
    for (int end = 0; end < 2; ++end) {
        const bool all = pins[end][0] == -1 && pins[end][1] == -1 && pins[end][2] == -1;
        for (int i = 0; i < 3; ++i) {
            Control& box = c(pinBox(3 * end + i + 1));
            box.checked = pins[end][i] == -1;
            box.enabled = !all;
        }
        if (all) {
            c(end == 0 ? "CHECK8" : "CHECK9").checked = true;
            (end == 0 ? AllPinsStart : AllPinsEnd) = 0;
        }
    }
}

void Form7::showSprings() {
    const int m = member();
    if (m == 0) return;
    const Model& md = p_.model;
    for (const auto* springs : {kStartSprings, kEndSprings}) {
        const auto& values = springs == kStartSprings ? md.SpringStart[m] : md.SpringEnd[m];
        for (int i = 0; i < 4; ++i) {
            const int k = springs[i].k;
            c(springs[i].edit).caption =
                shownNumber(values[k] / static_cast<float>(springScale(k)));
        }
    }
}

// A pin box and its pin always agree (the form shows the stored pins), so the
// click's new check state is the pin's new value.
void Form7::setPin(int check, int16_t value) {
    const int m = member();
    if (m == 0) return;
    Model& md = p_.model;
    int16_t* pins[] = {&md.PinStartX[m], &md.PinStartY[m], &md.PinStartZ[m],
                       &md.PinEndX[m],   &md.PinEndY[m],   &md.PinEndZ[m]};
    *pins[check - 1] = value;
}

void Form7::CHECK1_ON() {
    setPin(1, c("CHECK1").checked ? -1 : 0);
}
void Form7::CHECK2_ON() {
    setPin(2, c("CHECK2").checked ? -1 : 0);
}
void Form7::CHECK3_ON() {
    setPin(3, c("CHECK3").checked ? -1 : 0);
}
void Form7::CHECK4_ON() {
    setPin(4, c("CHECK4").checked ? -1 : 0);
}
void Form7::CHECK5_ON() {
    setPin(5, c("CHECK5").checked ? -1 : 0);
}
void Form7::CHECK6_ON() {
    setPin(6, c("CHECK6").checked ? -1 : 0);
}

// The first click pins all three directions and locks the single boxes
// (checked), the second frees all three and unlocks them (unchecked).
void Form7::allPins(bool start) {
    int16_t& all = start ? AllPinsStart : AllPinsEnd;
    const int first = start ? 1 : 4;
    for (int i = 0; i < 3; ++i)
        setPin(first + i, all);
    all = all == -1 ? 0 : -1;
    for (int i = 0; i < 3; ++i) {
        Control& box = c(pinBox(first + i));
        box.checked = all == 0;
        box.enabled = all == -1;
    }
    c(start ? "CHECK8" : "CHECK9").checked = all == 0;
}

void Form7::CHECK8_ON() {
    allPins(true);
}
void Form7::CHECK9_ON() {
    allPins(false);
}

bool Form7::checkSprings() {
    for (const auto* springs : {kStartSprings, kEndSprings}) {
        const std::string end = springs == kStartSprings ? "始点" : "終点";
        for (int i = 0; i < 4; ++i) {
            const SpringBox& s = springs[i];
            const std::string what = end + "の" + c(s.label).caption + "のバネ定数";
            if (!checkNumberBoxes(p_, *this, {{s.edit, what, springRange(s.k)}})) return false;
        }
    }
    return true;
}

void Form7::BUTTON43_ON() {
    const int m = member();
    if (m != 0 && editsSprings(p_.PinSpringChoice)) {
        if (!checkSprings()) return;
        Model& md = p_.model;
        for (const auto* springs : {kStartSprings, kEndSprings}) {
            auto& values = springs == kStartSprings ? md.SpringStart[m] : md.SpringEnd[m];
            for (int i = 0; i < 4; ++i) {
                const int k = springs[i].k;
                values[k] =
                    static_cast<float>(springScale(k) * boxNumber(c(springs[i].edit).caption));
            }
        }
    }
    if (m != 0) p_.model.updateEndSummaries(m);
    if (afterStore) afterStore();
    close();
}

void Form7::BUTTON44_ON() {
    close();
}

// The pins clicked stay in the model however the form is left; their
// summaries follow them here, so that the model never holds a pin its
// summary denies.
void Form7::FORM7_END() {
    if (member() != 0) p_.model.updateEndSummaries(member());
}

void Form7::PINHP_ON() {
    p_.help("ピン・バネ入力");
}

} // namespace rahmen

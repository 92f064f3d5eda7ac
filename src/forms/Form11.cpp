#include "forms/Form11.h"

#include "forms/Form4.h"
#include "forms/InputForms.h"
#include "model/DataName.h"
#include "model/Limits.h"
#include "model/ModelFileHandlers.h"
#include "model/Program.h"
#include "platform/FormServices.h"
#include "platform/Sjis.h"
#include "sections/Sections.h"

#include <cmath>

namespace rahmen {

namespace {

const char* const kOverwriteQuestion = "既存タイプを上書しますか。";
const char* const kAddQuestion = "部材タイプを追加しますか。";
const char* const kNextTypeMessage =
    "部材タイプの追加は、タイプＮｏ＝既存タイプ数＋１として下さい。";
const char* const kNoTypeMessage = "タイプＮｏを入力してください。";
const char* const kNamePrompt = "修正ﾃﾞｰﾀ名の入力(前ﾌｧｲﾙ上書→ｷｬﾝｾﾙ)";

// A number as the messages show it: a leading blank for a positive number.
std::string numberWithSign(long n) {
    return (n < 0 ? "" : " ") + std::to_string(n);
}

// The files hold coordinates in whole centimetres, so a span or floor is
// found by the whole centimetre too: a grid at 333.3 cm is the floor at 333.
long wholeCentimetre(double value) {
    return std::lround(value);
}

} // namespace

Form11::Form11(Program& program) : Form("FORM11", "部材性能修正", 720, 590), p_(program) {
    setHelpKeyword("部材性能修正");

    addGroup("GROUP16", "部材タイプ追加／変更", 10, 8, 700, 332);
    addLabel("TEXT80", "タイプ　No", 26, 36, 100, 20);
    addEdit("EDIT163", "", 130, 32, 80, 26);

    addGroup("GROUP17", "形鋼", 24, 66, 330, 126);
    addRadio("RADIO38", "H形鋼", 36, 90, 96, 24, "family");
    addRadio("RADIO39", "□鋼管", 136, 90, 96, 24, "family");
    addRadio("RADIO40", "○鋼管", 236, 90, 96, 24, "family");
    addCombo("COMBO7", 36, 124, 190, 26);
    addButton("BUTTON71", "←追加/変更", 232, 154, 114, 30);

    addGroup("GROUP18", "長方形断面", 366, 66, 330, 126);
    addLabel("TEXT81", "A寸法（cm）", 378, 94, 110, 20);
    addEdit("EDIT164", "", 490, 90, 80, 26);
    addLabel("TEXT82", "B寸法（cm）", 378, 128, 110, 20);
    addEdit("EDIT165", "", 490, 124, 80, 26);
    addButton("BUTTON50", "←追加/変更", 574, 154, 114, 30);
    addLabel("TEXT83", "　A　：　梁→高さ、　柱→Ｙ方向寸法　/　B　：　梁→幅、柱→Ｘ方向寸法　", 24,
             198, 672, 20);

    addGroup("GROUP19", "断面性能", 24, 224, 672, 106);
    addLabel("TEXT84", "断面積（ｃｍ2）", 36, 252, 170, 20);
    addEdit("EDIT156", "", 210, 248, 90, 26);
    addLabel("TEXT85", "梁：ly 柱：lx(cm4)", 310, 252, 170, 20);
    addEdit("EDIT157", "", 484, 248, 90, 26);
    addLabel("TEXT87", "ねじり定数（ｃｍ４）", 36, 290, 170, 20);
    addEdit("EDIT170", "", 210, 286, 90, 26);
    addLabel("TEXT86", "梁：lz 柱：ly(cm4)", 310, 290, 170, 20);
    addEdit("EDIT162", "", 484, 286, 90, 26);
    addButton("BUTTON62", "←追加/変更", 580, 284, 110, 30);

    addGroup("GROUP15", "関連付け変更", 10, 348, 700, 176);
    addLabel("TEXT88", "(既) 関連付け　部材タイプNo", 26, 376, 230, 20);
    addEdit("EDIT166", "", 260, 372, 70, 26);
    addLabel("TEXT92", "変更関連付けする　部材タイプNo", 350, 376, 260, 20);
    addEdit("EDIT167", "", 614, 372, 70, 26);
    addRadio("RADIO41", "全部材", 26, 408, 130, 24, "filter");
    addRadio("RADIO42", "X方向部材", 166, 408, 150, 24, "filter");
    addRadio("RADIO43", "Y方向部材", 326, 408, 150, 24, "filter");
    addRadio("RADIO44", "Z方向部材", 486, 408, 150, 24, "filter");
    addLabel("TEXT91", "|---------------- スパン / フロア指定 -----------------|", 26, 440, 560,
             20);
    addLabel("TEXT89", "節点１：座標", 26, 476, 140, 20).enabled = false;
    addEdit("EDIT168", "", 170, 472, 90, 26).enabled = false;
    addLabel("TEXT90", "節点２：座標", 280, 476, 140, 20).enabled = false;
    addEdit("EDIT169", "", 424, 472, 90, 26).enabled = false;
    addButton("BUTTON33", "変更", 574, 468, 114, 30);

    addButton("BUTTON53", "終了", 20, 540, 130, 34);
    addButton("BUTTON94", "キャンセル", 170, 540, 130, 34);
    addButton("BUTTON63", "ヘルプ", 570, 540, 130, 34);

    onClick("RADIO38", [this] { RADIO38_ON(); });
    onClick("RADIO39", [this] { RAIO39_ON(); });
    onClick("RADIO40", [this] { RADIO40_ON(); });
    onClick("RADIO41", [this] { RADIO41_ON(); });
    onClick("RADIO42", [this] { RADIO42_ON(); });
    onClick("RADIO43", [this] { RADIO43_ON(); });
    onClick("RADIO44", [this] { RADIO44_ON(); });
    onClick("BUTTON71", [this] { SETSTEEL_ON(); });
    onClick("BUTTON50", [this] { BUTTON50_ON(); });
    onClick("BUTTON62", [this] { BUTTON62_ON(); });
    onClick("BUTTON33", [this] { BUTTON33_ON(); });
    onClick("BUTTON53", [this] { BUTTON53_ON(); });
    onClick("BUTTON94", [this] { BUTTON97_ON(); });
    onClick("BUTTON63", [this] { SECTABHP_ON(); });
    numberBoxes();
}

void Form11::FORM11_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form11::FORM11_START() {
    FORM11_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    SteelFamily = kNoFamily;
    RelinkFilter = kNoFilter;
    showNextTypeNumber();
    // Changes made in an earlier opening that never reached a file can only
    // leave through "終了", which writes them.
    c("BUTTON94").enabled = p_.PropertyModified == 0;
    DAT_READ(p_.model);
    setFocus("EDIT163");
}

// The form keeps no references to release: its controls live with it.
void Form11::FORM11_END() {}

void Form11::showNextTypeNumber() {
    c("EDIT163").caption = std::to_string(p_.model.MemberTypeCount + 1);
}

// ---------------------------------------------------------------------------
// Choices

void Form11::chooseFamily(int16_t family) {
    SteelFamily = family;
    const int16_t kind = static_cast<int16_t>(family + 1); // 2 H, 3 square, 4 round
    Control& list = c("COMBO7");
    list.items.clear();
    const int rows = sectionRowCount(kind);
    for (int row = 0; row < rows; ++row) {
        const std::string* text = sectionTableRow(p_.model, kind, row);
        list.items.push_back(text ? cp932ToUtf8(sectionDesignation(*text)) : std::string());
    }
    list.selected = list.items.empty() ? -1 : 0;
    list.caption = list.items.empty() ? "" : list.items.front();
}

void Form11::RADIO38_ON() {
    chooseFamily(kHShapeFamily);
}
void Form11::RAIO39_ON() {
    chooseFamily(kSquarePipeFamily);
}
void Form11::RADIO40_ON() {
    chooseFamily(kRoundPipeFamily);
}

void Form11::chooseFilter(int16_t filter, const char* axis) {
    RelinkFilter = filter;
    const bool coordinates = filter != kAllMembers;
    for (const char* name : {"TEXT89", "TEXT90", "EDIT168", "EDIT169"})
        c(name).enabled = coordinates;
    c("TEXT89").caption = std::string("節点１：") + axis + "座標";
    c("TEXT90").caption = std::string("節点２：") + axis + "座標";
}

void Form11::RADIO41_ON() {
    chooseFilter(kAllMembers, "");
}
void Form11::RADIO42_ON() {
    chooseFilter(kXMembers, "Ｘ");
}
void Form11::RADIO43_ON() {
    chooseFilter(kYMembers, "Ｙ");
}
void Form11::RADIO44_ON() {
    chooseFilter(kZMembers, "Ｚ");
}

// ---------------------------------------------------------------------------
// Adding and changing types

bool Form11::typeNumber(long& t) {
    const Model& m = p_.model;
    t = boxWhole(c("EDIT163").caption);
    // Type 0 would name "every member of type 0", which is every member of
    // a generated grid before its sections are set.
    if (t < 1) {
        p_.say(kNoTypeMessage);
    } else if (t > m.MemberTypeCount + 1) {
        p_.say(kNextTypeMessage);
    } else if (t > kMaxMemberTypes) {
        checkLimit(p_.io.dialogs, "部材タイプ数", t, kMaxMemberTypes);
    } else {
        return true;
    }
    showNextTypeNumber();
    return false;
}

Form11::Answer Form11::confirmAndStore(int t, const TypeChange& change) {
    Model& m = p_.model;
    const bool adding = t == m.MemberTypeCount + 1;
    const MessageResult answer = p_.say(adding ? kAddQuestion : kOverwriteQuestion,
                                        MessageButtons::YesNo, MessageIcon::Question);
    if (answer != MessageResult::Yes) {
        if (adding) {
            c("EDIT163").caption.clear();
            return Answer::NoToAdd;
        }
        showNextTypeNumber();
        return Answer::Refused;
    }

    // The counts follow the kind the type had before this change; a new type
    // had none.
    const int16_t newKind = change.SectionKind;
    countSectionKindChange(m, adding ? kSectionNumeric : m.TypeSectionKind[t], newKind);

    m.TypeArea[t] = change.Area;
    m.TypeIy[t] = change.Iy;
    m.TypeIz[t] = change.Iz;
    m.TypeJ[t] = change.J;
    m.TypeShearAreaY[t] = change.ShearAreaY;
    m.TypeShearAreaZ[t] = change.ShearAreaZ;
    m.TypeSectionKind[t] = newKind;
    m.TypeSteelNo[t] = change.SteelNo;
    m.TypeRectA[t] = change.RectA;
    m.TypeRectB[t] = change.RectB;
    if (adding)
        m.MemberTypeCount = static_cast<int16_t>(t);
    else
        refreshMembersOf(t);
    changed();
    return Answer::Stored;
}

void Form11::SETSTEEL_ON() {
    if (SteelFamily == kNoFamily) {
        p_.say("形鋼の種類（H形鋼、□鋼管、○鋼管）を選んでください。");
        return;
    }
    long t = 0;
    if (!typeNumber(t)) return;
    const auto section = SteelSectionProperties(p_.model, SteelFamily + 1, c("COMBO7").selected,
                                                SquarePipeShear::HalfArea);
    if (!section) {
        p_.say("形鋼をリストから選んでください。");
        return;
    }
    TypeChange change;
    change.Area = section->Area;
    change.Iy = section->Iy;
    change.Iz = section->Iz;
    change.J = section->J;
    change.ShearAreaY = section->ShearAreaY;
    change.ShearAreaZ = section->ShearAreaZ;
    change.SectionKind = section->SectionKind;
    change.SteelNo = section->SteelNo;
    confirmAndStore(static_cast<int>(t), change);
}

void Form11::BUTTON50_ON() {
    long t = 0;
    if (!typeNumber(t)) return;
    if (!checkNumberBoxes(
            p_, *this,
            {{"EDIT164", "A寸法", kRectangleSize}, {"EDIT165", "B寸法", kRectangleSize}}))
        return;
    const double a = boxSingle(c("EDIT164").caption);
    const double b = boxSingle(c("EDIT165").caption);
    // A size of 0 leaves no section: 0/0 in the torsion constant and a
    // member without area in the analysis.
    if (!(a > 0) || !(b > 0)) {
        p_.say("A寸法とB寸法は 0 より大きい値を入力してください。");
        return;
    }
    if (a < b) {
        const std::string text =
            "No" + numberWithSign(t) + " が梁の場合、水平幅＞垂直高さとなります。";
        if (p_.say(text, MessageButtons::OkCancel) == MessageResult::Cancel) {
            c("EDIT164").caption.clear();
            c("EDIT165").caption.clear();
            return;
        }
    }
    TypeChange change;
    change.Area = toSingle(a * b);
    change.Iy = toSingle(b * a * a * a / 12);
    change.Iz = toSingle(a * b * b * b / 12);
    change.J = toSingle(rectangleTorsionConstant(a, b));
    change.ShearAreaY = change.Area;
    change.ShearAreaZ = change.Area;
    change.RectA = static_cast<float>(a);
    change.RectB = static_cast<float>(b);
    change.SectionKind = kSectionRectangle;
    change.SteelNo = 0;
    if (confirmAndStore(static_cast<int>(t), change) == Answer::Stored) {
        c("EDIT164").caption.clear();
        c("EDIT165").caption.clear();
    }
}

void Form11::BUTTON62_ON() {
    long t = 0;
    if (!typeNumber(t)) return;
    if (!checkNumberBoxes(p_, *this,
                          {{"EDIT156", "断面積", kAnyValue},
                           {"EDIT157", "断面2次モーメント Iy", kAnyValue},
                           {"EDIT162", "断面2次モーメント Iz", kAnyValue},
                           {"EDIT170", "ねじり定数", kAnyValue}}))
        return;
    const float area = boxSingle(c("EDIT156").caption);
    const float iy = boxSingle(c("EDIT157").caption);
    const float iz = boxSingle(c("EDIT162").caption);
    if (!(area > 0) || !(iy > 0) || !(iz > 0)) {
        p_.say("断面積と断面２次モーメントは 0 より大きい値を入力してください。");
        return;
    }
    TypeChange change;
    change.Area = area;
    change.Iy = iy;
    change.Iz = iz;
    change.J = boxSingle(c("EDIT170").caption);
    change.ShearAreaY = area;
    change.ShearAreaZ = area;
    change.SectionKind = kSectionNumeric;
    change.SteelNo = 0;
    if (confirmAndStore(static_cast<int>(t), change) == Answer::Stored) {
        for (const char* name : {"EDIT156", "EDIT157", "EDIT162", "EDIT170"})
            c(name).caption.clear();
    }
}

// ---------------------------------------------------------------------------
// Re-linking members

namespace {

// Gives member m type t and its properties; whether anything changed.
bool linkMember(Model& m, int member, int t) {
    const bool same = m.MemberTypeNo[member] == t && m.MemberArea[member] == m.TypeArea[t] &&
                      m.MemberIy[member] == m.TypeIy[t] && m.MemberIz[member] == m.TypeIz[t] &&
                      m.MemberJ[member] == m.TypeJ[t] &&
                      m.MemberShearAreaY[member] == m.TypeShearAreaY[t] &&
                      m.MemberShearAreaZ[member] == m.TypeShearAreaZ[t];
    m.copyTypeToMember(member, t);
    m.MemberTypeNo[member] = static_cast<int16_t>(t);
    return !same;
}

} // namespace

int Form11::refreshMembersOf(int t) {
    Model& m = p_.model;
    int count = 0;
    for (int member = 1; member <= m.MemberCount; ++member)
        if (m.MemberTypeNo[member] == t && linkMember(m, member, t)) ++count;
    return count;
}

void Form11::BUTTON33_ON() {
    Model& m = p_.model;
    const long oldType = boxWhole(c("EDIT166").caption);
    const long newType = boxWhole(c("EDIT167").caption);
    if (newType < 1 || newType > m.MemberTypeCount) {
        p_.say("変更関連付けする部材タイプNoは 1～" + std::to_string(m.MemberTypeCount) +
               " で入力してください。");
        return;
    }
    const long c1 = wholeCentimetre(boxNumber(c("EDIT168").caption));
    const long c2 = wholeCentimetre(boxNumber(c("EDIT169").caption));

    const auto& axis = RelinkFilter == kXMembers   ? m.NodeX
                       : RelinkFilter == kYMembers ? m.NodeY
                                                   : m.NodeZ;
    const bool byCoordinates =
        RelinkFilter == kXMembers || RelinkFilter == kYMembers || RelinkFilter == kZMembers;
    int count = 0;
    for (int member = 1; member <= m.MemberCount; ++member) {
        if (m.MemberTypeNo[member] != oldType) continue;
        if (byCoordinates) {
            const long s = wholeCentimetre(axis[m.MemberStartNode[member]]);
            const long e = wholeCentimetre(axis[m.MemberEndNode[member]]);
            if (!((s == c1 && e == c2) || (s == c2 && e == c1))) continue;
        }
        if (linkMember(m, member, static_cast<int>(newType))) ++count;
    }
    for (const char* name : {"EDIT166", "EDIT167", "EDIT168", "EDIT169"})
        c(name).caption.clear();
    if (count == 0) {
        p_.say("関連付けを変更する部材はありませんでした。", MessageButtons::Ok,
               MessageIcon::Information);
        return;
    }
    changed();
    p_.say("部材" + numberWithSign(count) + " 本の関連付けを変更しました。", MessageButtons::Ok,
           MessageIcon::Information);
}

// ---------------------------------------------------------------------------
// After a change, and the end

void Form11::changed() {
    Model& m = p_.model;
    p_.PropertyModified = 1;
    c("BUTTON94").enabled = false;
    showNextTypeNumber();
    // Results of the frame before the change must not be drawn or reported
    // as this frame's: the menu goes back to a frame waiting for its analysis.
    if (m.AnalysisDone == 1) {
        m.AnalysisDone = 0;
        m.NodeDisplacement.fill(0);
        for (auto* table : {&m.SpringRotation, &m.PinRotation})
            for (auto& row : *table)
                row.fill(0);
        for (auto& row : m.MemberEndForce)
            row.fill(0);
        p_.menuEnable({"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON92", "BUTTON93"});
        if (m.GridGenerated == 1) p_.menuEnable({"BUTTON84"});
    }
}

void Form11::BUTTON53_ON() {
    Model& m = p_.model;
    if (p_.PropertyModified == 1) {
        bool written = false;
        if (m.FrameFileState == 1) {
            // The frame file of this run is written again without the
            // message about an existing file; it is replaced only once the
            // new one is complete.
            written = BUTTON70_ON(p_, true);
        } else {
            // A frame read from a file may be saved under a new name; a frame
            // that has only a coordinate file, or none, gets a frame file,
            // since a coordinate file holds no member types.
            const auto name = askNewDataName(p_, kNamePrompt);
            if (name) {
                m.DataName = *name;
                m.DataFolder.clear(); // a new name is new data of the working folder
            } else if (m.DataName.empty()) {
                return; // nowhere to write: the changes stay, and so does the form
            }
            // Keeping the name of a frame read from a file replaces that file
            // (the question says so), and a new name replaces a file only
            // when the user agreed: no second message either way.
            written = BUTTON70_ON(p_, name.has_value() || m.FrameFileState == 2);
        }
        // A file that could not be written has been reported; the form stays
        // open so that the changes are not lost.
        if (!written) return;
        p_.PropertyModified = 0;
    }
    close();
}

void Form11::BUTTON97_ON() {
    close();
}

void Form11::SECTABHP_ON() {
    p_.help("部材性能修正");
}

} // namespace rahmen

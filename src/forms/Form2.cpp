#include "forms/Form2.h"

#include "forms/InputForms.h"
#include "model/DataName.h"
#include "model/Limits.h"
#include "model/Program.h"
#include "platform/FormServices.h"

namespace rahmen {

namespace {

constexpr const char* kExistingDataMessage = "既存の同名ﾃﾞｰﾀがありますﾃﾞｰﾀﾌｧｲﾙ名を変えてください。";

} // namespace

Form2::Form2(Program& program) : Form("FORM2", "概要入力", 470, 330), p_(program) {
    setHelpKeyword("概要入力");
    addLabel("TEXT3", "これから作成するデータファイル名（拡張子を除く）", 24, 16, 420, 20);
    addEdit("DTNAME", "", 24, 40, 260, 24);
    addLabel("TEXT4", "節点数", 24, 84, 140, 20);
    addEdit("EDIT1", "", 170, 82, 110, 24);
    addLabel("TEXT5", "部材種類数", 24, 116, 140, 20);
    addEdit("EDIT2", "", 170, 114, 110, 24);
    addLabel("TEXT6", "部材数", 24, 148, 140, 20);
    addEdit("EDIT3", "", 170, 146, 110, 24);
    addLabel("TEXT7", "支持点数", 24, 180, 140, 20);
    addEdit("EDIT4", "", 170, 178, 110, 24);
    addLabel("TEXT52", "入力は　Tabキー　によってフォーカスを移動できます。", 24, 222, 420, 20);
    addButton("BUTTON6", "終了", 40, 264, 110, 32);
    addButton("BUTTON7", "キャンセル", 180, 264, 110, 32);
    addButton("BUTTON54", "ヘルプ", 320, 264, 110, 32);

    numberBoxes({"DTNAME"});
    onClick("BUTTON6", [this] { BUTTON6_ON(); });
    onClick("BUTTON7", [this] { BUTTON7_ON(); });
    onClick("BUTTON54", [this] { BUTTON54_ON(); });
}

void Form2::FORM2_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form2::FORM2_START() {
    FORM2_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    setFocus("DTNAME");
}

void Form2::BUTTON6_ON() {
    Model& m = p_.model;
    // The name becomes the data files' names in the working folder.
    if (!acceptDataName(p_, c("DTNAME").caption)) {
        setFocus("DTNAME");
        return;
    }
    m.DataName = c("DTNAME").caption;

    const std::string& name = m.DataName;
    if (p_.io.files.exists(name + ".cdt") || p_.io.files.exists(name + ".fdt") ||
        p_.io.files.exists(name + ".adt")) {
        p_.say(kExistingDataMessage);
        return;
    }

    // Every count is checked before any is stored, so that a refused outline
    // leaves the model as it was.
    struct CountBox {
        const char* box;
        const char* what;
        long limit;
    };
    const CountBox boxes[] = {{"EDIT1", "節点数", kMaxNodes},
                              {"EDIT2", "部材種類数", kMaxMemberTypes},
                              {"EDIT3", "部材数", kMaxMembers},
                              {"EDIT4", "支持点数", kMaxNodes}};
    long counts[4] = {};
    for (int i = 0; i < 4; ++i) {
        counts[i] = boxWhole(c(boxes[i].box).caption);
        if (!checkLimit(p_.io.dialogs, boxes[i].what, counts[i], boxes[i].limit)) {
            setFocus(boxes[i].box);
            return;
        }
    }
    m.NodeCount = static_cast<int16_t>(counts[0]);
    m.MemberTypeCount = static_cast<int16_t>(counts[1]);
    m.MemberCount = static_cast<int16_t>(counts[2]);
    m.SupportCount = static_cast<int16_t>(counts[3]);

    close();
    p_.menuEnable({"BUTTON1", "BUTTON70"},
                  {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON84", "BUTTON91"});
    if (p_.mainMenu && p_.mainMenu->has("BUTTON1")) p_.mainMenu->setFocus("BUTTON1");
}

void Form2::BUTTON7_ON() {
    close();
}

void Form2::BUTTON54_ON() {
    p_.help("概要入力");
}

} // namespace rahmen

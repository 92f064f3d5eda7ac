// The table-input workflow through the real windows: a two-storey frame typed
// into the outline, coordinate (two pages), member type (rectangles, with the
// width warning answered), member (two pages, a pin and a spring from their
// rows), support, condition and load forms, analysed into its report file,
// with the main menu leading from one step to the next.

#include "WorkflowTest.h"

#include "GuiTestSupport.h"
#include "ProgramSession.h"
#include "model/Program.h"
#include "platform/Sjis.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>

namespace rahmen::test {

namespace {

// Every button and unit radio button of the main menu.
const QStringList MenuControls = {"BUTTON27", "BUTTON1",  "BUTTON28", "BUTTON2",  "BUTTON29",
                                  "BUTTON3",  "BUTTON84", "BUTTON68", "BUTTON91", "BUTTON52",
                                  "BUTTON35", "BUTTON93", "BUTTON92", "BUTTON4",  "BUTTON70",
                                  "BUTTON88", "RADIO65",  "RADIO66",  "BUTTON51", "BUTTON5"};

QStringList usableMenuControls(const ProgramSession& s) {
    QStringList result;
    for (const QString& name : MenuControls)
        if (s.menu(name.toLatin1().constData())->isEnabled()) result << name;
    return result;
}

QString editText(const ProgramSession& s, const char* form, const char* control) {
    auto* edit = qobject_cast<QLineEdit*>(s.widget(form, control));
    return edit ? edit->text() : QStringLiteral("<no edit>");
}

bool enabled(const ProgramSession& s, const char* form, const char* control) {
    QWidget* w = s.widget(form, control);
    return w && w->isEnabled();
}

// The name of the control whose widget has the focus in a form's window.
QString focused(const ProgramSession& s, const char* form) {
    QWidget* w = s.window(form) ? s.window(form)->focusWidget() : nullptr;
    return w ? w->objectName() : QString();
}

// Tab pressed in a form's window, which has become the active window first
// (as the window a person types into is).
void pressTab(const ProgramSession& s, const char* form) {
    QVERIFY(QTest::qWaitForWindowActive(s.window(form)));
    QWidget* w = s.window(form)->focusWidget();
    QVERIFY(w);
    QTest::keyClick(w, Qt::Key_Tab);
}

QString readCp932(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return QString::fromStdString(cp932ToUtf8(std::string_view(bytes.constData(), bytes.size())));
}

} // namespace

void WorkflowTest::tableInputToTheReportFile() {
    ProgramSession s;
    ModalAnswerer answers;
    const Model& m = s.program->program().model;

    // The outline.
    s.click("MAINFORM", "BUTTON27");
    QVERIFY(s.window("FORM2"));
    QCOMPARE(focused(s, "FORM2"), QStringLiteral("DTNAME"));
    s.type("FORM2", "DTNAME", QStringLiteral("門形"));
    s.type("FORM2", "EDIT1", QStringLiteral("6"));
    s.type("FORM2", "EDIT2", QStringLiteral("2"));
    s.type("FORM2", "EDIT3", QStringLiteral("6"));
    s.type("FORM2", "EDIT4", QStringLiteral("2"));
    s.click("FORM2", "BUTTON6");
    QVERIFY(!s.window("FORM2"));
    QCOMPARE(m.DataName, std::string("門形"));
    QCOMPARE(usableMenuControls(s),
             (QStringList{"BUTTON1", "BUTTON70", "RADIO65", "RADIO66", "BUTTON51", "BUTTON5"}));

    // Coordinates: six nodes, so the first page goes on with "次ページ";
    // Tab runs along a node's row before the next node.
    s.click("MAINFORM", "BUTTON1");
    QVERIFY(s.window("FORM3"));
    QCOMPARE(focused(s, "FORM3"), QStringLiteral("EDIT13"));
    pressTab(s, "FORM3");
    QCOMPARE(focused(s, "FORM3"), QStringLiteral("EDIT18"));
    pressTab(s, "FORM3");
    QCOMPARE(focused(s, "FORM3"), QStringLiteral("EDIT23"));
    pressTab(s, "FORM3");
    QCOMPARE(focused(s, "FORM3"), QStringLiteral("EDIT14"));
    QCOMPARE(QString::fromStdString(s.program->program().form("FORM3")->focus()),
             QStringLiteral("EDIT14"));
    QVERIFY(!enabled(s, "FORM3", "BUTTON9"));
    const char* const rows[5][4] = {{"EDIT13", "0", "EDIT23", "0"},
                                    {"EDIT14", "600", "EDIT24", "0"},
                                    {"EDIT15", "0", "EDIT25", "350"},
                                    {"EDIT16", "600", "EDIT26", "350"},
                                    {"EDIT17", "0", "EDIT27", "700"}};
    for (const auto& row : rows) {
        s.type("FORM3", row[0], QString::fromLatin1(row[1]));
        s.type("FORM3", row[2], QString::fromLatin1(row[3]));
    }
    s.click("FORM3", "BUTTON8");
    QCOMPARE(editText(s, "FORM3", "EDIT8"), QStringLiteral("6"));
    QCOMPARE(editText(s, "FORM3", "EDIT13"), QString());
    QVERIFY(enabled(s, "FORM3", "BUTTON9"));
    s.type("FORM3", "EDIT13", QStringLiteral("600"));
    s.type("FORM3", "EDIT23", QStringLiteral("700"));
    s.click("FORM3", "BUTTON9");
    QVERIFY(!s.window("FORM3"));
    QCOMPARE(m.NodeX[4], 600.0f);
    QCOMPARE(m.NodeZ[6], 700.0f);
    QVERIFY(QFile::exists(s.folder.filePath(QStringLiteral("門形.cdt"))));
    QCOMPARE(usableMenuControls(s),
             (QStringList{"BUTTON28", "BUTTON70", "RADIO65", "RADIO66", "BUTTON51", "BUTTON5"}));

    // Member types as rectangles, not from the section lists. A beam typed
    // narrower than wide is warned about; Cancel keeps the page to correct.
    answers.queue(QMessageBox::No);
    s.click("MAINFORM", "BUTTON28");
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen()[0].title, QStringLiteral("部材タイプ"));
    QCOMPARE(answers.seen()[0].text, QStringLiteral("形鋼から選択しますか"));
    QVERIFY(s.window("FORM4"));
    QVERIFY(!s.window("FORM16"));
    QCOMPARE(editText(s, "FORM4", "EDIT28"), QStringLiteral("1"));
    QCOMPARE(editText(s, "FORM4", "EDIT32"), QStringLiteral("5"));
    s.click("FORM4", "CHECK14");
    QVERIFY(!enabled(s, "FORM4", "EDIT43"));
    s.type("FORM4", "EDIT33", QStringLiteral("40"));
    s.type("FORM4", "EDIT38", QStringLiteral("40"));
    s.type("FORM4", "EDIT34", QStringLiteral("30"));
    s.type("FORM4", "EDIT39", QStringLiteral("60"));
    answers.queue(QMessageBox::Cancel);
    s.click("FORM4", "BUTTON12");
    QCOMPARE(answers.seen().size(), 2);
    QCOMPARE(answers.seen()[1].text,
             QStringLiteral("No 2 が梁の場合、水平幅＞垂直高さとなります。"));
    QVERIFY(s.window("FORM4"));
    QCOMPARE(focused(s, "FORM4"), QStringLiteral("EDIT34"));
    s.type("FORM4", "EDIT34", QStringLiteral("60"));
    s.type("FORM4", "EDIT39", QStringLiteral("30"));
    s.click("FORM4", "BUTTON12");
    QCOMPARE(answers.seen().size(), 2);
    QVERIFY(!s.window("FORM4"));
    QCOMPARE(m.RectTypeCount, 2);
    QCOMPARE(m.TypeArea[1], 1600.0f);
    QCOMPARE(m.TypeIy[2], 540000.0f);
    QCOMPARE(m.TypeIz[2], 135000.0f);
    QVERIFY(qAbs(m.TypeJ[1] - 360533.3f) < 1.0f);
    QVERIFY(qAbs(m.TypeJ[2] - 370786.0f) < 1.0f);
    QCOMPARE(usableMenuControls(s),
             (QStringList{"BUTTON2", "BUTTON70", "RADIO65", "RADIO66", "BUTTON51", "BUTTON5"}));

    // Members: columns 1-3, 2-4, 3-5, 4-6, beams 3-4 (pinned about z at its
    // end) and 5-6; column 3-5 has a rotational spring at its foot.
    s.click("MAINFORM", "BUTTON2");
    QVERIFY(s.window("FORM5"));
    QCOMPARE(focused(s, "FORM5"), QStringLiteral("EDIT58"));
    pressTab(s, "FORM5");
    QCOMPARE(focused(s, "FORM5"), QStringLiteral("EDIT63"));
    QVERIFY(!enabled(s, "FORM5", "BUTTON15"));
    const char* const members[5][3] = {
        {"1", "1", "3"}, {"1", "2", "4"}, {"1", "3", "5"}, {"1", "4", "6"}, {"2", "3", "4"}};
    for (int k = 0; k < 5; ++k) {
        s.type("FORM5", qPrintable(QStringLiteral("EDIT%1").arg(58 + k)), members[k][0]);
        s.type("FORM5", qPrintable(QStringLiteral("EDIT%1").arg(85 + k)), members[k][1]);
        s.type("FORM5", qPrintable(QStringLiteral("EDIT%1").arg(90 + k)), members[k][2]);
    }

    s.click("FORM5", "BUTTON21"); // the pin button of the fifth row
    QVERIFY(s.window("FORM7"));
    QCOMPARE(s.window("FORM7")->windowTitle(), QStringLiteral("ピン・バネ入力　部材 5"));
    QVERIFY(!enabled(s, "FORM7", "EDIT88"));
    s.click("FORM7", "CHECK6");
    s.click("FORM7", "BUTTON43");
    QVERIFY(!s.window("FORM7"));
    QVERIFY(s.window("FORM5"));
    QCOMPARE(m.PinEndZ[5], -1);
    QCOMPARE(m.MemberEndPinned[5], 1);

    s.click("FORM5", "BUTTON24"); // the spring button of the third row
    QVERIFY(s.window("FORM7"));
    QCOMPARE(s.window("FORM7")->windowTitle(), QStringLiteral("ピン・バネ入力　部材 3"));
    QVERIFY(!enabled(s, "FORM7", "CHECK1"));
    s.type("FORM7", "EDIT88", QStringLiteral("1.5"));
    s.click("FORM7", "BUTTON43");
    QVERIFY(!s.window("FORM7"));
    QCOMPARE(m.SpringStart[3][5], 150.0f);
    QCOMPARE(m.SprungEndCount, 1);

    s.click("FORM5", "BUTTON14");
    QCOMPARE(editText(s, "FORM5", "EDIT53"), QStringLiteral("6"));
    QVERIFY(enabled(s, "FORM5", "BUTTON15"));
    s.type("FORM5", "EDIT58", QStringLiteral("2"));
    s.type("FORM5", "EDIT85", QStringLiteral("5"));
    s.type("FORM5", "EDIT90", QStringLiteral("6"));
    s.click("FORM5", "BUTTON15");
    QVERIFY(!s.window("FORM5"));
    QCOMPARE(m.MemberStartNode[5], 3);
    QCOMPARE(m.MemberEndNode[6], 6);
    QCOMPARE(m.MemberTypeNo[6], 2);
    QCOMPARE(m.MemberArea[6], 1800.0f);
    QCOMPARE(usableMenuControls(s),
             (QStringList{"BUTTON29", "BUTTON70", "RADIO65", "RADIO66", "BUTTON51", "BUTTON5"}));

    // Supports: the frame file replaces the coordinate file. A frame file
    // with springs written in SI units fixes the unit system.
    s.click("MAINFORM", "BUTTON29");
    QVERIFY(s.window("FORM6"));
    QCOMPARE(focused(s, "FORM6"), QStringLiteral("EDIT68"));
    QVERIFY(!enabled(s, "FORM6", "BUTTON40"));
    s.type("FORM6", "EDIT68", QStringLiteral("1"));
    s.type("FORM6", "EDIT69", QStringLiteral("2"));
    s.click("FORM6", "BUTTON41");
    QVERIFY(!s.window("FORM6"));
    QCOMPARE(m.SupportCount, 2);
    QCOMPARE(m.NodeIsSupport[2], -1);
    QVERIFY(QFile::exists(s.folder.filePath(QStringLiteral("門形.fdt"))));
    QVERIFY(!QFile::exists(s.folder.filePath(QStringLiteral("門形.cdt"))));
    QCOMPARE(usableMenuControls(s),
             (QStringList{"BUTTON3", "BUTTON35", "BUTTON93", "BUTTON92", "BUTTON4", "BUTTON70",
                          "RADIO65", "BUTTON51", "BUTTON5"}));

    // Conditions: steel, rectangular sections (κ = 1.2); the load form follows.
    s.click("MAINFORM", "BUTTON3");
    QVERIFY(s.window("FORM9"));
    QVERIFY(!enabled(s, "FORM9", "BUTTON37"));
    s.click("FORM9", "RADIO1");
    s.click("FORM9", "RADIO28");
    QVERIFY(enabled(s, "FORM9", "BUTTON37"));
    s.click("FORM9", "BUTTON37");
    QVERIFY(!s.window("FORM9"));
    QCOMPARE(m.YoungModulus, 205000.0f);
    QCOMPARE(m.ShearModulus, 79000.0f);
    QCOMPARE(m.ShearShapeFactor, 1.2f);

    // Loads: 10 kN in X at node 5, then -15 kN/m along the roof beam; "データ
    // 解析" analyses the frame and writes the report.
    QVERIFY(s.window("FORM10"));
    s.click("FORM10", "RADIO45");
    QVERIFY(!enabled(s, "FORM10", "EDIT170"));
    s.type("FORM10", "EDIT103", QStringLiteral("5"));
    s.type("FORM10", "EDIT108", QStringLiteral("10"));
    s.click("FORM10", "BUTTON30");
    QCOMPARE(m.NodeLoad[25], 10.0f);
    QCOMPARE(editText(s, "FORM10", "EDIT103"), QString());
    s.click("FORM10", "RADIO68");
    QVERIFY(!enabled(s, "FORM10", "EDIT103"));
    s.type("FORM10", "EDIT195", QStringLiteral("6"));
    s.type("FORM10", "EDIT196", QStringLiteral("-15"));
    s.click("FORM10", "BUTTON31");
    QVERIFY(!s.window("FORM10"));
    QCOMPARE(m.MemberUniformLoad[6][1], -15.0f);
    QCOMPARE(m.AnalysisDone, 1);

    // The progress window waits for its OK.
    QVERIFY(s.window("FORM12"));
    QVERIFY(enabled(s, "FORM12", "BUTTON64"));
    s.click("FORM12", "BUTTON64");
    QVERIFY(!s.window("FORM12"));

    const QString report = readCp932(s.folder.filePath(QStringLiteral("門形.adt")));
    QVERIFY(report.contains(QStringLiteral(" デ ー タ 名: 門形\r\n")));
    QVERIFY(report.contains(QStringLiteral("解析日時: 26/12/08  10:20:30")));
    QVERIFY(report.contains(QStringLiteral(
        " 節点数: 6    部材数: 6     支持点数: 2   ﾋﾟﾝ接合数: 1  ﾊﾞﾈ接合数: 1  荷重点数: 1   "
        "等分布荷重材数: 1 ")));
    QVERIFY(report.contains(QStringLiteral("せん断に対する形状係数　κ: 1.2")));

    // The load form has moved the menu on: the table input is over.
    QVERIFY(s.menu("BUTTON4")->isEnabled());
    QVERIFY(!s.menu("BUTTON3")->isEnabled());
    QVERIFY(!s.menu("BUTTON35")->isEnabled());
    QVERIFY(!s.menu("BUTTON93")->isEnabled());
    // The analysis run itself enables the analysis reset and disables the
    // grid and mouse-analysis buttons.
    QCOMPARE(usableMenuControls(s),
             (QStringList{"BUTTON4", "BUTTON70", "BUTTON88", "RADIO65", "BUTTON51", "BUTTON5"}));

    QCOMPARE(answers.unexpected(), 0);
    QCOMPARE(answers.pending(), 0);
}

} // namespace rahmen::test

// What a new user met on the screen: the end question asked once, input
// forms modal over the menu, Escape and the close box, the progress window,
// message boxes that break their lines where a reader would, number boxes.

#include "NewUserTest.h"

#include "GuiTestSupport.h"
#include "ProgramSession.h"
#include "gui/PictureWidget.h"
#include "gui/TextBreaks.h"

#include <QLineEdit>
#include <QTest>

namespace rahmen::test {

void NewUserTest::endAsksOnceAlsoWhenTheWindowsClose() {
    ProgramSession s;
    ModalAnswerer answers;
    Model& m = s.program->program().model;
    m.DataName = "frame1";
    m.CoordFileState = 1;
    std::ofstream(s.folder.filePath("frame1.cdt").toStdString()) << "data\r\n";
    answers.queue(QMessageBox::Yes);
    s.click("MAINFORM", "BUTTON5");
    QVERIFY(s.program->ended());
    // Quitting closes every window: the menu's close must not ask again.
    QVERIFY(s.window("MAINFORM")->close());
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.unexpected(), 0);
    QVERIFY(QFileInfo::exists(s.folder.filePath("frame1.cdt")));
}

void NewUserTest::inputFormIsModalAndEscapeCancelsIt() {
    ProgramSession s;
    ModalAnswerer answers;
    s.click("MAINFORM", "BUTTON27");
    FormWindow* outline = s.window("FORM2");
    QVERIFY(outline);
    QVERIFY(!s.window("MAINFORM")->isEnabled());
    QVERIFY(outline->isEnabled());
    QTest::keyClick(outline, Qt::Key_Escape);
    QVERIFY(!s.window("FORM2"));
    QVERIFY(s.window("MAINFORM")->isEnabled());
    QVERIFY(s.menu("BUTTON27")->isEnabled());
    QCOMPARE(answers.seen().size(), 0);
}

void NewUserTest::progressWindowKeepsAboveAndItsCloseBoxWaitsForTheEnd() {
    ProgramSession s;
    ModalAnswerer answers;
    Program& p = s.program->program();
    p.progress.announce(p.FontOffset, "　　　座標データ書込み中");
    for (int i = 0; i < 30; ++i)
        p.progress.print("ζζζζζζζζζζζζζζζζζζζζζζζ");
    p.progress.print("　マトリックスボリューム ＝ 1234 × 9000");
    p.progress.step(" データファイルが作成されました。");
    s.windows->refreshAll();
    FormWindow* progress = s.window("FORM12");
    QVERIFY(progress);
    // A child window of the menu: the window system keeps it above the menu.
    QCOMPARE(progress->parentWidget(), s.window("MAINFORM"));
    QVERIFY(progress->isWindow());

    // Every line and the step text are readable: no line overlaps the next,
    // none runs out of the picture, the latest is in view.
    auto* step = static_cast<QLineEdit*>(s.widget("FORM12", "EDIT151"));
    QVERIFY(step->fontMetrics().horizontalAdvance(step->text()) + 8 <= step->width());
    const Canvas& picture = *p.progress.picture();
    QFont font = QApplication::font();
    font.setPixelSize(pointsToPixels(picture.fontSize()));
    const QFontMetrics metrics(font);
    double lastTop = -100;
    QString lastText;
    for (const Primitive& item : picture.items()) {
        const QString text = QString::fromStdString(item.text);
        QVERIFY2(item.y1 - lastTop >= metrics.height(), qPrintable(text));
        QVERIFY2(item.y1 + metrics.height() <= picture.height(), qPrintable(text));
        QVERIFY2(metrics.horizontalAdvance(text) <= picture.width(), qPrintable(text));
        lastTop = item.y1;
        lastText = text;
    }
    QCOMPARE(lastText, QStringLiteral("　マトリックスボリューム ＝ 1234 × 9000"));

    // Before the end its close box says why it stays; after, it closes.
    answers.queue(QMessageBox::Ok);
    QVERIFY(!progress->close());
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen()[0].text,
             QStringLiteral("この画面は、処理が終わるまで閉じることができません。"));
    p.progress.finish();
    progress->close();
    QVERIFY(!p.progress.isOpen());
}

void NewUserTest::messagesBreakWhereAReaderWould() {
    ProgramSession s;
    ModalAnswerer answers;
    answers.queue(QMessageBox::Ok);
    s.dialogs->message("rahmen",
                       "部材No12：節点番号 1500 の節点はありません（節点番号は 1～1499）。"
                       "修正してください。",
                       MessageButtons::Ok, MessageIcon::Exclamation);
    answers.queue(QMessageBox::No);
    s.dialogs->message("rahmen",
                       "既存の解析データがあります、新しいデータ名を入力しますか？\r\n\r\n"
                       "同名データ作成は既存ﾃﾞｰﾀをﾃﾞｨﾚｸﾄﾘｰより移動→いいえﾎﾞﾀﾝ",
                       MessageButtons::YesNo, MessageIcon::Question);
    QCOMPARE(answers.seen().size(), 2);
    // Every line fits the box, so Qt wraps nothing, and the range stays whole.
    const QString ranged = answers.seen()[0].text;
    QVERIFY2(ranged.contains(QStringLiteral("1～1499）。")), qPrintable(ranged));
    for (const QString& line : ranged.split('\n'))
        QVERIFY2(QFontMetrics(QApplication::font()).horizontalAdvance(line) <= 380,
                 qPrintable(line));
    QCOMPARE(answers.seen()[1].text,
             QStringLiteral("既存の解析データがあります、新しいデータ名を入力しますか？\n\n"
                            "同名データ作成は既存ﾃﾞｰﾀをﾃﾞｨﾚｸﾄﾘｰより移動→いいえﾎﾞﾀﾝ"));

    // The release form's instruction in its label at the start-up font.
    QFont font = QApplication::font();
    font.setPixelSize(pointsToPixels(12));
    const QString broken = breakForReading(
        QStringLiteral("既設定のバネ定数が表示されています入力後は、すべて上書きされます。("
                       "回転：kN･m/rad.軸方向：kN/cm)"),
        QFontMetrics(font), 532);
    QVERIFY2(broken.contains(QStringLiteral("\n(回転：kN･m/rad.軸方向：kN/cm)")) ||
                 broken.contains(QStringLiteral("kN･m/rad.軸方向：kN/cm)")),
             qPrintable(broken));
    for (const QString& unit : {QStringLiteral("kN･m/rad"), QStringLiteral("kN/cm")})
        QVERIFY2(broken.contains(unit), qPrintable(broken));
}

void NewUserTest::numberBoxesDropLetters() {
    ProgramSession s;
    s.click("MAINFORM", "BUTTON27");
    auto* nodes = static_cast<QLineEdit*>(s.widget("FORM2", "EDIT1"));
    auto* name = static_cast<QLineEdit*>(s.widget("FORM2", "DTNAME"));
    nodes->setFocus();
    QTest::keyClicks(nodes, "12abc-3.5e");
    QCOMPARE(nodes->text(), QStringLiteral("12-3.5e"));
    QTest::keyClicks(name, "frame1");
    QCOMPARE(name->text(), QStringLiteral("frame1"));
    QCOMPARE(s.program->program().form("FORM2")->c("EDIT1").caption, "12-3.5e");
}

} // namespace rahmen::test

// The main menu on the screen: its look after start-up, a full reset clicked
// through with real message boxes after an outline and coordinates typed into
// the input forms, and the help viewer at every help keyword.

#include "MainMenuTest.h"

#include "GuiTestSupport.h"
#include "ProgramSession.h"
#include "gui/FormWindow.h"
#include "gui/HelpViewer.h"
#include "gui/QtDialogs.h"
#include "gui/WindowManager.h"
#include "main/Mainform.h"
#include "main/rahmen.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Files.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>

#include <fstream>
#include <memory>

namespace rahmen::test {

namespace {

using Session = ProgramSession;

// The names of the enabled (or disabled) menu controls among `names`.
QStringList usable(const Session& s, const QStringList& names, bool enabled) {
    QStringList result;
    for (const QString& name : names)
        if (s.menu(name.toLatin1().constData())->isEnabled() == enabled) result << name;
    return result;
}

const QStringList MenuButtons = {"BUTTON27", "BUTTON1",  "BUTTON28", "BUTTON2",  "BUTTON29",
                                 "BUTTON3",  "BUTTON84", "BUTTON68", "BUTTON91", "BUTTON52",
                                 "BUTTON35", "BUTTON93", "BUTTON92", "BUTTON4",  "BUTTON70",
                                 "BUTTON88", "RADIO65",  "RADIO66",  "BUTTON51", "BUTTON5"};

// Button texts without keyboard mnemonics ("はい(&Y)" reads "はい").
QStringList plain(QStringList texts) {
    for (QString& t : texts) {
        t.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
        t.remove(QLatin1Char('&'));
    }
    texts.sort();
    return texts;
}

} // namespace

void MainMenuTest::menuAfterStartUp() {
    Session s;
    FormWindow* menu = s.window("MAINFORM");
    QVERIFY(menu);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->windowTitle(), QStringLiteral("プログラムメニュー"));
    // Centred on the 1024 x 768 screen.
    QCOMPARE(menu->pos(), QPoint((1024 - menu->width()) / 2, (768 - menu->height()) / 2));

    QCOMPARE(static_cast<QLabel*>(s.menu("TEXT1"))->text(),
             QStringLiteral("骨組構造３次元解析・ZEN"));
    QCOMPARE(s.text("BUTTON84"), QStringLiteral("グリッド作成"));
    QCOMPARE(s.text("BUTTON28"), QStringLiteral("部材ﾀｲﾌﾟ入力"));
    QCOMPARE(s.text("BUTTON91"), QStringLiteral("座/骨ﾃﾞｰﾀ呼出"));
    QCOMPARE(s.text("BUTTON4"), QStringLiteral("データ  作図"));
    QCOMPARE(s.text("BUTTON70"), QStringLiteral("ﾘｾｯﾄ"));
    QCOMPARE(s.text("BUTTON5"), QStringLiteral("終 了"));
    QCOMPARE(s.text("RADIO65"), QStringLiteral("SI単位"));
    // Fonts raised to 12 points (16 pixels) by the start-up font offset.
    QCOMPARE(s.menu("BUTTON1")->font().pixelSize(), 16);

    QCOMPARE(usable(s, MenuButtons, true),
             (QStringList{"BUTTON27", "BUTTON84", "RADIO65", "RADIO66", "BUTTON51", "BUTTON5"}));
    QVERIFY(static_cast<QRadioButton*>(s.menu("RADIO65"))->isChecked());
    QVERIFY(!static_cast<QRadioButton*>(s.menu("RADIO66"))->isChecked());
    QCOMPARE(menu->focusWidget(), s.menu("BUTTON84"));

    // A folder holding a frame file offers only the frame file's button.
    Session withFrame({"old.fdt"});
    QCOMPARE(usable(withFrame, {"BUTTON68", "BUTTON91", "BUTTON52"}, true),
             QStringList{"BUTTON91"});
}

void MainMenuTest::resetAfterAnOutlineAndCoordinates() {
    Session s;
    ModalAnswerer answers;

    // The outline form: a Japanese data name and the counts.
    s.click("MAINFORM", "BUTTON27");
    QVERIFY(s.window("FORM2"));
    QCOMPARE(s.window("FORM2")->focusWidget(), s.widget("FORM2", "DTNAME"));
    s.type("FORM2", "DTNAME", QStringLiteral("GUI例題"));
    s.type("FORM2", "EDIT1", QStringLiteral("2"));
    s.type("FORM2", "EDIT2", QStringLiteral("1"));
    s.type("FORM2", "EDIT3", QStringLiteral("1"));
    s.type("FORM2", "EDIT4", QStringLiteral("1"));
    s.click("FORM2", "BUTTON6");
    QVERIFY(!s.window("FORM2"));
    QCOMPARE(usable(s, {"BUTTON27", "BUTTON1", "BUTTON70"}, true),
             (QStringList{"BUTTON1", "BUTTON70"}));

    // The coordinate form: two nodes, then the coordinate file is written.
    s.click("MAINFORM", "BUTTON1");
    QVERIFY(s.window("FORM3"));
    s.type("FORM3", "EDIT13", QStringLiteral("0"));
    s.type("FORM3", "EDIT23", QStringLiteral("0"));
    s.type("FORM3", "EDIT14", QStringLiteral("0"));
    s.type("FORM3", "EDIT24", QStringLiteral("300"));
    s.click("FORM3", "BUTTON9");
    QVERIFY(!s.window("FORM3"));
    QVERIFY(s.files->exists("GUI例題.cdt"));
    QVERIFY(s.menu("BUTTON28")->isEnabled());

    // The older units, then a full reset cancelled: the data stay, the unit
    // factor is SI again, the radio buttons keep their look.
    s.click("MAINFORM", "RADIO66");
    QCOMPARE(s.program->program().model.UnitFactor, 1.0f);
    answers.queue(QMessageBox::Cancel);
    s.click("MAINFORM", "BUTTON70");
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen()[0].title, QStringLiteral("rahmen"));
    QCOMPARE(answers.seen()[0].text,
             QStringLiteral("メモリー中の 座標/骨組データ  解析データ を削除します"));
    QCOMPARE(plain(answers.seen()[0].buttons), (QStringList{"OK", "キャンセル"}));
    QVERIFY(s.menu("BUTTON70")->isEnabled());
    QVERIFY(s.menu("BUTTON28")->isEnabled());
    QVERIFY(s.files->exists("GUI例題.cdt"));
    QCOMPARE(s.program->program().model.UnitFactor, 98.0665f);
    QVERIFY(static_cast<QRadioButton*>(s.menu("RADIO66"))->isChecked());

    // The reset confirmed, and "No" to keeping the files: the coordinate file
    // written in this run is deleted and the menu is back at its start.
    answers.clear();
    answers.queue(QMessageBox::Ok);
    answers.queue(QMessageBox::No);
    s.click("MAINFORM", "BUTTON70");
    QCOMPARE(answers.seen().size(), 2);
    QCOMPARE(answers.seen()[1].title, QStringLiteral("Solberg"));
    QCOMPARE(answers.seen()[1].text, QStringLiteral("作成したデータファイルを保存しますか。"));
    QCOMPARE(plain(answers.seen()[1].buttons), (QStringList{"いいえ", "はい"}));
    QCOMPARE(answers.unexpected(), 0);
    QCOMPARE(answers.pending(), 0);
    QVERIFY(!s.files->exists("GUI例題.cdt"));

    QCOMPARE(usable(s, MenuButtons, true),
             (QStringList{"BUTTON27", "BUTTON84", "RADIO65", "RADIO66", "BUTTON51", "BUTTON5"}));
    QCOMPARE(s.text("BUTTON84"), QStringLiteral("グリッド作成"));
    QVERIFY(static_cast<QRadioButton*>(s.menu("RADIO65"))->isChecked());
    QVERIFY(!static_cast<QRadioButton*>(s.menu("RADIO66"))->isChecked());
    QCOMPARE(s.program->program().model.DataName, std::string());
}

namespace {

// The vertical position of the block holding an anchor, in document pixels;
// -1 when the document has no such anchor.
qreal anchorTop(QTextBrowser* browser, const QString& anchor) {
    QTextDocument* doc = browser->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(anchor))
                return doc->documentLayout()->blockBoundingRect(block).top();
    return -1;
}

} // namespace

void MainMenuTest::helpViewerOpensAtEveryKeyword() {
    Session s;
    s.click("MAINFORM", "BUTTON51");
    HelpViewer* viewer = s.dialogs->helpViewer();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->currentTopic(), QString());
    QCOMPARE(viewer->browser()->source().fileName(), QStringLiteral("index.html"));
    QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("目次")));

    // Every keyword the program's help buttons use.
    const QStringList keywords = {
        "概要入力",       "座標入力",       "部材ﾀｲﾌﾟ入力１", "部材ﾀｲﾌﾟ入力２",
        "部材入力",       "支持点入力",     "ピン・バネ入力", "表入力解析",
        "部材性能修正",   "部材設定",       "簡易入力",       "データ作図",
        "マウス骨組解析", "マウス骨組修正", "荷重ケース",     "計算書"};
    QTextBrowser* browser = viewer->browser();
    for (const QString& keyword : keywords) {
        s.dialogs->help("rahmen.hlp", keyword.toStdString());
        QCOMPARE(viewer->currentTopic(), keyword);
        QCOMPARE(browser->source().fileName(), QStringLiteral("rahmen.html"));
        const qreal top = anchorTop(browser, keyword);
        QVERIFY2(top >= 0, qPrintable(keyword));
        // The section is on screen.
        const int scrolled = browser->verticalScrollBar()->value();
        QVERIFY2(top >= scrolled && top < scrolled + browser->viewport()->height(),
                 qPrintable(keyword));
    }
    QVERIFY(browser->verticalScrollBar()->value() > 0);

    // Every link of the contents leads to a section, as a click on it does.
    viewer->showContents();
    const QString contents = browser->toHtml();
    QRegularExpression link(QStringLiteral("href=\"([^\"#]+)#([^\"]+)\""));
    int links = 0;
    for (auto it = link.globalMatch(contents); it.hasNext(); ++links) {
        const auto match = it.next();
        const QString anchor = QUrl::fromPercentEncoding(match.captured(2).toUtf8());
        viewer->showContents();
        browser->setSource(QUrl(match.captured(0).mid(6).chopped(1)));
        QCOMPARE(browser->source().fileName(), match.captured(1));
        const qreal top = anchorTop(browser, anchor);
        QVERIFY2(top >= 0, qPrintable(anchor));
        const int scrolled = browser->verticalScrollBar()->value();
        QVERIFY2(top >= scrolled && top < scrolled + browser->viewport()->height(),
                 qPrintable(anchor));
    }
    QCOMPARE(links, 19);
    // A keyword without a section: the contents, with a note.
    QVERIFY(!viewer->showTopic("rahmen.hlp", "存在しない項目"));
    QCOMPARE(browser->source().fileName(), QStringLiteral("index.html"));
    QVERIFY(viewer->findChild<QLabel*>(QStringLiteral("HelpNote"))->isVisible());
}

} // namespace rahmen::test

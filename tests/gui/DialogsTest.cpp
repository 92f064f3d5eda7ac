// The Qt dialogs behind the program's Dialogs interface.

#include "DialogsTest.h"

#include "GuiTestSupport.h"
#include "gui/QtDialogs.h"
#include "platform/Files.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>

namespace rahmen::test {

void DialogsTest::messageBoxesReturnTheButtonPressed() {
    QTemporaryDir dir;
    Files files(dir.path().toStdString());
    QtDialogs dialogs(files, QString());
    ModalAnswerer answers;

    answers.queue(QMessageBox::No);
    QCOMPARE(dialogs.message("Solberg", "作成したデータファイルを保存しますか。",
                             MessageButtons::YesNo, MessageIcon::Question),
             MessageResult::No);
    answers.queue(QMessageBox::Yes);
    QCOMPARE(dialogs.message("rahmen", "はい？", MessageButtons::YesNo, MessageIcon::Question),
             MessageResult::Yes);
    answers.queue(QMessageBox::Cancel);
    QCOMPARE(dialogs.message("rahmen", "中止", MessageButtons::OkCancel, MessageIcon::Information),
             MessageResult::Cancel);
    answers.queue(QMessageBox::Retry);
    QCOMPARE(dialogs.message("rahmen", "再試行", MessageButtons::RetryCancel, MessageIcon::Stop),
             MessageResult::Retry);
    answers.queue(QMessageBox::Ok);
    QCOMPARE(dialogs.message("rahmen", "単位系を選択してください。", MessageButtons::Ok,
                             MessageIcon::Exclamation),
             MessageResult::Ok);
    QCOMPARE(answers.seen().size(), 5);
    QCOMPARE(answers.seen()[0].title, QStringLiteral("Solberg"));
    QCOMPARE(answers.seen()[4].text, QStringLiteral("単位系を選択してください。"));
    QCOMPARE(answers.seen()[4].buttons.size(), 1);

    // A box closed without a button (Esc, the close box) answers with its
    // second button: No, Cancel.
    answers.queue(QMessageBox::NoButton); // no such button: the box is rejected
    QCOMPARE(dialogs.message("rahmen", "閉じる", MessageButtons::YesNo, MessageIcon::Question),
             MessageResult::No);
    answers.queue(QMessageBox::NoButton);
    QCOMPARE(dialogs.message("rahmen", "閉じる", MessageButtons::Ok, MessageIcon::None),
             MessageResult::Ok);
    QCOMPARE(answers.unexpected(), 2);
}

void DialogsTest::inputBoxReturnsTheTextOrNothing() {
    QTemporaryDir dir;
    Files files(dir.path().toStdString());
    QtDialogs dialogs(files, QString());
    ModalAnswerer answers;

    QString prompt;
    QString shownDefault;
    answers.queueDialog([&](QDialog* d) {
        auto* box = qobject_cast<QInputDialog*>(d);
        QVERIFY(box);
        prompt = box->labelText();
        shownDefault = box->textValue();
        box->setTextValue(QStringLiteral("修正例題"));
        d->accept();
    });
    QCOMPARE(dialogs.input("修正ﾃﾞｰﾀ名の入力(前ﾌｧｲﾙ上書→ｷｬﾝｾﾙ)", "rahmen", "旧名"),
             std::optional<std::string>("修正例題"));
    QCOMPARE(prompt, QStringLiteral("修正ﾃﾞｰﾀ名の入力(前ﾌｧｲﾙ上書→ｷｬﾝｾﾙ)"));
    QCOMPARE(shownDefault, QStringLiteral("旧名"));

    // Accepted empty is an answer; cancelled is none.
    answers.queueDialog([](QDialog* d) {
        static_cast<QInputDialog*>(d)->setTextValue(QString());
        d->accept();
    });
    QCOMPARE(dialogs.input("?", "rahmen", "x"), std::optional<std::string>(""));
    answers.queueDialog([](QDialog* d) { d->reject(); });
    QCOMPARE(dialogs.input("?", "rahmen", "x"), std::nullopt);
}

void DialogsTest::openFileDialogStartsInTheCurrentFolder() {
    QTemporaryDir dir;
    std::ofstream(dir.filePath(QStringLiteral("例題.fdt")).toStdString()) << "x";
    std::ofstream(dir.filePath(QStringLiteral("other.cdt")).toStdString()) << "x";
    Files files(dir.path().toStdString());
    QtDialogs dialogs(files, QString());
    ModalAnswerer answers;

    QString title;
    QStringList filters;
    QString folder;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    answers.queueDialog([&](QDialog* d) {
        auto* box = qobject_cast<QFileDialog*>(d);
        QVERIFY(box);
        title = box->windowTitle();
        filters = box->nameFilters();
        folder = box->directory().absolutePath();
        fileMode = box->fileMode();
        // The name is typed as a user types it: QFileDialog takes a typed
        // name whatever its folder listing (filled by a background thread)
        // holds yet, whereas selectFile() relies on that listing or on where
        // the keyboard focus is, and so raced it.
        auto* name = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(QStringLiteral("例題.fdt"));
        d->accept();
    });
    QCOMPARE(dialogs.openFile("座標/骨組データの呼出", "データ(*.fdt)", "*.fdt"),
             std::optional<std::string>("例題.fdt"));
    QCOMPARE(title, QStringLiteral("座標/骨組データの呼出"));
    QCOMPARE(filters, QStringList{QStringLiteral("データ(*.fdt) (*.fdt *.FDT)")});
    QCOMPARE(folder, QDir(dir.path()).absolutePath());
    QCOMPARE(fileMode, QFileDialog::ExistingFile);

    answers.queueDialog([](QDialog* d) { d->reject(); });
    QCOMPARE(dialogs.openFile("解析データの呼出", "データ(*.adt)", "*.adt"), std::nullopt);
    QCOMPARE(answers.unexpected(), 0);
}

void DialogsTest::chosenFilesAreNamedAsTheProgramNamesThem() {
    QCOMPARE(QtDialogs::programPath("/data/work/例題.fdt", "/data/work"), std::string("例題.fdt"));
    QCOMPARE(QtDialogs::programPath("/data/work/../work/a.cdt", "/data/work"),
             std::string("a.cdt"));
    QCOMPARE(QtDialogs::programPath("/data/other/a.cdt", "/data/work"),
             std::string("/data/other/a.cdt"));
    QCOMPARE(QtDialogs::nameFilter("データ(*.adt)", "*.adt"),
             QStringLiteral("データ(*.adt) (*.adt *.ADT)"));
    QCOMPARE(QtDialogs::nameFilter("全て", "*"), QStringLiteral("全て (*)"));
}

} // namespace rahmen::test

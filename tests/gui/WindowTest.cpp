// The window of a form: widgets built from the controls, user events passed
// to the form's entry points exactly once, nothing echoed back on refresh.

#include "WindowTest.h"

#include "GuiTestSupport.h"

#include "gui/FormWindow.h"
#include "gui/PictureWidget.h"
#include "gui/WindowManager.h"
#include "model/Form12.h"
#include "platform/Desktop.h"
#include "platform/Form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <string>
#include <vector>

namespace rahmen::test {

namespace {

// A form with one control of each kind and handlers that record what reached
// them.
class ProbeForm : public Form {
public:
    ProbeForm() : Form("PROBE", "試験フォーム", 400, 300) {
        addLabel("TEXT1", "ラベル", 10, 10, 200, 20);
        addButton("BUTTON1", "押す&離す", 10, 40, 100, 28);
        addButton("BUTTON2", "閉じる", 120, 40, 100, 28);
        addEdit("EDIT1", "", 10, 80, 150, 24);
        addEdit("EDIT2", "初期値", 170, 80, 150, 24);
        addCheck("CHECK1", "確認", 10, 110, 100, 24);
        addRadio("RADIO1", "一", 10, 140, 60, 24, "a").checked = true;
        addRadio("RADIO2", "二", 80, 140, 60, 24, "a");
        addRadio("RADIO3", "三", 150, 140, 60, 24, "b").checked = true;
        addCombo("COMBO1", 220, 140, 120, 24).items = {"Ｈ形鋼", "□鋼管", "○鋼管"};
        Control& bar = addHScroll("HSCROLL1", 10, 170, 200, 20);
        bar.scrollMin = 90; // runs backwards, as some angle bars do
        bar.scrollMax = -90;
        bar.smallStep = 5;
        addGroup("GROUP1", "枠", 5, 200, 390, 95);
        addPicture("PICTURE1", 10, 215, 120, 70);
        c("TEXT1").fontSize = 12;

        onClick("BUTTON1", [this] {
            ++clicks;
            c("TEXT1").caption = "押された";
            c("EDIT2").enabled = false;
            setFocus("EDIT1");
            picture()->filledCircle(60, 35, 10, 12);
        });
        onClick("BUTTON2", [this] { close(); });
        onChange("EDIT1", [this] {
            edits.push_back(c("EDIT1").caption);
            if (c("EDIT1").caption == "abc") c("EDIT1").caption = "ABC";
        });
        onClick("CHECK1", [this] { ++checkClicks; });
        onChange("COMBO1", [this] { chosen.push_back(c("COMBO1").selected); });
        onScroll("HSCROLL1", [this] { scrolls.push_back(c("HSCROLL1").scrollPos); });
        onMouseDown([this](MouseButton b, int x, int y) { mice.push_back({b, x, y}); });
        onKey([this](int key) { keys.push_back(key); });
    }

    struct Mouse {
        MouseButton button;
        int x;
        int y;
    };
    int clicks = 0;
    int checkClicks = 0;
    std::vector<std::string> edits;
    std::vector<int> chosen;
    std::vector<int> scrolls;
    std::vector<Mouse> mice;
    std::vector<int> keys;
};

template <typename W> W* child(QWidget* window, const char* name) {
    return window->findChild<W*>(QString::fromLatin1(name));
}

} // namespace

void WindowTest::pictureIsPaintedFromTheDisplayList() {
    Canvas canvas(100, 80);
    canvas.line(10, 10, 90, 10, 12);   // red
    canvas.filledCircle(50, 50, 6, 9); // blue
    canvas.circle(20, 50, 8, 2);       // green outline
    canvas.text(60, 6, "節点", 0, 12); // black, 16 pixels high, at (120, 60)
    canvas.text(5, 6, "No.1", 0, 9);

    const QImage image = renderCanvas(canvas);
    QCOMPARE(image.size(), QSize(100, 80));
    QCOMPARE(image.pixelColor(50, 10), QColor(0xFF, 0x00, 0x00));
    QCOMPARE(image.pixelColor(50, 50), QColor(0x00, 0x00, 0xFF));
    const QColor edge = image.pixelColor(12, 50); // left edge of the circle, smoothed
    QVERIFY(edge.green() > edge.red() + 64 && edge.red() == edge.blue());
    QCOMPARE(image.pixelColor(20, 50), QColor(0xFF, 0xFF, 0xFF)); // its inside stays white
    QCOMPARE(image.pixelColor(2, 2), QColor(0xFF, 0xFF, 0xFF));

    // The text "No.1" starts in the cell at (10, 60): some dark pixels there.
    int dark = 0;
    for (int y = 60; y < 75; ++y)
        for (int x = 10; x < 40; ++x)
            if (image.pixelColor(x, y).lightness() < 128) ++dark;
    QVERIFY(dark > 10);

    QTemporaryDir dir;
    const std::string path = (dir.path() + QStringLiteral("/図.png")).toStdString();
    QVERIFY(savePng(canvas, path));
    QImage saved(QString::fromStdString(path));
    QCOMPARE(saved.size(), QSize(100, 80));
    QCOMPARE(saved.pixelColor(50, 10), QColor(0xFF, 0x00, 0x00));
    QVERIFY(!savePng(canvas, (dir.path() + QStringLiteral("/no/such/folder/x.png")).toStdString()));
    // For print: three times finer, the red line three pixels high, the file
    // at 288 dots per inch.
    QVERIFY(savePng(canvas, path, 3));
    const QImage fine(QString::fromStdString(path));
    QCOMPARE(fine.size(), QSize(300, 240));
    for (int y : {30, 31, 32})
        QCOMPARE(fine.pixelColor(150, y), QColor(0xFF, 0x00, 0x00));
    QCOMPARE(fine.pixelColor(150, 29), QColor(0xFF, 0xFF, 0xFF));
    QCOMPARE(fine.pixelColor(150, 33), QColor(0xFF, 0xFF, 0xFF));
    QCOMPARE(qRound(fine.dotsPerMeterX() * 0.0254), 288);

    canvas.setBackground(0);
    canvas.clear();
    QCOMPARE(renderCanvas(canvas).pixelColor(50, 10), QColor(0, 0, 0));

    // Lines are smoothed: a slanting black line on white has grey pixels
    // beside its own, a level one stays one sharp pixel high.
    Canvas slant(100, 80);
    slant.line(10, 10, 90, 40, 0);
    slant.line(10, 60, 90, 60, 0);
    const QImage smooth = renderCanvas(slant);
    int grey = 0;
    for (int y = 5; y < 45; ++y)
        for (int x = 5; x < 95; ++x) {
            const int l = smooth.pixelColor(x, y).lightness();
            grey += l > 40 && l < 215;
        }
    QVERIFY(grey > 40);
    QCOMPARE(smooth.pixelColor(50, 60), QColor(0, 0, 0));
    QCOMPARE(smooth.pixelColor(50, 59), QColor(0xFF, 0xFF, 0xFF));
    QCOMPARE(smooth.pixelColor(50, 61), QColor(0xFF, 0xFF, 0xFF));
}

void WindowTest::windowShowsTheControls() {
    Desktop desktop(1024, 768);
    WindowManager windows(desktop);
    ProbeForm form;
    form.move(40, 50);
    desktop.show(form);

    FormWindow* window = windows.window("PROBE");
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("試験フォーム"));
    QCOMPARE(window->size(), QSize(400, 300));
    QCOMPARE(window->pos(), QPoint(40, 50));

    auto* button = child<QPushButton>(window, "BUTTON1");
    QVERIFY(button);
    QCOMPARE(button->geometry(), QRect(10, 40, 100, 28));
    // "&" is part of the caption, not a keyboard mnemonic.
    QCOMPARE(button->text(), QStringLiteral("押す&&離す"));
    QCOMPARE(button->font().pixelSize(), 12); // 9 points at 96 dpi
    QCOMPARE(child<QLabel>(window, "TEXT1")->font().pixelSize(), 16);
    QCOMPARE(child<QLabel>(window, "TEXT1")->text(), QStringLiteral("ラベル"));
    QCOMPARE(child<QLineEdit>(window, "EDIT2")->text(), QStringLiteral("初期値"));
    QVERIFY(child<QRadioButton>(window, "RADIO1")->isChecked());
    QVERIFY(!child<QRadioButton>(window, "RADIO2")->isChecked());
    QCOMPARE(child<QGroupBox>(window, "GROUP1")->title(), QStringLiteral("枠"));

    auto* combo = child<QComboBox>(window, "COMBO1");
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(1), QStringLiteral("□鋼管"));
    QCOMPARE(combo->currentIndex(), -1);

    auto* bar = child<QScrollBar>(window, "HSCROLL1");
    QCOMPARE(bar->orientation(), Qt::Horizontal);
    QCOMPARE(bar->minimum(), -90);
    QCOMPARE(bar->maximum(), 90);
    QVERIFY(bar->invertedAppearance());

    // The group frame lies behind the picture it frames.
    QWidget* group = child<QWidget>(window, "GROUP1");
    QWidget* picture = child<QWidget>(window, "PICTURE1");
    QVERIFY(window->children().indexOf(group) < window->children().indexOf(picture));

    // Changes made by the program appear on refresh, and are not passed back
    // to the form as user events.
    form.c("EDIT1").caption = "program";
    form.c("COMBO1").selected = 2;
    form.c("HSCROLL1").scrollPos = 45;
    form.c("CHECK1").checked = true;
    form.c("BUTTON2").visible = false;
    form.c("EDIT2").enabled = false;
    form.c("BUTTON1").caption = "再表示";
    form.setCaption("新しい題");
    windows.refreshAll();
    QCOMPARE(child<QLineEdit>(window, "EDIT1")->text(), QStringLiteral("program"));
    QCOMPARE(combo->currentText(), QStringLiteral("○鋼管"));
    QCOMPARE(bar->value(), 45);
    QVERIFY(child<QCheckBox>(window, "CHECK1")->isChecked());
    QVERIFY(child<QWidget>(window, "BUTTON2")->isHidden());
    QVERIFY(!child<QWidget>(window, "EDIT2")->isEnabled());
    QCOMPARE(button->text(), QStringLiteral("再表示"));
    QCOMPARE(window->windowTitle(), QStringLiteral("新しい題"));
    QVERIFY(form.edits.empty());
    QVERIFY(form.chosen.empty());
    QVERIFY(form.scrolls.empty());
    QCOMPARE(form.checkClicks, 0);
}

void WindowTest::userEventsReachTheFormOnce() {
    Desktop desktop(1024, 768);
    WindowManager windows(desktop);
    int afterEvents = 0;
    windows.setAfterEvent([&] { ++afterEvents; });
    ProbeForm form;
    desktop.show(form);
    FormWindow* window = windows.window(form);
    QVERIFY(window);

    // A button: the handler runs once, then the after-event step, then the
    // window shows what the handler changed, focus included.
    QTest::mouseClick(child<QPushButton>(window, "BUTTON1"), Qt::LeftButton);
    QCOMPARE(form.clicks, 1);
    QCOMPARE(afterEvents, 1);
    QCOMPARE(child<QLabel>(window, "TEXT1")->text(), QStringLiteral("押された"));
    QVERIFY(!child<QWidget>(window, "EDIT2")->isEnabled());
    QCOMPARE(window->focusWidget(), child<QWidget>(window, "EDIT1"));

    // The handler's drawing is on the screen.
    QImage shot = window->picture()->grab().toImage();
    QCOMPARE(shot.pixelColor(60, 35), QColor(0xFF, 0x00, 0x00));

    // Typing: one change per keystroke; the handler's own rewrite of the
    // text is shown but not taken for another change.
    auto* edit = child<QLineEdit>(window, "EDIT1");
    QTest::keyClicks(edit, "abc");
    QCOMPARE(form.edits, (std::vector<std::string>{"a", "ab", "abc"}));
    QCOMPARE(edit->text(), QStringLiteral("ABC"));
    QCOMPARE(form.c("EDIT1").caption, std::string("ABC"));
    typeCommitted(edit, QStringLiteral("節点"));
    QCOMPARE(form.edits.back(), std::string("ABC節点"));
    QCOMPARE(form.edits.size(), std::size_t{4});

    // The user moving the focus is remembered by the form.
    QApplication::setActiveWindow(window);
    child<QCheckBox>(window, "CHECK1")->setFocus();
    QTRY_COMPARE(form.focus(), std::string("CHECK1"));

    // Check box and radio buttons: the form decides what is checked. (They
    // take clicks on their box and caption, at the left.)
    const QPoint box(8, 12);
    QTest::mouseClick(child<QCheckBox>(window, "CHECK1"), Qt::LeftButton, {}, box);
    QCOMPARE(form.checkClicks, 1);
    QVERIFY(form.c("CHECK1").checked);
    QVERIFY(child<QCheckBox>(window, "CHECK1")->isChecked());
    QTest::mouseClick(child<QRadioButton>(window, "RADIO2"), Qt::LeftButton, {}, box);
    QVERIFY(form.c("RADIO2").checked);
    QVERIFY(!form.c("RADIO1").checked);
    QVERIFY(form.c("RADIO3").checked); // another group
    QVERIFY(!child<QRadioButton>(window, "RADIO1")->isChecked());
    QVERIFY(child<QRadioButton>(window, "RADIO3")->isChecked());
    // Clicking a checked radio button again leaves it checked.
    QTest::mouseClick(child<QRadioButton>(window, "RADIO2"), Qt::LeftButton, {}, box);
    QVERIFY(child<QRadioButton>(window, "RADIO2")->isChecked());

    // A combo box entry chosen with the keyboard.
    auto* combo = child<QComboBox>(window, "COMBO1");
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(form.chosen, std::vector<int>{0});
    QCOMPARE(form.c("COMBO1").caption, std::string("Ｈ形鋼"));
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(form.chosen, (std::vector<int>{0, 1}));

    // A scroll bar moved one step.
    auto* bar = child<QScrollBar>(window, "HSCROLL1");
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(form.scrolls, std::vector<int>{5});
    QCOMPARE(form.c("HSCROLL1").scrollPos, 5);

    // Mouse on the picture, in picture pixels; a click elsewhere on a form
    // with a picture is not a picture click.
    QTest::mouseClick(window->picture(), Qt::RightButton, {}, QPoint(12, 34));
    QCOMPARE(form.mice.size(), std::size_t{1});
    QCOMPARE(form.mice[0].button, MouseButton::Right);
    QCOMPARE(form.mice[0].x, 12);
    QCOMPARE(form.mice[0].y, 34);
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(390, 5));
    QCOMPARE(form.mice.size(), std::size_t{1});

    // A key pressed on the picture reaches the form as its key code.
    QTest::keyClick(window->picture(), Qt::Key_Return);
    QTest::keyClick(window->picture(), Qt::Key_Q);
    QCOMPARE(form.keys, (std::vector<int>{13, 'Q'}));

    QCOMPARE(afterEvents, 1 + 3 + 1 + 1 + 2 + 2 + 1 + 1 + 2);
}

void WindowTest::closingFromTheFormsOwnButton() {
    Desktop desktop(1024, 768);
    WindowManager windows(desktop);
    ProbeForm form;
    desktop.show(form);
    QPointer<FormWindow> window = windows.window(form);
    QVERIFY(window);

    QTest::mouseClick(child<QPushButton>(window, "BUTTON2"), Qt::LeftButton);
    QVERIFY(!form.isOpen());
    QVERIFY(!windows.window("PROBE"));
    QVERIFY(window.isNull() || !window->isVisible());
    QTRY_VERIFY(window.isNull()); // deleted once the event has been handled

    // Shown again, the form gets a new window.
    desktop.show(form);
    QVERIFY(windows.window(form));
    QVERIFY(windows.window(form)->isVisible());
}

void WindowTest::closeBoxGoesToTheChosenControl() {
    Desktop desktop(1024, 768);
    WindowManager windows(desktop);
    ProbeForm form;
    desktop.show(form);
    FormWindow* window = windows.window(form);

    // Without a chosen control the close box leaves the form open.
    QVERIFY(!window->close());
    QVERIFY(form.isOpen());
    QVERIFY(window->isVisible());

    windows.setCloseControl("PROBE", "BUTTON1");
    window->close();
    QCOMPARE(form.clicks, 1);
    QVERIFY(form.isOpen());
}

void WindowTest::progressWindowPaintsDuringALongEvent() {
    Desktop desktop(1024, 768);
    WindowManager windows(desktop);
    Form12 progress(desktop);

    // A form whose button runs a long operation that reports its steps.
    class Worker : public Form {
    public:
        explicit Worker(Form12& progress) : Form("WORKER", "作業", 200, 100) {
            addButton("BUTTON1", "開始", 10, 10, 100, 30);
            onClick("BUTTON1", [this, &progress] {
                // A timer due at once runs only if events are processed
                // while the operation goes on.
                bool timerRan = false;
                QObject scope;
                QTimer::singleShot(0, &scope, [&] { timerRan = true; });
                progress.begin(3);
                QThread::msleep(50);
                progress.step("解析中");
                stepShown = widgetText("EDIT151");
                QThread::msleep(50);
                progress.print("*****");
                eventsProcessed = timerRan;
                progress.finish();
            });
        }
        std::function<QString(const char*)> widgetText;
        QString stepShown;
        bool eventsProcessed = false;
    } worker(progress);
    worker.widgetText = [&](const char* name) {
        FormWindow* w = windows.window("FORM12");
        return w ? child<QLineEdit>(w, name)->text() : QString();
    };
    desktop.show(worker);

    QTest::mouseClick(child<QPushButton>(windows.window(worker), "BUTTON1"), Qt::LeftButton);
    QCOMPARE(worker.stepShown, QStringLiteral("解析中"));
    QVERIFY(worker.eventsProcessed);
    FormWindow* w = windows.window("FORM12");
    QVERIFY(w && w->isVisible());
    QVERIFY(child<QWidget>(w, "BUTTON64")->isEnabled());
    QCOMPARE(child<QWidget>(w, "EDIT151")->font().pixelSize(), 16); // 9 + 3 points

    QTest::mouseClick(child<QPushButton>(w, "BUTTON64"), Qt::LeftButton);
    QVERIFY(!progress.isOpen());
    QVERIFY(!windows.window("FORM12"));
}

void WindowTest::keyCodesFollowTheVirtualKeys() {
    QCOMPARE(FormWindow::keyCode(Qt::Key_A, QStringLiteral("a")), 65);
    QCOMPARE(FormWindow::keyCode(Qt::Key_7, QStringLiteral("7")), 55);
    QCOMPARE(FormWindow::keyCode(Qt::Key_Enter, QString()), 13);
    QCOMPARE(FormWindow::keyCode(Qt::Key_Escape, QString()), 27);
    QCOMPARE(FormWindow::keyCode(Qt::Key_Space, QStringLiteral(" ")), 32);
    QCOMPARE(FormWindow::keyCode(Qt::Key_Left, QString()), 37);
    QCOMPARE(FormWindow::keyCode(Qt::Key_Down, QString()), 40);
    QCOMPARE(FormWindow::keyCode(Qt::Key_F1, QString()), 112);
    QCOMPARE(FormWindow::keyCode(Qt::Key_Plus, QStringLiteral("+")), 43);
    QCOMPARE(FormWindow::keyCode(Qt::Key_unknown, QStringLiteral("あ")), 0);
}

} // namespace rahmen::test

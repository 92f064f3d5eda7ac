// The pictures of the input forms: which forms a list chooses, each form
// opened and filled over the sample frame as its picture shows it, and the
// layout of every window as the screen shows it, in the states of the
// pictures and in those whose texts differ (each editing operation, the
// progress window after an analysis): every caption, status line and list
// entry fits its control and no two controls lie on each other, in SI and in
// the older units (whose captions differ), at the start-up and the design font.

#include "FormPicturesTest.h"

#include "ProgramSession.h"
#include "analysis/ana.h"
#include "gui/FormPictures.h"
#include "gui/PictureWidget.h"
#include "model/Form12.h"
#include "model/Program.h"
#include "platform/Form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>

#include <algorithm>
#include <string>
#include <vector>

namespace rahmen::test {

namespace {

QStringList ids(const std::vector<FormPicture>& pictures) {
    QStringList list;
    for (const FormPicture& p : pictures)
        list << QString::fromStdString(p.id);
    return list;
}

QString editText(const ProgramSession& s, const char* form, const char* control) {
    auto* edit = qobject_cast<QLineEdit*>(s.widget(form, control));
    return edit ? edit->text() : QStringLiteral("<no edit>");
}

bool checked(const ProgramSession& s, const char* form, const char* control) {
    auto* button = qobject_cast<QAbstractButton*>(s.widget(form, control));
    return button && button->isChecked();
}

// Where a widget draws: a label its text, a check box or radio button its box
// and caption; anything else its whole rectangle.
QRect inkRect(QWidget* w) {
    const QRect g = w->geometry();
    const QFontMetrics fm = w->fontMetrics();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty()) return {};
        if (label->wordWrap()) return g;
        const int h = fm.height();
        return QRect(g.x(), g.y() + (g.height() - h) / 2, fm.horizontalAdvance(label->text()), h);
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
        return QRect(g.topLeft(), QSize(std::min(w->sizeHint().width(), g.width()), g.height()));
    return g;
}

// The title of a group frame, in the coordinates of its window.
QRect groupTitleRect(QGroupBox* group) {
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.textAlignment = Qt::AlignLeft;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect r = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                   QStyle::SC_GroupBoxLabel, group);
    return r.translated(group->pos());
}

// What is wrong with the caption of a widget: cut off, or running out of
// its window; empty when it fits.
QString captionFault(QWidget* w) {
    const QFontMetrics fm = w->fontMetrics();
    const QString name = w->objectName();
    auto tooNarrow = [&](const QString& text, int need) {
        return QStringLiteral("%1 \"%2\" needs %3 px, has %4")
            .arg(name, text)
            .arg(need)
            .arg(w->width());
    };
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->wordWrap()) {
            const int need = label->heightForWidth(label->width());
            if (need > label->height())
                return QStringLiteral("%1 \"%2\" needs %3 px of height, has %4")
                    .arg(name, label->text())
                    .arg(need)
                    .arg(label->height());
            return {};
        }
        const int need = fm.horizontalAdvance(label->text());
        return need > label->width() ? tooNarrow(label->text(), need) : QString();
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        const int need = fm.horizontalAdvance(button->text()) + 8;
        return need > button->width() ? tooNarrow(button->text(), need) : QString();
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        const int need = w->sizeHint().width();
        return need > w->width() ? tooNarrow(static_cast<QAbstractButton*>(w)->text(), need)
                                 : QString();
    }
    if (auto* group = qobject_cast<QGroupBox*>(w)) {
        const QRect title = groupTitleRect(group);
        const int need = title.right() - group->x() + 1;
        return need > group->width() ? tooNarrow(group->title(), need) : QString();
    }
    if (auto* box = qobject_cast<QComboBox*>(w)) {
        // Every entry whole in the list that drops down (which may be wider
        // than the box).
        const int popup = std::max(box->width(), box->view()->minimumWidth()) - 8;
        for (int i = 0; i < box->count(); ++i) {
            const int need = fm.horizontalAdvance(box->itemText(i));
            const int room = popup;
            if (need > room)
                return QStringLiteral("%1 entry \"%2\" needs %3 px, has %4")
                    .arg(name, box->itemText(i))
                    .arg(need)
                    .arg(room);
        }
        return {};
    }
    if (auto* list = qobject_cast<QListWidget*>(w)) {
        for (int i = 0; i < list->count(); ++i) {
            const int need = fm.horizontalAdvance(list->item(i)->text()) + 4;
            if (need > list->viewport()->width())
                return QStringLiteral("%1 entry \"%2\" needs %3 px, has %4")
                    .arg(name, list->item(i)->text())
                    .arg(need)
                    .arg(list->viewport()->width());
        }
        return {};
    }
    return {};
}

// A control of one line that is lower than its font's line.
QString heightFault(QWidget* w) {
    const bool oneLine = qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w) ||
                         qobject_cast<QRadioButton*>(w) ||
                         (qobject_cast<QLabel*>(w) && !static_cast<QLabel*>(w)->wordWrap() &&
                          !static_cast<QLabel*>(w)->text().isEmpty());
    const int need = w->fontMetrics().height();
    if (!oneLine || need <= w->height()) return {};
    return QStringLiteral("%1 needs %2 px of height, has %3")
        .arg(w->objectName())
        .arg(need)
        .arg(w->height());
}

// Every fault of the layout of a window: captions cut off, controls out of
// the window, controls (or a control and a frame's title) on each other.
QStringList layoutFaults(FormWindow* window) {
    QStringList faults;
    QList<QWidget*> shown;
    for (QWidget* w : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (w->isVisibleTo(window) && !w->objectName().isEmpty()) shown << w;
    for (QWidget* w : shown) {
        if (!window->rect().contains(w->geometry()))
            faults << QStringLiteral("%1 lies outside the window").arg(w->objectName());
        for (const QString& fault : {captionFault(w), heightFault(w)})
            if (!fault.isEmpty()) faults << fault;
    }
    for (int i = 0; i < shown.size(); ++i) {
        auto* groupI = qobject_cast<QGroupBox*>(shown[i]);
        for (int j = i + 1; j < shown.size(); ++j) {
            auto* groupJ = qobject_cast<QGroupBox*>(shown[j]);
            QRect a = inkRect(shown[i]);
            QRect b = inkRect(shown[j]);
            // A frame may hold controls, but not under its title; a picture
            // lies under the controls drawn over it.
            if (groupI && groupJ) continue;
            if (shown[i] == window->picture() || shown[j] == window->picture()) continue;
            if (groupI) a = groupTitleRect(groupI);
            if (groupJ) b = groupTitleRect(groupJ);
            if (a.intersects(b))
                faults << QStringLiteral("%1 and %2 overlap")
                              .arg(shown[i]->objectName(), shown[j]->objectName());
        }
    }
    return faults;
}

// A window in one of its states: a picture's form as it shows it (or the
// main menu), then the controls clicked in order.
struct WindowState {
    const char* id;
    const char* picture; // a picture's id, "MAINFORM" or "FORM12"
    std::vector<const char*> clicks;
};

// The states whose captions, status lines and lists differ from those of the
// pictures: every operation of the editing window, its section lists, the
// mouse analysis' uniform load, the progress window after an analysis.
const std::vector<WindowState>& extraStates() {
    static const std::vector<WindowState> states = {
        {"MAINFORM", "MAINFORM", {}},
        {"FORM12 after an analysis", "FORM12", {}},
        {"FORM8 delete", "FORM8", {"RADIO47", "RADIO53"}},
        {"FORM8 add member", "FORM8", {"RADIO48"}},
        {"FORM8 add member and node", "FORM8", {"RADIO55"}},
        {"FORM8 move plane", "FORM8", {"RADIO49"}},
        {"FORM8 move line", "FORM8", {"RADIO50"}},
        {"FORM8 move node", "FORM8", {"RADIO56"}},
        {"FORM8 split", "FORM8", {"RADIO51"}},
        {"FORM8 supports", "FORM8", {"RADIO60"}},
        {"FORM8 springs", "FORM8", {"RADIO61", "RADIO64"}},
        {"FORM8 plane", "FORM8", {"RADIO62", "RADIO54"}},
        {"FORM8 H sections", "FORM8", {"RADIO64", "RADIO53"}},
        {"FORM13 uniform load", "FORM13-1", {"BUTTON86", "CHECK15"}},
    };
    return states;
}

Form* openState(Program& p, const WindowState& state, std::string& error) {
    const std::string picture = state.picture;
    Form* form = nullptr;
    if (picture == "MAINFORM") {
        form = p.io.desktop.find("MAINFORM");
    } else if (picture == "FORM12") {
        // The sample frame analysed with its file written: every step of the
        // analysis and of the file has been shown.
        p.model.DataName = "fit";
        p.model.NodeLoadFlag[4] = 1;
        p.model.NodeLoad[19] = 10;
        p.model.LoadedNodeCount = 1;
        if (!ANALYSIS_ON(p)) {
            error = "the analysis failed";
            return nullptr;
        }
        form = &p.progress;
    } else {
        std::vector<FormPicture> all = formPictures();
        all.insert(all.end(), plotWindowPictures().begin(), plotWindowPictures().end());
        const auto it = std::find_if(all.begin(), all.end(),
                                     [&](const FormPicture& f) { return f.id == picture; });
        if (it == all.end()) {
            error = picture + ": no such picture";
            return nullptr;
        }
        form = openFormPicture(p, *it, error);
    }
    if (!form) return nullptr;
    for (const char* control : state.clicks) {
        if (!form->click(control)) {
            error = std::string("cannot click ") + control;
            return nullptr;
        }
    }
    return form;
}

} // namespace

void FormPicturesTest::picturesAreChosenByFormOrId() {
    std::vector<std::string> unknown;
    QCOMPARE(ids(chooseFormPictures(" form7 ,FORM2,,FORM4-16, FORM99", unknown)),
             (QStringList{"FORM2", "FORM4-16", "FORM7-1", "FORM7-2", "FORM7-3", "FORM7-4"}));
    QCOMPARE(unknown, std::vector<std::string>{"FORM99"});

    unknown.clear();
    QCOMPARE(
        ids(chooseFormPictures("FORM2,FORM3,FORM4,FORM16,FORM5,FORM7,FORM6,FORM9,FORM10", unknown)),
        (QStringList{"FORM2", "FORM3", "FORM4", "FORM4-RECT", "FORM4-16", "FORM16", "FORM5",
                     "FORM7-1", "FORM7-2", "FORM7-3", "FORM7-4", "FORM6", "FORM9", "FORM10"}));
    QVERIFY(unknown.empty());
    QVERIFY(chooseFormPictures("", unknown).empty());

    QStringList files;
    for (const FormPicture& p : formPictures())
        files << QString::fromStdString(p.file);
    QCOMPARE(files,
             (QStringList{"form2.png", "form3.png", "form4.png", "form4-rect.png", "form4-16.png",
                          "form16.png", "form5.png", "form7-1.png", "form7-2.png", "form7-3.png",
                          "form7-4.png", "form6.png", "form8.png", "form11.png", "form9.png",
                          "form10.png", "form15.png", "form18.png"}));
}

void FormPicturesTest::everyPictureShowsItsFormFilledIn() {
    ProgramSession s;
    prepareSampleFrame(s.program->program());
    const Model& m = s.program->program().model;
    QCOMPARE(m.NodeCount, 6);
    QCOMPARE(m.MemberCount, 6);
    QCOMPARE(m.PinnedEndCount, 1);
    QCOMPARE(m.SprungEndCount, 1);
    QCOMPARE(m.MemberEndPinned[5], 1);
    QCOMPARE(m.MemberStartSprung[3], 1);

    for (const FormPicture& picture : formPictures()) {
        std::string error;
        Form* form = openFormPicture(s.program->program(), picture, error);
        QVERIFY2(form, error.c_str());
        QCOMPARE(form->name(), picture.form);
        s.windows->refreshAll();
        FormWindow* w = s.windows->window(*form);
        QVERIFY(w && w->isVisible());
        // Only the pictured form is open over the menu.
        QCOMPARE(s.windows->windows().size(), std::size_t(2));

        const QString id = QString::fromStdString(picture.id);
        const char* name = picture.form.c_str();
        if (id == "FORM2") QCOMPARE(editText(s, name, "DTNAME"), QStringLiteral("例題"));
        if (id == "FORM3") {
            QCOMPARE(editText(s, name, "EDIT27"), QStringLiteral("700"));
            QVERIFY(!s.widget(name, "BUTTON9")->isEnabled()); // six nodes: two pages
        }
        if (id == "FORM4") QCOMPARE(editText(s, name, "EDIT49"), QStringLiteral("370786"));
        if (id == "FORM4-RECT") {
            QVERIFY(checked(s, name, "CHECK14"));
            QVERIFY(!s.widget(name, "EDIT43")->isEnabled());
        }
        if (id == "FORM4-16") {
            QCOMPARE(editText(s, name, "EDIT28"), QStringLiteral("3"));
            QVERIFY(!s.widget(name, "CHECK14")->isEnabled());
        }
        if (id == "FORM16") {
            QCOMPARE(static_cast<QComboBox*>(s.widget(name, "COMBO1"))->currentIndex(), 6);
            QVERIFY(checked(s, name, "RADIO14"));
        }
        if (id == "FORM5") QCOMPARE(editText(s, name, "EDIT94"), QStringLiteral("4"));
        if (id == "FORM7-1" || id == "FORM7-3") {
            QVERIFY(checked(s, name, "CHECK6")); // the stored pin of member 5
            QVERIFY(!checked(s, name, "CHECK4"));
            QCOMPARE(w->windowTitle(), QStringLiteral("ピン・バネ入力　部材 5"));
            QCOMPARE(s.widget(name, "BUTTON44")->isEnabled(), id == "FORM7-1");
        }
        if (id == "FORM7-2" || id == "FORM7-4") {
            QCOMPARE(editText(s, name, "EDIT88"), QStringLiteral("1.5"));
            QCOMPARE(w->windowTitle(), QStringLiteral("ピン・バネ入力　部材 3"));
        }
        if (id == "FORM6") QCOMPARE(editText(s, name, "EDIT69"), QStringLiteral("2"));
        if (id == "FORM9") QVERIFY(s.widget(name, "BUTTON37")->isEnabled());
        if (id == "FORM10") {
            QVERIFY(checked(s, name, "RADIO45"));
            QCOMPARE(editText(s, name, "EDIT119"), QStringLiteral("-20"));
        }
        form->close();
        s.windows->refreshAll();
        QCOMPARE(s.windows->windows().size(), std::size_t(1));
    }
    // The pictures leave the model's frame as it was prepared.
    QCOMPARE(m.NodeCount, 6);
    QCOMPARE(m.MemberCount, 6);
    QCOMPARE(m.SupportCount, 2);
    QCOMPARE(m.CoordFileState, 0);
    QCOMPARE(m.FrameFileState, 0);
}

void FormPicturesTest::captionsFitAndControlsDoNotOverlap_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("state"); // into extraStates(), or -1: a picture
    QTest::addColumn<bool>("older");
    QTest::addColumn<bool>("startUpFont");
    auto rows = [](const QByteArray& id, int state) {
        const QString name = QString::fromLatin1(id);
        QTest::newRow(id + " SI") << name << state << false << true;
        QTest::newRow(id + " older units") << name << state << true << true;
        QTest::newRow(id + " design font") << name << state << false << false;
    };
    for (const FormPicture& p : formPictures())
        rows(QByteArray::fromStdString(p.id), -1);
    for (const FormPicture& p : plotWindowPictures())
        rows(QByteArray::fromStdString(p.id), -1);
    for (int i = 0; i < static_cast<int>(extraStates().size()); ++i)
        rows(QByteArray(extraStates()[static_cast<std::size_t>(i)].id), i);
}

// Every caption, status line and list entry of every window is readable
// whole, in both unit systems, at the font the program starts with and at
// the forms' design font.
void FormPicturesTest::captionsFitAndControlsDoNotOverlap() {
    QFETCH(QString, id);
    QFETCH(int, state);
    QFETCH(bool, older);
    QFETCH(bool, startUpFont);
    ProgramSession s;
    // Whatever the windows ask (loads from a report?) is answered No.
    ModalAnswerer answers;
    Program& p = s.program->program();
    prepareSampleFrame(p);
    if (older) p.model.UnitFactor = 1.0f;
    if (!startUpFont) p.FontOffset = 0;
    // The plotting window's later pictures show the results of the analysis
    // its second picture runs.
    if (id == "FORM13-0" || id == "FORM13-3") {
        std::string error;
        Form* analysed = openFormPicture(p, plotWindowPictures()[1], error);
        QVERIFY2(analysed, error.c_str());
        analysed->close();
    }
    const std::string picture = id.toStdString();
    std::string error;
    Form* form = openState(p,
                           state >= 0 ? extraStates()[static_cast<std::size_t>(state)]
                                      : WindowState{"", picture.c_str(), {}},
                           error);
    QVERIFY2(form, error.c_str());
    s.windows->refreshAll();
    const QStringList faults = layoutFaults(s.windows->window(*form));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
}

} // namespace rahmen::test

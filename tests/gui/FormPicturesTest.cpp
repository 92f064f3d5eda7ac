// The pictures of the input forms: which forms a list chooses, each form
// opened and filled over the sample frame as its picture shows it, and the
// layout of every form as the screen shows it: every caption fits its control
// and no two controls lie on each other, in SI and in the older units (whose
// captions differ).

#include "FormPicturesTest.h"

#include "ProgramSession.h"
#include "gui/FormPictures.h"
#include "model/Program.h"
#include "platform/Form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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
    return {};
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
        const QString caption = captionFault(w);
        if (!caption.isEmpty()) faults << caption;
    }
    for (int i = 0; i < shown.size(); ++i) {
        auto* groupI = qobject_cast<QGroupBox*>(shown[i]);
        for (int j = i + 1; j < shown.size(); ++j) {
            auto* groupJ = qobject_cast<QGroupBox*>(shown[j]);
            QRect a = inkRect(shown[i]);
            QRect b = inkRect(shown[j]);
            // A frame may hold controls, but not under its title.
            if (groupI && groupJ) continue;
            if (groupI) a = groupTitleRect(groupI);
            if (groupJ) b = groupTitleRect(groupJ);
            if (a.intersects(b))
                faults << QStringLiteral("%1 and %2 overlap")
                              .arg(shown[i]->objectName(), shown[j]->objectName());
        }
    }
    return faults;
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
                          "form10.png", "form15.png"}));
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
    QTest::addColumn<bool>("older");
    for (const FormPicture& p : formPictures()) {
        const QByteArray id = QByteArray::fromStdString(p.id);
        QTest::newRow(id + " SI") << QString::fromLatin1(id) << false;
        QTest::newRow(id + " older units") << QString::fromLatin1(id) << true;
    }
}

void FormPicturesTest::captionsFitAndControlsDoNotOverlap() {
    QFETCH(QString, id);
    QFETCH(bool, older);
    ProgramSession s;
    Program& p = s.program->program();
    prepareSampleFrame(p);
    if (older) p.model.UnitFactor = 1.0f;
    const auto& all = formPictures();
    const auto picture = std::find_if(
        all.begin(), all.end(), [&](const FormPicture& f) { return f.id == id.toStdString(); });
    QVERIFY(picture != all.end());
    std::string error;
    Form* form = openFormPicture(p, *picture, error);
    QVERIFY2(form, error.c_str());
    s.windows->refreshAll();
    const QStringList faults = layoutFaults(s.windows->window(*form));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
}

} // namespace rahmen::test

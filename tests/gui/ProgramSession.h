#pragma once
// The whole program on the offscreen screen, in a fresh temporary folder,
// with helpers that act on its windows as a person does: click a widget,
// type into an edit (Japanese through an input method event).

#include "GuiTestSupport.h"
#include "gui/FormWindow.h"
#include "gui/HelpViewer.h"
#include "gui/QtDialogs.h"
#include "gui/WindowManager.h"
#include "main/rahmen.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Files.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <memory>

namespace rahmen::test {

struct ProgramSession {
    // `filesBefore` are put into the folder before the program starts.
    explicit ProgramSession(const QStringList& filesBefore = {}) {
        for (const QString& name : filesBefore)
            std::ofstream(folder.filePath(name).toStdString()) << "data\r\n";
        files = std::make_unique<Files>(folder.path().toStdString());
        dialogs = std::make_unique<QtDialogs>(*files, findHelpFolder());
        windows = std::make_unique<WindowManager>(desktop);
        program = std::make_unique<Rahmen>(Services{*dialogs, *files, clock, desktop});
        windows->setAfterEvent([this] { program->afterEvent(); });
        program->start();
        windows->refreshAll();
    }
    ~ProgramSession() {
        // The program's forms go before the windows that show them.
        program.reset();
        windows.reset();
    }
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    FormWindow* window(const char* form) const { return windows->window(form); }
    QWidget* widget(const char* form, const char* control) const {
        FormWindow* w = window(form);
        return w ? w->widget(control) : nullptr;
    }
    QWidget* menu(const char* control) const { return widget("MAINFORM", control); }
    QString text(const char* control) const {
        return static_cast<QAbstractButton*>(menu(control))->text();
    }
    // A mouse click on the control's widget, as a person clicks it: on the
    // box of a check box or radio button (which take clicks on their box and
    // caption only), in the middle of anything else.
    void click(const char* form, const char* control) const {
        QWidget* w = widget(form, control);
        QVERIFY2(w, control);
        QVERIFY2(w->isVisible() && w->isEnabled(), control);
        const bool boxed = qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w);
        QTest::mouseClick(w, Qt::LeftButton, {},
                          boxed ? QPoint(8, w->height() / 2) : w->rect().center());
    }
    // Replaces the text of an edit as typed: the old text selected, the new
    // one committed by the input method (which also carries Japanese).
    void type(const char* form, const char* control, const QString& text) const {
        auto* edit = qobject_cast<QLineEdit*>(widget(form, control));
        QVERIFY2(edit, control);
        QVERIFY2(edit->isVisible() && edit->isEnabled(), control);
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        typeCommitted(edit, text);
    }

    QTemporaryDir folder;
    FixedClock clock{DateTime{2026, 12, 8, 10, 20, 30}};
    Desktop desktop{1024, 768};
    std::unique_ptr<Files> files;
    std::unique_ptr<QtDialogs> dialogs;
    std::unique_ptr<WindowManager> windows;
    std::unique_ptr<Rahmen> program;
};

} // namespace rahmen::test

#pragma once
// Helpers of the GUI tests: answering modal message boxes from a timer, and
// typing Japanese into an edit (QTest::keyClicks takes ASCII only).

#include <QApplication>
#include <QInputMethodEvent>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace rahmen::test {

// Watches for modal dialogs while a test runs. A message box is answered with
// the next queued button, another dialog by the next queued handler; a dialog
// nobody expected is rejected and counted, so that a test never hangs on it.
class ModalAnswerer : public QObject {
public:
    struct Seen {
        QString title;
        QString text;
        QStringList buttons; // the texts of the buttons, left to right
    };

    ModalAnswerer() {
        connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
        timer_.start(10);
    }

    void queue(QMessageBox::StandardButton answer) { answers_.append(answer); }
    // The next modal dialog that is not a message box is handed to this.
    void queueDialog(std::function<void(QDialog*)> handle) { dialogs_.append(std::move(handle)); }
    const QList<Seen>& seen() const { return seen_; }
    int unexpected() const { return unexpected_; }
    int pending() const { return static_cast<int>(answers_.size() + dialogs_.size()); }
    void clear() {
        seen_.clear();
        unexpected_ = 0;
    }

private:
    void poll() {
        // A handler may wait in a nested event loop (for a dialog to fill
        // itself); the dialog it holds is not answered again meanwhile.
        if (busy_) return;
        struct Busy {
            bool& flag;
            explicit Busy(bool& f) : flag(f) { flag = true; }
            ~Busy() { flag = false; }
        } busy(busy_);
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            auto* dialog = qobject_cast<QDialog*>(modal);
            if (!dialog) return;
            if (dialogs_.isEmpty()) {
                ++unexpected_;
                dialog->reject();
                return;
            }
            dialogs_.takeFirst()(dialog);
            return;
        }
        Seen seen{box->windowTitle(), box->text(), {}};
        QList<QAbstractButton*> buttons = box->buttons();
        std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
            return a->mapToGlobal(QPoint(0, 0)).x() < b->mapToGlobal(QPoint(0, 0)).x();
        });
        for (QAbstractButton* b : buttons)
            seen.buttons << b->text();
        seen_.append(seen);
        QAbstractButton* answer = answers_.isEmpty() ? nullptr : box->button(answers_.first());
        if (!answer) {
            ++unexpected_;
            box->reject();
            return;
        }
        answers_.removeFirst();
        answer->click();
    }

    QTimer timer_;
    QList<QMessageBox::StandardButton> answers_;
    QList<std::function<void(QDialog*)>> dialogs_;
    QList<Seen> seen_;
    int unexpected_ = 0;
    bool busy_ = false;
};

// Commits a text to a widget as an input method does.
inline void typeCommitted(QWidget* widget, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

} // namespace rahmen::test

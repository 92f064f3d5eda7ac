#include "gui/QtDialogs.h"

#include "gui/HelpViewer.h"
#include "gui/TextBreaks.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace rahmen {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// The widest line of a message box's text, in pixels: Qt's limit for the
// box less its icon and margins.
constexpr int MessageLineWidth = 380;

QMessageBox::Icon toIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSet {
    QMessageBox::StandardButton first;
    QMessageBox::StandardButton second; // NoButton for a single button
};

ButtonSet toButtons(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return {QMessageBox::Ok, QMessageBox::NoButton};
    case MessageButtons::OkCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case MessageButtons::YesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    case MessageButtons::RetryCancel:
        return {QMessageBox::Retry, QMessageBox::Cancel};
    }
    return {QMessageBox::Ok, QMessageBox::NoButton};
}

MessageResult toResult(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Ok:
        return MessageResult::Ok;
    case QMessageBox::Cancel:
        return MessageResult::Cancel;
    case QMessageBox::Yes:
        return MessageResult::Yes;
    case QMessageBox::No:
        return MessageResult::No;
    case QMessageBox::Retry:
        return MessageResult::Retry;
    default:
        return MessageResult::Cancel;
    }
}

} // namespace

namespace {

// A message over a window raises that window with it, above the windows the
// window manager keeps over it (the progress window, a child window of the
// window it reports on): they are put back on top once the message is gone.
void raiseWindowsKeptAbove() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isWindow() && w->parentWidget()) w->raise();
}

} // namespace

QtDialogs::QtDialogs(const Files& files, QString helpFolder)
    : files_(files), helpFolder_(std::move(helpFolder)) {}

QtDialogs::~QtDialogs() = default;

MessageResult QtDialogs::message(const std::string& title, const std::string& text,
                                 MessageButtons buttons, MessageIcon icon) {
    const ButtonSet set = toButtons(buttons);
    QMessageBox box(toIcon(icon), qs(title), QString(), QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    // Qt makes a box at most about 500 pixels wide and wraps a longer line
    // between any two Japanese characters; lines broken where a reader
    // would and no longer than that keep the box from wrapping at all.
    box.setText(breakForReading(qs(text), box.fontMetrics(), MessageLineWidth));
    box.setWindowModality(Qt::ApplicationModal);
    QPushButton* first = box.addButton(set.first);
    box.setDefaultButton(first);
    if (set.second != QMessageBox::NoButton) {
        // Esc and the close box answer with the second button (No, Cancel).
        box.setEscapeButton(box.addButton(set.second));
    } else {
        box.setEscapeButton(first);
    }
    box.exec();
    raiseWindowsKeptAbove();
    const auto pressed = box.standardButton(box.clickedButton());
    if (pressed == QMessageBox::NoButton)
        return toResult(set.second != QMessageBox::NoButton ? set.second : set.first);
    return toResult(pressed);
}

std::optional<std::string> QtDialogs::input(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("InputBox"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setWindowTitle(qs(title));
    dialog.setLabelText(qs(prompt));
    dialog.setTextValue(qs(defaultText));
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toStdString();
}

QString QtDialogs::nameFilter(const std::string& filterLabel, const std::string& pattern) {
    const QString p = qs(pattern);
    QString patterns = p.toLower();
    if (p.toUpper() != patterns) patterns += QLatin1Char(' ') + p.toUpper();
    return qs(filterLabel) + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

std::string QtDialogs::programPath(const QString& chosen, const QString& folder) {
    const QFileInfo file(chosen);
    if (QDir(file.absolutePath()) == QDir(folder)) return file.fileName().toStdString();
    return file.absoluteFilePath().toStdString();
}

std::optional<std::string> QtDialogs::openFile(const std::string& title,
                                               const std::string& filterLabel,
                                               const std::string& pattern) {
    const QString folder = QString::fromStdString(files_.folder().string());
    QFileDialog dialog(QApplication::activeWindow(), qs(title), folder,
                       nameFilter(filterLabel, pattern));
    dialog.setObjectName(QStringLiteral("OpenFileDialog"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog behaves the same on every desktop (and under Xvfb).
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return programPath(dialog.selectedFiles().first(), folder);
}

std::optional<std::string> QtDialogs::saveFile(const std::string& title,
                                               const std::string& filterLabel,
                                               const std::string& defaultName) {
    const QString folder = QString::fromStdString(files_.folder().string());
    // The label names its patterns itself ("図(*.png *.svg)"); each pattern
    // is also offered on its own, so the chosen filter gives the extension.
    QStringList filters{qs(filterLabel)};
    const QString label = qs(filterLabel);
    const int open = label.indexOf('('), close = label.lastIndexOf(')');
    QStringList patterns;
    if (open >= 0 && close > open)
        patterns = label.mid(open + 1, close - open - 1).split(' ', Qt::SkipEmptyParts);
    for (const QString& pattern : patterns)
        filters << pattern.mid(2).toUpper() + " (" + pattern + ")";
    // No parent: the active window may be one whose form has just closed
    // (the progress window after an analysis), and its deletion during the
    // dialog's event loop would take this dialog with it.
    QFileDialog dialog(nullptr, qs(title), folder, filters.join(";;"));
    dialog.setObjectName(QStringLiteral("SaveFileDialog"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.selectFile(qs(defaultName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    QString chosen = dialog.selectedFiles().first();
    // A name without an extension takes that of the filter chosen.
    if (QFileInfo(chosen).suffix().isEmpty()) {
        const QString filter = dialog.selectedNameFilter();
        const int star = filter.indexOf("*.");
        if (star >= 0) {
            const QString ext = filter.mid(star + 1).section(QRegularExpression("[ )]"), 0, 0);
            chosen += ext;
        }
    }
    return programPath(chosen, folder);
}

void QtDialogs::help(const std::string& file, const std::string& keyword) {
    if (!viewer_) viewer_ = std::make_unique<HelpViewer>(helpFolder_);
    viewer_->showTopic(file, keyword);
}

} // namespace rahmen

#pragma once
// The program's dialogs as real modal Qt dialogs: message boxes, input
// boxes, the open-file dialog in the current folder, and the help viewer.

#include "platform/Dialogs.h"
#include "platform/Files.h"

#include <QString>

#include <memory>

namespace rahmen {

class HelpViewer;

class QtDialogs : public Dialogs {
public:
    // The open-file dialog starts in the folder of `files`; help pages come
    // from helpFolder.
    QtDialogs(const Files& files, QString helpFolder);
    ~QtDialogs() override;

    MessageResult message(const std::string& title, const std::string& text, MessageButtons buttons,
                          MessageIcon icon) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& filterLabel,
                                        const std::string& pattern) override;
    std::optional<std::string> saveFile(const std::string& title, const std::string& filterLabel,
                                        const std::string& defaultName) override;
    void help(const std::string& file, const std::string& keyword) override;

    // The help viewer, once help has been asked for.
    HelpViewer* helpViewer() const { return viewer_.get(); }

    // The name filter of the open-file dialog: the label, then the pattern
    // in lower and upper case, since the data files' names may be in either
    // ("データ(*.fdt) (*.fdt *.FDT)").
    static QString nameFilter(const std::string& filterLabel, const std::string& pattern);
    // The chosen file as the program names it: the bare file name when it lies
    // in the current folder, otherwise the absolute path.
    static std::string programPath(const QString& chosen, const QString& folder);

private:
    const Files& files_;
    QString helpFolder_;
    std::unique_ptr<HelpViewer> viewer_;
};

} // namespace rahmen

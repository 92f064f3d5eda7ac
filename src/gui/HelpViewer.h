#pragma once
// The help viewer: the HTML pages of the help folder in a browser window.
// The contents page is index.html; every topic is a section of one of the
// pages whose anchor name is the topic's keyword exactly ("座標入力",
// "部材ﾀｲﾌﾟ入力１", ...). The program asks for the help file "rahmen.hlp":
// its pages are rahmen.html and, failing that, any other page of the folder.

#include <QWidget>

#include <string>

class QLabel;
class QTextBrowser;

namespace rahmen {

// The help folder: $RAHMEN_HELP_DIR, else the installed pages
// (../share/rahmen/help from the executable), else "help" beside the
// executable or one or two levels above it (a build folder inside the source
// tree), else the help folder of the source tree this program was built from,
// else "help" in the current folder. Empty when none holds an index.html.
QString findHelpFolder();

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QString folder, QWidget* parent = nullptr);

    const QString& folder() const { return folder_; }

    // Shows the contents page.
    void showContents();
    // Shows the section of the keyword in the pages of the help file; the
    // contents page with a note when no page has the keyword. Returns whether
    // the section was found.
    bool showTopic(const std::string& helpFile, const std::string& keyword);

    QTextBrowser* browser() const { return browser_; }
    // The anchor the viewer scrolled to last ("" for the contents).
    const QString& currentTopic() const { return topic_; }

    // Whether the page (a file of the folder) has an anchor of that name.
    bool pageHasAnchor(const QString& page, const QString& anchor) const;

private:
    void open(const QString& page, const QString& anchor);

    QString folder_;
    QTextBrowser* browser_;
    QLabel* note_;
    QString topic_;
};

} // namespace rahmen

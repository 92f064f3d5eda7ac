#include "gui/HelpViewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace rahmen {

namespace {

const QString ContentsPage = QStringLiteral("index.html");

bool holdsHelp(const QString& folder) {
    return !folder.isEmpty() && QFileInfo::exists(QDir(folder).filePath(ContentsPage));
}

} // namespace

QString findHelpFolder() {
    QStringList candidates;
    const QString fromEnvironment = qEnvironmentVariable("RAHMEN_HELP_DIR");
    if (!fromEnvironment.isEmpty()) candidates << fromEnvironment;
    const QDir exe(QCoreApplication::applicationDirPath());
    // The installed program's pages first, so that an installed copy never
    // shows the pages of a source tree it happens to have been built from.
    candidates << exe.filePath(QStringLiteral("../share/rahmen/help"))
               << exe.filePath(QStringLiteral("help")) << exe.filePath(QStringLiteral("../help"))
               << exe.filePath(QStringLiteral("../../help"));
#ifdef RAHMEN_HELP_SOURCE_DIR
    candidates << QStringLiteral(RAHMEN_HELP_SOURCE_DIR);
#endif
    candidates << QDir::current().filePath(QStringLiteral("help"));
    for (const QString& folder : candidates)
        if (holdsHelp(folder)) return QDir(folder).absolutePath();
    return {};
}

HelpViewer::HelpViewer(QString folder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(std::move(folder)) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("rahmen ヘルプ"));
    resize(640, 600);

    auto* contents = new QPushButton(QStringLiteral("目次"), this);
    contents->setObjectName(QStringLiteral("HelpContents"));
    auto* back = new QPushButton(QStringLiteral("戻る"), this);
    back->setObjectName(QStringLiteral("HelpBack"));
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("HelpClose"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(false);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("HelpNote"));
    note_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(note_);
    layout->addWidget(browser_);

    connect(contents, &QPushButton::clicked, this, &HelpViewer::showContents);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    back->setEnabled(false);
}

void HelpViewer::showContents() {
    note_->hide();
    open(ContentsPage, {});
}

bool HelpViewer::pageHasAnchor(const QString& page, const QString& anchor) const {
    QFile file(QDir(folder_).filePath(page));
    if (anchor.isEmpty() || !file.open(QIODevice::ReadOnly)) return false;
    const QString html = QString::fromUtf8(file.readAll());
    return html.contains(QStringLiteral("name=\"%1\"").arg(anchor)) ||
           html.contains(QStringLiteral("id=\"%1\"").arg(anchor));
}

bool HelpViewer::showTopic(const std::string& helpFile, const std::string& keyword) {
    const QString anchor = QString::fromStdString(keyword);
    if (anchor.isEmpty()) {
        showContents();
        return true;
    }
    // "rahmen.hlp" is shown from rahmen.html; the other pages are searched
    // when that page lacks the keyword.
    QStringList pages;
    const QString base = QFileInfo(QString::fromStdString(helpFile)).completeBaseName();
    if (!base.isEmpty()) pages << base + QStringLiteral(".html");
    const QStringList all =
        QDir(folder_).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (const QString& page : all)
        if (!pages.contains(page) && page != ContentsPage) pages << page;
    for (const QString& page : pages) {
        if (!pageHasAnchor(page, anchor)) continue;
        note_->hide();
        open(page, anchor);
        return true;
    }
    note_->setText(QStringLiteral("「%1」の項目は見つかりませんでした。").arg(anchor));
    note_->show();
    open(ContentsPage, {});
    return false;
}

void HelpViewer::open(const QString& page, const QString& anchor) {
    show();
    raise();
    activateWindow();
    const QString path = QDir(folder_).filePath(page);
    if (folder_.isEmpty() || !QFileInfo::exists(path)) {
        note_->setText(QStringLiteral("ヘルプのページが見つかりません（%1）。").arg(path));
        note_->show();
        browser_->clear();
        topic_.clear();
        return;
    }
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    browser_->setSource(url);
    topic_ = anchor;
}

} // namespace rahmen

#include "HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include "WorkbenchResources.h"

namespace odz {

namespace {

const QString kContents = QStringLiteral("qrc:/help/index.html");

// The file a qrc: address stands for (":/help/index.html").
QString ResourcePath(const QUrl& url) {
    return QLatin1Char(':') + url.path();
}

}  // namespace

THelpWindow::THelpWindow(QWidget* parent)
    : QWidget(parent),
      FBack(new QPushButton(QStringLiteral("&Back"), this)),
      FForward(new QPushButton(QStringLiteral("&Forward"), this)),
      FContents(new QPushButton(QStringLiteral("&Contents"), this)),
      FBrowser(new QTextBrowser(this)) {
    InitWorkbenchResources();
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Odizodoruz Help"));
    setWindowIcon(QIcon(QStringLiteral(":/workbench/odizodoruz")));
    setObjectName(QStringLiteral("HelpWindow"));

    FBack->setObjectName(QStringLiteral("BackButton"));
    FForward->setObjectName(QStringLiteral("ForwardButton"));
    FContents->setObjectName(QStringLiteral("ContentsButton"));
    FBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    FBack->setToolTip(QStringLiteral("The page read before (Alt+Left)"));
    FForward->setToolTip(QStringLiteral("The page read after this one (Alt+Right)"));
    FContents->setToolTip(QStringLiteral("The list of all help pages"));
    FBack->setShortcut(QKeySequence::Back);
    FForward->setShortcut(QKeySequence::Forward);
    FBack->setEnabled(false);
    FForward->setEnabled(false);
    // The buttons act on the page, they never take the keyboard away from it.
    for (QPushButton* button : {FBack, FForward, FContents}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
    }
    // Every page of the book is in the resources; a link that leads out of it opens in the desktop's
    // browser.
    FBrowser->setOpenExternalLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(FBack);
    buttons->addWidget(FForward);
    buttons->addWidget(FContents);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(FBrowser, 1);

    connect(FBack, &QPushButton::clicked, FBrowser, &QTextBrowser::backward);
    connect(FForward, &QPushButton::clicked, FBrowser, &QTextBrowser::forward);
    connect(FContents, &QPushButton::clicked, this, &THelpWindow::ShowContents);
    connect(FBrowser, &QTextBrowser::backwardAvailable, FBack, &QPushButton::setEnabled);
    connect(FBrowser, &QTextBrowser::forwardAvailable, FForward, &QPushButton::setEnabled);

    resize(760, 600);
}

QUrl THelpWindow::ContentsUrl() const {
    return QUrl(kContents);
}

bool THelpWindow::HelpCommand(int command, quintptr data) {
    Q_UNUSED(command);
    Q_UNUSED(data);
    if (!ShowPage(ContentsUrl())) return false;
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    return true;
}

void THelpWindow::ShowContents() {
    ShowPage(ContentsUrl());
}

bool THelpWindow::ShowPage(const QUrl& url) {
    if (!QFile::exists(ResourcePath(url))) return false;
    if (FBrowser->source() == url) {
        // Opening the page shown already would only add it to the history once more: go to its top.
        FBrowser->verticalScrollBar()->setValue(FBrowser->verticalScrollBar()->minimum());
    } else {
        FBrowser->setSource(url);
    }
    return FBrowser->source() == url && !FBrowser->document()->isEmpty();
}

}  // namespace odz

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

// The file a qrc: address stands for (":/help/index.html").
QString ResourcePath(const QUrl& url) {
    return QLatin1Char(':') + url.path();
}

}  // namespace

THelpWindow::THelpWindow(QWidget* parent)
    : QWidget(parent),
      FBack(new QPushButton(tr("&Back"), this)),
      FForward(new QPushButton(tr("&Forward"), this)),
      FContents(new QPushButton(tr("&Contents"), this)),
      FBrowser(new QTextBrowser(this)) {
    InitWorkbenchResources();
    setWindowFlag(Qt::Window);
    setWindowTitle(tr("Odizodoruz Help"));
    setWindowIcon(QIcon(QStringLiteral(":/workbench/odizodoruz")));
    setObjectName(QStringLiteral("HelpWindow"));

    FBack->setObjectName(QStringLiteral("BackButton"));
    FForward->setObjectName(QStringLiteral("ForwardButton"));
    FContents->setObjectName(QStringLiteral("ContentsButton"));
    FBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    FBack->setToolTip(tr("The page read before (Alt+Left)"));
    FForward->setToolTip(tr("The page read after this one (Alt+Right)"));
    FContents->setToolTip(tr("The list of all help pages"));
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
    // The help book in the language of the window: each translation names its own edition.
    //: The contents page of the help book in this language; keep it when the book has no edition in it.
    const QUrl translated(tr("qrc:/help/index.html"));
    return QFile::exists(ResourcePath(translated)) ? translated
                                                   : QUrl(QStringLiteral("qrc:/help/index.html"));
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

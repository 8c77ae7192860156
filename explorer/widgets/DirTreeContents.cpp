#include "DirTreeContents.h"

#include <QCoreApplication>

#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "DirTreeGuards.h"
#include "DirTreeModel.h"
#include "ExecuteFile.h"
#include "OverrideCursor.h"
#include "PathRoutines.h"
#include "ShellIcons.h"

namespace odz {

namespace {

constexpr int kFullPathRole = Qt::UserRole + 1;
constexpr int kStripHeight = 22;
constexpr int kPanelWidth = 80;
constexpr int kButtonWidth = 60;

}  // namespace

TDirTreeContents::TDirTreeContents(QWidget* tree, const QString& folder, const QString& caption)
    : QFrame(tree),
      FFolder(AddSlash(folder)),
      FCaption(new QLabel(caption, this)),
      FList(new QListWidget(this)),
      FOk(new QPushButton(QCoreApplication::translate("DirTree", "&OK"), this)) {
    setObjectName(QStringLiteral("FolderContents"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(caption);

    // A tool window's caption bar.
    FCaption->setAutoFillBackground(true);
    FCaption->setBackgroundRole(QPalette::Highlight);
    FCaption->setForegroundRole(QPalette::HighlightedText);
    FCaption->setContentsMargins(4, 1, 4, 1);

    FList->setViewMode(QListView::ListMode);
    FList->setFlow(QListView::TopToBottom);
    FList->setWrapping(true);
    FList->setResizeMode(QListView::Adjust);
    FList->setIconSize(QSize(16, 16));
    FList->setSelectionMode(QAbstractItemView::SingleSelection);
    FList->setToolTip(QCoreApplication::translate("DirTree", "LeftClick - Select\nDblClick  - Open"));
    connect(FList, &QListWidget::itemDoubleClicked, this, &TDirTreeContents::Open);

    // The strip and the button are at least as large as designed, and as large as the button needs
    // with the desktop's font and style, so that the button is never cut off.
    FOk->setDefault(true);
    const QSize button = FOk->sizeHint().expandedTo(QSize(kButtonWidth, kStripHeight));
    auto* strip = new QWidget(this);
    strip->setFixedHeight(button.height() + 2);
    auto* panel = new QWidget(strip);
    panel->setFixedWidth(std::max(kPanelWidth, button.width() + 2));
    FOk->setParent(panel);
    FOk->setGeometry(1, 1, button.width(), button.height());
    connect(FOk, &QPushButton::clicked, this, &TDirTreeContents::Finish);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    stripLayout->addStretch();
    stripLayout->addWidget(panel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    layout->addWidget(FCaption);
    layout->addWidget(FList, 1);
    layout->addWidget(strip);

    // Covers the tree as long as it is open, whatever size the tree takes.
    tree->installEventFilter(this);
    setGeometry(tree->rect());
}

QString TDirTreeContents::Caption() const {
    return FCaption->text();
}

void TDirTreeContents::Fill() {
    const TOverrideCursor busy;
    FList->clear();
    QFileInfoList files =
        QDir(FFolder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    // In the tree's order: by name, letter case ignored.
    std::sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return FolderNameLess(a.fileName(), b.fileName());
    });
    for (const QFileInfo& file : files) {
        auto* item = new QListWidgetItem(ShellIcon(SmallIconIndex(file.absoluteFilePath())), file.fileName());
        item->setData(kFullPathRole, FFolder + file.fileName());
        FList->addItem(item);
    }
    if (FList->isVisible() && FList->count() > 0) FList->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

QString TDirTreeContents::SelectedFile() const {
    const QList<QListWidgetItem*> selected = FList->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->data(kFullPathRole).toString();
}

void TDirTreeContents::Open(QListWidgetItem* item) {
    if (!item) return;
    hide();
    ExecuteFile(QStringLiteral("Open"), item->text(), {}, kShowNormal, FFolder);
    show();
}

void TDirTreeContents::Finish() {
    hide();
    emit Finished(SelectedFile());
}

bool TDirTreeContents::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QFrame::eventFilter(watched, event);
}

}  // namespace odz

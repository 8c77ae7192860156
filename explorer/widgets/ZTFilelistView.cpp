#include "ZTFilelistView.h"

#include <sys/stat.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QStackedLayout>

#include "FileListPlatform.h"
#include "Messages.h"
#include "OverrideCursor.h"
#include "PathRoutines.h"
#include "ZTCustomListView.h"
#include "ZTCustomTreeView.h"
#include "ZTFilelistViewPopUp.h"

namespace odz {

TZTFilelistView::TZTFilelistView(QWidget* parent)
    : QWidget(parent),
      FModel(new TFileListModel(this)),
      FIconView(new TZTCustomListView(this)),
      FReportView(new TZTCustomTreeView(this)),
      FStack(new QStackedLayout(this)) {
    FListing.SetTypeNameProvider(listplatform::TypeName);
    FModel->SetTimeText(
        [this](const QDateTime& time) { return listplatform::TimeText(time, FDateFormat, FTimeFormat); });
    FModel->SetIconFor(listplatform::Icon);
    FModel->SetColumnWidths(FColumnWidths);
    // One model, then one selection for all views (a later setModel would replace it).
    FIconView->setModel(FModel);
    FReportView->setModel(FModel);
    FSelection = new QItemSelectionModel(FModel, this);
    FIconView->setSelectionModel(FSelection);
    FReportView->setSelectionModel(FSelection);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(FIconView), static_cast<QAbstractItemView*>(FReportView)}) {
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::SelectedClicked);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        connect(view, &QAbstractItemView::doubleClicked, this, [this] {
            const QList<int> rows = SelectedRows();
            if (rows.isEmpty() || Item(rows.first()).caption.isEmpty()) return;
            if (FDblClickToOpen) {
                OpenSelected();
            } else if (Item(rows.first()).isParent) {
                OneLevelUp();
            } else {
                emit doubleClicked();
            }
        });
    }
    FReportView->setRootIsDecorated(false);
    FReportView->SetScrollingBackground(true);  // in the details view the decoration moves with the rows
    FReportView->setItemsExpandable(false);
    FReportView->setUniformRowHeights(true);
    FReportView->setAllColumnsShowFocus(true);
    FReportView->header()->setSectionsClickable(true);
    FReportView->header()->setStretchLastSection(false);
    connect(FReportView->header(), &QHeaderView::sectionClicked, this, &TZTFilelistView::ColumnClick);
    FIconView->setMovement(QListView::Static);  // icon mode would otherwise let rows be dragged about
    FIconView->setModelColumn(0);
    FStack->addWidget(FIconView);
    FStack->addWidget(FReportView);
    // Renaming waits until the editor has closed: the refill that follows replaces the rows.
    connect(FModel, &TFileListModel::CaptionEdited, this, &TZTFilelistView::RenameEdited,
            Qt::QueuedConnection);
    FPopUp = new TZTFilelistViewPopUp(this);
    SetViewStyle(vsReport);
    SetPopUpMenuEnabled(true);
    ApplyColumnWidths();
}

TZTFilelistView::~TZTFilelistView() = default;

QAbstractItemView* TZTFilelistView::CurrentView() const {
    return FViewStyle == vsReport ? static_cast<QAbstractItemView*>(FReportView)
                                  : static_cast<QAbstractItemView*>(FIconView);
}

void TZTFilelistView::SetViewStyle(TViewStyle style) {
    FViewStyle = style;
    switch (style) {
        case vsIcon:
            FIconView->setViewMode(QListView::IconMode);
            FIconView->setIconSize(QSize(32, 32));
            FIconView->setFlow(QListView::LeftToRight);
            FIconView->setWrapping(true);
            break;
        case vsSmallIcon:
            FIconView->setViewMode(QListView::ListMode);
            FIconView->setIconSize(QSize(16, 16));
            FIconView->setFlow(QListView::LeftToRight);
            FIconView->setWrapping(true);
            break;
        case vsList:
            FIconView->setViewMode(QListView::ListMode);
            FIconView->setIconSize(QSize(16, 16));
            FIconView->setFlow(QListView::TopToBottom);
            FIconView->setWrapping(true);
            break;
        case vsReport:
            break;
    }
    FIconView->setMovement(QListView::Static);
    FIconView->setResizeMode(QListView::Adjust);
    FStack->setCurrentWidget(style == vsReport ? static_cast<QWidget*>(FReportView) : FIconView);
}

const QPixmap& TZTFilelistView::BackPict() const {
    return FReportView->BackPict();
}
TBackEffect TZTFilelistView::BackEffect() const {
    return FReportView->BackEffect();
}
TColor TZTFilelistView::ColorBegin() const {
    return FReportView->ColorBegin();
}
TColor TZTFilelistView::ColorEnd() const {
    return FReportView->ColorEnd();
}
TImageMode TZTFilelistView::ImageMode() const {
    return FReportView->ImageMode();
}
bool TZTFilelistView::ITransparent() const {
    return FReportView->ITransparent();
}

void TZTFilelistView::SetBackPict(const QPixmap& picture) {
    FIconView->SetBackPict(picture);
    FReportView->SetBackPict(picture);
}
void TZTFilelistView::SetBackEffect(TBackEffect effect) {
    FIconView->SetBackEffect(effect);
    FReportView->SetBackEffect(effect);
}
void TZTFilelistView::SetColorBegin(TColor color) {
    FIconView->SetColorBegin(color);
    FReportView->SetColorBegin(color);
}
void TZTFilelistView::SetColorEnd(TColor color) {
    FIconView->SetColorEnd(color);
    FReportView->SetColorEnd(color);
}
void TZTFilelistView::SetImageMode(TImageMode mode) {
    FIconView->SetImageMode(mode);
    FReportView->SetImageMode(mode);
}
void TZTFilelistView::SetITransparent(bool transparent) {
    FIconView->SetITransparent(transparent);
    FReportView->SetITransparent(transparent);
}

void TZTFilelistView::SetColWidth(int column, int width) {
    if (column < 0 || column >= FColumnWidths.size()) return;
    FColumnWidths[column] = width;
    FModel->SetColumnWidths(FColumnWidths);
    ApplyColumnWidths();
}

void TZTFilelistView::ApplyColumnWidths() {
    // Each column is as wide as its width setting (the header's size) and at least as wide as what it
    // shows, so no date or name is cut; the user can still drag the columns until the next refill.
    for (int c = 0; c < FModel->columnCount(); ++c) FReportView->resizeColumnToContents(c);
}

void TZTFilelistView::SetExtraColumn(const QString& caption) {
    FModel->SetExtraColumn(caption);
    ApplyColumnWidths();
}

void TZTFilelistView::SetExtraTexts(const QHash<QString, QString>& byFullPath) {
    FListing.SetExtraTexts(byFullPath);
    FModel->SetExtraTexts(byFullPath);
}

void TZTFilelistView::Link(TFileListLink*& slot, TFileListLink* link) {
    if (slot == link) return;
    if (slot) slot->LinkFileList(nullptr);
    slot = link;
    if (!link) return;
    // A link that goes away ends itself.
    if (auto* object = dynamic_cast<QObject*>(link)) {
        connect(object, &QObject::destroyed, this, [this, link] {
            if (FDirTree == link) FDirTree = nullptr;
            if (FDirTreeCombo == link) FDirTreeCombo = nullptr;
        });
    }
    link->LinkFileList(this);
}

void TZTFilelistView::SetPopUpMenuEnabled(bool enabled) {
    FPopUpMenuEnabled = enabled;
    const Qt::ContextMenuPolicy policy = enabled ? Qt::DefaultContextMenu : Qt::NoContextMenu;
    FIconView->setContextMenuPolicy(policy);
    FReportView->setContextMenuPolicy(policy);
    if (!enabled && QWidget::mouseGrabber()) QWidget::mouseGrabber()->releaseMouse();
}

void TZTFilelistView::SetReadOnly(bool readOnly) {
    FReadOnly = readOnly;
    const auto triggers = readOnly ? QAbstractItemView::NoEditTriggers : QAbstractItemView::SelectedClicked;
    FIconView->setEditTriggers(triggers);
    FReportView->setEditTriggers(triggers);
}

void TZTFilelistView::contextMenuEvent(QContextMenuEvent* event) {
    if (!FPopUpMenuEnabled) {
        event->ignore();
        return;
    }
    FPopUp->Open(event->globalPos());
    event->accept();
}

void TZTFilelistView::SetDirectory(const QString& value) {
    if (!FListing.SetDirectory(value)) return;
    emit DirectoryChanged(Directory());
    UpdateFileList();
}

void TZTFilelistView::SetMask(const QString& mask) {
    if (FListing.SetMask(mask)) UpdateFileList();
}

void TZTFilelistView::SetFileType(TFileType fileType) {
    if (FListing.SetFileType(fileType)) UpdateFileList();
}

void TZTFilelistView::SetShowFolders(bool show) {
    if (FListing.SetShowFolders(show)) UpdateFileList();
}

void TZTFilelistView::FillDrives() {
    FModel->SetDriveRows(listplatform::Drives());
}

void TZTFilelistView::UpdateFileList() {
    {
        const TOverrideCursor busy;
        if (FListing.IsDrives()) {
            FListing.UpdateFileList();
            FillDrives();
            FModel->SetSortMark(-1, true);
        } else {
            FListing.UpdateFileList();
            Refresh();
        }
        ApplyColumnWidths();
        WatchDirectory();
        if (Count() > 0 && !FSelection->hasSelection()) {
            FSelection->setCurrentIndex(FModel->index(0, 0), QItemSelectionModel::NoUpdate);
        }
    }
    emit Refilled();
    // Input queued during the refill is handled now.
    QApplication::processEvents();
}

// A folder shown can be deleted, renamed or moved away from the other pane or by another program; the
// list must not go on showing (and offering to paste into) a folder that is no longer there. Renaming
// or moving a folder above it sends the folder shown away too, hence the watch on those as well.
void TZTFilelistView::WatchDirectory() {
    QStringList paths;
    if (ShowsExistingFolder()) {
        for (QString path = QDir::cleanPath(Directory()); path != QLatin1String("/");) {
            paths << path;
            const QString up = QFileInfo(path).path();
            if (up == path) break;
            path = up;
        }
    }
    if (!FWatcher) {
        if (paths.isEmpty()) return;
        FWatcher = new QFileSystemWatcher(this);
        connect(FWatcher, &QFileSystemWatcher::directoryChanged, this, [this] {
            // By its bytes: a folder whose name is not UTF-8 has no exact text.
            struct stat status {};
            if (FListing.IsDrives()) return;
            if (::stat(NativeDirectory().constData(), &status) != 0 || !S_ISDIR(status.st_mode)) {
                LeaveMissingFolder();
            }
        });
    }
    if (FWatcher->directories() == paths) return;
    if (!FWatcher->directories().isEmpty()) FWatcher->removePaths(FWatcher->directories());
    if (!paths.isEmpty()) FWatcher->addPaths(paths);
}

void TZTFilelistView::LeaveMissingFolder() {
    QString parent = QDir::cleanPath(Directory());
    do {
        parent = QFileInfo(parent).path();
    } while (parent != QLatin1String("/") && !QFileInfo(parent).isDir());
    parent = AddSlash(parent);
    SetDirectory(parent);
    if (FDirTree) FDirTree->OpenPath(parent);
    if (FDirTreeCombo) FDirTreeCombo->OpenPath(parent);
}

void TZTFilelistView::Refresh() {
    FModel->SetDirectoryRows(FListing.Items());
    FModel->SetSortMark(FListing.SortColumn(), FListing.SortInverted());
}

void TZTFilelistView::ColumnClick(int column) {
    if (!FListing.SortEnabled() || FModel->DriveView()) return;
    const QStringList selected = [this] {
        QStringList paths;
        for (int row : SelectedRows()) paths << Item(row).fullPath;
        return paths;
    }();
    FListing.ColumnClick(column);
    Refresh();
    for (int row = 0; row < Count(); ++row) {
        if (selected.contains(Item(row).fullPath)) SetSelected(row, true);
    }
}

bool TZTFilelistView::IsSelected(int row) const {
    return FSelection->isRowSelected(row, {});
}

int TZTFilelistView::SelectedCount() const {
    return static_cast<int>(FSelection->selectedRows().size());
}

QList<int> TZTFilelistView::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : FSelection->selectedRows()) rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TZTFilelistView::SetSelected(int row, bool selected) {
    FSelection->select(
        FModel->index(row, 0),
        (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows);
}

int TZTFilelistView::SelectedNumber() const {
    const int selected = SelectedCount();
    return selected > 0 ? selected : Count();
}

qint64 TZTFilelistView::SelectedSize() const {
    qint64 sum = 0;
    const bool all = SelectedCount() == 0;
    for (int row = 0; row < Count(); ++row) {
        if (!all && !IsSelected(row)) continue;
        const TListItem& item = Item(row);
        if (item.kind != QLatin1String("file")) continue;
        // The item's own path: the process's current folder belongs to neither list.
        const QFileInfo info(item.fullPath);
        if (info.exists()) sum += info.size();
    }
    return sum;
}

qint64 TZTFilelistView::DriveFreeSpace() const {
    return FListing.IsDrives() ? 0 : listplatform::FreeKB(Directory());
}

void TZTFilelistView::ClickStep() {
    const QList<int> rows = SelectedRows();
    if (!rows.isEmpty()) FSelectedItem = Item(rows.first()).fullPath;
    emit OnItemChange(this, FSelectedItem);
    emit clicked();
}

void TZTFilelistView::OpenSelected() {
    const QList<int> rows = SelectedRows();
    if (!rows.isEmpty()) Open(rows.first());
}

void TZTFilelistView::Open(int row) {
    const TOverrideCursor busy;
    const TListItem item = Item(row);
    if (item.isParent) {
        OneLevelUp();
    } else if (item.kind == QLatin1String("file")) {
        listplatform::Open(item.fullPath);
    } else if (item.kind == QLatin1String("dir") || item.kind == QLatin1String("drv")) {
        const QString path = AddSlash(item.fullPath);
        if (item.kind == QLatin1String("drv") && !listplatform::DiskReady(path)) return;
        SetDirectory(path);
        if (FDirTree) FDirTree->OpenPath(path);
        if (FDirTreeCombo) FDirTreeCombo->OpenPath(path);
    }
}

void TZTFilelistView::OneLevelUp() {
    if (FListing.IsDrives()) return;
    const QString directory = AddSlash(Directory());
    if (directory != QLatin1String("/")) {
        const QString parent = AddSlash(QFileInfo(DelSlash(directory)).path());
        SetDirectory(parent);
        if (FDirTree) FDirTree->OpenPath(parent);
        if (FDirTreeCombo) FDirTreeCombo->OpenPath(parent);
        return;
    }
    // At the root of the file system the next level up is the list of drives.
    if (FDirTreeCombo) FDirTreeCombo->OpenPath(FDirTreeCombo->FirstNodeText());
    if (FDirTree) FDirTree->OpenPath(FDirTree->FirstNodeText());
    SetDirectory(kDrives);
}

bool TZTFilelistView::HandleKey(QKeyEvent* event) {
    const bool anySelected = SelectedCount() > 0;
    if (event->modifiers() == Qt::ControlModifier) {
        switch (event->key()) {
            case Qt::Key_A:
                FSelection->select(QItemSelection(FModel->index(0, 0), FModel->index(Count() - 1, 4)),
                                   QItemSelectionModel::Select);
                return true;
            case Qt::Key_C:
                if (anySelected) CutCopy(false);
                return true;
            case Qt::Key_X:
                if (anySelected) CutCopy(true);
                return true;
            case Qt::Key_V:
                if (!PendingFiles().isEmpty()) PasteFiles();
                return true;
            case Qt::Key_F:
                if (anySelected) ViewFile();
                return true;
            case Qt::Key_N:
                if (!FListing.IsDrives()) NewFolder();
                return true;
            case Qt::Key_O:
                if (anySelected) OpenSelected();
                return true;
            default:
                return false;
        }
    }
    if (event->modifiers() != Qt::NoModifier && event->modifiers() != Qt::KeypadModifier) return false;
    // Keys the caption editor leaves unused come here too; they must not act while a name is typed.
    const QWidget* focus = QApplication::focusWidget();
    if (focus && focus != CurrentView() && CurrentView()->isAncestorOf(focus)) return false;
    switch (event->key()) {
        case Qt::Key_F2:
            if (anySelected) RenameSelected();
            return true;
        case Qt::Key_F3:
            if (CurrentView()->hasFocus()) listplatform::Find(Directory());
            return true;
        case Qt::Key_F4:
            if (FDirTreeCombo) {
                FDirTreeCombo->ToggleDropDown();
                if (FDirTreeCombo->DroppedDown()) FDirTreeCombo->FocusDropDown();
            }
            return true;
        case Qt::Key_Escape:
            if (FDirTreeCombo && FDirTreeCombo->DroppedDown()) FDirTreeCombo->CloseUp();
            return FDirTreeCombo != nullptr;
        case Qt::Key_F5:
            UpdateFileList();
            return true;
        case Qt::Key_Backspace:
            OneLevelUp();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (anySelected) OpenSelected();
            return true;
        case Qt::Key_Delete:
            if (anySelected) DeleteSelected();
            return true;
        default:
            return false;
    }
}

bool TZTFilelistView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == FIconView || watched == FReportView)) {
        if (HandleKey(static_cast<QKeyEvent*>(event))) return true;
    } else if (event->type() == QEvent::KeyRelease && (watched == FIconView || watched == FReportView)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) ClickStep();
    } else if (event->type() == QEvent::MouseButtonRelease &&
               (watched == FIconView->viewport() || watched == FReportView->viewport())) {
        ClickStep();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace odz

#pragma once

#include <QFileSystemWatcher>
#include <QPointer>
#include <QWidget>

#include "BackgroundDecoration.h"
#include "DateTexts.h"
#include "DirectoryListing.h"
#include "FileListModel.h"

class QItemSelectionModel;
class QStackedLayout;
class QAbstractItemView;

namespace odz {

class TZTCustomListView;
class TZTCustomTreeView;

class TZTFilelistView;
class TZTFilelistViewPopUp;

// A directory tree or combo linked to a file list: the list asks it to show a path.
class TFileListLink {
public:
    virtual ~TFileListLink() = default;
    virtual void OpenPath(const QString& path) = 0;
    // The text of the first node, which stands for the drive list.
    virtual QString FirstNodeText() const = 0;
    // Told which list it is linked to (none when the link ends).
    virtual void LinkFileList(TZTFilelistView* list) = 0;
    // A combo's drop-down tree: F4 opens or closes it, Escape closes it.
    virtual void ToggleDropDown() {}
    virtual bool DroppedDown() const { return false; }
    virtual void CloseUp() {}
    virtual void FocusDropDown() {}
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

// The file list: the content of one folder, or the list of drives, in four view styles that share one
// model and one selection; navigation, sorting by column, keys, and the selection report.
class TZTFilelistView : public QWidget {
    Q_OBJECT
public:
    explicit TZTFilelistView(QWidget* parent = nullptr);
    ~TZTFilelistView() override;

    // The folder shown (with a trailing separator) or "Drives" in any letter case.
    QString Directory() const { return FListing.Directory(); }
    bool IsDrives() const { return FListing.IsDrives(); }
    void SetDirectory(const QString& value);
    // The folder by its name bytes (a name that is no valid UTF-8 is reached only this way).
    QByteArray NativeDirectory() const { return FListing.NativeDirectory(); }
    void SetNativeDirectory(const QByteArray& value) {
        if (FListing.SetNativeDirectory(value)) UpdateFileList();
    }
    QString Mask() const { return FListing.Mask(); }
    void SetMask(const QString& mask);
    TFileType FileType() const { return FListing.FileType(); }
    void SetFileType(TFileType fileType);
    bool ShowFolders() const { return FListing.ShowFolders(); }
    void SetShowFolders(bool show);
    bool HideFileExt() const { return FListing.HideFileExt(); }
    void SetHideFileExt(bool hide) { FListing.SetHideFileExt(hide); }
    TDTFormat DateFormat() const { return FDateFormat; }
    void SetDateFormat(TDTFormat format) { FDateFormat = format; }
    QString TimeFormatStr() const { return FTimeFormat; }
    void SetTimeFormatStr(const QString& format) { FTimeFormat = format; }
    int ColWidth(int column) const { return FColumnWidths.value(column); }
    void SetColWidth(int column, int width);
    bool DblClickToOpen() const { return FDblClickToOpen; }
    void SetDblClickToOpen(bool open) { FDblClickToOpen = open; }
    bool PopUpMenuEnabled() const { return FPopUpMenuEnabled; }
    void SetPopUpMenuEnabled(bool enabled);
    // When set, captions cannot be edited in place (no renaming).
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly);
    TFileListLink* DirTree() const { return FDirTree; }
    void SetDirTree(TFileListLink* tree) { Link(FDirTree, tree); }
    TFileListLink* DirTreeCombo() const { return FDirTreeCombo; }
    void SetDirTreeCombo(TFileListLink* combo) { Link(FDirTreeCombo, combo); }
    QString SelectedItem() const { return FSelectedItem; }
    void SetSelectedItem(const QString& item) { FSelectedItem = item; }
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle style);
    // A sixth column of the details view with this caption (empty: none), whose texts the window gives
    // with SetExtraTexts after each refill (Refilled); sorting by it groups the rows by their texts.
    QString ExtraColumn() const { return FModel->ExtraColumn(); }
    void SetExtraColumn(const QString& caption);
    void SetExtraTexts(const QHash<QString, QString>& byFullPath);

    // The decorated background, the same in every view style.
    const QPixmap& BackPict() const;
    void SetBackPict(const QPixmap& picture);
    TBackEffect BackEffect() const;
    void SetBackEffect(TBackEffect effect);
    TColor ColorBegin() const;
    void SetColorBegin(TColor color);
    TColor ColorEnd() const;
    void SetColorEnd(TColor color);
    TImageMode ImageMode() const;
    void SetImageMode(TImageMode mode);
    bool ITransparent() const;
    void SetITransparent(bool transparent);

    // Selected items, or all when none is selected.
    int SelectedNumber() const;
    qint64 SelectedSize() const;
    // Free space of the volume that holds Directory, in KB.
    qint64 DriveFreeSpace() const;

    // The rows in display order, as the drivers and the context operations see them.
    int Count() const { return FModel->rowCount(); }
    const TListItem& Item(int row) const { return FModel->Item(row); }
    bool IsSelected(int row) const;
    int SelectedCount() const;
    void SetSelected(int row, bool selected);
    QList<int> SelectedRows() const;

    void UpdateFileList();
    void OneLevelUp();
    void OpenSelected();
    // A click on a column header.
    void ColumnClick(int column);

    // File operations reached from the keys and the context menu.
    void CutCopy(bool move);
    void PasteFiles();
    void ViewFile();
    void NewFolder();
    void RenameSelected();
    void DeleteSelected();
    void EditAttributes();
    // 0: into any folder the user names; 1: the first file's content to the clipboard; 2: the full
    // paths to the clipboard.
    void SendTo(int kind);
    // Into the folder a shortcut points to, or to the program it points to.
    void SendToShortcut(const QString& shortcut);
    void CopyToFolder(const QString& folder);
    // The end of an in-place edit: the entry `oldPath` is to be named `caption`.
    void RenameEdited(const QString& oldPath, const QString& caption);
    // The files on the desktop's clipboard, which Paste copies, or moves after a Cut (here, in the
    // other list or in the desktop's file manager).
    QStringList PendingFiles() const;
    bool PendingMove() const;
    // The selected rows the file operations act on, in display order: entries of the folder shown,
    // neither the parent row nor a drive.
    QList<int> SelectedEntries() const;
    TZTFilelistViewPopUp* PopUp() const { return FPopUp; }

    QAbstractItemView* CurrentView() const;
    TFileListModel* Model() const { return FModel; }

signals:
    void OnItemChange(QObject* sender, const QString& selectedItem);
    // The list moved to another folder (or to the drive list).
    void DirectoryChanged(const QString& directory);
    // The rows were read again (the added column's texts are blank).
    void Refilled();
    void clicked();
    void doubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void FillDrives();
    void ClickStep();
    void Open(int row);
    bool HandleKey(QKeyEvent* event);
    void ApplyColumnWidths();
    void Refresh();
    void Link(TFileListLink*& slot, TFileListLink* link);
    // Whether the list shows a folder that is still there (file operations work only there).
    bool ShowsExistingFolder() const;
    QStringList PathsOf(const QList<int>& rows) const;
    void SelectPath(const QString& path);
    // Starts editing a caption in place, unless the list is read-only.
    bool BeginEdit(int row);
    // Shows the path in the linked tree or combo after the folders changed: the preferred one when
    // linked, else the other.
    void Resynchronise(const QString& path, bool treeFirst);
    // Watches the folder shown and the folders above it; LeaveMissingFolder moves the list (and its
    // tree and combo) to the nearest folder still there once the one shown has gone.
    void WatchDirectory();
    void LeaveMissingFolder();

    TDirectoryListing FListing;
    TFileListModel* FModel;
    TZTCustomListView* FIconView;
    TZTCustomTreeView* FReportView;
    QItemSelectionModel* FSelection;
    QStackedLayout* FStack;
    TViewStyle FViewStyle = vsReport;
    TDTFormat FDateFormat = df_Customize;
    QString FTimeFormat = QStringLiteral("HH:mm:ss");
    QList<int> FColumnWidths = {165, 75, 95, 115, 40};
    bool FDblClickToOpen = true;
    bool FPopUpMenuEnabled = true;
    TFileListLink* FDirTree = nullptr;
    TFileListLink* FDirTreeCombo = nullptr;
    QString FSelectedItem;
    bool FReadOnly = false;
    TZTFilelistViewPopUp* FPopUp = nullptr;
    QFileSystemWatcher* FWatcher = nullptr;
};

}  // namespace odz

#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <functional>

#include "DirectoryListing.h"

namespace odz {

// A drive row: a mounted volume.
struct TDriveRow {
    QString caption;
    QString typeText;
    QString sizeText;
    QString freeText;
    QString root;
    QIcon icon;
};

// The rows of a file list for every view style: five columns in the directory view (Name, Size, Type,
// Modified, Attr) or in the drive view (Name, Type, Disk Size, Free Space, Attributes). A window may add
// a sixth column to the directory view whose texts it gives later, row by row.
class TFileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TFileListModel(QObject* parent = nullptr);

    void SetDirectoryRows(const QList<TListItem>& rows);
    void SetDriveRows(const QList<TDriveRow>& rows);
    bool DriveView() const { return FDriveView; }
    // The row as an item: caption, sub-item texts, full path and kind ("dir", "file", "drv").
    const TListItem& Item(int row) const { return FItems[row]; }

    // How the Modified column and the icons are produced.
    void SetTimeText(std::function<QString(const QDateTime&)> format) { FTimeText = std::move(format); }
    void SetIconFor(std::function<QIcon(const TListItem&)> icon) { FIconFor = std::move(icon); }
    // The column whose header shows the sort arrow, and which arrow.
    void SetSortMark(int column, bool up);
    void SetColumnWidths(const QList<int>& widths) { FWidths = widths; }
    // The added column's caption; empty: no added column.
    void SetExtraColumn(const QString& caption);
    const QString& ExtraColumn() const { return FExtraCaption; }
    // Gives the rows of these full paths their texts in the added column.
    void SetExtraTexts(const QHash<QString, QString>& byPath);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The end of an in-place edit of a caption: reported, not applied; the list renames the entry and
    // reads the folder again.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void CaptionEdited(const QString& fullPath, const QString& caption);

private:
    void IndexRows();

    QList<TListItem> FItems;
    QList<TDriveRow> FDrives;
    bool FDriveView = false;
    std::function<QString(const QDateTime&)> FTimeText;
    std::function<QIcon(const TListItem&)> FIconFor;
    int FSortColumn = -1;
    bool FSortUp = true;
    QList<int> FWidths;
    QString FExtraCaption;
    QHash<QString, int> FRowOfPath;  // with an added column: the row of each full path
};

}  // namespace odz

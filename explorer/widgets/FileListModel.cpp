#include "FileListModel.h"

#include <QCoreApplication>

#include <QPixmap>
#include <QSize>
#include <algorithm>

namespace odz {

namespace {

const char* const kDirectoryColumns[] = {
    QT_TRANSLATE_NOOP("FileList", "Name"), QT_TRANSLATE_NOOP("FileList", "Size"),
    QT_TRANSLATE_NOOP("FileList", "Type"), QT_TRANSLATE_NOOP("FileList", "Modified"),
    QT_TRANSLATE_NOOP("FileList", "Attr")};
const char* const kDriveColumns[] = {
    QT_TRANSLATE_NOOP("FileList", "Name"), QT_TRANSLATE_NOOP("FileList", "Type"),
    QT_TRANSLATE_NOOP("FileList", "Disk Size"), QT_TRANSLATE_NOOP("FileList", "Free Space"),
    QT_TRANSLATE_NOOP("FileList", "Attributes")};
const int kDriveWidths[] = {160, 110, 90, 90, 40};
constexpr int kExtraColumn = 5;

}  // namespace

TFileListModel::TFileListModel(QObject* parent) : QAbstractTableModel(parent) {}

void TFileListModel::SetDirectoryRows(const QList<TListItem>& rows) {
    beginResetModel();
    FDriveView = false;
    FItems = rows;
    FDrives.clear();
    IndexRows();
    endResetModel();
}

void TFileListModel::IndexRows() {
    FRowOfPath.clear();
    if (FExtraCaption.isEmpty() || FDriveView) return;
    FRowOfPath.reserve(FItems.size());
    for (int row = 0; row < FItems.size(); ++row) FRowOfPath.insert(FItems[row].fullPath, row);
}

void TFileListModel::SetExtraColumn(const QString& caption) {
    if (caption == FExtraCaption) return;
    beginResetModel();
    FExtraCaption = caption;
    IndexRows();
    endResetModel();
}

void TFileListModel::SetExtraTexts(const QHash<QString, QString>& byPath) {
    if (FExtraCaption.isEmpty() || FDriveView) return;
    int first = static_cast<int>(FItems.size());
    int last = -1;
    for (auto entry = byPath.constBegin(); entry != byPath.constEnd(); ++entry) {
        const auto row = FRowOfPath.constFind(entry.key());
        if (row == FRowOfPath.constEnd()) continue;
        FItems[*row].extraText = entry.value();
        first = std::min(first, *row);
        last = std::max(last, *row);
    }
    if (last >= 0) emit dataChanged(index(first, kExtraColumn), index(last, kExtraColumn), {Qt::DisplayRole});
}

void TFileListModel::SetDriveRows(const QList<TDriveRow>& rows) {
    beginResetModel();
    FDriveView = true;
    FDrives = rows;
    FItems.clear();
    FRowOfPath.clear();
    for (const TDriveRow& drive : rows) {
        TListItem item;
        item.caption = drive.caption;
        item.sizeText = drive.typeText;
        item.fullPath = drive.root;
        item.kind = QStringLiteral("drv");
        FItems.append(item);
    }
    endResetModel();
}

void TFileListModel::SetSortMark(int column, bool up) {
    FSortColumn = column;
    FSortUp = up;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int TFileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FItems.size());
}

int TFileListModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return FExtraCaption.isEmpty() || FDriveView ? 5 : 6;
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= FItems.size()) return {};
    const TListItem& item = FItems[index.row()];
    const int column = index.column();
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (FDriveView) {
            const TDriveRow& drive = FDrives[index.row()];
            switch (column) {
                case 0:
                    return drive.caption;
                case 1:
                    return drive.typeText;
                case 2:
                    return drive.sizeText;
                case 3:
                    return drive.freeText;
                default:
                    return QString();
            }
        }
        switch (column) {
            case 0:
                return item.caption;
            case 1:
                return item.sizeText;
            case 2:
                return item.typeName;
            case 3: {
                const QDateTime local = item.modified.toLocalTime();
                return FTimeText ? FTimeText(local) : local.toString();
            }
            case 4:
                return item.attrText;
            default:
                return item.extraText;
        }
    }
    if (role == Qt::DecorationRole && column == 0) {
        if (FDriveView) return FDrives[index.row()].icon;
        return FIconFor ? FIconFor(item) : QIcon();
    }
    if (role == Qt::TextAlignmentRole) {
        const bool right = FDriveView ? (column == 2 || column == 3) : column == 1;
        return QVariant::fromValue(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role == Qt::ToolTipRole && column == 0) return item.fullPath;
    return {};
}

QVariant TFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) {
        if (section == kExtraColumn) return FExtraCaption;
        return QCoreApplication::translate("FileList",
                                           FDriveView ? kDriveColumns[section] : kDirectoryColumns[section]);
    }
    if (role == Qt::DecorationRole && !FDriveView && section == FSortColumn) {
        return QPixmap(FSortUp ? QStringLiteral(":/Bmp_Up") : QStringLiteral(":/Bmp_Down"));
    }
    if (role == Qt::TextAlignmentRole) {
        const bool right = FDriveView ? (section == 2 || section == 3) : section == 1;
        return QVariant::fromValue(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role == Qt::SizeHintRole) {
        const int width =
            FDriveView ? kDriveWidths[section] : (section < FWidths.size() ? FWidths[section] : 100);
        return QSize(width, 20);
    }
    return {};
}

Qt::ItemFlags TFileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const TListItem& item = FItems[index.row()];
    if (index.column() == 0 && !FDriveView && !item.isParent) flags |= Qt::ItemIsEditable;
    return flags;
}

bool TFileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!(flags(index) & Qt::ItemIsEditable) || role != Qt::EditRole) return false;
    emit CaptionEdited(FItems[index.row()].fullPath, value.toString());
    return true;
}

}  // namespace odz

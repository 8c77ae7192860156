#include "DirTreeModel.h"

#include <QCoreApplication>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QStyle>
#include <algorithm>

#include "PathRoutines.h"
#include "ShellIcons.h"

namespace odz {

namespace {

TDriveSource& DriveSource() {
    static TDriveSource source;
    return source;
}

constexpr QDir::Filters kFolderFilter = QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden;

}  // namespace

TDirTreeNode::TDirTreeNode(TNodeKind kind, const QString& text) : QStandardItem(text), FKind(kind) {
    setEditable(kind == nkFolder);
}

void TDirTreeNode::SetImages(int image, int selectedImage) {
    FImage = image;
    FSelectedImage = selectedImage;
}

QVariant TDirTreeNode::data(int role) const {
    if (role == Qt::DecorationRole) {
        if (FKind == nkRoot) return TDirTreeModel::ComputerIcon();
        return ShellIcon(FShownSelected ? FSelectedImage : FImage);
    }
    return QStandardItem::data(role);
}

void TDirTreeNode::multiData(QModelRoleDataSpan roleDataSpan) const {
    QStandardItem::multiData(roleDataSpan);
    for (QModelRoleData& roleData : roleDataSpan) {
        if (roleData.role() == Qt::DecorationRole) roleData.setData(data(Qt::DecorationRole));
    }
}

bool TDirTreeNode::operator<(const QStandardItem& other) const {
    return FolderNameLess(text(), other.text());
}

bool FolderNameLess(const QString& a, const QString& b) {
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

bool HasSubFolders(const QString& folder) {
    QDirIterator it(folder, kFolderFilter);
    return it.hasNext();
}

QStringList SubFolders(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, kFolderFilter);
    while (it.hasNext()) {
        it.next();
        names << it.fileName();
    }
    return names;
}

TDirTreeModel::TDirTreeModel(QObject* parent) : QStandardItemModel(parent) {
    setColumnCount(1);
}

void TDirTreeModel::SetDriveSource(TDriveSource source) {
    DriveSource() = std::move(source);
}

QList<TDrive> TDirTreeModel::Drives() {
    return DriveSource() ? DriveSource()() : LogicalDrives();
}

QString TDirTreeModel::ComputerName() {
    return QCoreApplication::translate("DirTree", "Computer");
}

QIcon TDirTreeModel::ComputerIcon() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return {};
    static const QIcon icon = QIcon::fromTheme(QStringLiteral("computer"),
                                               QApplication::style()->standardIcon(QStyle::SP_ComputerIcon));
    return icon;
}

void TDirTreeModel::Reload() {
    clear();
    setColumnCount(1);
    auto* root = new TDirTreeNode(nkRoot, ComputerName());
    root->SetLoaded(true);
    appendRow(root);
    AddDrives();
}

void TDirTreeModel::AddDrives() {
    TDirTreeNode* root = Node(Root());
    if (!root || root->rowCount() > 0) return;
    QList<QStandardItem*> drives;
    for (const TDrive& drive : Drives()) {
        auto* node = new TDirTreeNode(nkDrive, DriveCaption(drive));
        node->SetPart(drive.root);
        node->SetDriveType(drive.type);
        node->SetImages(SmallIconIndex(drive.root), OpenIconIndex(drive.root));
        node->SetMarkedWithChildren(true);
        drives << node;
    }
    if (!drives.isEmpty()) root->appendRows(drives);
}

QModelIndex TDirTreeModel::Root() const {
    return index(0, 0);
}

QString TDirTreeModel::RootText() const {
    const TDirTreeNode* root = Node(Root());
    return root ? root->text() : ComputerName();
}

TDirTreeNode* TDirTreeModel::Node(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return nullptr;
    QStandardItem* item = itemFromIndex(index);
    return item && item->type() == QStandardItem::UserType + 1 ? static_cast<TDirTreeNode*>(item) : nullptr;
}

int TDirTreeModel::Level(const QModelIndex& index) const {
    if (!Node(index)) return -1;
    int level = 0;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) ++level;
    return level;
}

QString TDirTreeModel::PathOfNode(const QModelIndex& index) const {
    const TDirTreeNode* node = Node(index);
    if (!node) return {};
    switch (node->Kind()) {
        case nkRoot:
            return {};
        case nkDrive:
            return node->Part();
        case nkFolder:
            break;
    }
    const QString above = PathOfNode(index.parent());
    return above.isEmpty() ? QString() : AddSlash(above) + node->Part();
}

QString TDirTreeModel::KeyOfNode(const QModelIndex& index) const {
    const TDirTreeNode* node = Node(index);
    if (!node || node->Kind() == nkRoot) return {};
    return node->Kind() == nkDrive ? node->Part() : node->Part() + QLatin1Char('/');
}

void TDirTreeModel::LoadFolders(const QModelIndex& index) {
    TDirTreeNode* node = Node(index);
    if (!node) return;
    if (node->Kind() == nkRoot) {
        AddDrives();
        return;
    }
    if (node->rowCount() > 0) return;
    node->SetMarkedWithChildren(false);
    node->SetLoaded(true);
    const QString folder = AddSlash(PathOfNode(index));
    if (folder.isEmpty()) return;
    QStringList names = SubFolders(folder);
    std::sort(names.begin(), names.end(), FolderNameLess);
    QList<QStandardItem*> children;
    children.reserve(names.size());
    for (const QString& name : names) {
        const QString path = folder + name;
        auto* child = new TDirTreeNode(nkFolder, name);
        child->SetPart(name);
        child->SetImages(SmallIconIndex(path), OpenIconIndex(path));
        child->SetMarkedWithChildren(HasSubFolders(path));
        children << child;
    }
    if (!children.isEmpty()) node->appendRows(children);
    // The expand button goes when nothing was found.
    emit dataChanged(index, index);
}

void TDirTreeModel::RefreshFolders(const QModelIndex& index) {
    TDirTreeNode* node = Node(index);
    if (!node || node->Kind() == nkRoot) return;
    if (node->rowCount() > 0) node->removeRows(0, node->rowCount());
    node->SetLoaded(false);
    LoadFolders(index);
}

void TDirTreeModel::SortChildren(const QModelIndex& index) {
    if (TDirTreeNode* node = Node(index); node && node->Kind() != nkRoot) node->sortChildren(0);
}

void TDirTreeModel::RenameNode(const QModelIndex& index, const QString& name) {
    TDirTreeNode* node = Node(index);
    if (!node || node->Kind() != nkFolder) return;
    node->SetPart(name);
    node->setText(name);
}

void TDirTreeModel::SetSelectedNode(const QModelIndex& index) {
    if (FSelectedNode == index) return;
    const QModelIndex old = FSelectedNode;
    if (TDirTreeNode* node = Node(old)) {
        node->SetShownSelected(false);
        emit dataChanged(old, old, {Qt::DecorationRole});
    }
    FSelectedNode = index;
    if (TDirTreeNode* node = Node(index)) {
        node->SetShownSelected(true);
        emit dataChanged(index, index, {Qt::DecorationRole});
    }
}

bool TDirTreeModel::hasChildren(const QModelIndex& parent) const {
    const TDirTreeNode* node = Node(parent);
    if (!node) return QStandardItemModel::hasChildren(parent);
    return node->rowCount() > 0 || (!node->Loaded() && node->MarkedWithChildren());
}

bool TDirTreeModel::canFetchMore(const QModelIndex& parent) const {
    const TDirTreeNode* node = Node(parent);
    if (!node) return false;
    if (node->Kind() == nkRoot) return node->rowCount() == 0;
    return !node->Loaded() && node->rowCount() == 0;
}

void TDirTreeModel::fetchMore(const QModelIndex& parent) {
    LoadFolders(parent);
}

Qt::ItemFlags TDirTreeModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QStandardItemModel::flags(index);
    if (Level(index) < 2) flags &= ~Qt::ItemIsEditable;
    return flags;
}

}  // namespace odz

#include "ShellIcons.h"

#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QStyle>

namespace odz {

namespace {

bool HaveWidgets() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// A folder is the root of a volume when it lies on another device than its parent, or is "/".
bool IsMountRoot(const QString& folder) {
    const QByteArray path = QFile::encodeName(QDir::cleanPath(folder));
    struct stat self = {};
    struct stat parent = {};
    if (::stat(path.constData(), &self) != 0) return false;
    if (::stat((path + "/..").constData(), &parent) != 0) return false;
    return self.st_dev != parent.st_dev || self.st_ino == parent.st_ino;
}

QString Capitalized(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text;
}

QIcon ThemeIcon(const char* name, const QIcon& fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), fallback);
}

}  // namespace

TShellIcons& TShellIcons::Shared() {
    static TShellIcons icons;
    // Icons live in the application's graphics system and must go before it does.
    static const bool registered = [] {
        if (QCoreApplication::instance()) qAddPostRoutine([] { TShellIcons::Shared().Release(); });
        return true;
    }();
    Q_UNUSED(registered);
    return icons;
}

TShellIcons::~TShellIcons() = default;

void TShellIcons::Release() {
    FEntries.clear();
    FIndexes.clear();
    FProvider.reset();
}

QFileIconProvider* TShellIcons::Provider() {
    if (!HaveWidgets()) return nullptr;
    if (!FProvider) FProvider = std::make_unique<QFileIconProvider>();
    return FProvider.get();
}

int TShellIcons::Add(const QString& key, const QIcon& icon, const QString& typeName) {
    FEntries.append({icon, typeName});
    const int index = static_cast<int>(FEntries.size()) - 1;
    FIndexes.insert(key, index);
    return index;
}

int TShellIcons::SmallIconIndex(const QString& path) {
    return IndexFor(path, false);
}

int TShellIcons::OpenIconIndex(const QString& path) {
    return IndexFor(path, true);
}

int TShellIcons::IndexFor(const QString& path, bool open) {
    const QFileInfo info(path);
    if (!info.isDir()) return FileIndex(path);
    if (IsMountRoot(path)) return DriveIconIndex(DriveType(path));
    return FolderIndex(open);
}

int TShellIcons::FolderIndex(bool open) {
    const QString key = open ? QStringLiteral("folder:open") : QStringLiteral("folder");
    if (const auto found = FIndexes.constFind(key); found != FIndexes.cend()) return *found;
    QIcon icon;
    if (QFileIconProvider* provider = Provider()) {
        const QIcon closed = provider->icon(QAbstractFileIconProvider::Folder);
        icon = open ? ThemeIcon("folder-open", QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon))
                    : closed;
        if (icon.isNull()) icon = closed;
    }
    return Add(key, icon, QCoreApplication::translate("FileList", "Folder"));
}

int TShellIcons::DriveIconIndex(TDriveType type) {
    const QString key = QStringLiteral("drive:") + QString::number(type);
    if (const auto found = FIndexes.constFind(key); found != FIndexes.cend()) return *found;
    QIcon icon;
    if (QFileIconProvider* provider = Provider()) {
        const QIcon disk = provider->icon(QAbstractFileIconProvider::Drive);
        switch (type) {
            case kDriveRemovable:
                icon = ThemeIcon("drive-removable-media", disk);
                break;
            case kDriveCdRom:
                icon = ThemeIcon("media-optical", disk);
                break;
            case kDriveRemote:
                icon = ThemeIcon("folder-remote", provider->icon(QAbstractFileIconProvider::Network));
                break;
            case kDriveRamDisk:
                icon = ThemeIcon("media-flash", disk);
                break;
            default:
                icon = ThemeIcon("drive-harddisk", disk);
                break;
        }
    }
    return Add(key, icon, DriveTypeName(type));
}

int TShellIcons::FileIndex(const QString& path) {
    // By name only: reading every file's first bytes would make large folders list slowly.
    const QMimeType mime = FMimes.mimeTypeForFile(QFileInfo(path).fileName(), QMimeDatabase::MatchExtension);
    const QString key = QStringLiteral("file:") + mime.name();
    if (const auto found = FIndexes.constFind(key); found != FIndexes.cend()) return *found;
    QIcon icon;
    if (QFileIconProvider* provider = Provider()) {
        const QFileInfo info(path);
        if (info.exists()) icon = provider->icon(info);
        if (icon.isNull()) {
            icon = QIcon::fromTheme(
                mime.iconName(),
                QIcon::fromTheme(mime.genericIconName(), provider->icon(QAbstractFileIconProvider::File)));
        }
    }
    return Add(key, icon, Capitalized(mime.comment()));
}

QIcon TShellIcons::Icon(int index) const {
    return index >= 0 && index < FEntries.size() ? FEntries[index].icon : QIcon();
}

QString TShellIcons::TypeName(int index) const {
    return index >= 0 && index < FEntries.size() ? FEntries[index].typeName : QString();
}

int SmallIconIndex(const QString& path) {
    return TShellIcons::Shared().SmallIconIndex(path);
}

int OpenIconIndex(const QString& path) {
    return TShellIcons::Shared().OpenIconIndex(path);
}

QIcon ShellIcon(int index) {
    return TShellIcons::Shared().Icon(index);
}

QString ShellTypeName(const QString& path) {
    return TShellIcons::Shared().TypeName(path);
}

}  // namespace odz

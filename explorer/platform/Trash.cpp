#include "Trash.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace odz {

bool MoveToTrash(const QString& path, QString& error) {
    // Qt puts an entry it finds no trash for into "files" beside the current folder and reports success.
    // With the home trash in place it always has one, so it is made first and nothing is tried without.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString trash = dataHome + QStringLiteral("/Trash");
    if (dataHome.isEmpty() || !QDir().mkpath(trash + QStringLiteral("/files")) ||
        !QDir().mkpath(trash + QStringLiteral("/info"))) {
        error =
            QCoreApplication::translate("FileOperations", "the Trash folder %1 cannot be created").arg(trash);
        return false;
    }
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        error = QCoreApplication::translate("FileOperations", "it does not exist");
        return false;
    }
    QFile entry(path);
    if (!entry.moveToTrash()) {
        error = entry.errorString();
        return false;
    }
    if (QDir::isRelativePath(entry.fileName())) {
        // Should the above ever fall short: put it back rather than leave it in a stray folder.
        const bool restored = QFile::rename(entry.fileName(), path);
        error = restored ? QCoreApplication::translate("FileOperations", "there is no Trash for it")
                         : QCoreApplication::translate("FileOperations",
                                                       "there is no Trash for it; it was left in %1")
                               .arg(QFileInfo(entry.fileName()).absoluteFilePath());
        return false;
    }
    return true;
}

}  // namespace odz

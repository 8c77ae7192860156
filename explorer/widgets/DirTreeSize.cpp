#include "DirTreeSize.h"

#include <QCoreApplication>

#include <sys/stat.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "PathRoutines.h"

namespace odz {

namespace {

bool DeviceOf(const QString& path, dev_t& device) {
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return false;
    device = info.st_dev;
    return true;
}

// A folder that cannot be listed gives an iterator without entries; only an explicit check tells it
// from an empty folder.
bool Readable(const QString& folder) {
    return QFileInfo(folder).isReadable() && QFileInfo(folder).isExecutable();
}

}  // namespace

qint64 DirSize(const QString& folder) {
    qint64 sum = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (!info.isSymLink()) sum += info.size();
    }
    return sum;
}

TTreeSize TreeSize(const QString& folder) {
    TTreeSize result;
    dev_t device = 0;
    if (!DeviceOf(folder, device)) {
        ++result.unreadableFolders;
        return result;
    }
    QStringList pending{folder};
    while (!pending.isEmpty()) {
        const QString current = pending.takeLast();
        if (!Readable(current)) {
            ++result.unreadableFolders;
            continue;
        }
        result.bytes += DirSize(current);
        QDirIterator it(current, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
        while (it.hasNext()) {
            const QString sub = it.next();
            dev_t subDevice = 0;
            if (DeviceOf(sub, subDevice) && subDevice == device) pending << sub;
        }
    }
    return result;
}

QString TreeSizeText(qint64 bytes, const QLocale& locale) {
    const double kilobytes = (bytes >= 1 && bytes <= 1023) ? 1.0 : static_cast<double>(bytes) / 1024.0;
    if (kilobytes > 99999.0)
        return QCoreApplication::translate("DirTree", "%1 MB")
            .arg(locale.toString(kilobytes / 1024.0, 'f', 2));
    return QCoreApplication::translate("DirTree", "%1 KB").arg(locale.toString(kilobytes, 'f', 2));
}

QString TreeSizeMessage(const QString& path, bool isDrive, const TTreeSize& size, const QLocale& locale) {
    QString title;
    if (isDrive) {
        title = QCoreApplication::translate("DirTree", "Drive %1").arg(path);
    } else {
        const QString plain = DelSlash(path);
        title = QCoreApplication::translate("DirTree", "Folder \"%1\"")
                    .arg(plain.mid(plain.lastIndexOf(QLatin1Char('/')) + 1));
    }
    QString text = QCoreApplication::translate("DirTree", "=== TREE SIZE ===") + QStringLiteral("\n\n") +
                   title + QLatin1Char('\n') +
                   QCoreApplication::translate("DirTree", "and all its Sub-Folders  =  %1")
                       .arg(TreeSizeText(size.bytes, locale));
    if (size.unreadableFolders > 0) {
        text +=
            QStringLiteral("\n\n") +
            (size.unreadableFolders == 1
                 ? QCoreApplication::translate("DirTree", "%1 folder could not be read and is not counted.")
                 : QCoreApplication::translate("DirTree",
                                               "%1 folders could not be read and are not counted."))
                .arg(size.unreadableFolders);
    }
    return text;
}

}  // namespace odz

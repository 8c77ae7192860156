#include "PathRoutines.h"

#include <QCoreApplication>

namespace odz {

QString AddSlash(const QString& path) {
    if (path.isEmpty() || path.endsWith(QLatin1Char('/'))) return path;
    return path + QLatin1Char('/');
}

QString DelSlash(const QString& path) {
    return path.endsWith(QLatin1Char('/')) ? path.chopped(1) : path;
}

QString ConcatPath(const QString& directory, const QString& name) {
    if (directory.isEmpty() || name.isEmpty()) return {};
    return AddSlash(directory) + name;
}

QString SizeText(qint64 size, const QString& kind) {
    if (kind.compare(QLatin1String("dir"), Qt::CaseInsensitive) == 0) return QStringLiteral(" ");
    return QCoreApplication::translate("FileList", "%1 KB").arg(SizeKB(size));
}

qint64 SizeKB(qint64 size) {
    return ((size > 0 && size < 1024) ? 1024 : size) / 1024;
}

QString AttrText(unsigned attributes) {
    QString text;
    if (attributes & kAttrArchive) text += QLatin1Char('A');
    if (attributes & kAttrReadOnly) text += QLatin1Char('R');
    if (attributes & kAttrHidden) text += QLatin1Char('H');
    if (attributes & kAttrSystem) text += QLatin1Char('S');
    return text;
}

}  // namespace odz

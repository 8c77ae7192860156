#include "FileListViewers.h"

#include <QStringList>

namespace odz {

QString UpperExtension(const QString& path) {
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toUpper();
}

QString ViewerProgram(const QString& extension) {
    static const QStringList kText = {".C",   ".CPP", ".DPK", ".DPR", ".H",
                                      ".INF", ".INI", ".PAS", ".PRG", ".TXT"};
    static const QStringList kDocuments = {".DOC", ".RTF", ".WRI"};
    if (kText.contains(extension)) return QStringLiteral("NotePad.exe");
    if (kDocuments.contains(extension)) return QStringLiteral("Write.exe");
    if (extension == QLatin1String(".BMP")) return QStringLiteral("PBrush.exe");
    return {};
}

bool IsPictureExtension(const QString& extension) {
    return extension == QLatin1String(".BMP") || extension == QLatin1String(".WMF");
}

bool IsContentExtension(const QString& extension) {
    return !ViewerProgram(extension).isEmpty() || IsPictureExtension(extension);
}

}  // namespace odz

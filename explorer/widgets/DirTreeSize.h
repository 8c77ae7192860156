#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>

namespace odz {

// The bytes of the files directly in a folder (sub-folders not counted). Links count as the small
// entries they are, not as the files they point to.
qint64 DirSize(const QString& folder);

// The bytes of a folder and all its sub-folders. Folders reached through links and other volumes
// mounted inside are not entered: they are not part of this tree, and a link may lead back into it.
struct TTreeSize {
    qint64 bytes = 0;
    int unreadableFolders = 0;
};
TTreeSize TreeSize(const QString& folder);

// "1.00 KB" for 1 to 1023 bytes, otherwise the kilobytes with two decimals and the locale's separators,
// or the megabytes above 99999 KB.
QString TreeSizeText(qint64 bytes, const QLocale& locale = QLocale());

// The Tree Size report: "Drive /media/stick/" or "Folder "name"", and the size.
QString TreeSizeMessage(const QString& path, bool isDrive, const TTreeSize& size,
                        const QLocale& locale = QLocale());

}  // namespace odz

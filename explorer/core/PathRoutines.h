#pragma once

#include <QString>
#include <QtGlobal>

namespace odz {

// Folder paths keep a trailing separator ("/" here) wherever the file list stores one.
QString AddSlash(const QString& path);
QString DelSlash(const QString& path);
// AddSlash(directory) + name; empty unless both are given.
QString ConcatPath(const QString& directory, const QString& name);

// The Size column: " " for a folder, otherwise whole kilobytes with " KB", where 1 to 1023 bytes
// count as one kilobyte ("0 KB", "1 KB" up to 2047 bytes, "2 KB" from 2048).
// The kilobytes are counted as there, and the text is in the user's language.
QString SizeText(qint64 size, const QString& kind);
// The whole kilobytes the Size column shows for a file of that many bytes.
qint64 SizeKB(qint64 size);

// File attribute bits as the list keeps them.
enum TAttributeBit : unsigned {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrSystem = 0x04,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrNormal = 0x80,
};

// The letters A, R, H, S of the bits that are set, in that order.
QString AttrText(unsigned attributes);

}  // namespace odz

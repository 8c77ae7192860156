#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace odz {

// Puts what a file holds on the clipboard: a picture for .BMP and .WMF files, a rich-text document as
// itself (text/rtf) together with its plain text, anything else as plain text. Tells the user, and
// leaves the clipboard as it was, when the file cannot be read.
bool CopyContentsToClipboard(const QString& path);

// The text "Clipboard as FileName" leaves: the paths in order, separated by CR LF, nothing after the
// last.
QString FileNamesText(const QStringList& paths);
void CopyFileNamesToClipboard(const QStringList& paths);

// The characters of a text file: by its byte-order mark when it has one, else as UTF-8 when it is valid
// UTF-8, else byte by byte as Windows-1252, so no byte is ever lost.
QString DecodeTextFile(const QByteArray& bytes);

}  // namespace odz

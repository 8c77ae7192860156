#pragma once

#include <QStringList>
#include <memory>

class QMimeData;

namespace odz {

// Files on the desktop's clipboard, exchanged as file managers exchange them, so that a Copy or Cut in
// one list, in the other, or in the desktop's file manager can be pasted in any of them.
struct TClipboardFiles {
    QStringList paths;  // local files only, in the order given
    bool cut = false;   // a Cut: Paste moves them
    bool operator==(const TClipboardFiles&) const = default;
};

// The clipboard content for a Copy or Cut of these files: a URI list, the GNOME and KDE markings of a
// cut ("x-special/gnome-copied-files", "application/x-kde-cutselection"), and the paths as plain text
// for programs that take only text.
std::unique_ptr<QMimeData> FileClipboardData(const TClipboardFiles& files);
// The files a clipboard content names; none when it names no local file. Also understands the plain
// text form that newer GNOME file managers write ("x-special/nautilus-clipboard").
TClipboardFiles FilesOfClipboardData(const QMimeData* data);

// The system clipboard.
void PutFilesOnClipboard(const TClipboardFiles& files);
TClipboardFiles FilesOnClipboard();
// Empties the clipboard when it still holds exactly these files (another program's content since
// then is left alone).
void ClearClipboardOf(const TClipboardFiles& files);

}  // namespace odz

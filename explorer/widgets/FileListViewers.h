#pragma once

#include <QString>

namespace odz {

// The upper-cased extension of the name a path ends in, from its last "." on ("" without one):
// "/home/anna/readme.txt" gives ".TXT".
QString UpperExtension(const QString& path);

// The viewer the View command starts for a file of that extension: "NotePad.exe" for program sources
// and plain text, "Write.exe" for documents, "PBrush.exe" for bitmaps; empty for anything else.
QString ViewerProgram(const QString& extension);

// Pictures go to the clipboard as images rather than as text.
bool IsPictureExtension(const QString& extension);

// Files whose content "Clipboard as Contents" can take: those a viewer knows, and pictures.
bool IsContentExtension(const QString& extension);

}  // namespace odz

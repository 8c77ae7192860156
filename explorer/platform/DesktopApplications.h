#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace odz {

// A program the desktop offers for some file types, read from its desktop entry.
struct TDesktopApplication {
    QString id;    // "org.gnome.TextEditor.desktop"
    QString file;  // where its desktop entry lies
    QString name;
    QString exec;  // the Exec line, unescaped
    QString icon;
};

// The desktop's default program for the first of the MIME types that has one, found the way the
// freedesktop.org desktops find it: the [Default Applications] of the mimeapps.list files (the current
// desktop's own lists first), then the added associations and the mimeinfo.cache of the installed
// programs, leaving out removed associations. Only programs that can run here count: installed,
// not hidden, not needing a terminal, their executable found.
std::optional<TDesktopApplication> DefaultApplication(const QStringList& mimeTypes);

// The program's command line for one local file: the program first, then its arguments, with the Exec
// field codes filled in (%f %F the path, %u %U its URL, %c the name, %k the entry, %i the icon). When
// the Exec line takes no file, the path is added at the end.
QStringList ExpandExec(const TDesktopApplication& application, const QString& filePath);

}  // namespace odz

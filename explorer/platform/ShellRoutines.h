#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "ExecuteFile.h"

class QWidget;

namespace odz {

// File lists handed to the file operations are NUL-separated: every name is closed by one NUL, and
// the list itself by one more. Appends the closing NUL unless the text is empty or already has it.
QString AddNullToStr(const QString& text);
// The names of such a list, in order; empty entries (the list's end) are left out.
QStringList SplitNullList(const QString& list);

// True when any character of `chars` occurs in `text`.
bool ContainsChars(const QString& chars, const QString& text);

// True when a file, a folder or a link of that name exists; then also tells the user, naming the last
// component of the path (a trailing "/" and NUL do not count), so that callers can simply refuse.
bool FileDirExist(const QString& path);

// The folder browser. On a choice `path` becomes the chosen folder with a trailing "/" and the result is
// true; `path`, when it names a folder, is where the browser starts.
bool BrowseForFolder(QWidget* owner, QString& path);
// What shows the browser: given the owner, the title and the starting folder, gives the chosen folder
// or an empty text. Tests install their own; an empty function restores the desktop's dialog, which is
// never shown on the off-screen platforms (there the browser answers as if cancelled).
using TFolderBrowser = std::function<QString(QWidget* owner, const QString& title, const QString& start)>;
void SetFolderBrowser(TFolderBrowser browser);

// The folder whose entries make the "Send To" menu ($XDG_DATA_HOME/odizodoruz/SendTo), created when it
// is missing. Empty when it cannot be created.
QString SendToFolder();

// True on the platforms that draw nowhere (offscreen, minimal): modal dialogs would wait for nobody.
bool IsHeadlessPlatform();

}  // namespace odz

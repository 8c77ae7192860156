#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

namespace odz {

// How a started program's window should appear. Desktop programs here choose their own window state,
// so the value is accepted for the callers' sake and not passed on.
enum TShowCommand : int { kShowHide = 0, kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3 };

// Results of ExecuteFile: above 32 the file was handed over, 32 and below it was not.
constexpr int kExecOutOfResources = 0;  // the program could not be started
constexpr int kExecFileNotFound = 2;
constexpr int kExecPathNotFound = 3;
constexpr int kExecNoAssociation = 31;  // nothing on this desktop does what was asked
constexpr int kExecStarted = 42;

// Hands a file to the desktop and tells the user when that fails: "ERROR - Can't " + operation +
// " file  " + file, with a second line where the reason would not be plain from that.
//  - "Open" (also "Explore" or no operation): the file, relative to `directory` when not absolute, is
//    opened with the program the desktop has for its type. When parameters are given and the file is
//    an executable program, the program is started instead, with the parameters as one argument (they
//    are one file name in every caller, blanks included) in `directory`.
//  - "Open" of "NotePad", "Write" or "PBrush" (any case, with or without ".exe" and a folder): the
//    document named by `parameters` is opened in the desktop's text editor, in the program the desktop
//    has for its type (word processor, image viewer) respectively. A failure names the program that
//    was tried, or the document when the desktop itself was asked to open it.
//  - "Find": opens a file search program (kfind, catfish, mate-search-tool, gnome-search-tool) on the
//    folder `file`; "Drives" searches the whole computer. Without one, says so.
int ExecuteFile(const QString& operation, const QString& file, const QString& parameters, int showCommand,
                const QString& directory);

// What ExecuteFile asks the desktop to do: open `url` with its program, or, with no url, start
// `program` with `arguments` in `workingDirectory`.
struct TLaunchRequest {
    QUrl url;
    QString program;
    QStringList arguments;
    QString workingDirectory;
};
// Carries out a request; false when it could not. Tests install their own so that nothing is started;
// an empty function restores the desktop's.
using TLauncher = std::function<bool(const TLaunchRequest&)>;
void SetLauncher(TLauncher launcher);

}  // namespace odz

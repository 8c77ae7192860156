#pragma once

#include <QString>

class QWidget;

namespace odz {

// The operations, numbered as the components pass them.
enum TFileFunction : unsigned { kFoMove = 1, kFoCopy = 2, kFoDelete = 3, kFoRename = 4 };

// One request to the file operations. Name lists are NUL-separated and end with two NULs.
struct TFileOperationRequest {
    QWidget* owner = nullptr;  // the window the progress belongs to
    TFileFunction function = kFoCopy;
    QString from;
    QString to;            // only the closing NUL for a delete
    bool aborted = false;  // set when the user stopped the operation
};

// The request for `source` and `target` (each a path or a NUL-separated list, with or without its
// closing NUL): both lists end with two NULs.
TFileOperationRequest MakeFileOperationRequest(QWidget* owner, TFileFunction function, const QString& source,
                                               const QString& target);

// Carries out a request; true when everything succeeded and the user did not stop it. Every copy,
// move, delete and rename of the file browsing components goes through here. Entries are named by
// their full paths; a relative target is taken in the folder of the (first) entry.
//  - Copy, move: `to` is one path. When it ends with "/", when several entries are given, or when it
//    names an existing folder whose name is not the entry's own, the entries go into that folder
//    (created when missing); otherwise it is the full new path of the one entry. Conflicts are asked
//    about, see TFileTransfer.
//  - Delete: one question for all entries, then each goes to the desktop's trash. An entry the trash
//    cannot take is reported and stays where it is: nothing is ever deleted for good.
//  - Rename: one entry and its new full path (or just its new name) in the same folder. An existing
//    entry of the new name is never replaced; the user is told that it "already exists !".
// The entries "." and ".." (the list's parent row) stand for folders around the one shown and are
// never operated on. All failures are shown together in one error box naming each file.
bool RunFileOperation(TFileOperationRequest& request);

// MakeFileOperationRequest + RunFileOperation; `aborted` tells whether the user stopped it.
bool ShellFileOperation(QWidget* owner, TFileFunction function, const QString& source, bool& aborted,
                        const QString& target);

}  // namespace odz

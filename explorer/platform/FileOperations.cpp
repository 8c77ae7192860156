#include "FileOperations.h"

#include <QCoreApplication>

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>

#include "FileTransfer.h"
#include "Messages.h"
#include "PathRoutines.h"
#include "ShellRoutines.h"
#include "Trash.h"

namespace odz {

namespace {

constexpr int kFailuresShown = 12;

// The verb of an operation, as its failures name it.
QString Verb(TFileFunction function) {
    switch (function) {
        case kFoMove:
            return QCoreApplication::translate("FileOperations", "move");
        case kFoCopy:
            return QCoreApplication::translate("FileOperations", "copy");
        case kFoDelete:
            return QCoreApplication::translate("FileOperations", "delete");
        case kFoRename:
            return QCoreApplication::translate("FileOperations", "rename");
    }
    return QCoreApplication::translate("FileOperations", "handle");
}

QString NameOf(const QString& path) {
    return QFileInfo(path.size() > 1 ? DelSlash(path) : path).fileName();
}

// "." and ".." name the folder shown and the one above it; a selected parent row must never take the
// whole parent folder with it.
bool IsDotEntry(const QString& path) {
    const QString name = NameOf(path);
    return name == QLatin1String(".") || name == QLatin1String("..");
}

// A relative target is taken in the folder of the entries it is for; nothing is ever resolved against
// the process's current folder, which belongs to no list.
QString Absolute(const QString& path, const QString& folder) {
    return QDir::cleanPath(QDir(folder).absoluteFilePath(path));
}

bool SameEntry(const QString& a, const QString& b) {
    struct stat first = {};
    struct stat second = {};
    return ::lstat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::lstat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

bool Report(const QStringList& failures) {
    if (failures.isEmpty()) return true;
    QString text = failures.mid(0, kFailuresShown).join(QLatin1Char('\n'));
    if (failures.size() > kFailuresShown) {
        text += QLatin1Char('\n') + QCoreApplication::translate("FileOperations", "... and %1 more.")
                                        .arg(failures.size() - kFailuresShown);
    }
    Messages().Error(text);
    return false;
}

bool Fail(const QString& text) {
    Messages().Error(text);
    return false;
}

bool Transfer(TFileOperationRequest& request, const QStringList& sources) {
    const QStringList targets = SplitNullList(request.to);
    const bool move = request.function == kFoMove;
    if (targets.isEmpty())
        return Fail(QCoreApplication::translate("FileOperations", "ERROR - Can't %1: no target was given.")
                        .arg(Verb(request.function)));
    const QString target = targets.first();
    const QFileInfo targetInfo(target);
    const bool intoFolder = target.endsWith(QLatin1Char('/')) || sources.size() > 1 ||
                            (targetInfo.isDir() && targetInfo.fileName() != NameOf(sources.first()));
    QList<TTransferItem> items;
    if (intoFolder) {
        const QString folder = Absolute(target, QFileInfo(sources.first()).path());
        if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
            return Fail(QCoreApplication::translate(
                            "FileOperations", "ERROR - Can't %1 into \"%2\": the folder cannot be created.")
                            .arg(Verb(request.function), folder));
        }
        for (const QString& source : sources) items.append({source, ConcatPath(folder, NameOf(source))});
    } else {
        items.append({sources.first(), Absolute(target, QFileInfo(sources.first()).path())});
    }
    TFileTransfer transfer(request.owner, move);
    const bool ok = transfer.Run(items);
    request.aborted = transfer.Aborted();
    return Report(transfer.Failures()) && ok;
}

bool Delete(TFileOperationRequest& request, const QStringList& sources) {
    const QString question =
        sources.size() == 1
            ? QCoreApplication::translate("FileOperations",
                                          "Are you sure you want to move \"%1\" to the Trash?")
                  .arg(NameOf(sources.first()))
            : QCoreApplication::translate("FileOperations",
                                          "Are you sure you want to move these %1 items to the Trash?")
                  .arg(sources.size());
    if (Messages().Confirm(question, false) != TAnswer::Yes) {
        request.aborted = true;
        return false;
    }
    QStringList failures;
    for (const QString& source : sources) {
        QString error;
        if (!MoveToTrash(source, error)) {
            failures << QCoreApplication::translate(
                            "FileOperations",
                            "ERROR - Can't move \"%1\" to the Trash: %2. It has not been deleted.")
                            .arg(source, error);
        }
    }
    return Report(failures);
}

bool Rename(const QStringList& sources, const QStringList& targets) {
    if (sources.size() != 1 || targets.size() != 1) {
        return Fail(QCoreApplication::translate(
            "FileOperations", "ERROR - Can't rename: one entry and one new name are needed."));
    }
    const QString source = sources.first();
    const QString folder = QFileInfo(source).absolutePath();
    QString target = targets.first();
    if (!target.contains(QLatin1Char('/'))) target = ConcatPath(folder, target);
    const QString prefix =
        QCoreApplication::translate("FileOperations", "ERROR - Can't rename \"%1\" to \"%2\": ")
            .arg(source, target);
    if (target.endsWith(QLatin1Char('/')))
        return Fail(prefix + QCoreApplication::translate("FileOperations", "the new name is empty."));
    target = Absolute(target, folder);
    if (!EntryExists(QFileInfo(source)))
        return Fail(prefix + QCoreApplication::translate("FileOperations", "it does not exist."));
    const QFileInfo to(target);
    if (to.absolutePath() != folder)
        return Fail(prefix + QCoreApplication::translate("FileOperations", "a name cannot contain \"/\"."));
    if (to.fileName() == QLatin1String(".") || to.fileName() == QLatin1String("..")) {
        return Fail(prefix + QCoreApplication::translate("FileOperations", "that name is reserved."));
    }
    if (target == source) return true;
    // On a file system that ignores case, "a.txt" and "A.txt" are one entry: that rename is allowed.
    const bool sameEntry = EntryExists(to) && SameEntry(source, target);
    if (EntryExists(to) && !sameEntry)
        return Fail(
            QCoreApplication::translate("FileOperations", "\"%1\" already exists !").arg(to.fileName()));
    const int error = RenameEntry(source, target, sameEntry);
    if (error != 0) return Fail(prefix + SystemErrorText(error) + QLatin1Char('.'));
    return true;
}

}  // namespace

TFileOperationRequest MakeFileOperationRequest(QWidget* owner, TFileFunction function, const QString& source,
                                               const QString& target) {
    const QChar nul(u'\0');
    return {owner, function, AddNullToStr(source) + nul, AddNullToStr(target) + nul, false};
}

bool RunFileOperation(TFileOperationRequest& request) {
    request.aborted = false;
    const QStringList given = SplitNullList(request.from);
    QStringList sources;
    for (const QString& path : given) {
        if (IsDotEntry(path)) continue;
        if (QDir::isRelativePath(path)) {
            return Fail(
                QCoreApplication::translate(
                    "FileOperations", "ERROR - Can't %1 \"%2\": the entry is not named by its full path.")
                    .arg(Verb(request.function), path));
        }
        sources << QDir::cleanPath(path);
    }
    if (sources.isEmpty()) {
        if (given.isEmpty()) {
            Messages().Warning(QCoreApplication::translate("FileOperations", "No file(s) selected"));
            return false;
        }
        return Fail(
            QCoreApplication::translate(
                "FileOperations",
                "ERROR - Can't %1 \"..\": it stands for the folder above, not for an entry of this one.")
                .arg(Verb(request.function)));
    }
    switch (request.function) {
        case kFoCopy:
        case kFoMove:
            return Transfer(request, sources);
        case kFoDelete:
            return Delete(request, sources);
        case kFoRename:
            return Rename(sources, SplitNullList(request.to));
    }
    return Fail(QCoreApplication::translate("FileOperations", "ERROR - Unknown file operation %1")
                    .arg(request.function));
}

bool ShellFileOperation(QWidget* owner, TFileFunction function, const QString& source, bool& aborted,
                        const QString& target) {
    TFileOperationRequest request = MakeFileOperationRequest(owner, function, source, target);
    const bool ok = RunFileOperation(request);
    aborted = request.aborted;
    return ok && !aborted;
}

}  // namespace odz

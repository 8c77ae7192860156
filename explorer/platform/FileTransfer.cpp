#include "FileTransfer.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "CopyProgress.h"
#include "Messages.h"
#include "PathRoutines.h"

namespace odz {

namespace {

constexpr qint64 kChunk = 1 << 20;

bool IsRealDir(const QFileInfo& info) {
    return info.isDir() && !info.isSymLink();
}

// Where an entry really lies: its folder with links resolved, then its own name (a link itself is not
// followed, so a link and its target are two entries).
QString Location(const QString& path) {
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return ConcatPath(folder.isEmpty() ? info.absolutePath() : folder, info.fileName());
}

qint64 TreeSize(const QString& path) {
    const QFileInfo info(path);
    if (!IsRealDir(info)) return info.isSymLink() ? 0 : info.size();
    qint64 total = 0;
    QDirIterator entries(path, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        entries.next();
        if (!entries.fileInfo().isSymLink()) total += entries.fileInfo().size();
    }
    return total;
}

// "name - Copy.ext", then "name - Copy (2).ext" ..., as desktops name a copy made in its own folder.
QString CopyName(const QString& target) {
    const QFileInfo info(target);
    QString name = info.fileName(), suffix;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (!IsRealDir(info) && dot > 0) {
        suffix = name.mid(dot);
        name.truncate(dot);
    }
    for (int n = 1;; ++n) {
        const QString number =
            n > 1 ? QStringLiteral(" (") + QString::number(n) + QLatin1Char(')') : QString();
        const QString candidate =
            ConcatPath(info.absolutePath(), name + QStringLiteral(" - Copy") + number + suffix);
        if (!EntryExists(QFileInfo(candidate))) return candidate;
    }
}

// The names in a folder; unlike QDir, tells when the folder cannot be read, so that an unreadable
// folder is never copied as an empty one.
bool ListFolder(const QString& folder, QStringList& names, QString& error) {
    std::error_code code;
    const std::filesystem::path path(QFile::encodeName(folder).toStdString());
    for (std::filesystem::directory_iterator entry(path, code), end; !code && entry != end;
         entry.increment(code)) {
        names << QFile::decodeName(QByteArray::fromStdString(entry->path().filename().native()));
    }
    if (code) error = QString::fromLocal8Bit(code.message().c_str());
    return !code;
}

// Permissions as stored (QFileInfo mixes in what this process may do, which root would turn into
// write permission for everybody's copies). Where the target cannot hold them (FAT), the copy goes on.
void CopyMode(const QString& source, const QString& target) {
    struct stat status = {};
    if (::stat(QFile::encodeName(source).constData(), &status) == 0) {
        ::chmod(QFile::encodeName(target).constData(), status.st_mode & 07777);
    }
}

// Keeps the progress open exactly as long as a run.
class TProgressRun {
public:
    TProgressRun(QWidget* owner, const QString& title, qint64 total) {
        CopyProgress().Start(owner, title, total);
    }
    ~TProgressRun() { CopyProgress().Finish(); }
    TProgressRun(const TProgressRun&) = delete;
    TProgressRun& operator=(const TProgressRun&) = delete;
};

}  // namespace

bool EntryExists(const QFileInfo& info) {
    return info.exists() || info.isSymLink();
}

int RenameEntry(const QString& from, const QString& to, bool replace) {
    const QByteArray source = QFile::encodeName(from), target = QFile::encodeName(to);
    if (replace) return ::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // Some file systems (network ones among them) cannot refuse to replace by themselves.
    if (EntryExists(QFileInfo(to))) return EEXIST;
    return ::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
}

QString SystemErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

TFileTransfer::TFileTransfer(QWidget* owner, bool move) : FOwner(owner), FMove(move) {}

bool TFileTransfer::Run(const QList<TTransferItem>& items) {
    qint64 total = 0;
    for (const TTransferItem& item : items) total += TreeSize(item.source);
    const TProgressRun progress(FOwner,
                                FMove ? QCoreApplication::translate("FileOperations", "Moving files")
                                      : QCoreApplication::translate("FileOperations", "Copying files"),
                                total);
    bool ok = true;
    for (const TTransferItem& item : items) {
        if (FAborted) break;
        ok = Item(item.source, item.target) && ok;
        // A stop asked for while a question was open comes after what the answer asked for.
        if (FStopAfterItem) FAborted = true;
    }
    return ok && !FAborted;
}

TAnswer TFileTransfer::Ask(const QString& question) {
    CopyProgress().Suspend();
    const TAnswer answer = Messages().Confirm(question, true);
    if (CopyProgress().Resume()) FStopAfterItem = true;
    return answer;
}

bool TFileTransfer::Item(const QString& source, QString target) {
    const QFileInfo from(source);
    if (!EntryExists(from))
        return Fail(source, target, QCoreApplication::translate("FileOperations", "it does not exist"));
    const bool folder = IsRealDir(from);
    if (Location(source) == Location(target)) {
        if (FMove) return Advance(from.fileName(), TreeSize(source));
        target = CopyName(target);
    }
    if (folder && (Location(target) + QLatin1Char('/')).startsWith(Location(source) + QLatin1Char('/'))) {
        return Fail(
            source, target,
            QCoreApplication::translate("FileOperations", "the target lies inside the folder itself"));
    }
    const QFileInfo to(target);
    bool replace = false;
    if (EntryExists(to)) {
        if (folder != IsRealDir(to)) {
            return Fail(
                source, target,
                folder
                    ? QCoreApplication::translate("FileOperations", "a file of that name is in the way")
                    : QCoreApplication::translate("FileOperations", "a folder of that name is in the way"));
        }
        const QString question =
            folder ? QCoreApplication::translate("FileOperations",
                                                 "The folder \"%1\" already exists.\nMerge \"%2\" into it? "
                                                 "Files of the same name will be replaced.")
                         .arg(target, source)
                   : QCoreApplication::translate("FileOperations",
                                                 "The file \"%1\" already exists.\nReplace it with \"%2\"?")
                         .arg(target, source);
        switch (Ask(question)) {
            case TAnswer::Cancel:
                FAborted = true;
                return false;
            case TAnswer::No:
                return Advance(from.fileName(), TreeSize(source));
            case TAnswer::Yes:
                replace = true;
                break;
        }
    }
    return folder ? Folder(source, target) : File(source, target, replace);
}

bool TFileTransfer::File(const QString& source, const QString& target, bool replace) {
    const QFileInfo from(source);
    if (FMove) {
        const int error = RenameEntry(source, target, replace);
        if (error == 0) return Advance(from.fileName(), from.isSymLink() ? 0 : from.size());
        if (error != EXDEV) return Fail(source, target, SystemErrorText(error));
    }
    if (!CopyFile(source, target, replace)) return false;
    if (FMove) {
        QFile original(source);
        if (!original.remove()) {
            return Fail(
                source, target,
                QCoreApplication::translate("FileOperations",
                                            "the copy is complete, but the original could not be removed: %1")
                    .arg(original.errorString()));
        }
    }
    return true;
}

bool TFileTransfer::Folder(const QString& source, const QString& target) {
    const bool existed = EntryExists(QFileInfo(target));
    if (FMove && !existed) {
        const int error = RenameEntry(source, target, false);
        if (error == 0) return Advance(QFileInfo(source).fileName(), TreeSize(target));
        if (error != EXDEV) return Fail(source, target, SystemErrorText(error));
    }
    QStringList names;
    QString listError;
    if (!ListFolder(source, names, listError)) return Fail(source, target, listError);
    // Owner-only until filled: the source's own permissions may not let us write into it.
    if (!existed && ::mkdir(QFile::encodeName(target).constData(), 0700) != 0) {
        return Fail(source, target, SystemErrorText(errno));
    }
    bool ok = true;
    for (const QString& name : names) {
        if (FAborted) break;
        const QString from = ConcatPath(source, name), into = ConcatPath(target, name);
        const QFileInfo fromInfo(from), intoInfo(into);
        const bool childFolder = IsRealDir(fromInfo);
        // Inside a merge the user has already agreed to have files replaced.
        if (EntryExists(intoInfo) && childFolder != IsRealDir(intoInfo)) {
            ok = Fail(
                from, into,
                childFolder
                    ? QCoreApplication::translate("FileOperations", "a file of that name is in the way")
                    : QCoreApplication::translate("FileOperations", "a folder of that name is in the way"));
            continue;
        }
        ok = (childFolder ? Folder(from, into) : File(from, into, EntryExists(intoInfo))) && ok;
    }
    if (!existed) CopyMode(source, target);
    if (FMove && ok && !FAborted && ::rmdir(QFile::encodeName(source).constData()) != 0) {
        const QString reason = SystemErrorText(errno);
        return Fail(source, target,
                    QCoreApplication::translate(
                        "FileOperations", "the content was moved, but the folder could not be removed: %1")
                        .arg(reason));
    }
    return ok && !FAborted;
}

bool TFileTransfer::CopyFile(const QString& source, const QString& target, bool replace) {
    const QFileInfo from(source);
    if (from.isSymLink()) return CopyLink(source, target, replace);
    // Reading a pipe would wait for a writer forever, and a device may never end.
    struct stat status = {};
    if (::stat(QFile::encodeName(source).constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return Fail(source, target,
                    QCoreApplication::translate("FileOperations",
                                                "it is not a regular file (a device, pipe or socket)"));
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) return Fail(source, target, in.errorString());
    QTemporaryFile out(ConcatPath(QFileInfo(target).absolutePath(), QStringLiteral(".odz-copy-XXXXXX")));
    if (!out.open()) return Fail(source, target, out.errorString());
    QByteArray buffer(kChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 read = in.read(buffer.data(), buffer.size());
        if (read < 0) return Fail(source, target, in.errorString());
        if (read == 0) break;
        if (out.write(buffer.constData(), read) != read) return Fail(source, target, out.errorString());
        if (!Advance(from.fileName(), read)) return false;
    }
    // Everything is written before the time is set, so closing cannot change it again.
    if (!out.flush()) return Fail(source, target, out.errorString());
    CopyMode(source, out.fileName());
    out.setFileTime(from.lastModified(), QFileDevice::FileModificationTime);
    out.close();
    if (out.error() != QFileDevice::NoError) return Fail(source, target, out.errorString());
    const int error = RenameEntry(out.fileName(), target, replace);
    if (error != 0) return Fail(source, target, SystemErrorText(error));
    out.setAutoRemove(false);
    return true;
}

bool TFileTransfer::CopyLink(const QString& source, const QString& target, bool replace) {
    std::error_code code;
    const auto encoded = [](const QString& path) {
        return std::filesystem::path(QFile::encodeName(path).toStdString());
    };
    const std::filesystem::path link = std::filesystem::read_symlink(encoded(source), code);
    if (code) return Fail(source, target, QString::fromLocal8Bit(code.message().c_str()));
    // Made under a passing name first, like a file, so that a replaced entry survives a failure.
    QString temporary;
    for (int n = 0; temporary.isEmpty() || EntryExists(QFileInfo(temporary)); ++n) {
        temporary =
            ConcatPath(QFileInfo(target).absolutePath(), QStringLiteral(".odz-link-") + QString::number(n));
    }
    std::filesystem::create_symlink(link, encoded(temporary), code);
    if (code) return Fail(source, target, QString::fromLocal8Bit(code.message().c_str()));
    const int error = RenameEntry(temporary, target, replace);
    if (error != 0) {
        QFile::remove(temporary);
        return Fail(source, target, SystemErrorText(error));
    }
    return Advance(QFileInfo(source).fileName(), 0);
}

bool TFileTransfer::Fail(const QString& source, const QString& target, const QString& reason) {
    FFailures << (FMove ? QCoreApplication::translate("FileOperations",
                                                      "ERROR - Can't move \"%1\" to \"%2\": %3")
                        : QCoreApplication::translate("FileOperations",
                                                      "ERROR - Can't copy \"%1\" to \"%2\": %3"))
                     .arg(source, target, reason);
    return false;
}

bool TFileTransfer::Advance(const QString& name, qint64 bytes) {
    FDone += bytes;
    if (!CopyProgress().Step(name, FDone)) FAborted = true;
    return !FAborted;
}

}  // namespace odz

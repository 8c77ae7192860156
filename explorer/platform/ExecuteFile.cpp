#include "ExecuteFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#include "DesktopApplications.h"
#include "Messages.h"

namespace odz {

namespace {

enum class TViewer { None, Editor, WordProcessor, ImageViewer };

TLauncher& Launcher() {
    static TLauncher launcher;
    return launcher;
}

bool Launch(const TLaunchRequest& request) {
    if (const TLauncher& launcher = Launcher()) return launcher(request);
    if (!request.url.isEmpty()) return QDesktopServices::openUrl(request.url);
    return QProcess::startDetached(request.program, request.arguments, request.workingDirectory);
}

// The operation as the user reads it: the verbs the program itself uses are put in the user's
// language; any other is shown as it was given.
QString ShownOperation(const QString& operation) {
    const QString verb = operation.trimmed().toLower();
    QString shown;
    if (verb == QLatin1String("open")) {
        shown = QCoreApplication::translate("ExecuteFile", "open");
    } else if (verb == QLatin1String("explore")) {
        shown = QCoreApplication::translate("ExecuteFile", "explore");
    } else if (verb == QLatin1String("find")) {
        shown = QCoreApplication::translate("ExecuteFile", "find");
    }
    return shown.isEmpty() || shown == verb ? operation : shown;
}

int Fail(const QString& operation, const QString& file, int code, const QString& reason = {}) {
    QString text = QCoreApplication::translate("ExecuteFile", "ERROR - Can't %1 file  %2")
                       .arg(ShownOperation(operation), file);
    if (!reason.isEmpty()) text += QLatin1Char('\n') + reason;
    Messages().Error(text);
    return code;
}

// Parameters written for a command line may come quoted.
QString Unquote(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() >= 2 && trimmed.startsWith(QLatin1Char('"')) && trimmed.endsWith(QLatin1Char('"'))) {
        return trimmed.mid(1, trimmed.size() - 2);
    }
    return text;
}

QString Resolve(const QString& name, const QString& directory) {
    if (name.isEmpty()) return {};
    if (QDir::isAbsolutePath(name) || directory.isEmpty()) return QFileInfo(name).absoluteFilePath();
    return QDir(directory).absoluteFilePath(name);
}

// The Windows accessory programs the components name stand for the desktop's own. A bare name or one
// with ".exe" is meant; a path to some other program of that name (such as /usr/bin/write) is not.
TViewer ViewerOf(const QString& file) {
    QString name = QFileInfo(file).fileName().toLower();
    const bool exe = name.endsWith(QLatin1String(".exe"));
    if (!exe && name != file.toLower()) return TViewer::None;
    if (exe) name.chop(4);
    if (name == QLatin1String("notepad")) return TViewer::Editor;
    if (name == QLatin1String("write")) return TViewer::WordProcessor;
    if (name == QLatin1String("pbrush")) return TViewer::ImageViewer;
    return TViewer::None;
}

QString ViewerName(TViewer viewer) {
    switch (viewer) {
        case TViewer::Editor:
            return QCoreApplication::translate("ExecuteFile", "text editor");
        case TViewer::WordProcessor:
            return QCoreApplication::translate("ExecuteFile", "word processor");
        default:
            return QCoreApplication::translate("ExecuteFile", "image viewer");
    }
}

// The failures name what was really tried: the program that was started, else the document the
// desktop was asked to open (never the Windows accessory the caller named).
int OpenInViewer(const QString& operation, const QString& file, TViewer viewer, const QString& parameters,
                 const QString& directory) {
    const QString document = Resolve(Unquote(parameters), directory);
    if (document.isEmpty())
        return Fail(operation, file, kExecFileNotFound,
                    QCoreApplication::translate("ExecuteFile", "No file was named."));
    const QString name = QFileInfo(document).fileName();
    if (!QFileInfo::exists(document)) {
        return Fail(operation, name, kExecFileNotFound,
                    QCoreApplication::translate("ExecuteFile", "The file %1 does not exist.").arg(document));
    }
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(document);
    QStringList types;
    // Notepad opened every file it was given as text: the desktop's editor for plain text comes first.
    if (viewer == TViewer::Editor) types << QStringLiteral("text/plain");
    types << mime.name() << mime.allAncestors();
    types.removeAll(QStringLiteral("application/octet-stream"));
    types.removeDuplicates();

    const QString folder = QFileInfo(directory).isDir() ? directory : QFileInfo(document).path();
    if (const auto application = DefaultApplication(types)) {
        const QStringList command = ExpandExec(*application, document);
        if (Launch({QUrl(), command.first(), command.mid(1), folder})) return kExecStarted;
        return Fail(operation, command.first(), kExecOutOfResources,
                    QCoreApplication::translate("ExecuteFile", "The %1 %2 could not be started for %3.")
                        .arg(ViewerName(viewer), application->name, document));
    }
    // The desktop may still know a program for the file's own type.
    if (Launch({QUrl::fromLocalFile(document), {}, {}, {}})) return kExecStarted;
    return Fail(operation, name, kExecNoAssociation,
                QCoreApplication::translate("ExecuteFile", "No %1 for %2 was found on this desktop.")
                    .arg(ViewerName(viewer), document));
}

int Open(const QString& operation, const QString& file, const QString& parameters, const QString& directory) {
    const QString path = Resolve(file, directory);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) return Fail(operation, file, kExecFileNotFound);
    if (!parameters.isEmpty() && info.isFile() && info.isExecutable()) {
        const QString folder = QFileInfo(directory).isDir() ? directory : info.path();
        if (Launch({QUrl(), path, {Unquote(parameters)}, folder})) return kExecStarted;
        return Fail(operation, file, kExecOutOfResources);
    }
    if (Launch({QUrl::fromLocalFile(path), {}, {}, {}})) return kExecStarted;
    return Fail(operation, file, kExecNoAssociation);
}

int Find(const QString& operation, const QString& file) {
    const QString folder =
        file.compare(QLatin1String("Drives"), Qt::CaseInsensitive) == 0 ? QStringLiteral("/") : file;
    if (!QFileInfo(folder).isDir()) return Fail(operation, file, kExecPathNotFound);
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const struct {
        const char* program;
        QStringList arguments;
    } searches[] = {
        {"kfind", {path}},
        {"catfish", {QStringLiteral("--path=") + path}},
        {"mate-search-tool", {QStringLiteral("--path=") + path}},
        {"gnome-search-tool", {QStringLiteral("--path=") + path}},
    };
    for (const auto& search : searches) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(search.program));
        if (program.isEmpty()) continue;
        if (Launch({QUrl(), program, search.arguments, path})) return kExecStarted;
        return Fail(operation, file, kExecOutOfResources,
                    QCoreApplication::translate("ExecuteFile", "The search program %1 could not be started.")
                        .arg(program));
    }
    return Fail(operation, file, kExecNoAssociation,
                QCoreApplication::translate("ExecuteFile",
                                            "No file search program (kfind, catfish, mate-search-tool or "
                                            "gnome-search-tool) is installed on this desktop."));
}

}  // namespace

int ExecuteFile(const QString& operation, const QString& file, const QString& parameters, int showCommand,
                const QString& directory) {
    Q_UNUSED(showCommand);
    const QString verb = operation.trimmed().toLower();
    if (verb == QLatin1String("find")) return Find(operation, file);
    if (verb.isEmpty() || verb == QLatin1String("open") || verb == QLatin1String("explore")) {
        const TViewer viewer = ViewerOf(file);
        if (viewer != TViewer::None) return OpenInViewer(operation, file, viewer, parameters, directory);
        return Open(operation, file, parameters, directory);
    }
    return Fail(operation, file, kExecNoAssociation,
                QCoreApplication::translate("ExecuteFile", "This desktop has no \"%1\" action for files.")
                    .arg(operation));
}

void SetLauncher(TLauncher launcher) {
    Launcher() = std::move(launcher);
}

}  // namespace odz

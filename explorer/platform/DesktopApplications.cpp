#include "DesktopApplications.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>
#include <QUrl>

namespace odz {

namespace {

using TGroups = QHash<QString, QHash<QString, QString>>;

QStringList DirList(const char* variable, const QString& fallback) {
    QStringList dirs;
    for (const QString& dir : qEnvironmentVariable(variable, fallback).split(QLatin1Char(':'))) {
        // By the XDG base directory rules, relative entries are invalid and must be ignored.
        if (!dir.isEmpty() && QDir::isAbsolutePath(dir)) dirs << QDir::cleanPath(dir);
    }
    return dirs;
}

QString HomeDir(const char* variable, const QString& relative) {
    const QString dir = qEnvironmentVariable(variable);
    return !dir.isEmpty() && QDir::isAbsolutePath(dir) ? QDir::cleanPath(dir) : QDir::homePath() + relative;
}

QStringList DataDirs() {
    return QStringList{HomeDir("XDG_DATA_HOME", QStringLiteral("/.local/share"))} +
           DirList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
}

QStringList ConfigDirs() {
    return QStringList{HomeDir("XDG_CONFIG_HOME", QStringLiteral("/.config"))} +
           DirList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
}

// The mimeapps.list files in the order of precedence, the current desktop's own before the common one.
QStringList MimeAppsLists() {
    QStringList desktops;
    for (const QString& name : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'))) {
        if (!name.isEmpty()) desktops << name.toLower();
    }
    QStringList dirs = ConfigDirs();
    for (const QString& dir : DataDirs()) dirs << dir + QStringLiteral("/applications");
    QStringList lists;
    for (const QString& dir : dirs) {
        for (const QString& desktop : desktops) lists << dir + QLatin1Char('/') + desktop + "-mimeapps.list";
        lists << dir + QStringLiteral("/mimeapps.list");
    }
    return lists;
}

// The groups of a desktop-entry style file; localized keys are not needed here and are left out.
TGroups ReadGroups(const QString& path) {
    TGroups groups;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return groups;
    QTextStream in(&file);
    QString group;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0 || group.isEmpty()) continue;
        const QString key = line.left(equals).trimmed();
        if (key.contains(QLatin1Char('['))) continue;
        groups[group].insert(key, line.mid(equals + 1).trimmed());
    }
    return groups;
}

// The escapes of desktop-entry string values.
QString Unescape(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        if (next == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (next == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else
            out += next;
    }
    return out;
}

QStringList Ids(const QString& value) {
    QStringList ids;
    for (const QString& id : value.split(QLatin1Char(';'))) {
        if (!id.trimmed().isEmpty()) ids << id.trimmed();
    }
    return ids;
}

// The arguments of an Exec line: blanks separate them, double quotes group them, and inside quotes a
// backslash takes the next character literally.
QStringList SplitExec(const QString& exec) {
    QStringList tokens;
    QString current;
    bool inQuotes = false, started = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size())
                current += exec[++i];
            else if (c == QLatin1Char('"'))
                inQuotes = false;
            else
                current += c;
        } else if (c == QLatin1Char('"')) {
            inQuotes = started = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (started) tokens << current;
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started) tokens << current;
    return tokens;
}

bool Runnable(const QString& program) {
    if (program.isEmpty()) return false;
    if (QDir::isAbsolutePath(program)) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable();
    }
    return !QStandardPaths::findExecutable(program).isEmpty();
}

std::optional<TDesktopApplication> LoadApplication(const QString& id) {
    for (const QString& dir : DataDirs()) {
        // "kde4-foo.desktop" may live as kde4/foo.desktop.
        QString relative = id;
        for (;;) {
            const QString path = dir + QStringLiteral("/applications/") + relative;
            if (QFileInfo(path).isFile()) {
                const QHash<QString, QString> entry = ReadGroups(path).value(QStringLiteral("Desktop Entry"));
                const auto isTrue = [&](const char* key) {
                    return entry.value(QLatin1String(key)) == QLatin1String("true");
                };
                TDesktopApplication app{id, path, Unescape(entry.value(QStringLiteral("Name"))),
                                        Unescape(entry.value(QStringLiteral("Exec"))),
                                        Unescape(entry.value(QStringLiteral("Icon")))};
                const QString tryExec = Unescape(entry.value(QStringLiteral("TryExec")));
                const QStringList command = SplitExec(app.exec);
                const bool usable = entry.value(QStringLiteral("Type"), QStringLiteral("Application")) ==
                                        QLatin1String("Application") &&
                                    !isTrue("Hidden") && !isTrue("Terminal") && !command.isEmpty() &&
                                    Runnable(command.first()) && (tryExec.isEmpty() || Runnable(tryExec));
                // The first entry of an id hides later ones, usable or not.
                return usable ? std::optional(app) : std::nullopt;
            }
            const qsizetype dash = relative.indexOf(QLatin1Char('-'));
            if (dash < 0) break;
            relative[dash] = QLatin1Char('/');
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<TDesktopApplication> DefaultApplication(const QStringList& mimeTypes) {
    QList<TGroups> lists;
    for (const QString& path : MimeAppsLists()) lists << ReadGroups(path);
    QList<TGroups> caches;
    for (const QString& dir : DataDirs())
        caches << ReadGroups(dir + QStringLiteral("/applications/mimeinfo.cache"));

    for (const QString& mime : mimeTypes) {
        for (const TGroups& list : lists) {
            for (const QString& id : Ids(list.value(QStringLiteral("Default Applications")).value(mime))) {
                if (auto app = LoadApplication(id)) return app;
            }
        }
        QSet<QString> removed;
        for (const TGroups& list : lists) {
            for (const QString& id : Ids(list.value(QStringLiteral("Removed Associations")).value(mime))) {
                removed.insert(id);
            }
        }
        QStringList offered;
        for (const TGroups& list : lists)
            offered << Ids(list.value(QStringLiteral("Added Associations")).value(mime));
        for (const TGroups& cache : caches)
            offered << Ids(cache.value(QStringLiteral("MIME Cache")).value(mime));
        for (const QString& id : offered) {
            if (removed.contains(id)) continue;
            if (auto app = LoadApplication(id)) return app;
        }
    }
    return std::nullopt;
}

QStringList ExpandExec(const TDesktopApplication& application, const QString& filePath) {
    const QString url = QUrl::fromLocalFile(filePath).toString(QUrl::FullyEncoded);
    QStringList command;
    bool tookFile = false;
    for (const QString& token : SplitExec(application.exec)) {
        if (token == QLatin1String("%f") || token == QLatin1String("%F")) {
            command << filePath;
            tookFile = true;
        } else if (token == QLatin1String("%u") || token == QLatin1String("%U")) {
            command << url;
            tookFile = true;
        } else if (token == QLatin1String("%i")) {
            if (!application.icon.isEmpty()) command << QStringLiteral("--icon") << application.icon;
        } else {
            QString expanded;
            for (qsizetype i = 0; i < token.size(); ++i) {
                if (token[i] != QLatin1Char('%') || i + 1 == token.size()) {
                    expanded += token[i];
                    continue;
                }
                const QChar code = token[++i];
                if (code == QLatin1Char('%'))
                    expanded += QLatin1Char('%');
                else if (code == QLatin1Char('f') || code == QLatin1Char('F'))
                    expanded += filePath;
                else if (code == QLatin1Char('u') || code == QLatin1Char('U'))
                    expanded += url;
                else if (code == QLatin1Char('c'))
                    expanded += application.name;
                else if (code == QLatin1Char('k'))
                    expanded += application.file;
                // Deprecated codes (%d %D %n %N %v %m) stand for nothing.
                if (QStringLiteral("fFuU").contains(code)) tookFile = true;
            }
            if (!expanded.isEmpty()) command << expanded;
        }
    }
    if (!tookFile && !command.isEmpty()) command << filePath;
    return command;
}

}  // namespace odz

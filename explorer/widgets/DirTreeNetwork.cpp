#include "DirTreeNetwork.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include "Drives.h"
#include "PathRoutines.h"

namespace odz {

namespace {

// A network server may take its time; after this long the attempt is given up and reported.
constexpr int kMountTimeoutMs = 120000;
constexpr int kQueryTimeoutMs = 20000;

QString GioProgram() {
    return QStandardPaths::findExecutable(QStringLiteral("gio"));
}

// The current folder may be on the very share being disconnected.
void Prepare(QProcess& process, TGioText text) {
    process.setProcessEnvironment(GioEnvironment(QProcessEnvironment::systemEnvironment(), text));
    process.setWorkingDirectory(QDir::homePath());
}

QString ErrorText(QProcess& process, const QString& errors) {
    const QString text = errors.trimmed();
    if (!text.isEmpty()) return text;
    if (process.error() == QProcess::FailedToStart)
        return QCoreApplication::translate("DirTree", "the gio program could not be started");
    return QCoreApplication::translate("DirTree", "gio ended with code %1").arg(process.exitCode());
}

// Runs gio to the end; false when it did not finish with code 0.
bool RunGio(const QStringList& arguments, TGioText text, QString& output, QString& error) {
    QProcess process;
    Prepare(process, text);
    process.start(GioProgram(), arguments);
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(kQueryTimeoutMs);
    if (!finished) process.kill();
    output = QString::fromUtf8(process.readAllStandardOutput());
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) return true;
    error =
        finished ? ErrorText(process, errors) : QCoreApplication::translate("DirTree", "gio gave no answer");
    return false;
}

class TGioNetwork : public TNetworkBackend {
public:
    bool Available() const override { return !GioProgram().isEmpty(); }

    bool Mount(const QString& location, const QString& user, const QString& password, QString& localPath,
               QString& error) override {
        QProcess process;
        // Its questions are untranslated whatever the language; its messages are the user's to read.
        Prepare(process, TGioText::Shown);
        QEventLoop loop;
        QString pending;
        QString problem;
        bool passwordGiven = false;
        auto stop = [&](const QString& why) {
            problem = why;
            process.kill();
        };
        QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop, [&] {
            pending += QString::fromUtf8(process.readAllStandardOutput());
            const TGioPrompt prompt = GioPromptAt(pending);
            switch (prompt) {
                case TGioPrompt::None:
                    return;
                case TGioPrompt::User:
                    process.write((user + QLatin1Char('\n')).toUtf8());
                    break;
                case TGioPrompt::Domain:
                    process.write("\n");
                    break;
                case TGioPrompt::Password:
                    if (passwordGiven)
                        return stop(QCoreApplication::translate(
                            "DirTree", "the user name or password was not accepted"));
                    passwordGiven = true;
                    process.write((password + QLatin1Char('\n')).toUtf8());
                    break;
                case TGioPrompt::Other:
                    return stop(QCoreApplication::translate(
                                    "DirTree", "the server asked a question this dialog cannot answer:\n%1")
                                    .arg(pending.trimmed()));
            }
            pending.clear();
        });
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError failure) {
            if (failure == QProcess::FailedToStart) loop.quit();
        });
        QTimer::singleShot(kMountTimeoutMs, &loop, [&] {
            stop(QCoreApplication::translate("DirTree", "the server did not answer"));
        });
        process.start(GioProgram(), {QStringLiteral("mount"), location});
        if (process.state() != QProcess::NotRunning || process.error() != QProcess::FailedToStart)
            loop.exec();
        const QString errors = QString::fromUtf8(process.readAllStandardError());
        if (!problem.isEmpty() || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            error = problem.isEmpty() ? ErrorText(process, errors) : problem;
            return false;
        }
        QString info;
        QString ignored;
        localPath = RunGio({QStringLiteral("info"), location}, TGioText::Read, info, ignored)
                        ? ParseGioLocalPath(info)
                        : QString();
        return true;
    }

    QList<TNetworkMount> Mounts() override {
        QList<TNetworkMount> mounts;
        QString output;
        QString error;
        if (Available() &&
            RunGio({QStringLiteral("mount"), QStringLiteral("-l")}, TGioText::Read, output, error))
            mounts = ParseGioMountList(output);
        for (const TDrive& drive : LogicalDrives()) {
            if (drive.type != kDriveRemote) continue;
            const TNetworkMount mount{DriveCaption(drive).trimmed(), drive.root};
            if (!mounts.contains(mount)) mounts << mount;
        }
        return mounts;
    }

    bool Unmount(const TNetworkMount& mount, QString& error) override {
        if (!Available()) {
            error = QCoreApplication::translate("DirTree", "the gio program is not installed");
            return false;
        }
        QString output;
        return RunGio({QStringLiteral("mount"), QStringLiteral("-u"), mount.target}, TGioText::Shown, output,
                      error);
    }
};

TNetworkBackend*& InstalledBackend() {
    static TNetworkBackend* backend = nullptr;
    return backend;
}

}  // namespace

TNetworkBackend& NetworkBackend() {
    static TGioNetwork gio;
    TNetworkBackend* installed = InstalledBackend();
    return installed ? *installed : gio;
}

void SetNetworkBackend(TNetworkBackend* backend) {
    InstalledBackend() = backend;
}

QProcessEnvironment GioEnvironment(QProcessEnvironment environment, TGioText text) {
    const QString utf8 = QStringLiteral("C.UTF-8");
    if (text == TGioText::Read) {
        environment.insert(QStringLiteral("LC_ALL"), utf8);
        environment.remove(QStringLiteral("LANGUAGE"));
        return environment;
    }
    const auto value = [&](const char* name) { return environment.value(QString::fromLatin1(name)); };
    QString characters = value("LC_ALL");
    if (characters.isEmpty()) characters = value("LC_CTYPE");
    if (characters.isEmpty()) characters = value("LANG");
    const QString codeset =
        characters.mid(characters.indexOf(QLatin1Char('.')) + 1).section(QLatin1Char('@'), 0, 0);
    if (characters.contains(QLatin1Char('.')) &&
        (codeset.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0 ||
         codeset.compare(QLatin1String("utf8"), Qt::CaseInsensitive) == 0)) {
        return environment;
    }
    // The language stays the user's; only the characters become UTF-8.
    const QString all = value("LC_ALL");
    if (!all.isEmpty()) {
        environment.remove(QStringLiteral("LC_ALL"));
        environment.insert(QStringLiteral("LC_MESSAGES"), all);
    }
    environment.insert(QStringLiteral("LC_CTYPE"), utf8);
    return environment;
}

QString NetworkLocation(const QString& text) {
    QString location = text.trimmed();
    if (location.startsWith(QLatin1String("\\\\"))) {
        location = QStringLiteral("smb://") + location.mid(2).replace(QLatin1Char('\\'), QLatin1Char('/'));
    }
    const QUrl url(location, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty()) return {};
    if (url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) == 0) return {};
    return location;
}

QList<TNetworkMount> ParseGioMountList(const QString& output) {
    static const QRegularExpression mountLine(
        QStringLiteral(R"(^\s*Mount\(\d+\):\s*(.*?)\s*->\s*(\S+)\s*$)"));
    QList<TNetworkMount> mounts;
    for (const QString& line : output.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = mountLine.match(line);
        if (!match.hasMatch()) continue;
        const QString uri = match.captured(2);
        if (uri.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) continue;
        const TNetworkMount mount{match.captured(1), uri};
        if (!mounts.contains(mount)) mounts << mount;
    }
    return mounts;
}

QString ParseGioLocalPath(const QString& output) {
    static const QString key = QStringLiteral("local path:");
    for (const QString& line : output.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(key)) return trimmed.mid(key.size()).trimmed();
    }
    return {};
}

TGioPrompt GioPromptAt(const QString& output) {
    const QString last = output.mid(output.lastIndexOf(QLatin1Char('\n')) + 1).trimmed();
    if (!last.endsWith(QLatin1Char(':'))) return TGioPrompt::None;
    if (last.startsWith(QLatin1String("User"))) return TGioPrompt::User;
    if (last.startsWith(QLatin1String("Domain"))) return TGioPrompt::Domain;
    if (last.startsWith(QLatin1String("Password"))) return TGioPrompt::Password;
    return TGioPrompt::Other;
}

}  // namespace odz

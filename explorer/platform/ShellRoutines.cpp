#include "ShellRoutines.h"

#include <QCoreApplication>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "Messages.h"
#include "PathRoutines.h"

namespace odz {

namespace {

const QChar kNul(u'\0');

TFolderBrowser& FolderBrowser() {
    static TFolderBrowser browser;
    return browser;
}

QString DesktopFolderBrowser(QWidget* owner, const QString& title, const QString& start) {
    if (IsHeadlessPlatform()) return {};
    return QFileDialog::getExistingDirectory(owner ? owner : QApplication::activeWindow(), title, start);
}

QString WithoutTrailingNuls(QString text) {
    while (text.endsWith(kNul)) text.chop(1);
    return text;
}

}  // namespace

QString AddNullToStr(const QString& text) {
    if (text.isEmpty() || text.endsWith(kNul)) return text;
    return text + kNul;
}

QStringList SplitNullList(const QString& list) {
    return list.split(kNul, Qt::SkipEmptyParts);
}

bool ContainsChars(const QString& chars, const QString& text) {
    for (const QChar c : chars) {
        if (text.contains(c)) return true;
    }
    return false;
}

bool FileDirExist(const QString& path) {
    const QString plain = WithoutTrailingNuls(path);
    if (plain.isEmpty()) return false;
    // A dangling link still takes the name, so a rename onto it would fail just the same.
    const QFileInfo info(plain);
    if (!info.exists() && !info.isSymLink()) return false;
    const QString trimmed = plain.size() > 1 ? DelSlash(plain) : plain;
    QString name = trimmed.mid(trimmed.lastIndexOf(QLatin1Char('/')) + 1);
    if (name.isEmpty()) name = trimmed;
    Messages().Error(QCoreApplication::translate("FileOperations", "\"%1\" already exists !").arg(name));
    return true;
}

bool BrowseForFolder(QWidget* owner, QString& path) {
    const QString title = QCoreApplication::translate("FileOperations", "Please specify a directory");
    const QString start = QFileInfo(path).isDir() ? path : QString();
    const TFolderBrowser& browser = FolderBrowser();
    const QString chosen = browser ? browser(owner, title, start) : DesktopFolderBrowser(owner, title, start);
    if (chosen.isEmpty()) return false;
    path = AddSlash(QDir::cleanPath(chosen));
    return true;
}

void SetFolderBrowser(TFolderBrowser browser) {
    FolderBrowser() = std::move(browser);
}

QString SendToFolder() {
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome)) {
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    }
    const QString folder = dataHome + QStringLiteral("/odizodoruz/SendTo");
    if (!QDir().mkpath(folder)) return {};
    return AddSlash(folder);
}

bool IsHeadlessPlatform() {
    const QString platform = QGuiApplication::platformName();
    return platform.isEmpty() || platform == QLatin1String("offscreen") ||
           platform == QLatin1String("minimal");
}

}  // namespace odz

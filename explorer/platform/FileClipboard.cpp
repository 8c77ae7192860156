#include "FileClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace odz {

namespace {

const QString kGnomeFormat = QStringLiteral("x-special/gnome-copied-files");
const QString kKdeCutFormat = QStringLiteral("application/x-kde-cutselection");
const QByteArray kNautilusText = "x-special/nautilus-clipboard";

// "copy" or "cut", then one URI a line.
TClipboardFiles FromGnomeLines(const QList<QByteArray>& lines) {
    TClipboardFiles files;
    if (lines.isEmpty()) return files;
    files.cut = lines.first().trimmed() == "cut";
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QUrl url = QUrl::fromEncoded(lines[i].trimmed());
        if (url.isLocalFile()) files.paths << url.toLocalFile();
    }
    return files;
}

}  // namespace

std::unique_ptr<QMimeData> FileClipboardData(const TClipboardFiles& files) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    QByteArray gnome = files.cut ? "cut" : "copy";
    for (const QString& path : files.paths) {
        urls << QUrl::fromLocalFile(path);
        gnome += '\n' + urls.last().toEncoded();
    }
    data->setUrls(urls);
    data->setData(kGnomeFormat, gnome);
    data->setData(kKdeCutFormat, files.cut ? "1" : "0");
    data->setText(files.paths.join(QLatin1Char('\n')));
    return data;
}

TClipboardFiles FilesOfClipboardData(const QMimeData* data) {
    if (!data) return {};
    if (data->hasFormat(kGnomeFormat)) {
        TClipboardFiles files = FromGnomeLines(data->data(kGnomeFormat).split('\n'));
        if (!files.paths.isEmpty()) return files;
    }
    if (data->hasUrls()) {
        TClipboardFiles files;
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) files.paths << url.toLocalFile();
        }
        files.cut = data->data(kKdeCutFormat).trimmed() == "1";
        if (!files.paths.isEmpty()) return files;
    }
    const QByteArray text = data->text().toUtf8();
    if (text.startsWith(kNautilusText + '\n')) return FromGnomeLines(text.split('\n').mid(1));
    return {};
}

void PutFilesOnClipboard(const TClipboardFiles& files) {
    QGuiApplication::clipboard()->setMimeData(FileClipboardData(files).release());
}

TClipboardFiles FilesOnClipboard() {
    return FilesOfClipboardData(QGuiApplication::clipboard()->mimeData());
}

void ClearClipboardOf(const TClipboardFiles& files) {
    if (FilesOnClipboard() == files) QGuiApplication::clipboard()->clear();
}

}  // namespace odz

#include "FileListClipboard.h"

#include <QCoreApplication>

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QStringDecoder>
#include <memory>

#include "FileListRtfText.h"
#include "FileListViewers.h"
#include "Messages.h"
#include "OverrideCursor.h"
#include "Windows1252.h"

namespace odz {

namespace {

// Larger files would make the clipboard hold more than any program pasting from it could use.
constexpr qint64 kLargestContent = 64LL * 1024 * 1024;

// The clipboard content for the file, or nullptr with `error` telling why there is none.
std::unique_ptr<QMimeData> ReadContent(const QString& path, QString& error) {
    auto data = std::make_unique<QMimeData>();
    if (IsPictureExtension(UpperExtension(path))) {
        QImage picture;
        if (!picture.load(path)) {
            error = QCoreApplication::translate("FileList", "The picture cannot be read.");
            return nullptr;
        }
        data->setImageData(picture);
        return data;
    }
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        error = QCoreApplication::translate("FileList", "It is not a file.");
        return nullptr;
    }
    if (file.size() > kLargestContent) {
        error = QCoreApplication::translate("FileList", "It is too large for the clipboard.");
        return nullptr;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    if (IsRichText(bytes)) {
        data->setData(QStringLiteral("text/rtf"), bytes);
        data->setText(RichTextPlainText(bytes));
    } else {
        data->setText(DecodeTextFile(bytes));
    }
    return data;
}

}  // namespace

bool CopyContentsToClipboard(const QString& path) {
    QString error;
    std::unique_ptr<QMimeData> data;
    {
        const TOverrideCursor busy;
        data = ReadContent(path, error);
    }
    if (!data) {
        Messages().Error(QCoreApplication::translate("FileList", "ERROR - Can't copy file  %1")
                             .arg(QFileInfo(path).fileName()) +
                         QLatin1Char('\n') + error);
        return false;
    }
    QGuiApplication::clipboard()->setMimeData(data.release());
    return true;
}

QString FileNamesText(const QStringList& paths) {
    return paths.join(QStringLiteral("\r\n"));
}

void CopyFileNamesToClipboard(const QStringList& paths) {
    QGuiApplication::clipboard()->setText(FileNamesText(paths));
}

QString DecodeTextFile(const QByteArray& bytes) {
    if (const auto encoding = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*encoding);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    QString legacy;
    legacy.reserve(bytes.size());
    for (const char byte : bytes) {
        legacy += QChar(static_cast<char16_t>(Windows1252ToUnicode(static_cast<unsigned char>(byte))));
    }
    return legacy;
}

}  // namespace odz

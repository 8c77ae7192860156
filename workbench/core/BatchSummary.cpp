#include "BatchSummary.h"

#include <QCoreApplication>

#include "TextDecoders.h"

namespace odz {

namespace {

QString Files(int count, const QString& what) {
    return (count == 1 ? QCoreApplication::translate("Batch", "%1 file %2")
                       : QCoreApplication::translate("Batch", "%1 files %2"))
        .arg(QString::number(count), what);
}

}  // namespace

void TBatchSummary::Add(TNotConverted::TKind kind, const QString& path, const QString& reason) {
    switch (kind) {
        case TNotConverted::LeftAlone:
            ++leftAlone;
            break;
        case TNotConverted::Failed:
            ++failed;
            break;
        case TNotConverted::Skipped:
            ++skipped;
            break;
        case TNotConverted::Unreadable:
            ++unreadable;
            break;
        case TNotConverted::Link:
            ++links;
            break;
        case TNotConverted::NotTried:
            ++notTried;
            break;
    }
    notConverted.append({kind, path, reason});
}

void TBatchSummary::CountReadAs(const QString& encoding) {
    for (auto& [name, count] : readAs) {
        if (name == encoding) {
            ++count;
            return;
        }
    }
    readAs.append({encoding, 1});
}

bool TBatchSummary::AllDone() const {
    return leftAlone == 0 && failed == 0 && skipped == 0 && unreadable == 0 && notTried == 0;
}

QString TBatchSummary::CountsSentence(const QString& verb) const {
    QString text =
        Files(written, verb) +
        QCoreApplication::translate("Batch", ", %1 left alone, %2 failed").arg(leftAlone).arg(failed);
    if (skipped > 0) text += QCoreApplication::translate("Batch", ", %1 skipped").arg(skipped);
    if (notTried > 0) text += QCoreApplication::translate("Batch", ", %1 not tried").arg(notTried);
    return text + QLatin1Char('.');
}

QString TBatchSummary::Remarks() const {
    QString text;
    if (!readAs.isEmpty()) {
        QStringList groups;
        for (const auto& [name, count] : readAs) groups << QStringLiteral("%1: %2").arg(name).arg(count);
        text += QCoreApplication::translate("Batch", "\n\nFiles read as each encoding: %1.")
                    .arg(groups.join(QStringLiteral(", ")));
    }
    if (references > 0) {
        text +=
            QStringLiteral("\n\n") + QCoreApplication::translate("Batch",
                                                                 "%1 character(s) that the target encoding "
                                                                 "cannot hold were written as decimal "
                                                                 "references (&#N;).")
                                         .arg(references);
    }
    if (replacing && replacements == 0) {
        text +=
            QStringLiteral("\n\n") +
            QCoreApplication::translate("Batch", "The searched text was not found, so no text was replaced.");
    }
    return text;
}

QString TBatchSummary::NotConvertedList() const {
    QString text;
    for (const TNotConverted& entry : notConverted) {
        if (entry.kind != TNotConverted::Failed) text += QLatin1Char('\n') + entry.path + ": " + entry.reason;
    }
    return text.isEmpty() ? text : QCoreApplication::translate("Batch", "Not converted:") + text;
}

QString DisplayPath(const QByteArray& native) {
    const std::string_view bytes(native.constData(), static_cast<std::size_t>(native.size()));
    QString text;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        char32_t code = byte;
        const std::size_t length = byte < 0x80 ? 1 : DecodeUtf8At(bytes, i, code);
        if (length == 0 || code < 0x20 || code == 0x7F) {
            text += QStringLiteral("\\x") +
                    QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
            i += 1;
        } else {
            text += QString::fromUcs4(&code, 1);
            i += length;
        }
    }
    return text;
}

}  // namespace odz

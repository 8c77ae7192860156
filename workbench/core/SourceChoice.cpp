#include "SourceChoice.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <utility>

namespace odz {

TSourceEncodingOf SourceByDetection(TFileDetector detector) {
    return [detector = std::move(detector)](const std::filesystem::path& file, TEncoding target) {
        const TFileDetection found = detector ? detector(file) : TFileDetection{};
        TSourceChoice choice;
        choice.kind = TNotConverted::LeftAlone;
        if (!found.problem.empty()) {
            choice.kind = TNotConverted::Failed;
            choice.reason = QString::fromStdString(found.problem);
            return choice;
        }
        if (!found.confident || (!found.encoding && !found.PlainAscii())) {
            QString guess;
            if (!found.shortName.empty()) {
                guess = QCoreApplication::translate("Batch", " (best guess %1, %2%)")
                            .arg(QString::fromStdString(found.shortName))
                            .arg(qRound(found.confidence * 100));
            }
            choice.reason =
                QCoreApplication::translate("Batch", "left alone: its encoding could not be told") + guess;
            return choice;
        }
        // Text without Vietnamese letters reads alike in every encoding but UTF-16 (it passes
        // unchanged): it is converted like the other files, from an encoding that is not the target.
        const TEncoding source =
            found.encoding.value_or(target == TEncoding::Utf8 ? TEncoding::Viscii : TEncoding::Utf8);
        if (source == target) {
            choice.reason =
                QCoreApplication::translate("Batch", "left alone: it is in the target encoding already");
            return choice;
        }
        choice.encoding = source;
        choice.readAs = found.PlainAscii() ? QCoreApplication::translate("Batch", "plain ASCII")
                                           : QString::fromUtf8(EncodingInfo(source).sourceText);
        return choice;
    };
}

}  // namespace odz

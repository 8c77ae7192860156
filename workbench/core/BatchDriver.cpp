#include "BatchDriver.h"

#include <QCoreApplication>

#include "Encodings.h"
#include "Messages.h"
#include "PathRoutines.h"

namespace odz {

namespace {

bool IsDrives(const QString& folder) {
    return folder.compare(kDrives, Qt::CaseInsensitive) == 0;
}

}  // namespace

// One press of a button: no second batch starts inside it, the busy cursor shows until it is released,
// and the lists' folders are read once.
class TBatchDriver::TPress {
public:
    explicit TPress(TBatchDriver& driver)
        : source(driver.FSourceList.Directory()), target(driver.FTargetList.Directory()), FDriver(driver) {
        FDriver.FRunning = true;
        FDriver.FSummary = {};
        FDriver.FBusy.BeginBusy();
    }
    ~TPress() {
        ReleaseCursor();
        FDriver.FRunning = false;
    }
    TPress(const TPress&) = delete;
    TPress& operator=(const TPress&) = delete;
    void ReleaseCursor() {
        if (FBusy) FDriver.FBusy.EndBusy();
        FBusy = false;
    }

    const QString source;
    const QString target;

private:
    TBatchDriver& FDriver;
    bool FBusy = true;
};

TBatchDriver::TBatchDriver(TRaRaru& engine, TFileListPort& sourceList, TFileListPort& targetList,
                           TDirTreePort& sourceTree, TDirTreePort& targetTree, TBusyPort& busy,
                           TProgress& progress)
    : FEngine(engine),
      FSourceList(sourceList),
      FTargetList(targetList),
      FSourceTree(sourceTree),
      FTargetTree(targetTree),
      FBusy(busy),
      FProgress(progress) {}

std::int64_t TBatchDriver::ItemSizeBytes(int Index) const {
    // The kilobytes the list shows, whatever language it shows them in.
    const TListItem& item = FSourceList.Item(Index);
    return item.kind == QLatin1String("file") ? SizeKB(item.size) * 1024 : 0;
}

std::int64_t TBatchDriver::ListedSizeBytes() const {
    std::int64_t sum = 0;
    for (int i = 0; i < FSourceList.Count(); ++i) {
        if (ItemTakesPart(i)) sum += ItemSizeBytes(i);
    }
    return sum;
}

bool TBatchDriver::ItemTakesPart(int index) const {
    return FSourceList.SelectedCount() == 0 || FSourceList.Selected(index);
}

void TBatchDriver::ClosingSteps(const QString& source, const QString& target) {
    if (FTargetTree.SelectedPath() != target) {
        FTargetTree.ReloadTree();
        FTargetTree.OpenPath(target);
        FSourceTree.ReloadTree();
        FSourceTree.OpenPath(source);
    }
}

void TBatchDriver::Report(const QString& verb) {
    const QString counts = FSummary.CountsSentence(verb) + FSummary.Remarks();
    if (FStopped) {
        Messages().ErrorWithDetails(FSummary.failure + QLatin1Char('\n') + counts,
                                    FSummary.NotConvertedList());
    } else {
        Messages().InformationWithDetails(
            QCoreApplication::translate("Batch", "Done") + QLatin1Char('\n') + counts,
            FSummary.NotConvertedList());
    }
}

void TBatchDriver::Close(TPress& press, const QString& verb) {
    const bool walked = !verb.isEmpty();
    if (walked && FStopped) {
        // The failure ends the batch: no closing steps but the cursor, and the bar at rest.
        press.ReleaseCursor();
        FReplaceAlso = false;
        FProgress.SetPosition(0);
        Report(verb);
        return;
    }
    if (walked) FTargetList.UpdateFileList();
    ClosingSteps(press.source, press.target);
    press.ReleaseCursor();
    if (walked) {
        Report(verb);
    } else {
        Messages().Information(QCoreApplication::translate("Batch", "Done"));
    }
    FReplaceAlso = false;
    FProgress.SetPosition(0);
}

std::optional<QString> TBatchDriver::DrivesRefusal() const {
    if (IsDrives(FSourceList.Directory()) || IsDrives(FTargetList.Directory())) {
        return QCoreApplication::translate(
            "Batch", "Choose a folder as the source and as the target, not the list of drives.");
    }
    return std::nullopt;
}

std::optional<QString> TBatchDriver::ConvertRefusal() const {
    const bool sourceChosen = SourceEncodingOf || (SourceEncoding && SourceEncoding != TargetEncoding);
    if (!TargetEncoding || !sourceChosen) {
        return QCoreApplication::translate("Batch",
                                           "You have to select the different source and target encoding.");
    }
    // The same folder under two spellings is the same folder.
    if (FSourceList.Directory() == FTargetList.Directory() ||
        CanonicalPath(FSourceList.NativeDirectory()) == CanonicalPath(FTargetList.NativeDirectory())) {
        return QCoreApplication::translate("Batch",
                                           "You have to select the different source and target directories.");
    }
    if (auto refusal = DrivesRefusal()) return refusal;
    if (FSourceList.Count() == 0)
        return QCoreApplication::translate("Batch", "There is no file to be converted.");
    return std::nullopt;
}

std::optional<QString> TBatchDriver::ReplaceRefusal() const {
    if (FindText.isEmpty()) return QCoreApplication::translate("Batch", "There is nothing to find");
    if (ReplaceText.isEmpty()) return QCoreApplication::translate("Batch", "There is nothing to replace");
    if (FindText == ReplaceText)
        return QCoreApplication::translate("Batch", "The same messages. No replacement is made.");
    return DrivesRefusal();
}

void TBatchDriver::ConversebuttonClick() {
    if (FRunning) return;
    TPress press(*this);
    if (const auto refusal = ConvertRefusal()) {
        Messages().Information(*refusal);
        Close(press, {});
        return;
    }
    const char* const format =
        FSourceList.SelectedCount() > 0
            ? QT_TRANSLATE_NOOP("Batch",
                                "Do you want to convert selected files with %1 in directory %2 from %3 "
                                "to files with %1 to directory %4 with %5")
            : QT_TRANSLATE_NOOP("Batch",
                                "Do you want to convert all files with %1 in directory %2 from %3 to "
                                "files with %1 to directory %4 with %5");
    // One pass over the text: a folder name holding "%2" stays as it is.
    const QString question =
        QCoreApplication::translate("Batch", format)
            .arg(FSourceList.Mask(), press.source,
                 SourceEncodingOf ? QCoreApplication::translate("Batch", "detected per file")
                                  : QString::fromUtf8(EncodingInfo(*SourceEncoding).sourceText),
                 press.target, QString::fromUtf8(EncodingInfo(*TargetEncoding).targetText));
    if (Messages().Confirm(question, true) != TAnswer::Yes) return;
    if (!FindText.isEmpty() && !ReplaceText.isEmpty() && FindText != ReplaceText) {
        const TAnswer answer = Messages().Confirm(
            QCoreApplication::translate("Batch", "Do you want to replace text : %1 with new text : %2 also ?")
                .arg(FindText, ReplaceText),
            false);
        if (answer == TAnswer::Yes) FReplaceAlso = true;
        if (answer == TAnswer::No) FReplaceAlso = false;
    }
    ConvertWalk();
    Close(press, QCoreApplication::translate("Batch", "converted"));
}

void TBatchDriver::ReplaceButtonClick() {
    if (FRunning) return;
    TPress press(*this);
    QString verb;
    if (const auto refusal = ReplaceRefusal()) {
        Messages().Information(*refusal);
    } else {
        const char* const format =
            FSourceList.SelectedCount() > 0
                ? QT_TRANSLATE_NOOP("Batch",
                                    "Do you want to replace all text:  %1 in selected files in directory "
                                    "%2 with text: %3 to directory %4")
                : QT_TRANSLATE_NOOP("Batch",
                                    "Do you want to replace all text:  %1 in all files in directory %2 "
                                    "with text: %3 to directory %4");
        const QString question = QCoreApplication::translate("Batch", format)
                                     .arg(FindText, press.source, ReplaceText, press.target);
        if (Messages().Confirm(question, true) == TAnswer::Yes) {
            ReplaceWalk();
            verb = QCoreApplication::translate("Batch", "written");
        }
    }
    Close(press, verb);
}

void TBatchDriver::ConvertWalk() {
    StartWalk(FReplaceAlso);
    if ((!SourceEncoding && !SourceEncodingOf) || !TargetEncoding) return;
    // The workers are gone however the walk ends; what they converted is recorded when it ends well.
    struct TWorkersEnd {
        TBatchDriver& driver;
        ~TWorkersEnd() {
            driver.FWorkers.reset();
            driver.FWaiting.clear();
            driver.FTurns.reset();
        }
    } const workersEnd{*this};
    if (Jobs > 1 && (GoOnAfterFailure || OverwriteAll)) {
        FWorkers = std::make_unique<TConversionWorkers>(FEngine, Jobs);
        if (!GoOnAfterFailure) FTurns = std::make_unique<TPutInPlaceTurns>();
    }
    // With the source told per file, SourceEncoding is not used.
    ConvertDirectory(FSourceList.NativeDirectory(), FTargetList.NativeDirectory(),
                     SourceEncoding.value_or(TEncoding::Utf8), *TargetEncoding);
    Settle();
}

void TBatchDriver::ReplaceWalk() {
    // With a source encoding chosen, the texts are looked for as the files of that encoding hold them.
    FReplacement =
        ReplacementForSource(FEngine, SourceEncoding, {FindText.toStdString(), ReplaceText.toStdString()});
    StartWalk(true);
    ReplaceDirectory(FSourceList.NativeDirectory(), FTargetList.NativeDirectory());
}

}  // namespace odz

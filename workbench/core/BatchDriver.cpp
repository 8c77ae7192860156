#include "BatchDriver.h"

#include "Encodings.h"
#include "Messages.h"
#include "PathRoutines.h"

namespace odz {

namespace {

// Marks a batch as running, so that no second one starts inside it.
class TRunning {
public:
    explicit TRunning(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TRunning() { FFlag = false; }

private:
    bool& FFlag;
};

bool IsDrives(const QString& folder) {
    return folder.compare(kDrives, Qt::CaseInsensitive) == 0;
}

}  // namespace

// Shows the busy cursor for as long as it lives, or until released.
class TBatchDriver::TBusy {
public:
    explicit TBusy(TBusyPort& port) : FPort(port) { FPort.BeginBusy(); }
    ~TBusy() { Release(); }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;
    void Release() {
        if (FShown) FPort.EndBusy();
        FShown = false;
    }

private:
    TBusyPort& FPort;
    bool FShown = true;
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
    const QString text = FSourceList.Item(Index).sizeText;
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (text.isEmpty() || blank <= 0) return 0;
    return text.left(blank).toLongLong() * 1024;
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
        Messages().InformationWithDetails(QStringLiteral("Done\n") + counts, FSummary.NotConvertedList());
    }
}

void TBatchDriver::Close(const QString& source, const QString& target, TBusy& busy, const QString& verb) {
    const bool walked = !verb.isEmpty();
    if (walked && FStopped) {
        // The failure ends the batch: no closing steps but the cursor, and the bar at rest.
        busy.Release();
        FReplaceAlso = false;
        FProgress.SetPosition(0);
        Report(verb);
        return;
    }
    if (walked) FTargetList.UpdateFileList();
    ClosingSteps(source, target);
    busy.Release();
    if (walked) {
        Report(verb);
    } else {
        Messages().Information(QStringLiteral("Done"));
    }
    FReplaceAlso = false;
    FProgress.SetPosition(0);
}

std::optional<QString> TBatchDriver::DrivesRefusal() const {
    if (IsDrives(FSourceList.Directory()) || IsDrives(FTargetList.Directory())) {
        return QStringLiteral("Choose a folder as the source and as the target, not the list of drives.");
    }
    return std::nullopt;
}

std::optional<QString> TBatchDriver::ConvertRefusal() const {
    if (!SourceEncoding || !TargetEncoding || *SourceEncoding == *TargetEncoding) {
        return QStringLiteral("You have to select the different source and target encoding.");
    }
    // The same folder under two spellings is the same folder.
    if (FSourceList.Directory() == FTargetList.Directory() ||
        CanonicalPath(FSourceList.NativeDirectory()) == CanonicalPath(FTargetList.NativeDirectory())) {
        return QStringLiteral("You have to select the different source and target directories.");
    }
    if (auto refusal = DrivesRefusal()) return refusal;
    if (FSourceList.Count() == 0) return QStringLiteral("There is no file to be converted.");
    return std::nullopt;
}

std::optional<QString> TBatchDriver::ReplaceRefusal() const {
    if (FindText.isEmpty()) return QStringLiteral("There is nothing to find");
    if (ReplaceText.isEmpty()) return QStringLiteral("There is nothing to replace");
    if (FindText == ReplaceText) return QStringLiteral("The same messages. No replacement is made.");
    return DrivesRefusal();
}

void TBatchDriver::ConversebuttonClick() {
    if (FRunning) return;
    const TRunning running(FRunning);
    FSummary = {};
    TBusy busy(FBusy);
    const QString T = FTargetList.Directory();
    const QString S = FSourceList.Directory();
    if (const auto refusal = ConvertRefusal()) {
        Messages().Information(*refusal);
        Close(S, T, busy, {});
        return;
    }
    const QString prefix = FSourceList.SelectedCount() > 0
                               ? QStringLiteral("Do you want to convert selected files with ")
                               : QStringLiteral("Do you want to convert all files with ");
    const QString question =
        prefix + FSourceList.Mask() + QStringLiteral(" in directory ") + S + QStringLiteral(" from ") +
        QString::fromUtf8(EncodingInfo(*SourceEncoding).sourceText) + QStringLiteral(" to files with ") +
        FSourceList.Mask() + QStringLiteral(" to directory ") + T + QStringLiteral(" with ") +
        QString::fromUtf8(EncodingInfo(*TargetEncoding).targetText);
    if (Messages().Confirm(question, true) != TAnswer::Yes) return;
    if (!FindText.isEmpty() && !ReplaceText.isEmpty() && FindText != ReplaceText) {
        const TAnswer answer = Messages().Confirm(QStringLiteral("Do you want to replace text : ") +
                                                      FindText + QStringLiteral(" with new text : ") +
                                                      ReplaceText + QStringLiteral(" also ?"),
                                                  false);
        if (answer == TAnswer::Yes) FReplaceAlso = true;
        if (answer == TAnswer::No) FReplaceAlso = false;
    }
    ConvertWalk();
    Close(S, T, busy, QStringLiteral("converted"));
}

void TBatchDriver::ReplaceButtonClick() {
    if (FRunning) return;
    const TRunning running(FRunning);
    FSummary = {};
    TBusy busy(FBusy);
    const QString T = FTargetList.Directory();
    const QString S = FSourceList.Directory();
    QString verb;
    if (const auto refusal = ReplaceRefusal()) {
        Messages().Information(*refusal);
    } else {
        const QString question =
            QStringLiteral("Do you want to replace all text:  ") + FindText +
            (FSourceList.SelectedCount() > 0 ? QStringLiteral(" in selected files in directory ")
                                             : QStringLiteral(" in all files in directory ")) +
            S + QStringLiteral(" with text: ") + ReplaceText + QStringLiteral(" to directory ") + T;
        if (Messages().Confirm(question, true) == TAnswer::Yes) {
            ReplaceWalk();
            verb = QStringLiteral("written");
        }
    }
    Close(S, T, busy, verb);
}

void TBatchDriver::ConvertWalk() {
    StartWalk(FReplaceAlso);
    if (!SourceEncoding || !TargetEncoding) return;
    ConvertDirectory(FSourceList.NativeDirectory(), FTargetList.NativeDirectory(), *SourceEncoding,
                     *TargetEncoding);
}

void TBatchDriver::ReplaceWalk() {
    // With a source encoding chosen, the texts are looked for as the files of that encoding hold them.
    FReplacement =
        ReplacementForSource(FEngine, SourceEncoding, {FindText.toStdString(), ReplaceText.toStdString()});
    StartWalk(true);
    ReplaceDirectory(FSourceList.NativeDirectory(), FTargetList.NativeDirectory());
}

}  // namespace odz

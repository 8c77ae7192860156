#include "BatchDriver.h"

#include <QFile>

#include "Encodings.h"
#include "FileError.h"
#include "PathRoutines.h"
#include "ReplaceInLine.h"

namespace odz {

namespace {

// Shows the busy cursor for as long as it lives.
class TBusy {
public:
    explicit TBusy(TUserPort& user) : FUser(user) { FUser.BeginBusy(); }
    ~TBusy() { Release(); }
    void Release() {
        if (FShown) FUser.EndBusy();
        FShown = false;
    }

private:
    TUserPort& FUser;
    bool FShown = true;
};

// Marks a batch as running, so that no second one starts inside it.
class TRunning {
public:
    explicit TRunning(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TRunning() { FFlag = false; }

private:
    bool& FFlag;
};

}  // namespace

TBatchDriver::TBatchDriver(TRaRaru& engine, TFileListPort& sourceList, TFileListPort& targetList,
                           TDirTreePort& sourceTree, TDirTreePort& targetTree, TUserPort& user,
                           TProgress& progress)
    : FEngine(engine),
      FSourceList(sourceList),
      FTargetList(targetList),
      FSourceTree(sourceTree),
      FTargetTree(targetTree),
      FUser(user),
      FProgress(progress) {}

std::string TBatchDriver::ReplaceInLine(std::string_view Line) const {
    return odz::ReplaceInLine(Line, FindText.toStdString(), ReplaceText.toStdString());
}

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
        FUser.ErrorWithDetails(FSummary.failure + QLatin1Char('\n') + counts, FSummary.NotConvertedList());
    } else {
        FUser.InformationWithDetails(QStringLiteral("Done\n") + counts, FSummary.NotConvertedList());
    }
}

void TBatchDriver::ConversebuttonClick() {
    if (FRunning) return;
    const TRunning running(FRunning);
    FSummary = {};
    TBusy busy(FUser);
    const QString T = FTargetList.Directory();
    const QString S = FSourceList.Directory();
    const auto closing = [&](bool walked) {
        ClosingSteps(S, T);
        busy.Release();
        if (walked) {
            Report(QStringLiteral("converted"));
        } else {
            FUser.Information(QStringLiteral("Done"));
        }
        FReplaceAlso = false;
        FProgress.SetPosition(0);
    };

    if (SourceEncoding < 0 || TargetEncoding < 0 || SourceEncoding == TargetEncoding) {
        FUser.Information(QStringLiteral("You have to select the different source and target encoding."));
        closing(false);
        return;
    }
    // The same folder under two spellings is the same folder.
    if (S == T ||
        CanonicalPath(FSourceList.NativeDirectory()) == CanonicalPath(FTargetList.NativeDirectory())) {
        FUser.Information(QStringLiteral("You have to select the different source and target directories."));
        closing(false);
        return;
    }
    if (S.compare(kDrives, Qt::CaseInsensitive) == 0 || T.compare(kDrives, Qt::CaseInsensitive) == 0) {
        FUser.Information(
            QStringLiteral("Choose a folder as the source and as the target, not the list of drives."));
        closing(false);
        return;
    }
    if (FSourceList.Count() == 0) {
        FUser.Information(QStringLiteral("There is no file to be converted."));
        closing(false);
        return;
    }
    const QString prefix = FSourceList.SelectedCount() > 0
                               ? QStringLiteral("Do you want to convert selected files with ")
                               : QStringLiteral("Do you want to convert all files with ");
    const TEncodingInfo& from = EncodingAt(SourceEncoding);
    const TEncodingInfo& to = EncodingAt(TargetEncoding);
    const QString question =
        prefix + FSourceList.Mask() + QStringLiteral(" in directory ") + S + QStringLiteral(" from ") +
        QString::fromUtf8(from.sourceText) + QStringLiteral(" to files with ") + FSourceList.Mask() +
        QStringLiteral(" to directory ") + T + QStringLiteral(" with ") + QString::fromUtf8(to.targetText);
    if (FUser.Confirm(question, true) != TAnswer::Yes) return;
    if (!FindText.isEmpty() && !ReplaceText.isEmpty() && FindText != ReplaceText) {
        const TAnswer answer =
            FUser.Confirm(QStringLiteral("Do you want to replace text : ") + FindText +
                              QStringLiteral(" with new text : ") + ReplaceText + QStringLiteral(" also ?"),
                          false);
        if (answer == TAnswer::Yes) FReplaceAlso = true;
        if (answer == TAnswer::No) FReplaceAlso = false;
    }
    FSummary.replacing = FReplaceAlso;
    StartWalk(FSourceList.NativeDirectory(), FTargetList.NativeDirectory());
    ConvertLevel(FSourceList.NativeDirectory(), FTargetList.NativeDirectory(),
                 QString::fromUtf8(from.identifier), QString::fromUtf8(to.identifier));
    if (FStopped) {
        // The failure ends the batch: no closing steps but the cursor, and the bar at rest.
        busy.Release();
        FReplaceAlso = false;
        FProgress.SetPosition(0);
        Report(QStringLiteral("converted"));
        return;
    }
    FTargetList.UpdateFileList();
    closing(true);
}

void TBatchDriver::ReplaceButtonClick() {
    if (FRunning) return;
    const TRunning running(FRunning);
    FSummary = {};
    TBusy busy(FUser);
    const QString T = FTargetList.Directory();
    const QString S = FSourceList.Directory();
    bool walked = false;
    if (FindText.isEmpty()) {
        FUser.Information(QStringLiteral("There is nothing to find"));
    } else if (ReplaceText.isEmpty()) {
        FUser.Information(QStringLiteral("There is nothing to replace"));
    } else if (FindText == ReplaceText) {
        FUser.Information(QStringLiteral("The same messages. No replacement is made."));
    } else if (S.compare(kDrives, Qt::CaseInsensitive) == 0 || T.compare(kDrives, Qt::CaseInsensitive) == 0) {
        FUser.Information(
            QStringLiteral("Choose a folder as the source and as the target, not the list of drives."));
    } else {
        const QString question =
            QStringLiteral("Do you want to replace all text:  ") + FindText +
            (FSourceList.SelectedCount() > 0 ? QStringLiteral(" in selected files in directory ")
                                             : QStringLiteral(" in all files in directory ")) +
            S + QStringLiteral(" with text: ") + ReplaceText + QStringLiteral(" to directory ") + T;
        if (FUser.Confirm(question, true) == TAnswer::Yes) {
            PrepareReplacement();
            FSummary.replacing = true;
            StartWalk(FSourceList.NativeDirectory(), FTargetList.NativeDirectory());
            ReplaceLevel(FSourceList.NativeDirectory(), FTargetList.NativeDirectory());
            walked = true;
            if (FStopped) {
                busy.Release();
                FProgress.SetPosition(0);
                Report(QStringLiteral("written"));
                return;
            }
            FTargetList.UpdateFileList();
        }
    }
    busy.Release();
    ClosingSteps(S, T);
    if (walked) {
        Report(QStringLiteral("written"));
    } else {
        FUser.Information(QStringLiteral("Done"));
    }
    FProgress.SetPosition(0);
}

void TBatchDriver::PrepareReplacement() {
    FFindBytes = FindText.toStdString();
    FReplaceBytes = ReplaceText.toStdString();
    FFindCodes.clear();
    FReplaceCodes.clear();
    // With a source encoding chosen, the texts are looked for as the files of that encoding hold them.
    if (SourceEncoding < 0 || SourceEncoding >= kEncodingCount) return;
    const TEncodingInfo& source = EncodingAt(SourceEncoding);
    if (source.kind == TEncodingKind::Utf16) {
        const QList<uint> find = FindText.toUcs4();
        const QList<uint> replacement = ReplaceText.toUcs4();
        FFindCodes.assign(find.begin(), find.end());
        FReplaceCodes.assign(replacement.begin(), replacement.end());
    } else {
        FFindBytes = EncodeForSource(FEngine, source.encoding, FFindBytes);
        FReplaceBytes = EncodeForSource(FEngine, source.encoding, FReplaceBytes);
    }
}

void TBatchDriver::ConvertDirectory(const QString& SourceDir, const QString& TargetDir,
                                    const QString& SourceEncoding, const QString& TargetEncoding) {
    ConvertLevel(QFile::encodeName(SourceDir), QFile::encodeName(TargetDir), SourceEncoding, TargetEncoding);
}

void TBatchDriver::ReplaceDirectory(const QString& SourceDir, const QString& TargetDir) {
    PrepareReplacement();
    ReplaceLevel(QFile::encodeName(SourceDir), QFile::encodeName(TargetDir));
}

}  // namespace odz

#include "BatchDriver.h"

#include <QDir>
#include <QFileInfo>
#include <vector>

#include "AtomicFile.h"
#include "Encodings.h"
#include "FileError.h"
#include "PathRoutines.h"
#include "ReplaceInFile.h"
#include "ReplaceInLine.h"

namespace odz {

namespace {

std::filesystem::path LocalPath(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

QString Canonical(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

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

// Puts both lists back on a level's folders however the level ends.
class TBatchDriver::TWalk {
public:
    TWalk(TBatchDriver& driver, const QString& sourceDir, const QString& targetDir)
        : FDriver(driver), FSourceDir(sourceDir), FTargetDir(targetDir) {}
    ~TWalk() {
        if (FDriver.FSourceList.Directory() != FSourceDir) {
            FDriver.FSourceList.SetDirectory(FSourceDir);
            FDriver.FSourceList.UpdateFileList();
        }
        if (FDriver.FTargetList.Directory() != FTargetDir) {
            FDriver.FTargetList.SetDirectory(FTargetDir);
            FDriver.FTargetList.UpdateFileList();
        }
    }

private:
    TBatchDriver& FDriver;
    QString FSourceDir;
    QString FTargetDir;
};

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

bool TBatchDriver::MayEnter(const QString& folder) {
    const QString canonical = Canonical(folder);
    return canonical != FTargetRoot && !FEntered.contains(canonical);
}

void TBatchDriver::Record(const QString& source, const QString& target, const TFileConversionReport& report) {
    switch (report.outcome) {
        case TFileConversionReport::Written:
            ++FSummary.written;
            break;
        case TFileConversionReport::LeftAlone:
            ++FSummary.leftAlone;
            break;
        case TFileConversionReport::Failed:
            ++FSummary.failed;
            FSummary.failure = QString::fromStdString(report.Reason());
            break;
    }
    FSummary.references += report.references;
    if (OnFile) OnFile({source, target, report});
}

void TBatchDriver::NoteFailure(const EFileError& error) {
    // A file's failure is noted with the file; a folder that cannot be made is noted here.
    if (FSummary.failed > 0) return;
    FSummary.failed = 1;
    FSummary.failure = QString::fromStdString(error.FullText());
}

void TBatchDriver::ClosingSteps(const QString& source, const QString& target) {
    if (FTargetTree.SelectedPath() != target) {
        FTargetTree.ReloadTree();
        FTargetTree.OpenPath(target);
        FSourceTree.ReloadTree();
        FSourceTree.OpenPath(source);
    }
}

void TBatchDriver::ConversebuttonClick() {
    if (FRunning) return;
    const TRunning running(FRunning);
    FSummary = {};
    TBusy busy(FUser);
    const QString T = FTargetList.Directory();
    const QString S = FSourceList.Directory();
    const auto closing = [&] {
        ClosingSteps(S, T);
        busy.Release();
        QString done = QStringLiteral("Done");
        if (FSummary.references > 0) {
            done += QStringLiteral(
                        "\n\n%1 character(s) that the target encoding cannot hold were written as "
                        "decimal references (&#N;).")
                        .arg(FSummary.references);
        }
        FUser.Information(done);
        FReplaceAlso = false;
        FProgress.SetPosition(0);
    };

    if (SourceEncoding < 0 || TargetEncoding < 0 || SourceEncoding == TargetEncoding) {
        FUser.Information(QStringLiteral("You have to select the different source and target encoding."));
        closing();
        return;
    }
    // The same folder under two spellings is the same folder.
    if (S == T || Canonical(S) == Canonical(T)) {
        FUser.Information(QStringLiteral("You have to select the different source and target directories."));
        closing();
        return;
    }
    if (S.compare(kDrives, Qt::CaseInsensitive) == 0 || T.compare(kDrives, Qt::CaseInsensitive) == 0) {
        FUser.Information(
            QStringLiteral("Choose a folder as the source and as the target, not the list of drives."));
        closing();
        return;
    }
    if (FSourceList.Count() == 0) {
        FUser.Information(QStringLiteral("There is no file to be converted."));
        closing();
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
    FTargetRoot = Canonical(T);
    FEntered.clear();
    try {
        ConvertDirectory(S, T, QString::fromUtf8(from.identifier), QString::fromUtf8(to.identifier));
    } catch (const EFileError& error) {
        NoteFailure(error);
        busy.Release();
        FReplaceAlso = false;
        FUser.ShowError(QString::fromStdString(error.what()));
        return;
    }
    FTargetList.UpdateFileList();
    closing();
}

void TBatchDriver::ConvertOne(int index, const QString& sourcePath, const QString& targetPath,
                              const QString& sourceEncoding, const QString& targetEncoding) {
    TFileConversionRequest request;
    request.source = LocalPath(sourcePath);
    request.target = LocalPath(targetPath);
    request.from = sourceEncoding.toStdString();
    request.to = targetEncoding.toStdString();
    request.htmlDoc = HtmlDoc;
    request.overwriteAll = OverwriteAll;
    if (FReplaceAlso) request.replace = TReplacement{FindText.toStdString(), ReplaceText.toStdString()};
    const TFileConversionReport report = ConvertFile(FEngine, request);
    Record(sourcePath, targetPath, report);
    if (report.outcome == TFileConversionReport::Failed) throw EFileError(report.message, report.detail);
    if (request.to == "Unicode16" || request.from == "Unicode16") FProgress.Advance(ItemSizeBytes(index));
}

void TBatchDriver::WalkLevel(QString SourceDir, QString TargetDir, const std::function<void()>& startFiles,
                             const std::function<void(int, const QString&, const QString&)>& doFile,
                             const std::function<void(const QString&, const QString&)>& walkSubfolder) {
    std::vector<QString> subfolders;
    SourceDir = AddSlash(SourceDir);
    TargetDir = AddSlash(TargetDir);
    FEntered.insert(Canonical(SourceDir));
    if (!QFileInfo(TargetDir).isDir() && !QDir().mkdir(TargetDir)) {
        throw EFileError("Cannot create " + TargetDir.toStdString());
    }
    const TWalk walk(*this, SourceDir, TargetDir);
    if (FSourceList.Directory() != SourceDir) {
        FSourceList.SetDirectory(SourceDir);
        FSourceList.UpdateFileList();
    }
    if (FSourceList.Count() > 0) {
        startFiles();
        FProgress.SetPosition(0);
        FProgress.SetMax(ListedSizeBytes());
        FEngine.ProgressBar = &FProgress;
        for (int i = 0; i < FSourceList.Count(); ++i) {
            const TListItem& item = FSourceList.Item(i);
            if (!ItemTakesPart(i) || item.isParent) continue;
            const QString name = item.Name();
            const QFileInfo info(SourceDir + name);
            if (info.isDir()) {
                subfolders.push_back(name);
            } else if (info.isFile() && !IsTemporaryFileName(name.toStdString())) {
                // Another run's file in the making is no source.
                doFile(i, SourceDir + name, TargetDir + name);
            }
        }
    }
    for (const QString& name : subfolders) {
        if (MayEnter(SourceDir + name)) walkSubfolder(SourceDir + name, TargetDir + name);
    }
}

void TBatchDriver::ConvertDirectory(QString SourceDir, QString TargetDir, const QString& SourceEncoding,
                                    const QString& TargetEncoding) {
    WalkLevel(
        SourceDir, TargetDir,
        [&] {
            FEngine.SetSourceEncode(SourceEncoding.toStdString());
            FEngine.Questions = &FUser;
        },
        [&](int index, const QString& sourcePath, const QString& targetPath) {
            ConvertOne(index, sourcePath, targetPath, SourceEncoding, TargetEncoding);
        },
        [&](const QString& source, const QString& target) {
            ConvertDirectory(source, target, SourceEncoding, TargetEncoding);
        });
}

void TBatchDriver::ReplaceButtonClick() {
    if (FRunning) return;
    const TRunning running(FRunning);
    FSummary = {};
    TBusy busy(FUser);
    const QString T = FTargetList.Directory();
    const QString S = FSourceList.Directory();
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
            FTargetRoot = Canonical(S) == Canonical(T) ? QString() : Canonical(T);
            FEntered.clear();
            try {
                ReplaceDirectory(S, T);
            } catch (const EFileError& error) {
                NoteFailure(error);
                busy.Release();
                FUser.ShowError(QString::fromStdString(error.what()));
                return;
            }
            FTargetList.UpdateFileList();
        }
    }
    busy.Release();
    ClosingSteps(S, T);
    FUser.Information(QStringLiteral("Done"));
    FProgress.SetPosition(0);
}

void TBatchDriver::ReplaceDirectory(QString SourceDir, QString TargetDir) {
    const std::string find = FindText.toStdString();
    const std::string replacement = ReplaceText.toStdString();
    WalkLevel(
        SourceDir, TargetDir, [] {},
        [&](int, const QString& sourcePath, const QString& targetPath) {
            try {
                ReplaceInFile(LocalPath(sourcePath), LocalPath(targetPath), find, replacement);
            } catch (const EFileError& error) {
                Record(sourcePath, targetPath,
                       {TFileConversionReport::Failed, error.what(), error.Reason(), 0});
                throw;
            }
            Record(sourcePath, targetPath, {TFileConversionReport::Written, {}, {}, 0});
        },
        [&](const QString& source, const QString& target) { ReplaceDirectory(source, target); });
}

}  // namespace odz

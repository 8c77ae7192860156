#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "BatchPorts.h"
#include "BatchSummary.h"
#include "ConversionWorkers.h"
#include "FileConversion.h"
#include "FileError.h"
#include "SourceChoice.h"
#include "TRaRaru.h"

namespace odz {

// The path with every link followed, or the path itself (without a trailing separator) when it
// cannot be resolved; by the name bytes.
QByteArray CanonicalPath(const QByteArray& native);

// What happened to one file of a batch.
struct TFileOutcome {
    QString source;
    QString target;
    TFileConversionReport report;
    QString readAs;  // with the source encoding told per file: the name the file was read under
};

// The Convert and Replace buttons: their checks, questions and messages (through the program's
// messages), and the walks over the source folder and its subfolders, through the ports only.
class TBatchDriver {
public:
    TBatchDriver(TRaRaru& engine, TFileListPort& sourceList, TFileListPort& targetList,
                 TDirTreePort& sourceTree, TDirTreePort& targetTree, TBusyPort& busy, TProgress& progress);

    // The window's choices, read when the buttons are pressed.
    std::optional<TEncoding> SourceEncoding;  // none until the user chooses one
    std::optional<TEncoding> TargetEncoding;
    // When set, Convert reads each file in the encoding this gives it instead of SourceEncoding
    // ("Detect automatically"); a file without one is noted as it says. The files written are counted
    // in the summary under the names it gives.
    TSourceEncodingOf SourceEncodingOf;
    QString FindText;
    QString ReplaceText;
    bool OverwriteAll = false;
    bool HtmlDoc = false;
    // Combining marks joined to their letters for Unicode targets too (the command-line tool's
    // --compose).
    bool Compose = false;
    // Replace the search text in every line of a conversion; set by the question of Convert.
    bool FReplaceAlso = false;
    // After a file fails, go on with the others (the command-line tool). Otherwise the first failure
    // ends the batch and the rest of the walk only counts the files that were not tried.
    bool GoOnAfterFailure = false;
    // Told about every file a batch tries.
    std::function<void(const TFileOutcome&)> OnFile;
    // Convert converts this many files side by side, each thread with an engine of its own, when no
    // question can come: with OverwriteAll, or with GoOnAfterFailure, where a target that exists is
    // left alone without a question unless OverwriteAll. Where the first failure ends the batch, the
    // files are put in place one after the other in the walk's order, none after a failure. The
    // walk, the files written, the folders made, the summary and OnFile stay those of one at a time.
    // SourceEncodingOf is then called on the converting threads.
    int Jobs = 1;

    void ConversebuttonClick();
    void ReplaceButtonClick();
    // Why the button cannot run with the choices made and the lists' folders, or nothing when it can.
    std::optional<QString> ConvertRefusal() const;
    std::optional<QString> ReplaceRefusal() const;
    // The walks of the buttons from the lists' folders through every subfolder, without the buttons'
    // checks, questions and messages: what happened is in Summary(). Convert needs both encodings.
    void ConvertWalk();
    void ReplaceWalk();

    // The size of a listed item in bytes as its Size column tells it (whole kilobytes), and the sum
    // over the selected items, or over all when none is selected.
    std::int64_t ItemSizeBytes(int Index) const;
    std::int64_t ListedSizeBytes() const;

    bool Running() const { return FRunning; }
    const TBatchSummary& Summary() const { return FSummary; }

private:
    class TPress;
    class TWalk;
    using TFileStep = std::function<void(int, const QByteArray&, const QByteArray&)>;
    using TFolderStep = std::function<void(const QByteArray&, const QByteArray&)>;

    // One folder level and, after its files, each of its subfolders, by the name bytes of folders and
    // files. What fails is noted in the summary.
    void ConvertDirectory(const QByteArray& SourceDir, const QByteArray& TargetDir, TEncoding SourceEncoding,
                          TEncoding TargetEncoding);
    void ReplaceDirectory(const QByteArray& SourceDir, const QByteArray& TargetDir);
    // One folder level: the target folder made, the listed files handed to doFile, then each
    // subfolder handed to walkSubfolder; both lists put back however the level ends.
    void WalkLevel(QByteArray SourceDir, QByteArray TargetDir, const TFileStep& doFile,
                   const TFolderStep& walkSubfolder);
    void StartWalk(bool replacing);
    std::optional<QString> DrivesRefusal() const;
    // The end of a button: the lists and trees on the batch's folders, the cursor back, the closing
    // report ("Done", with the counts when the walk ran) and the bar at rest.
    void Close(TPress& press, const QString& verb);
    // The closing report: "Done" with the counts, or the error that ended the batch.
    void Report(const QString& verb);
    void ClosingSteps(const QString& source, const QString& target);
    bool ItemTakesPart(int index) const;
    bool Trying() const { return !FStopped && !FBlocked; }
    // The subfolders of a level the walk may enter: never the target folder, never one seen before,
    // never a link that leads back inside the source folder.
    bool MayEnter(const QByteArray& folder);
    void ConvertOne(int index, const QByteArray& sourcePath, const QByteArray& targetPath,
                    TEncoding sourceEncoding, TEncoding targetEncoding);
    void ReplaceOne(const QByteArray& sourcePath, const QByteArray& targetPath);
    void Record(const QByteArray& source, const QByteArray& target, const TFileConversionReport& report,
                const QString& readAs = {});
    void Fail(const QString& path, const EFileError& error);
    void NotTried(const QByteArray& source);
    // Records the files converted side by side, in the order they were given, until at most `left`
    // are still to record: before anything else goes into the summary, so that it keeps the walk's
    // order.
    void Settle(std::size_t left = 0);

    TRaRaru& FEngine;
    TFileListPort& FSourceList;
    TFileListPort& FTargetList;
    TDirTreePort& FSourceTree;
    TDirTreePort& FTargetTree;
    TBusyPort& FBusy;
    TProgress& FProgress;
    bool FRunning = false;
    TBatchSummary FSummary;
    QByteArray FSourceRoot;           // canonical path of the batch's source folder
    QByteArray FTargetRoot;           // canonical path of the batch's target folder (none for in place)
    QSet<QByteArray> FEntered;        // canonical paths of the folders walked so far
    bool FStopped = false;            // a failure ended the batch: the walk only counts what it would try
    bool FBlocked = false;            // the level's target folder cannot be made: nothing below is tried
    TSourceReplacement FReplacement;  // Replace: the texts as the files hold them
    // The files handed to the workers, each with what records it, in the walk's order.
    std::deque<std::function<void()>> FWaiting;
    std::unique_ptr<TConversionWorkers> FWorkers;  // while a walk converts side by side
    std::unique_ptr<TPutInPlaceTurns> FTurns;      // and the first failure ends the batch
};

}  // namespace odz

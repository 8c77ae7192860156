#pragma once

#include <QSet>
#include <QString>
#include <cstdint>
#include <functional>

#include "BatchPorts.h"
#include "FileConversion.h"
#include "FileError.h"
#include "TRaRaru.h"

namespace odz {

// What happened to one file of a batch.
struct TFileOutcome {
    QString source;
    QString target;
    TFileConversionReport report;
};

// What a batch did, file by file, summed up.
struct TBatchSummary {
    int written = 0;
    int leftAlone = 0;
    int failed = 0;
    QString failure;  // the error that ended the batch
    std::uint64_t references = 0;
};

// The Convert and Replace buttons: their checks, questions and messages, and the walks over the
// source folder and its subfolders, through the ports only.
class TBatchDriver {
public:
    TBatchDriver(TRaRaru& engine, TFileListPort& sourceList, TFileListPort& targetList,
                 TDirTreePort& sourceTree, TDirTreePort& targetTree, TUserPort& user, TProgress& progress);

    // The window's choices, read when the buttons are pressed.
    int SourceEncoding = -1;  // position in the encoding lists, -1 for none
    int TargetEncoding = -1;
    QString FindText;
    QString ReplaceText;
    bool OverwriteAll = false;
    bool HtmlDoc = false;
    // Replace the search text in every line of a conversion; set by the question of Convert.
    bool FReplaceAlso = false;
    // Told about every file a batch reaches.
    std::function<void(const TFileOutcome&)> OnFile;

    void ConversebuttonClick();
    void ReplaceButtonClick();
    // One folder level and, after its files, each of its subfolders. A failure is thrown as EFileError.
    void ConvertDirectory(QString SourceDir, QString TargetDir, const QString& SourceEncoding,
                          const QString& TargetEncoding);
    void ReplaceDirectory(QString SourceDir, QString TargetDir);

    // The line with every occurrence of the search text replaced by the replacement text.
    std::string ReplaceInLine(std::string_view Line) const;
    // The size of a listed item in bytes as its Size column tells it (whole kilobytes), and the sum
    // over the selected items, or over all when none is selected.
    std::int64_t ItemSizeBytes(int Index) const;
    std::int64_t ListedSizeBytes() const;

    bool Running() const { return FRunning; }
    const TBatchSummary& Summary() const { return FSummary; }

private:
    class TWalk;
    // One folder level: the target folder made, the listed files handed to doFile, then each
    // subfolder handed to walkSubfolder; both lists put back however the level ends.
    void WalkLevel(QString SourceDir, QString TargetDir, const std::function<void()>& startFiles,
                   const std::function<void(int, const QString&, const QString&)>& doFile,
                   const std::function<void(const QString&, const QString&)>& walkSubfolder);
    void ClosingSteps(const QString& source, const QString& target);
    void NoteFailure(const EFileError& error);
    bool ItemTakesPart(int index) const;
    // The subfolders of a level the walk may enter: never the target folder, never one seen before.
    bool MayEnter(const QString& folder);
    void ConvertOne(int index, const QString& sourcePath, const QString& targetPath,
                    const QString& sourceEncoding, const QString& targetEncoding);
    void Record(const QString& source, const QString& target, const TFileConversionReport& report);

    TRaRaru& FEngine;
    TFileListPort& FSourceList;
    TFileListPort& FTargetList;
    TDirTreePort& FSourceTree;
    TDirTreePort& FTargetTree;
    TUserPort& FUser;
    TProgress& FProgress;
    bool FRunning = false;
    TBatchSummary FSummary;
    QString FTargetRoot;     // canonical path of the batch's target folder
    QSet<QString> FEntered;  // canonical paths of the folders walked so far
};

}  // namespace odz

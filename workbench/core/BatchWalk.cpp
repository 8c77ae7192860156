// The walk of the Convert and Replace buttons over the source folder and its subfolders. It goes by
// the name bytes of folders and files, so that names which are no valid UTF-8 (from old archives)
// are converted under the same bytes, and it notes every file it does not convert with the reason.

#include <dirent.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <future>
#include <memory>
#include <utility>
#include <vector>

#include "AtomicFile.h"
#include "BatchDriver.h"
#include "EngineTexts.h"
#include "Messages.h"
#include "ReplaceInFile.h"

namespace odz {

namespace {

std::filesystem::path NativePath(const QByteArray& path) {
    return std::filesystem::path(path.toStdString());
}

QByteArray WithSlash(const QByteArray& path) {
    return path.isEmpty() || path.endsWith('/') ? path : path + '/';
}

bool Inside(const QByteArray& path, const QByteArray& folder) {
    return path == folder || path.startsWith(folder.endsWith('/') ? folder : folder + '/');
}

bool IsFolder(const QByteArray& path) {
    struct stat facts {};
    return ::stat(path.constData(), &facts) == 0 && S_ISDIR(facts.st_mode);
}

// Why a folder cannot be read, or nothing when it can.
QString ReadProblem(const QByteArray& folder) {
    DIR* dir = ::opendir(folder.constData());
    if (dir == nullptr) return QString::fromLocal8Bit(std::strerror(errno));
    ::closedir(dir);
    return {};
}

// Why a listed entry that is no folder is not converted.
QString NotAFile(const QByteArray& path) {
    struct stat facts {};
    if (::lstat(path.constData(), &facts) != 0)
        return QCoreApplication::translate("Batch", "gone before its turn");
    if (S_ISLNK(facts.st_mode)) return QCoreApplication::translate("Batch", "a link that leads nowhere");
    if (S_ISFIFO(facts.st_mode)) return QCoreApplication::translate("Batch", "not a regular file (fifo)");
    if (S_ISSOCK(facts.st_mode)) return QCoreApplication::translate("Batch", "not a regular file (socket)");
    return QCoreApplication::translate("Batch", "not a regular file (device)");
}

// A text from the engine (which may hold a path's bytes) for the user.
QString Shown(const std::string& text) {
    return DisplayPath(QByteArray::fromStdString(text));
}

// What converting one file of a batch came to.
struct TFileWork {
    TSourceChoice source;  // no encoding: the file is not converted, noted as this says
    TFileConversionReport report;
    std::int64_t read = 0;   // source bytes read, when counted apart from the batch's bar
    bool abandoned = false;  // converted side by side, not put in place: a file before it failed
};

// Puts a flag back as it was when the level ends.
class TKeepFlag {
public:
    explicit TKeepFlag(bool& flag) : FFlag(flag), FSaved(flag) {}
    ~TKeepFlag() { FFlag = FSaved; }

private:
    bool& FFlag;
    bool FSaved;
};

}  // namespace

QByteArray CanonicalPath(const QByteArray& native) {
    if (char* real = ::realpath(native.constData(), nullptr)) {
        QByteArray canonical(real);
        std::free(real);
        return canonical;
    }
    QByteArray plain = native;
    while (plain.size() > 1 && plain.endsWith('/')) plain.chop(1);
    return plain;
}

// Puts both lists back on a level's folders however the level ends.
class TBatchDriver::TWalk {
public:
    TWalk(TBatchDriver& driver, const QByteArray& sourceDir, const QByteArray& targetDir)
        : FDriver(driver), FSourceDir(sourceDir), FTargetDir(targetDir) {}
    ~TWalk() {
        if (FDriver.FSourceList.NativeDirectory() != FSourceDir) {
            FDriver.FSourceList.SetNativeDirectory(FSourceDir);
            FDriver.FSourceList.UpdateFileList();
        }
        if (FDriver.FTargetList.NativeDirectory() != FTargetDir) {
            FDriver.FTargetList.SetNativeDirectory(FTargetDir);
            FDriver.FTargetList.UpdateFileList();
        }
    }

private:
    TBatchDriver& FDriver;
    QByteArray FSourceDir;
    QByteArray FTargetDir;
};

void TBatchDriver::StartWalk(bool replacing) {
    FSummary = {};
    FSummary.replacing = replacing;
    FSourceRoot = CanonicalPath(FSourceList.NativeDirectory());
    FTargetRoot = CanonicalPath(FTargetList.NativeDirectory());
    if (FTargetRoot == FSourceRoot) FTargetRoot.clear();  // in place
    FEntered.clear();
    FStopped = false;
    FBlocked = false;
}

bool TBatchDriver::MayEnter(const QByteArray& folder) {
    const QByteArray canonical = CanonicalPath(folder);
    struct stat facts {};
    if (::lstat(folder.constData(), &facts) != 0 || !S_ISLNK(facts.st_mode)) {
        return canonical != FTargetRoot && !FEntered.contains(canonical);
    }
    // A link inside the tree would convert a folder twice, or hide it under the link's name.
    Settle();
    QString reason;
    if (!FTargetRoot.isEmpty() && canonical == FTargetRoot) {
        reason =
            QCoreApplication::translate("Batch", "folder link not followed: it leads to the target folder");
    } else if (Inside(canonical, FSourceRoot)) {
        reason = QCoreApplication::translate("Batch",
                                             "folder link not followed: it leads inside the source folder");
    } else if (FEntered.contains(canonical)) {
        reason = QCoreApplication::translate("Batch",
                                             "folder link not followed: it leads to a folder already walked");
    } else {
        return true;
    }
    FSummary.Add(TNotConverted::Link, DisplayPath(folder), reason);
    return false;
}

void TBatchDriver::Fail(const QString& path, const EFileError& error) {
    // (Also called while a file converted side by side is recorded.)
    if (FSummary.failure.isEmpty()) FSummary.failure = EngineText(Shown(error.what()));
    FSummary.Add(TNotConverted::Failed, path, EngineText(Shown(error.what()), Shown(error.Reason())));
    if (!GoOnAfterFailure) FStopped = true;
}

void TBatchDriver::NotTried(const QByteArray& source) {
    Settle();
    FSummary.Add(
        TNotConverted::NotTried, DisplayPath(source),
        FStopped ? QCoreApplication::translate("Batch", "not tried: the batch stopped at the failure")
                 : QCoreApplication::translate("Batch", "not tried: its target folder cannot be created"));
}

void TBatchDriver::Record(const QByteArray& source, const QByteArray& target,
                          const TFileConversionReport& report, const QString& readAs) {
    const QString shown = DisplayPath(source);
    switch (report.outcome) {
        case TFileConversionReport::Written:
            ++FSummary.written;
            break;
        case TFileConversionReport::LeftAlone:
            FSummary.Add(TNotConverted::LeftAlone, shown,
                         QCoreApplication::translate("Batch", "left alone: the target already exists"));
            break;
        case TFileConversionReport::Failed:
            Fail(shown, EFileError(report.message, report.detail));
            break;
    }
    FSummary.references += report.references;
    FSummary.replacements += report.replacements;
    if (OnFile) OnFile({shown, DisplayPath(target), report, readAs});
}

void TBatchDriver::ConvertOne(int index, const QByteArray& sourcePath, const QByteArray& targetPath,
                              TEncoding sourceEncoding, TEncoding targetEncoding) {
    TFileConversionRequest request;
    request.source = NativePath(sourcePath);
    request.target = NativePath(targetPath);
    request.from = sourceEncoding;
    request.to = targetEncoding;
    request.htmlDoc = HtmlDoc;
    request.overwriteAll = OverwriteAll;
    request.compose = Compose;
    if (FReplaceAlso) request.replace = TReplacement{FindText.toStdString(), ReplaceText.toStdString()};
    const auto* const sourceOf = SourceEncodingOf ? &SourceEncodingOf : nullptr;
    const auto convert = [request, sourceOf](TRaRaru& engine, TProgress* progress,
                                             const TAskYesNoCancel& questions,
                                             const std::function<bool()>& mayPutInPlace) {
        TFileWork done;
        TFileConversionRequest file = request;
        file.mayPutInPlace = mayPutInPlace;
        if (sourceOf) {
            done.source = (*sourceOf)(file.source, file.to);
            if (!done.source.encoding) return done;
            file.from = *done.source.encoding;
        }
        done.source.encoding = file.from;
        file.progress = progress;
        file.questions = questions;
        done.report = ConvertFile(engine, file);
        return done;
    };
    // The UTF-16 routines read the file whole: the bar moves by its listed size.
    const std::int64_t listedSize = ItemSizeBytes(index);
    const auto record = [this, sourcePath, targetPath, listedSize, targetEncoding](const TFileWork& done) {
        if (done.abandoned) {
            NotTried(sourcePath);
            return;
        }
        const TSourceChoice& source = done.source;
        if (!source.encoding && source.kind == TNotConverted::Failed) {
            Record(
                sourcePath, {},
                {TFileConversionReport::Failed, "Cannot open file " + DisplayPath(sourcePath).toStdString(),
                 source.reason.toStdString(), 0});
            return;
        }
        if (!source.encoding) {
            FSummary.Add(source.kind, DisplayPath(sourcePath), source.reason);
            return;
        }
        if (done.read > 0) FProgress.Advance(done.read);
        if (!source.readAs.isEmpty() && done.report.outcome == TFileConversionReport::Written)
            FSummary.CountReadAs(source.readAs);
        Record(sourcePath, targetPath, done.report, source.readAs);
        if (done.report.outcome != TFileConversionReport::Failed &&
            (targetEncoding == TEncoding::Utf16 || *source.encoding == TEncoding::Utf16)) {
            FProgress.Advance(listedSize);
        }
    };
    if (!FWorkers) {
        record(convert(FEngine, &FProgress, AskYesNoCancel, {}));
        return;
    }
    // On a worker: no question (an existing target is left alone), the bytes read counted apart. Where
    // the first failure ends the batch, the file is put in place only in its turn.
    TPutInPlaceTurns* const turns = FTurns.get();
    const std::size_t turn = turns ? turns->Take() : 0;
    auto task =
        std::make_shared<std::packaged_task<TFileWork(TRaRaru&)>>([convert, turns, turn](TRaRaru& engine) {
            // Finished however the file ends, a failure unless it ends well.
            struct TFinish {
                TPutInPlaceTurns* turns;
                std::size_t turn;
                bool failed = true;
                ~TFinish() {
                    if (turns) turns->Finish(turn, failed);
                }
            } finish{turns, turn};
            TPlainProgress read;
            bool abandoned = false;
            std::function<bool()> inTurn;
            if (turns) {
                inTurn = [&] {
                    abandoned = !turns->Wait(turn);
                    return !abandoned;
                };
            }
            TFileWork done = convert(engine, &read, nullptr, inTurn);
            done.read = read.Position();
            done.abandoned = abandoned;
            finish.failed =
                !abandoned && (done.report.outcome == TFileConversionReport::Failed ||
                               (!done.source.encoding && done.source.kind == TNotConverted::Failed));
            return done;
        });
    FWaiting.push_back([record, result = task->get_future().share()] { record(result.get()); });
    FWorkers->Give([task](TRaRaru& engine) { (*task)(engine); });
    // A few files ahead of the summary keep every worker busy without holding the whole tree.
    Settle(static_cast<std::size_t>(Jobs) * 4);
}

void TBatchDriver::Settle(std::size_t left) {
    while (FWaiting.size() > left) {
        const std::function<void()> record = std::move(FWaiting.front());
        FWaiting.pop_front();
        record();
    }
}

void TBatchDriver::ReplaceOne(const QByteArray& sourcePath, const QByteArray& targetPath) {
    TFileConversionReport report{TFileConversionReport::Written, {}, {}, 0};
    const TSourceReplacement& texts = FReplacement;
    try {
        report.replacements =
            texts.findCodePoints.empty()
                ? ReplaceInFile(NativePath(sourcePath), NativePath(targetPath), texts.find, texts.replacement)
                : ReplaceInUtf16File(NativePath(sourcePath), NativePath(targetPath), texts.findCodePoints,
                                     texts.replacementCodePoints);
    } catch (const EFileError& error) {
        report = {TFileConversionReport::Failed, error.what(), error.Reason(), 0};
    }
    Record(sourcePath, targetPath, report);
}

void TBatchDriver::WalkLevel(QByteArray SourceDir, QByteArray TargetDir, const TFileStep& doFile,
                             const TFolderStep& walkSubfolder) {
    std::vector<QByteArray> subfolders;
    SourceDir = WithSlash(SourceDir);
    TargetDir = WithSlash(TargetDir);
    FEntered.insert(CanonicalPath(SourceDir));
    const TKeepFlag keepBlocked(FBlocked);
    // A folder that cannot be read gets no target folder; it is named in the report.
    const auto unreadable = [&](const QString& problem) {
        Settle();
        FSummary.Add(TNotConverted::Unreadable, DisplayPath(SourceDir),
                     QCoreApplication::translate("Batch", "cannot read the folder (%1)").arg(problem));
    };
    if (const QString problem = ReadProblem(SourceDir); !problem.isEmpty()) {
        unreadable(problem);
        return;
    }
    // Where the first failure ends the batch, the files converted side by side are recorded before
    // the level's folder is made: a failure among them leaves it unmade.
    if (FTurns) Settle();
    if (Trying() && !IsFolder(TargetDir) && ::mkdir(TargetDir.constData(), 0777) != 0) {
        const int error = errno;
        Settle();
        Fail(DisplayPath(TargetDir),
             EFileError("Cannot create " + DisplayPath(TargetDir).toStdString(), std::strerror(error)));
        FBlocked = true;
    }
    const TWalk walk(*this, SourceDir, TargetDir);
    if (FSourceList.NativeDirectory() != SourceDir) {
        FSourceList.SetNativeDirectory(SourceDir);
        FSourceList.UpdateFileList();
    }
    if (FSourceList.NativeDirectory() != SourceDir) {
        unreadable(QCoreApplication::translate("Batch", "gone before its turn"));
        return;
    }
    if (FSourceList.Count() > 0) {
        FProgress.SetPosition(0);
        FProgress.SetMax(ListedSizeBytes());
        for (int i = 0; i < FSourceList.Count(); ++i) {
            const TListItem& item = FSourceList.Item(i);
            if (!ItemTakesPart(i) || item.isParent) continue;
            const QByteArray name =
                item.nativeName.isEmpty() ? QFile::encodeName(item.Name()) : item.nativeName;
            // Another run's file in the making is no source.
            if (IsTemporaryFileName(
                    std::string_view(name.constData(), static_cast<std::size_t>(name.size()))))
                continue;
            const QByteArray source = SourceDir + name;
            struct stat facts {};
            const bool found = ::stat(source.constData(), &facts) == 0;
            if (found && S_ISDIR(facts.st_mode)) {
                subfolders.push_back(name);
            } else if (found && S_ISREG(facts.st_mode)) {
                if (Trying()) {
                    doFile(i, source, TargetDir + name);
                } else {
                    NotTried(source);
                }
            } else {
                Settle();
                FSummary.Add(TNotConverted::Skipped, DisplayPath(source), NotAFile(source));
            }
        }
    }
    for (const QByteArray& name : subfolders) {
        if (MayEnter(SourceDir + name)) walkSubfolder(SourceDir + name, TargetDir + name);
    }
}

void TBatchDriver::ConvertDirectory(const QByteArray& SourceDir, const QByteArray& TargetDir,
                                    TEncoding SourceEncoding, TEncoding TargetEncoding) {
    WalkLevel(
        SourceDir, TargetDir,
        [&](int index, const QByteArray& sourcePath, const QByteArray& targetPath) {
            ConvertOne(index, sourcePath, targetPath, SourceEncoding, TargetEncoding);
        },
        [&](const QByteArray& source, const QByteArray& target) {
            ConvertDirectory(source, target, SourceEncoding, TargetEncoding);
        });
}

void TBatchDriver::ReplaceDirectory(const QByteArray& SourceDir, const QByteArray& TargetDir) {
    WalkLevel(
        SourceDir, TargetDir,
        [&](int, const QByteArray& sourcePath, const QByteArray& targetPath) {
            ReplaceOne(sourcePath, targetPath);
        },
        [&](const QByteArray& source, const QByteArray& target) { ReplaceDirectory(source, target); });
}

}  // namespace odz

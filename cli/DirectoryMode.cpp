#include "DirectoryMode.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <thread>
#include <utility>

#include "AtomicFile.h"
#include "BatchDriver.h"
#include "DetectedSource.h"
#include "FileError.h"
#include "ListingPorts.h"
#include "Messages.h"
#include "SettingsPath.h"

namespace odz {

namespace {

// A progress line on standard error while the walk goes on, when that is a terminal.
class TProgressLine : public TPlainProgress {
public:
    TProgressLine(bool shown, int total) : FShown(shown), FTotal(total), FStart(Clock::now()) {}
    ~TProgressLine() override { Erase(); }
    // Takes the line away, so that what follows starts on a clean line.
    void Erase() {
        if (FShown && FDrawn) std::cerr << "\r\033[K" << std::flush;
        FDrawn = false;
    }
    void SetPosition(std::int64_t position) override {
        if (position > FPosition) FBytes += position - FPosition;
        TPlainProgress::SetPosition(position);
        Draw(false);
    }
    void FileDone() {
        ++FFiles;
        Draw(false);
    }

private:
    using Clock = std::chrono::steady_clock;
    void Draw(bool force) {
        if (!FShown) return;
        const auto now = Clock::now();
        if (!force && now - FLastDraw < std::chrono::milliseconds(100)) return;
        FLastDraw = now;
        FDrawn = true;
        const double seconds = std::chrono::duration<double>(now - FStart).count();
        const double megabytes = static_cast<double>(FBytes) / 1e6;
        std::fprintf(stderr, "\r\033[K%d of %d files, %.1f MB, %.1f MB/s", FFiles, FTotal, megabytes,
                     seconds > 0 ? megabytes / seconds : 0.0);
        std::fflush(stderr);
    }

    bool FShown;
    int FTotal;
    int FFiles = 0;
    bool FDrawn = false;
    std::int64_t FBytes = 0;
    Clock::time_point FStart;
    Clock::time_point FLastDraw{};
};

// The files the walk will reach, for the progress line.
int CountFiles(const QByteArray& folder, const QString& mask, const QByteArray& skip) {
    TDirectoryListing listing;
    listing.SetMask(mask);
    if (!listing.SetNativeDirectory(folder)) return 0;
    listing.UpdateFileList();
    int count = 0;
    QList<QByteArray> subfolders;
    for (const TListItem& item : listing.Items()) {
        if (item.isParent) continue;
        const QByteArray path = listing.NativeDirectory() + item.nativeName;
        if (item.kind == QLatin1String("dir")) {
            struct stat facts {};
            const bool link = ::lstat(path.constData(), &facts) == 0 && S_ISLNK(facts.st_mode);
            if (!link && CanonicalPath(path) != skip) subfolders << path;
        } else if (!IsTemporaryFileName(item.nativeName.toStdString())) {
            ++count;
        }
    }
    for (const QByteArray& sub : subfolders) count += CountFiles(sub, mask, skip);
    return count;
}

struct TTree {
    QByteArray source;  // absolute, by the name bytes given on the command line
    QByteArray target;
};

// Checks the two folders and makes the target when it is missing. Folder names are taken as the
// bytes given, whatever they hold.
std::optional<TTree> PrepareFolders(const std::string& source, const std::string& target, int& status) {
    namespace fs = std::filesystem;
    std::error_code error;
    status = kUsage;
    if (!fs::is_directory(source, error)) {
        const auto type = fs::status(source, error).type();
        std::cerr << "odizodoruz-cli: SOURCE_DIR '" << source << "' "
                  << (error && type != fs::file_type::not_found ? "cannot be read (" + error.message() + ")"
                                                                : std::string("is not a folder"))
                  << '\n';
        return std::nullopt;
    }
    if (fs::exists(target, error) && !fs::is_directory(target, error)) {
        std::cerr << "odizodoruz-cli: TARGET_DIR '" << target << "' is a file, not a folder\n";
        return std::nullopt;
    }
    fs::create_directories(target, error);
    if (error || !fs::is_directory(target, error)) {
        std::cerr << "odizodoruz-cli: Cannot create " << target << " (" << error.message() << ")\n";
        status = kNotAllDone;
        return std::nullopt;
    }
    return TTree{QByteArray::fromStdString(fs::absolute(source, error).string()),
                 QByteArray::fromStdString(fs::absolute(target, error).string())};
}

struct TRun {
    TListingFileList sourceList;
    TFolderOnlyList targetList;
    TPathOnlyTree sourceTree;
    TPathOnlyTree targetTree;
    TBusyCount busy;
};

std::string Plural(std::size_t count, const char* word) {
    return std::to_string(count) + ' ' + word + (count == 1 ? "" : "s");
}

// The summary on standard error: the counts, every failure, and every file or folder not converted
// with the reason.
int Report(const TBatchSummary& summary, const char* verb) {
    std::cerr << verb << ' ' << Plural(summary.written, "file") << ".\n";
    if (summary.leftAlone > 0) {
        std::cerr << "Left " << Plural(summary.leftAlone, "file")
                  << " alone because the target already existed (--overwrite replaces them).\n";
    }
    for (const TNotConverted& entry : summary.notConverted) {
        if (entry.kind == TNotConverted::Failed)
            std::cerr << "Failed: " << entry.reason.toStdString() << '\n';
    }
    if (summary.skipped > 0)
        std::cerr << "Skipped " << Plural(summary.skipped, "file") << " (listed below).\n";
    if (summary.notTried > 0)
        std::cerr << "Did not try " << Plural(summary.notTried, "file") << " (listed below).\n";
    if (summary.unreadable > 0) {
        std::cerr << "Could not read " << Plural(summary.unreadable, "folder") << " (listed below).\n";
    }
    if (summary.links > 0)
        std::cerr << "Skipped " << Plural(summary.links, "folder link") << " (listed below).\n";
    if (summary.references > 0) {
        std::cerr << Plural(summary.references, "character")
                  << " the target cannot hold written as &#N; references.\n";
    }
    if (summary.replacing && summary.replacements == 0) {
        std::cerr << "The searched text was not found, so no text was replaced.\n";
    }
    bool header = false;
    for (const TNotConverted& entry : summary.notConverted) {
        if (entry.kind == TNotConverted::Failed) continue;
        if (!std::exchange(header, true)) std::cerr << "Not converted:\n";
        std::cerr << "  " << entry.path.toStdString() << ": " << entry.reason.toStdString() << '\n';
    }
    return summary.AllDone() ? kAllDone : kNotAllDone;
}

// The walk of a batch, unless the driver refuses it (the refusal is said).
void Walk(const std::optional<QString>& refusal, const std::function<void()>& walk) {
    if (refusal) {
        Messages().Information(*refusal);
    } else {
        walk();
    }
}

// Runs one batch over the folders; run sets the driver up and walks. Returns the exit status.
int RunBatch(TRaRaru& engine, const TTree& folders, const std::string& mask, bool skipTarget,
             const std::function<void(TBatchDriver&)>& run, const char* verb) {
    TRun ports;
    ports.sourceList.Listing().SetMask(QString::fromStdString(mask));
    ports.sourceList.SetNativeDirectory(folders.source);
    ports.sourceList.UpdateFileList();
    ports.targetList.SetNativeDirectory(folders.target);
    ports.targetTree.OpenPath(ports.targetList.Directory());
    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    const QByteArray skip = skipTarget ? CanonicalPath(folders.target) : QByteArray();
    TProgressLine progress(terminal,
                           terminal ? CountFiles(folders.source, QString::fromStdString(mask), skip) : 0);
    TBatchDriver driver(engine, ports.sourceList, ports.targetList, ports.sourceTree, ports.targetTree,
                        ports.busy, progress);
    driver.GoOnAfterFailure = true;
    driver.OnFile = [&](const TFileOutcome&) { progress.FileDone(); };
    run(driver);
    progress.Erase();
    return Report(driver.Summary(), verb);
}

}  // namespace

int ConvertTree(const TCliConvert& options) {
    int status = kUsage;
    const auto folders = PrepareFolders(options.source, options.target, status);
    if (!folders) return status;
    if (CanonicalPath(folders->source) == CanonicalPath(folders->target)) {
        std::cerr << "odizodoruz-cli: SOURCE_DIR and TARGET_DIR are the same folder\n";
        return kUsage;
    }
    TRaRaruInstance instance(SettingsFilePath(), /*saveKeys=*/false);
    if (options.keys) instance.Engine().SetTransDau(*options.keys);
    // With -f auto: how many files were read as each encoding detected.
    std::map<std::string, int> readAs;
    const TViqrKeys keys = instance.Engine().Keys();
    const int result = RunBatch(
        instance.Engine(), *folders, options.mask, true,
        [&](TBatchDriver& driver) {
            driver.SourceEncoding = options.from;
            if (options.detect) {
                driver.SourceEncoding.reset();
                driver.SourceEncodingOf = [&](const std::filesystem::path& file, TEncoding target) {
                    TSourceChoice choice;
                    std::string name;
                    std::string why;
                    try {
                        choice.encoding = DetectedSource(DetectEncoding(ReadDetectionSample(file), keys),
                                                         target, options.bestGuess, name, why);
                    } catch (const EFileError& error) {
                        why = error.FullText();
                    }
                    if (choice.encoding) choice.readAs = QString::fromStdString(name);
                    choice.reason = QString::fromStdString(why);
                    return choice;
                };
                // Every file given an encoding counts, whatever its conversion came to.
                driver.OnFile = [&readAs, shown = driver.OnFile](const TFileOutcome& outcome) {
                    shown(outcome);
                    if (!outcome.readAs.isEmpty()) ++readAs[outcome.readAs.toStdString()];
                };
            }
            driver.TargetEncoding = options.to;
            driver.Jobs = options.jobs > 0
                              ? options.jobs
                              : static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
            driver.OverwriteAll = options.overwrite;
            driver.HtmlDoc = options.html;
            driver.Compose = options.compose;
            if (options.replace) {
                driver.FindText = QString::fromStdString(options.replace->find);
                driver.ReplaceText = QString::fromStdString(options.replace->replacement);
                // As for a single file: any search text is replaced, also by nothing.
                driver.FReplaceAlso = !options.replace->find.empty();
            }
            Walk(driver.ConvertRefusal(), [&] { driver.ConvertWalk(); });
        },
        "Converted");
    for (const auto& [name, count] : readAs)
        std::cerr << "Read as " << name << ": " << Plural(count, "file") << ".\n";
    return result;
}

int ReplaceTree(const TCliReplace& options) {
    int status = kUsage;
    const auto folders = PrepareFolders(options.source, options.target, status);
    if (!folders) return status;
    TRaRaruInstance instance(SettingsFilePath(), /*saveKeys=*/false);
    return RunBatch(
        instance.Engine(), *folders, options.mask, false,
        [&](TBatchDriver& driver) {
            driver.FindText = QString::fromStdString(options.find);
            driver.ReplaceText = QString::fromStdString(options.with);
            Walk(driver.ReplaceRefusal(), [&] { driver.ReplaceWalk(); });
        },
        "Wrote");
}

}  // namespace odz

#include "DirectoryMode.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>

#include "AtomicFile.h"
#include "BatchDriver.h"
#include "ListingPorts.h"
#include "SettingsPath.h"

namespace odz {

namespace {

constexpr int kAllDone = 0;
constexpr int kNotAllDone = 1;
constexpr int kUsage = 2;

// Never asks: confirmations are what the command line asked for, an existing target is left alone
// (with --overwrite the question never comes).
class TCliUser : public TUserPort {
public:
    void Information(const QString& text) override {
        if (!text.startsWith(QLatin1String("Done")))
            std::cerr << "odizodoruz-cli: " << text.toStdString() << '\n';
    }
    TAnswer Confirm(const QString&, bool) override { return TAnswer::Yes; }
    TAnswer AskYesNoCancel(std::string_view) override { return TAnswer::No; }
    void ShowError(const QString&) override {}  // the summary names the failure
    void BeginBusy() override {}
    void EndBusy() override {}
};

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
int CountFiles(const QString& folder, const QString& mask, const QString& skip) {
    TDirectoryListing listing;
    listing.SetMask(mask);
    if (!listing.SetDirectory(folder)) return 0;
    listing.UpdateFileList();
    int count = 0;
    QStringList subfolders;
    for (const TListItem& item : listing.Items()) {
        if (item.isParent) continue;
        if (item.kind == QLatin1String("dir")) {
            if (QFileInfo(item.fullPath).canonicalFilePath() != skip &&
                !QFileInfo(item.fullPath).isSymLink()) {
                subfolders << item.fullPath;
            }
        } else if (!IsTemporaryFileName(item.Name().toStdString())) {
            ++count;
        }
    }
    for (const QString& sub : subfolders) count += CountFiles(sub, mask, skip);
    return count;
}

struct TTree {
    QString source;
    QString target;
};

// Checks the two folders and makes the target when it is missing.
std::optional<TTree> PrepareFolders(const std::string& source, const std::string& target, int& status) {
    const QFileInfo sourceInfo(QString::fromStdString(source));
    status = kUsage;
    if (!sourceInfo.isDir()) {
        std::error_code error;
        const auto type = std::filesystem::status(source, error).type();
        std::cerr << "odizodoruz-cli: SOURCE_DIR '" << source << "' "
                  << (error && type != std::filesystem::file_type::not_found
                          ? "cannot be read (" + error.message() + ")"
                          : std::string("is not a folder"))
                  << '\n';
        return std::nullopt;
    }
    const QString targetPath = QString::fromStdString(target);
    if (QFileInfo(targetPath).exists() && !QFileInfo(targetPath).isDir()) {
        std::cerr << "odizodoruz-cli: TARGET_DIR '" << target << "' is a file, not a folder\n";
        return std::nullopt;
    }
    std::error_code error;
    std::filesystem::create_directories(target, error);
    if (error) {
        std::cerr << "odizodoruz-cli: Cannot create " << target << " (" << error.message() << ")\n";
        status = kNotAllDone;
        return std::nullopt;
    }
    return TTree{sourceInfo.absoluteFilePath(), QFileInfo(targetPath).absoluteFilePath()};
}

struct TRun {
    TListingFileList sourceList;
    TFolderOnlyList targetList;
    TPathOnlyTree sourceTree;
    TPathOnlyTree targetTree;
    TCliUser user;
};

int Report(const TBatchSummary& summary, const char* verb) {
    std::cerr << verb << ' ' << summary.written << " file" << (summary.written == 1 ? "" : "s") << ".\n";
    if (summary.leftAlone > 0) {
        std::cerr << "Left " << summary.leftAlone << " file" << (summary.leftAlone == 1 ? "" : "s")
                  << " alone because the target already existed (--overwrite replaces them).\n";
    }
    if (summary.failed > 0) std::cerr << "Failed: " << summary.failure.toStdString() << '\n';
    if (summary.references > 0) {
        std::cerr << summary.references << " character" << (summary.references == 1 ? "" : "s")
                  << " the target cannot hold written as &#N; references.\n";
    }
    return summary.leftAlone == 0 && summary.failed == 0 ? kAllDone : kNotAllDone;
}

// Runs one batch over the folders; run sets the driver up and presses its button. Returns the exit status.
int RunBatch(TRaRaru& engine, const TTree& folders, const std::string& mask, bool skipTarget,
             const std::function<void(TBatchDriver&)>& run, const char* verb) {
    TRun ports;
    ports.sourceList.Listing().SetMask(QString::fromStdString(mask));
    ports.sourceList.SetDirectory(folders.source);
    ports.sourceList.UpdateFileList();
    ports.targetList.SetDirectory(folders.target);
    ports.targetTree.OpenPath(ports.targetList.Directory());
    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    const QString skip = skipTarget ? QFileInfo(folders.target).canonicalFilePath() : QString();
    TProgressLine progress(terminal,
                           terminal ? CountFiles(folders.source, QString::fromStdString(mask), skip) : 0);
    TBatchDriver driver(engine, ports.sourceList, ports.targetList, ports.sourceTree, ports.targetTree,
                        ports.user, progress);
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
    if (QFileInfo(folders->source).canonicalFilePath() == QFileInfo(folders->target).canonicalFilePath()) {
        std::cerr << "odizodoruz-cli: SOURCE_DIR and TARGET_DIR are the same folder\n";
        return kUsage;
    }
    TRaRaruInstance instance(SettingsFilePath(), /*saveKeys=*/false);
    if (options.keys) instance.Engine().SetTransDau(*options.keys);
    return RunBatch(
        instance.Engine(), *folders, options.mask, true,
        [&](TBatchDriver& driver) {
            driver.SourceEncoding = static_cast<int>(options.from);
            driver.TargetEncoding = static_cast<int>(options.to);
            driver.OverwriteAll = options.overwrite;
            driver.HtmlDoc = options.html;
            if (options.replace) {
                driver.FindText = QString::fromStdString(options.replace->find);
                driver.ReplaceText = QString::fromStdString(options.replace->replacement);
            }
            driver.ConversebuttonClick();
        },
        "Converted");
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
            driver.ReplaceButtonClick();
        },
        "Wrote");
}

}  // namespace odz

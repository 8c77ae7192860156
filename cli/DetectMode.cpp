#include "DetectMode.h"

#include <sys/stat.h>

#include <QSet>
#include <cstdio>
#include <iostream>

#include "AtomicFile.h"
#include "BatchDriver.h"
#include "DirectoryListing.h"
#include "FileError.h"
#include "SettingsPath.h"
#include "TRaRaru.h"

namespace odz {

namespace {

std::string Confidence(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// "viscii 0.97, same text as vps; runner-up tcvn1 0.02" and the like.
std::string Describe(const TDetection& detection) {
    switch (detection.kind) {
        case TDetection::dk_Ascii:
            return "ascii (no Vietnamese letters: every encoding reads it alike)";
        case TDetection::dk_Binary:
            return "binary (not a text file)";
        case TDetection::dk_Text:
            break;
    }
    if (detection.candidates.empty()) return "unknown";
    const TCandidateScore& best = *detection.Best();
    std::string text = std::string(best.candidate->shortName) + ' ' + Confidence(best.confidence);
    const auto group = detection.BestGroup();
    for (std::size_t i = 1; i < group.size(); ++i) {
        text += (i == 1 ? ", same text as " : " and ") + std::string(group[i]->candidate->shortName);
    }
    if (!detection.note.empty()) text += " (" + detection.note + ")";
    const TCandidateScore* runnerUp = detection.RunnerUp();
    const bool sure = detection.Confident();
    if (!sure) text += ", not sure";
    if (runnerUp != nullptr && (!sure || runnerUp->confidence >= 0.05)) {
        text += "; runner-up " + std::string(runnerUp->candidate->shortName) + ' ' +
                Confidence(runnerUp->confidence);
    }
    return text;
}

class TDetectRun {
public:
    explicit TDetectRun(const TCliDetect& options) : FOptions(options) {
        TRaRaruInstance instance(SettingsFilePath(), /*saveKeys=*/false);
        if (options.keys) instance.Engine().SetTransDau(*options.keys);
        FKeys = instance.Engine().Keys();
    }

    void File(const std::string& path) {
        try {
            const TDetection detection =
                DetectEncoding(ReadDetectionSample(std::filesystem::path(path)), FKeys);
            std::cout << path << ": " << Describe(detection) << '\n';
            if (!detection.Confident()) FStatus = kNotAllDone;
        } catch (const EFileError& error) {
            std::cout << path << ": " << error.FullText() << '\n';
            FStatus = kNotAllDone;
        }
    }

    // A folder and its subfolders, each file that matches the mask; links to folders already walked
    // are not followed again.
    void Folder(const QByteArray& folder) {
        if (FWalked.contains(CanonicalPath(folder))) return;
        FWalked.insert(CanonicalPath(folder));
        TDirectoryListing listing;
        listing.SetMask(QString::fromStdString(FOptions.mask));
        if (!listing.SetNativeDirectory(folder)) {
            std::cout << folder.toStdString() << ": cannot read the folder\n";
            FStatus = kNotAllDone;
            return;
        }
        listing.UpdateFileList();
        QList<QByteArray> subfolders;
        for (const TListItem& item : listing.Items()) {
            if (item.isParent || IsTemporaryFileName(item.nativeName.toStdString())) continue;
            const QByteArray path = listing.NativeDirectory() + item.nativeName;
            if (item.kind == QLatin1String("dir")) {
                subfolders << path;
            } else {
                File(path.toStdString());
            }
        }
        for (const QByteArray& sub : subfolders) Folder(sub);
    }

    int Run() {
        for (const std::string& path : FOptions.paths) {
            struct stat facts {};
            if (::stat(path.c_str(), &facts) != 0) {
                std::cerr << "odizodoruz-cli: '" << path << "' does not exist\n";
                FStatus = kUsage;
            } else if (S_ISDIR(facts.st_mode)) {
                QByteArray folder = QByteArray::fromStdString(path);
                if (!folder.endsWith('/')) folder += '/';
                Folder(folder);
            } else {
                File(path);
            }
        }
        return FStatus;
    }

private:
    const TCliDetect& FOptions;
    TViqrKeys FKeys;
    QSet<QByteArray> FWalked;
    int FStatus = kAllDone;
};

}  // namespace

int DetectFiles(const TCliDetect& options) {
    return TDetectRun(options).Run();
}

std::optional<TEncoding> DetectedSource(const TDetection& detection, TEncoding target, bool bestGuess,
                                        std::string& name, std::string& reason) {
    name = detection.kind == TDetection::dk_Ascii ? "ascii"
           : detection.Best() != nullptr          ? std::string(detection.Best()->candidate->shortName)
                                                  : "binary";
    if (detection.kind == TDetection::dk_Binary) {
        reason = "not converted: not a text file";
        return std::nullopt;
    }
    if (!detection.Confident() && !bestGuess) {
        reason = "not converted: the encoding is not detected with confidence (" + Describe(detection) +
                 "; -f names it, --best-guess takes the best)";
        return std::nullopt;
    }
    auto reading = detection.Reading();
    // Plain ASCII reads alike in every 8-bit encoding.
    if (detection.kind == TDetection::dk_Ascii && target == TEncoding::Utf8) reading = TEncoding::Viscii;
    if (reading == target) {
        reason = "left alone: it is in " + std::string(EncodingInfo(target).identifier) + " already";
        return std::nullopt;
    }
    if (!reading) {
        reason = "not converted: detected as " + std::string(detection.Best()->candidate->name) +
                 ", which this program does not read";
    }
    return reading;
}

}  // namespace odz

#include "DetectMode.h"

#include <sys/stat.h>

#include <QSet>
#include <iostream>

#include "AtomicFile.h"
#include "BatchDriver.h"
#include "DetectedSource.h"
#include "DirectoryListing.h"
#include "FileError.h"
#include "SettingsPath.h"
#include "TRaRaru.h"

namespace odz {

namespace {

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

}  // namespace odz

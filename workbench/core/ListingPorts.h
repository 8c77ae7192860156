#pragma once

// Ports for running the batch drivers without a window: a file list over a directory listing, a
// target list that only remembers its folder, a tree that only remembers its path, and a busy cursor
// that only counts. The command-line tool and the tests use them.

#include <QFile>
#include <QSet>
#include <algorithm>

#include "BatchPorts.h"
#include "DirectoryListing.h"

namespace odz {

class TListingFileList : public TFileListPort {
public:
    TDirectoryListing& Listing() { return FListing; }
    // Selects the rows of these names (as a user would by clicking them).
    void Select(const QStringList& names);

    QString Directory() const override { return FListing.Directory(); }
    void SetDirectory(const QString& directory) override { FListing.SetDirectory(directory); }
    QByteArray NativeDirectory() const override { return FListing.NativeDirectory(); }
    void SetNativeDirectory(const QByteArray& directory) override { FListing.SetNativeDirectory(directory); }
    void UpdateFileList() override;
    QString Mask() const override { return FListing.Mask(); }
    int Count() const override { return static_cast<int>(FListing.Items().size()); }
    const TListItem& Item(int index) const override { return FListing.Items()[index]; }
    bool Selected(int index) const override { return FSelected.contains(index); }
    int SelectedCount() const override { return static_cast<int>(FSelected.size()); }

private:
    TDirectoryListing FListing;
    QSet<int> FSelected;
};

// A list nobody looks at: it keeps its folder and lists nothing.
class TFolderOnlyList : public TFileListPort {
public:
    QString Directory() const override { return QFile::decodeName(FDirectory); }
    void SetDirectory(const QString& directory) override {
        FDirectory = QFile::encodeName(AddSlash(directory));
    }
    QByteArray NativeDirectory() const override { return FDirectory; }
    void SetNativeDirectory(const QByteArray& directory) override {
        FDirectory = directory.endsWith('/') ? directory : directory + '/';
    }
    void UpdateFileList() override {}
    QString Mask() const override { return QStringLiteral("*.*"); }
    int Count() const override { return 0; }
    const TListItem& Item(int) const override { return FNone; }
    bool Selected(int) const override { return false; }
    int SelectedCount() const override { return 0; }

private:
    QByteArray FDirectory;
    TListItem FNone;
};

// A tree nobody looks at: its selected path is the last one opened.
class TPathOnlyTree : public TDirTreePort {
public:
    QString SelectedPath() const override { return FPath; }
    void ReloadTree() override { ++FReloads; }
    void OpenPath(const QString& path) override { FPath = path; }
    int Reloads() const { return FReloads; }

private:
    QString FPath;
    int FReloads = 0;
};

// A busy cursor nobody sees: it counts how often it is shown at once.
class TBusyCount : public TBusyPort {
public:
    void BeginBusy() override { FMost = std::max(FMost, ++FDepth); }
    void EndBusy() override { --FDepth; }
    int Depth() const { return FDepth; }
    int Most() const { return FMost; }

private:
    int FDepth = 0;
    int FMost = 0;
};

}  // namespace odz

#pragma once

// The window's widgets as the batch drivers see them.

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressBar>
#include <optional>

#include "BatchPorts.h"
#include "OverrideCursor.h"
#include "ZTDirTree.h"
#include "ZTFilelistView.h"

namespace odz {

class TFileListViewPort : public TFileListPort {
public:
    explicit TFileListViewPort(TZTFilelistView& list) : FList(list) {}
    QString Directory() const override { return FList.Directory(); }
    void SetDirectory(const QString& directory) override { FList.SetDirectory(directory); }
    QByteArray NativeDirectory() const override { return FList.NativeDirectory(); }
    void SetNativeDirectory(const QByteArray& directory) override { FList.SetNativeDirectory(directory); }
    void UpdateFileList() override { FList.UpdateFileList(); }
    QString Mask() const override { return FList.Mask(); }
    int Count() const override { return FList.Count(); }
    const TListItem& Item(int index) const override { return FList.Item(index); }
    bool Selected(int index) const override { return FList.IsSelected(index); }
    int SelectedCount() const override { return FList.SelectedCount(); }

private:
    TZTFilelistView& FList;
};

class TDirTreeViewPort : public TDirTreePort {
public:
    explicit TDirTreeViewPort(TZTDirTree& tree) : FTree(tree) {}
    QString SelectedPath() const override { return FTree.SelectedPath(); }
    void ReloadTree() override { FTree.ReloadTree(); }
    void OpenPath(const QString& path) override { FTree.OpenPath(path); }

private:
    TZTDirTree& FTree;
};

// The progress bar: byte counts of any size, shown on the bar's int scale. While a long file is
// converted the window is repainted now and then, so the bar visibly moves; the user's clicks and
// keys wait until the operation ends.
class TProgressBarPort : public TProgress {
public:
    explicit TProgressBarPort(QProgressBar& bar);
    std::int64_t Position() const override { return FPosition; }
    void SetPosition(std::int64_t position) override;
    std::int64_t Max() const override { return FMax; }
    void SetMax(std::int64_t max) override;

private:
    void Show();

    QPointer<QProgressBar> FBar;
    std::int64_t FPosition = 0;
    std::int64_t FMax = 0;
    std::int64_t FDivisor = 1;
    QElapsedTimer FSincePaint;
};

// The application's busy cursor while a batch runs.
class TWindowBusy : public TBusyPort {
public:
    void BeginBusy() override { FCursor.emplace(); }
    void EndBusy() override { FCursor.reset(); }

private:
    std::optional<TOverrideCursor> FCursor;
};

}  // namespace odz

// What the window shows of detection: the preview pane and the source list's Encoding column. The
// handlers of the rest of the window are in MainForm.cpp.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QItemSelectionModel>

#include "EncodingScan.h"
#include "MainForm.h"
#include "MainFormDesign.h"
#include "PreviewPane.h"
#include "TRaRaru.h"
#include "ZTFilelistView.h"

namespace odz {

namespace {

// A row of a list by its name bytes: a name that is no valid UTF-8 reaches the file only this way.
QByteArray NativePathOf(const TZTFilelistView& list, const TListItem& item) {
    if (item.isParent || item.kind != QLatin1String("file")) return QFile::encodeName(item.fullPath);
    return list.NativeDirectory() +
           (item.nativeName.isEmpty() ? QFile::encodeName(item.Name()) : item.nativeName);
}

}  // namespace

void TMainForm::ConnectDetection() {
    FDetector = DefaultFileDetector(FEngine.Keys());
    FEncodingScan = std::make_unique<TEncodingScan>(FDetector);
    PreviewPane->SetDetector(FDetector);
    SourceFileList->SetExtraColumn(tr("Encoding"));
    connect(PreviewChk, &QCheckBox::toggled, this, &TMainForm::PreviewChkClick);
    for (QComboBox* list : {SourceEncodecbo, TargetEncodecbo})
        connect(list, &QComboBox::currentIndexChanged, this, &TMainForm::RefreshPreview);
    connect(HTMLCheck, &QCheckBox::toggled, this, &TMainForm::RefreshPreview);
    // Both views of the list share one selection.
    connect(SourceFileList->CurrentView()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TMainForm::RefreshPreview);
    connect(SourceFileList, &TZTFilelistView::Refilled, this, [this] {
        FEncodingsScanned = false;
        StartEncodingScan();
        RefreshPreview();
    });
}

void TMainForm::SetFileDetector(TFileDetector detector) {
    FDetector = std::move(detector);
    FOwnDetector = false;
    FEncodingScan->SetDetector(FDetector);
    PreviewPane->SetDetector(FDetector);
    FEncodingsScanned = false;
    StartEncodingScan();
    RefreshPreview();
}

void TMainForm::PreviewChkClick() {
    PreviewDock->setVisible(PreviewChk->isChecked());
    RefreshPreview();
}

std::filesystem::path TMainForm::ChosenSourceFile() const {
    const QList<int> rows = SourceFileList->SelectedRows();
    if (rows.isEmpty()) return {};
    const QByteArray path = NativePathOf(*SourceFileList, SourceFileList->Item(rows.first()));
    return std::filesystem::path(path.toStdString());
}

void TMainForm::RefreshPreview() {
    // A batch walks the list through the subfolders; the preview follows the user's choice again after it.
    if (!PreviewChk->isChecked() || Busy()) return;
    TPreviewRequest request;
    request.file = ChosenSourceFile();
    request.source = ChosenEncoding(*SourceEncodecbo);
    request.detectSource = DetectChosen(*SourceEncodecbo);
    request.target = ChosenEncoding(*TargetEncodecbo);
    request.htmlDoc = HTMLCheck->isChecked();
    request.keys = FEngine.Keys();
    PreviewPane->Preview(request);
}

void TMainForm::StartEncodingScan() {
    // The column shows only in the details view; the scan waits until the list is seen that way.
    if (Busy() || SourceFileList->IsDrives() || SourceFileList->ViewStyle() != vsReport) {
        FEncodingScan->Cancel();
        return;
    }
    if (FEncodingsScanned) return;
    FEncodingsScanned = true;
    QList<TEncodingScan::TFile> files;
    for (int row = 0; row < SourceFileList->Count(); ++row) {
        const TListItem& item = SourceFileList->Item(row);
        if (item.kind == QLatin1String("file"))
            files.append({item.fullPath, NativePathOf(*SourceFileList, item)});
    }
    FEncodingScan->Start(
        std::move(files),
        [this](const TEncodingScan::TResults& batch) { SourceFileList->SetExtraTexts(batch); }, {});
}

bool TMainForm::EncodingScanRunning() const {
    return FEncodingScan->Running();
}

}  // namespace odz

#include "MainForm.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QThread>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "EncodingScan.h"
#include "HelpWindow.h"
#include "KeySettingsPage.h"
#include "MainFormDesign.h"
#include "Messages.h"
#include "PathRoutines.h"
#include "TRaRaru.h"
#include "WidgetPorts.h"
#include "WorkbenchResources.h"
#include "ZTDirTree.h"
#include "ZTFilelistView.h"

namespace odz {

namespace {

constexpr std::string_view kPlacementSection = "MainForm";
constexpr std::string_view kDirectorySection = "Directory";
constexpr std::string_view kPreviewSection = "Preview";

// The list on its mask, refilled once whether or not the mask changed.
void Refilter(TZTFilelistView& list, const QString& mask) {
    if (list.Mask() != mask) {
        list.SetMask(mask);
    } else {
        list.UpdateFileList();
    }
}

// Moves a list to a folder and refills it once.
void ShowFolder(TZTFilelistView& list, const QString& folder) {
    if (list.Directory() != folder) {
        list.SetDirectory(folder);
    } else {
        list.UpdateFileList();
    }
}

// Scales a font the user's desktop did not choose: the controls that carry a font of their own.
void ScaleOwnFont(QWidget& widget, double scale) {
    if (!widget.testAttribute(Qt::WA_SetFont)) return;
    QFont font = widget.font();
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * scale);
    } else if (font.pixelSize() > 0) {
        font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * scale)));
    }
    widget.setFont(font);
}

// Both splitter parts for a first part designed at designWidth out of designTotal.
void ScaleSplitter(QSplitter& splitter, int designWidth, int designTotal, double scale) {
    const int first = static_cast<int>(designWidth * scale);
    splitter.setSizes({first, static_cast<int>(designTotal * scale) - first});
}

}  // namespace

TMainForm::TMainForm(TRaRaru& engine, QWidget* parent)
    : QWidget(parent), FEngine(engine), FSettings(engine.SettingsFile()) {
    InitWorkbenchResources();
    BuildLayout();
    ScaleSplitter(*PaneSplitter, kSourcePaneWidth, kDesignSize.width(), 1.0);
    ScaleSplitter(*SourceSplitter, kSourceTreeWidth, kSourcePaneWidth, 1.0);
    ScaleSplitter(*TargetSplitter, kTargetTreeWidth, kDesignSize.width() - kSourcePaneWidth, 1.0);

    FSourcePort = std::make_unique<TFileListViewPort>(*SourceFileList);
    FTargetPort = std::make_unique<TFileListViewPort>(*TargetFileList);
    FSourceTreePort = std::make_unique<TDirTreeViewPort>(*SourceDirTree);
    FTargetTreePort = std::make_unique<TDirTreeViewPort>(*TargetDirTree);
    FBusyPort = std::make_unique<TWindowBusy>();
    FProgressPort = std::make_unique<TProgressBarPort>(*ProgressBar);
    FDriver = std::make_unique<TBatchDriver>(FEngine, *FSourcePort, *FTargetPort, *FSourceTreePort,
                                             *FTargetTreePort, *FBusyPort, *FProgressPort);
    Connect();
    ConnectDetection();
    SrcReportBtn->setChecked(true);
    TarReportBtn->setChecked(true);
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::Connect() {
    connect(Conversebutton, &QToolButton::clicked, this, &TMainForm::ConversebuttonClick);
    connect(ToolbarButton971, &QToolButton::clicked, this, &TMainForm::ReplaceButtonClick);
    connect(ReplaceButton, &QToolButton::clicked, this, &TMainForm::HelpButtonClick);
    connect(ExitButton, &QToolButton::clicked, this, &TMainForm::ExitButtonClick);
    connect(CreatedirButton, &QToolButton::clicked, this, &TMainForm::CreatedirButtonClick);
    for (QButtonGroup* buttons : {FSourceViewButtons, FTargetViewButtons})
        connect(buttons, &QButtonGroup::buttonClicked, this, &TMainForm::ViewIconBtnClick);
    connect(FilterCombo, &QComboBox::editTextChanged, this, &TMainForm::FilterComboChange);
    // The display boxes follow the trees whether a folder is chosen by mouse or by keyboard.
    connect(SourceDirTree, &TZTDirTree::clicked, this, &TMainForm::SourceDirTreeClick);
    connect(SourceDirTree, &TZTDirTree::OnDirChange, this, &TMainForm::SourceDirTreeClick);
    connect(TargetDirTree, &TZTDirTree::clicked, this, &TMainForm::TargetDirTreeClick);
    connect(TargetDirTree, &TZTDirTree::OnDirChange, this, &TMainForm::TargetDirTreeClick);
    connect(SourceFileList, &TZTFilelistView::OnItemChange, this, &TMainForm::SourceFileListItemChange);
    connect(TargetFileList, &TZTFilelistView::OnItemChange, this, &TMainForm::TargetFileListItemChange);
    // The boxes name the folder Convert and Replace will use: the list's, wherever it was chosen. A
    // batch walks the lists through the subfolders; the boxes show its folders again when it ends.
    connect(SourceFileList, &TZTFilelistView::DirectoryChanged, this, [this] {
        if (!Busy()) SourceFileListItemChange();
    });
    connect(TargetFileList, &TZTFilelistView::DirectoryChanged, this, [this] {
        if (!Busy()) TargetFileListItemChange();
    });
    connect(KeySettingPanel, &TKeySettingsPage::HelpRequested, this, &TMainForm::HelpButtonClick);
}

void TMainForm::FormCreate() {
    AdjustToScreen();
    SourceFileList->SetDirectory(QDir::currentPath());
    TargetFileList->SetDirectory(SourceFileList->Directory());
    FDriver->FReplaceAlso = false;
}

QSize TMainForm::ScreenSize() const {
    const QScreen* current = screen();
    if (!current) current = QGuiApplication::primaryScreen();
    return current ? current->size() : kDesignScreen;
}

void TMainForm::AdjustToScreen() {
    AdjustToScreen(ScreenSize());
}

void TMainForm::AdjustToScreen(QSize screen) {
    if (screen.width() != kDesignScreen.width()) {
        resize(AdjustedWindowSize(size(), screen));
        const double scale = ControlScale(screen);
        ScaleSplitter(*PaneSplitter, kSourcePaneWidth, kDesignSize.width(), scale);
        ScaleSplitter(*SourceSplitter, kSourceTreeWidth, kSourcePaneWidth, scale);
        ScaleSplitter(*TargetSplitter, kTargetTreeWidth, kDesignSize.width() - kSourcePaneWidth, scale);
        for (QWidget* control : findChildren<QWidget*>()) ScaleOwnFont(*control, scale);
    }
    RestoreWindowPlacement(screen);
}

QRect TMainForm::ScreenArea() const {
    const QScreen* current = screen();
    if (!current) current = QGuiApplication::primaryScreen();
    return current ? current->availableGeometry() : QRect(QPoint(), kDesignScreen);
}

QMargins TMainForm::FrameMargins() const {
    const QRect frame = frameGeometry();
    const QRect inside = geometry();
    return {inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
            frame.bottom() - inside.bottom()};
}

void TMainForm::RestoreWindowPlacement() {
    RestoreWindowPlacement(ScreenArea());
}

void TMainForm::RestoreWindowPlacement(QSize screen) {
    RestoreWindowPlacement(QRect(QPoint(), screen));
}

void TMainForm::RestoreWindowPlacement(const QRect& screenArea) {
    if (!std::filesystem::exists(FSettings.Path())) return;
    const auto read = [this](std::string_view key) -> std::optional<int> {
        constexpr int kMissing = std::numeric_limits<int>::min();
        const int value = FSettings.ReadInteger(kPlacementSection, key, kMissing);
        if (value == kMissing) return std::nullopt;
        return value;
    };
    TSavedPlacement saved{read("Left"), read("Top"), read("Width"), read("Height")};
    // A size of nothing cannot be a window's: such a value is left out like a missing one.
    if (saved.width && *saved.width <= 0) saved.width.reset();
    if (saved.height && *saved.height <= 0) saved.height.reset();
    const QRect placement = CorrectedPlacement(QRect(pos(), size()), saved, screenArea, FrameMargins());
    // The position is the frame's, as saved: move() places the frame, resize() the inside.
    move(placement.topLeft());
    resize(placement.size());
    // Before the desktop has framed the window its frame is not known: the placement is checked again
    // once it is.
    FPendingPlacement.reset();
    if (FrameMargins().isNull()) FPendingPlacement = placement;
}

void TMainForm::PlaceFramedWindow() {
    if (!FPendingPlacement) return;
    const QRect wanted = *FPendingPlacement;
    FPendingPlacement.reset();
    const TSavedPlacement placement{wanted.left(), wanted.top(), wanted.width(), wanted.height()};
    const QRect kept = CorrectedPlacement(wanted, placement, ScreenArea(), FrameMargins());
    if (kept.topLeft() != pos()) move(kept.topLeft());
    if (kept.size() != size()) resize(kept.size());
}

bool TMainForm::event(QEvent* event) {
    // The desktop frames a window after showing it, and the window then moves (its inside goes in
    // by the frame). A desktop that frames nothing leaves the placement as it is.
    if (FPendingPlacement && isVisible()) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Move || type == QEvent::Resize) && !FrameMargins().isNull()) {
            const bool handled = QWidget::event(event);
            PlaceFramedWindow();
            return handled;
        }
        if (type == QEvent::WindowActivate) FPendingPlacement.reset();
    }
    return QWidget::event(event);
}

void TMainForm::SaveWindowPlacement() {
    // After the first failure the rest would fail the same way; FormClose reports it.
    if (!FSettings.WriteInteger(kPlacementSection, "Left", x())) return;
    if (!FSettings.WriteInteger(kPlacementSection, "Top", y())) return;
    if (!FSettings.WriteInteger(kPlacementSection, "Width", width())) return;
    FSettings.WriteInteger(kPlacementSection, "Height", height());
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (FShown) return;
    FShown = true;
    FormShow();
}

void TMainForm::FormShow() {
    if (std::filesystem::exists(FSettings.Path())) {
        const auto applyDirectory = [this](std::string_view key, TZTFilelistView& list, QLineEdit& box) {
            const QString saved = QString::fromStdString(FSettings.ReadString(kDirectorySection, key, ""));
            if (saved.isEmpty() || !QFileInfo(saved).isDir()) return;
            ShowFolder(list, saved);
            box.setText(list.Directory());
        };
        applyDirectory("Source", *SourceFileList, *SourceDirEdit);
        applyDirectory("Target", *TargetFileList, *TargetDirEdit);
        OverwriteChk->setChecked(FSettings.ReadInteger("Overwrite", "Value", 0) != 0);
        HTMLCheck->setChecked(FSettings.ReadInteger("HTMLDoc", "Value", 0) != 0);
        PreviewChk->setChecked(FSettings.ReadInteger(kPreviewSection, "Visible", 0) != 0);
        int index = FSettings.ReadInteger("Filter", "Index", 0);
        if (index < 0 || index >= FilterCombo->count()) index = 0;
        {
            const QSignalBlocker quiet(FilterCombo);
            FilterCombo->setCurrentIndex(index);
        }
        FilterComboChange();
    }
    RestoreWindowPlacement();
    ShowKeySettings();
    SourceDirTree->OpenPath(SourceFileList->Directory());
    TargetDirTree->OpenPath(TargetFileList->Directory());
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // A batch shows its questions and progress in this window: it cannot go away under them.
    if (Busy()) {
        event->ignore();
        return;
    }
    FormClose();
    if (FHelpWindow) FHelpWindow->close();
    event->accept();
}

bool TMainForm::FormClose() {
    SaveWindowPlacement();
    const bool saved =
        FSettings.LastError().empty() &&
        FSettings.WriteString(kDirectorySection, "Source", SourceFileList->Directory().toStdString()) &&
        FSettings.WriteString(kDirectorySection, "Target", TargetFileList->Directory().toStdString()) &&
        FSettings.WriteInteger("Overwrite", "Value", OverwriteChk->isChecked() ? 1 : 0) &&
        FSettings.WriteInteger("HTMLDoc", "Value", HTMLCheck->isChecked() ? 1 : 0) &&
        FSettings.WriteInteger("Filter", "Index", FilterIndex()) &&
        FSettings.WriteInteger(kPreviewSection, "Visible", PreviewChk->isChecked() ? 1 : 0);
    if (!saved) {
        Messages().Error(tr("Unable to write to %1").arg(QString::fromStdString(FSettings.Path().string())));
    }
    return saved;
}

int TMainForm::FilterIndex() const {
    return FilterCombo->findText(FilterCombo->currentText());
}

void TMainForm::FilterComboChange() {
    const int index = FilterIndex();
    if (index == kHtmlFilter) HTMLCheck->setChecked(true);
    Refilter(*SourceFileList, FilterMask(index, FilterCombo->currentText()));
    Refilter(*TargetFileList, SourceFileList->Mask());
}

TZTFilelistView* TMainForm::ListOfGroup(int group) const {
    if (group == 10) return SourceFileList;
    if (group == 20) return TargetFileList;
    return nullptr;
}

void TMainForm::ViewIconBtnClick(QAbstractButton* Sender) {
    if (!Sender) return;
    TZTFilelistView* list = ListOfGroup(Sender->property("GroupIndex").toInt());
    const int tag = Sender->property("Tag").toInt();
    if (list && tag >= 1 && tag <= 4) list->SetViewStyle(static_cast<TViewStyle>(tag - 1));
    SyncViewButtons();
    if (list == SourceFileList) StartEncodingScan();
}

void TMainForm::SyncViewButtons() {
    if (QAbstractButton* button = FSourceViewButtons->button(SourceFileList->ViewStyle() + 1))
        button->setChecked(true);
    if (QAbstractButton* button = FTargetViewButtons->button(TargetFileList->ViewStyle() + 1))
        button->setChecked(true);
}

void TMainForm::CreatedirButtonClick() {
    const QModelIndex node = TargetDirTree->SelectedNode();
    if (!node.isValid()) return;
    TargetDirTree->AddNewNode(node, QString());
}

namespace {

// A folder as the lists keep it, with its trailing separator; the drives under their shown name.
QString FolderText(const QString& path) {
    return path.compare(kDrives, Qt::CaseInsensitive) == 0 ? DirectoryCaption(path) : AddSlash(path);
}

}  // namespace

void TMainForm::SourceDirTreeClick() {
    SourceDirEdit->setText(FolderText(SourceDirTree->SelectedPath()));
}

void TMainForm::TargetDirTreeClick() {
    TargetDirEdit->setText(FolderText(TargetDirTree->SelectedPath()));
}

void TMainForm::SourceFileListItemChange() {
    SourceDirEdit->setText(DirectoryCaption(SourceFileList->Directory()));
}

void TMainForm::TargetFileListItemChange() {
    TargetDirEdit->setText(DirectoryCaption(TargetFileList->Directory()));
}

void TMainForm::ReadOptionsInto(TBatchDriver& driver) const {
    driver.SourceEncoding = ChosenEncoding(*SourceEncodecbo);
    driver.TargetEncoding = ChosenEncoding(*TargetEncodecbo);
    driver.FindText = FindstrEdit->text();
    driver.ReplaceText = ReplacestrEdit->text();
    driver.OverwriteAll = OverwriteChk->isChecked();
    // With Overwrite All no question can come: files are converted on every processor.
    driver.Jobs = std::max(1, QThread::idealThreadCount());
    driver.HtmlDoc = HTMLCheck->isChecked();
    driver.SourceEncodingOf =
        DetectChosen(*SourceEncodecbo)
            ? SourceByDetection(FOwnDetector ? DefaultFileDetector(FEngine.Keys()) : FDetector)
            : TSourceEncodingOf();
}

void TMainForm::RunBatch(void (TBatchDriver::*click)()) {
    if (FDriver->Running()) return;
    ReadOptionsInto(*FDriver);
    // No second operation can start inside this one.
    Conversebutton->setEnabled(false);
    ToolbarButton971->setEnabled(false);
    struct TEnableAgain {
        TMainForm& form;
        ~TEnableAgain() {
            form.Conversebutton->setEnabled(true);
            form.ToolbarButton971->setEnabled(true);
        }
    } enableAgain{*this};
    (FDriver.get()->*click)();
    SourceFileListItemChange();
    TargetFileListItemChange();
    StartEncodingScan();
    RefreshPreview();
}

void TMainForm::ConversebuttonClick() {
    RunBatch(&TBatchDriver::ConversebuttonClick);
}

void TMainForm::ReplaceButtonClick() {
    RunBatch(&TBatchDriver::ReplaceButtonClick);
}

void TMainForm::HelpButtonClick() {
    if (!FHelpWindow) FHelpWindow = std::make_unique<THelpWindow>(nullptr);
    FHelpWindow->HelpCommand(HELP_FINDER, 0);
    FHelpWindow->show();
    FHelpWindow->raise();
    FHelpWindow->activateWindow();
}

void TMainForm::ExitButtonClick() {
    close();
}

void TMainForm::ShowKeySettings() {
    KeySettingPanel->ShowKeySettings();
}

void TMainForm::OKSettingsButtonClick() {
    KeySettingPanel->OKSettingsButtonClick();
}

void TMainForm::KeyVIQRButtonClick() {
    KeySettingPanel->KeyVIQRButtonClick();
}

void TMainForm::OpenSourceFolder(const QString& path) {
    const QFileInfo info(path);
    QString folder;
    if (info.isDir()) {
        folder = info.absoluteFilePath();
    } else if (info.isFile()) {
        folder = info.absolutePath();
    } else {
        // Said where it was typed and where it is seen; the window then opens as without it.
        const QString text = tr("The folder \"%1\" does not exist.").arg(path);
        std::fputs(qPrintable(QStringLiteral("odizodoruz: ") + text + QLatin1Char('\n')), stderr);
        Messages().Warning(text);
        return;
    }
    ShowFolder(*SourceFileList, folder);
    SourceDirEdit->setText(DirectoryCaption(SourceFileList->Directory()));
    SourceDirTree->OpenPath(SourceFileList->Directory());
}

}  // namespace odz

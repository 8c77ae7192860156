#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "BatchDriver.h"
#include "FileDetection.h"
#include "IniStore.h"
#include "WindowPlacement.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDockWidget;
class QLineEdit;
class QMainWindow;
class QProgressBar;
class QSplitter;
class QToolBar;
class QToolBox;
class QToolButton;

namespace odz {

class TDirTreeViewPort;
class TEncodingScan;
class TFileListViewPort;
class THelpWindow;
class TKeySettingsPage;
class TPreviewPane;
class TProgressBarPort;
class TRaRaru;
class TWindowBusy;
class TZTDirTree;
class TZTFilelistView;
class TZTPanel;

// The main window: two file panes, the encodings, the Convert, Replace, Folder, Help and Exit buttons,
// the filter, search and replacement rows, and the key settings page. It remembers the user's folders,
// options, filter and placement in the settings file between runs.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    // The window keeps its settings in the engine's settings file.
    explicit TMainForm(TRaRaru& engine, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Handlers.
    void FormCreate();
    void FormShow();
    // Saves the settings; false when they could not be written (the user has been told).
    bool FormClose();
    void ConversebuttonClick();
    void ReplaceButtonClick();
    void HelpButtonClick();
    void ExitButtonClick();
    void CreatedirButtonClick();
    void ViewIconBtnClick(QAbstractButton* Sender);
    void FilterComboChange();
    void SourceDirTreeClick();
    void TargetDirTreeClick();
    void SourceFileListItemChange();
    void TargetFileListItemChange();
    void OKSettingsButtonClick();
    void KeyVIQRButtonClick();
    // The preview pane and the source list's Encoding column (MainFormDetection.cpp).
    void PreviewChkClick();
    void RefreshPreview();
    void StartEncodingScan();
    bool EncodingScanRunning() const;
    // The detector of the Encoding column, the preview and Convert with "Detect automatically".
    void SetFileDetector(TFileDetector detector);

    // Internal operations, public for the tests: the screen can be given instead of the real one.
    void AdjustToScreen();
    void AdjustToScreen(QSize screen);
    void RestoreWindowPlacement();
    void RestoreWindowPlacement(QSize screen);
    void RestoreWindowPlacement(const QRect& screenArea);
    void SaveWindowPlacement();
    void SyncViewButtons();
    void ShowKeySettings();

    // Opens the source pane on a folder given when the program was started (a file stands for its
    // folder). A path that names nothing is reported on standard error and in a box, and the pane
    // stays on its folder.
    void OpenSourceFolder(const QString& path);

    // The position of the filter: an item's, or -1 after the user typed a mask of their own.
    int FilterIndex() const;
    bool Busy() const { return FDriver->Running(); }
    THelpWindow* HelpWindow() const { return FHelpWindow.get(); }
    const std::filesystem::path& SettingsFile() const { return FSettings.Path(); }

    // The controls, under the names the handlers use.
    QToolBox* GroupBar = nullptr;
    QMainWindow* ConversionPage = nullptr;
    TZTPanel* ConverisonLeftpanel = nullptr;
    TZTPanel* RightPanel = nullptr;
    QSplitter* PaneSplitter = nullptr;
    QSplitter* SourceSplitter = nullptr;
    QSplitter* TargetSplitter = nullptr;
    QLineEdit* SourceDirEdit = nullptr;
    QComboBox* SourceEncodecbo = nullptr;
    QToolButton* SrcLargeIconBtn = nullptr;
    QToolButton* SrcSmallIconBtn = nullptr;
    QToolButton* SrcListBtn = nullptr;
    QToolButton* SrcReportBtn = nullptr;
    TZTDirTree* SourceDirTree = nullptr;
    TZTFilelistView* SourceFileList = nullptr;
    QLineEdit* TargetDirEdit = nullptr;
    QComboBox* TargetEncodecbo = nullptr;
    QToolButton* TarLargeIconBtn = nullptr;
    QToolButton* TarSmallIconBtn = nullptr;
    QToolButton* TarListBtn = nullptr;
    QToolButton* TarReportBtn = nullptr;
    TZTDirTree* TargetDirTree = nullptr;
    TZTFilelistView* TargetFileList = nullptr;
    QToolButton* CreatedirButton = nullptr;
    QToolButton* Conversebutton = nullptr;
    QToolButton* ToolbarButton971 = nullptr;
    QToolButton* ReplaceButton = nullptr;
    QToolButton* ExitButton = nullptr;
    QComboBox* FilterCombo = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QCheckBox* OverwriteChk = nullptr;
    QCheckBox* HTMLCheck = nullptr;
    QCheckBox* PreviewChk = nullptr;
    QDockWidget* PreviewDock = nullptr;
    TPreviewPane* PreviewPane = nullptr;
    QLineEdit* FindstrEdit = nullptr;
    QLineEdit* ReplacestrEdit = nullptr;
    TKeySettingsPage* KeySettingPanel = nullptr;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Building the window, in MainFormLayout.cpp.
    void BuildLayout();
    QWidget* BuildConversionPage();
    // What tells the two panes apart, and what a pane is built of.
    struct TPaneTexts {
        bool source;  // the names, captions and hints begin with "Source" (the view buttons' with "Src")
        QString dirHint;
        QString encodingHint;
        QString viewHints[4];
    };
    struct TPaneParts {
        QLineEdit*& dirEdit;
        QComboBox*& encoding;
        QButtonGroup*& viewButtons;
        QToolButton*& largeIcons;
        QToolButton*& smallIcons;
        QToolButton*& list;
        QToolButton*& report;
        QSplitter*& splitter;
        TZTDirTree*& tree;
        TZTFilelistView*& fileList;
    };
    TZTPanel* BuildSourcePane();
    TZTPanel* BuildTargetPane();
    // The rows of tool bars, the tree and the list of a pane, into the parts' members.
    void BuildPaneParts(QMainWindow& pane, const TPaneTexts& texts, const TPaneParts& parts);
    void BuildBottomRows(QMainWindow* page);
    QToolBar* NewToolBar(const char* title, QWidget* parent);
    QToolButton* NewViewButton(const QString& name, const QString& hint, const QString& picture, int group,
                               int tag, QButtonGroup* buttons);
    QToolButton* NewLargeButton(const QString& name, const QString& caption, const QString& hint,
                                const QString& picture);
    void Connect();

    QSize ScreenSize() const;
    QRect ScreenArea() const;
    // The window's frame around its inside; nothing until the desktop has framed the shown window.
    QMargins FrameMargins() const;
    // Once the desktop has framed the window, puts it where the placement meant it to be and keeps the
    // whole frame on the screen.
    void PlaceFramedWindow();
    TZTFilelistView* ListOfGroup(int group) const;
    // Runs a batch with both buttons disabled.
    void RunBatch(void (TBatchDriver::*click)());
    void ReadOptionsInto(TBatchDriver& driver) const;
    void ConnectDetection();
    // The file chosen in the source list by its name bytes, or nothing.
    std::filesystem::path ChosenSourceFile() const;

    TRaRaru& FEngine;
    TIniStore FSettings;
    std::unique_ptr<TFileListViewPort> FSourcePort;
    std::unique_ptr<TFileListViewPort> FTargetPort;
    std::unique_ptr<TDirTreeViewPort> FSourceTreePort;
    std::unique_ptr<TDirTreeViewPort> FTargetTreePort;
    std::unique_ptr<TWindowBusy> FBusyPort;
    std::unique_ptr<TProgressBarPort> FProgressPort;
    std::unique_ptr<TBatchDriver> FDriver;
    TFileDetector FDetector = DefaultFileDetector();
    bool FOwnDetector = true;  // the program's detector, not one handed in: it follows the VIQR keys
    // Gone before the lists it fills.
    std::unique_ptr<TEncodingScan> FEncodingScan;
    bool FEncodingsScanned = false;  // the source list's rows have been handed to the scan
    QButtonGroup* FSourceViewButtons = nullptr;
    QButtonGroup* FTargetViewButtons = nullptr;
    std::unique_ptr<THelpWindow> FHelpWindow;
    bool FShown = false;
    // The placement applied at start-up, until the frame it must be kept with is known.
    std::optional<QRect> FPendingPlacement;
};

}  // namespace odz

// Building the main window's controls. The handlers are in MainForm.cpp.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QProgressBar>
#include <QSplitter>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "Encodings.h"
#include "KeySettingsPage.h"
#include "MainForm.h"
#include "MainFormDesign.h"
#include "PreviewPane.h"
#include "ZTDirTree.h"
#include "ZTFilelistView.h"
#include "ZTPanel.h"

namespace odz {

namespace {

// The faint paper pattern tiled under the directory trees.
QPixmap TreeTile() {
    QImage tile(48, 48, QImage::Format_RGB32);
    tile.fill(QColor(250, 250, 244));
    QPainter painter(&tile);
    painter.setPen(QColor(236, 238, 228));
    for (int y = 11; y < tile.height(); y += 12) painter.drawLine(0, y, tile.width() - 1, y);
    painter.setPen(QColor(244, 232, 232));
    painter.drawLine(5, 0, 5, tile.height() - 1);
    return QPixmap::fromImage(tile);
}

// A pane: a decorated panel holding a main window of its own, so that its tool bars can be dragged
// to any of its edges or floated.
QMainWindow* PaneWindow(TZTPanel* panel, const QString& name) {
    auto* window = new QMainWindow(panel);
    // A main window always starts as a window of its own; this one is a child of the panel.
    window->setWindowFlags(Qt::Widget);
    window->setObjectName(name);
    window->setDockOptions(QMainWindow::AnimatedDocks);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(window);
    return window;
}

TZTPanel* NewPanel(const QString& name, QWidget* parent) {
    auto* panel = new TZTPanel(parent);
    panel->setObjectName(name);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(RGBColor(206, 218, 240));
    panel->SetColorEnd(RGBColor(240, 244, 252));
    panel->SetGradient(gdTopToBottom);
    return panel;
}

QComboBox* EncodingCombo(const QString& name, const QString& hint, const QString& text, bool source,
                         QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setToolTip(hint);
    FillEncodingList(*combo, source);
    combo->setPlaceholderText(text);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

QLineEdit* DisplayBox(const QString& name, const QString& hint, const QString& text, QWidget* parent) {
    // It names the list's folder from the start; the caption stands in while there is none.
    auto* edit = new QLineEdit(parent);
    edit->setPlaceholderText(text);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    edit->setReadOnly(true);
    edit->setMinimumWidth(120);
    return edit;
}

}  // namespace

void TMainForm::BuildLayout() {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(tr("MainForm"));
    setWindowIcon(QIcon(QStringLiteral(":/workbench/odizodoruz")));
    setGeometry(QRect(kDesignPosition, kDesignSize));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    GroupBar = new QToolBox(this);
    GroupBar->setObjectName(QStringLiteral("GroupBar"));
    layout->addWidget(GroupBar);

    GroupBar->addItem(BuildConversionPage(), tr("Directory Search && Conversion"));
    KeySettingPanel = new TKeySettingsPage(FEngine, GroupBar);
    GroupBar->addItem(KeySettingPanel, tr("Key Settings"));
    GroupBar->setCurrentIndex(0);
}

QWidget* TMainForm::BuildConversionPage() {
    ConversionPage = new QMainWindow();
    ConversionPage->setWindowFlags(Qt::Widget);
    ConversionPage->setObjectName(QStringLiteral("ConversionPage"));
    PaneSplitter = new QSplitter(Qt::Horizontal, ConversionPage);
    PaneSplitter->setObjectName(QStringLiteral("PaneSplitter"));
    PaneSplitter->setChildrenCollapsible(false);
    PaneSplitter->addWidget(BuildSourcePane());
    PaneSplitter->addWidget(BuildTargetPane());
    // Both panes grow and shrink with the window, each in proportion to its width.
    PaneSplitter->setStretchFactor(0, 1);
    PaneSplitter->setStretchFactor(1, 1);
    ConversionPage->setCentralWidget(PaneSplitter);
    // The preview pane, shown by the check button "Preview", sits under the panes; like the tool bars it
    // may be dragged to another edge or floated.
    PreviewDock = new QDockWidget(tr("Preview"), ConversionPage);
    PreviewDock->setObjectName(QStringLiteral("PreviewDock"));
    PreviewDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    PreviewPane = new TPreviewPane(PreviewDock);
    PreviewDock->setWidget(PreviewPane);
    ConversionPage->addDockWidget(Qt::BottomDockWidgetArea, PreviewDock);
    PreviewDock->hide();
    BuildBottomRows(ConversionPage);
    return ConversionPage;
}

QToolBar* TMainForm::NewToolBar(const char* title, QWidget* parent) {
    auto* bar = new QToolBar(tr(title), parent);
    bar->setObjectName(QString::fromLatin1(title).remove(QLatin1Char(' ')));
    bar->setMovable(true);
    bar->setFloatable(true);
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    return bar;
}

QToolButton* TMainForm::NewViewButton(const QString& name, const QString& hint, const QString& picture,
                                      int group, int tag, QButtonGroup* buttons) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(QIcon(QStringLiteral(":/workbench/") + picture));
    button->setCheckable(true);
    button->setProperty("GroupIndex", group);
    button->setProperty("Tag", tag);
    buttons->addButton(button, tag);
    return button;
}

QToolButton* TMainForm::NewLargeButton(const QString& name, const QString& caption, const QString& hint,
                                       const QString& picture) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(QIcon(QStringLiteral(":/workbench/") + picture));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumWidth(56);
    return button;
}

void TMainForm::BuildPaneParts(QMainWindow& pane, const TPaneTexts& texts, const TPaneParts& parts) {
    // The names of the parts begin with the side's English name; their captions are translated.
    const QString side = texts.source ? QStringLiteral("Source") : QStringLiteral("Target");
    const QString buttonPrefix = texts.source ? QStringLiteral("Src") : QStringLiteral("Tar");
    const int group = texts.source ? 10 : 20;
    QToolBar* dirBar = NewToolBar(
        texts.source ? QT_TR_NOOP("Source Directory Bar") : QT_TR_NOOP("Target Directory Bar"), &pane);
    parts.dirEdit = DisplayBox(side + QStringLiteral("DirEdit"), texts.dirHint,
                               texts.source ? tr("Source Directory") : tr("Target Directory"), dirBar);
    dirBar->addWidget(parts.dirEdit);
    pane.addToolBar(Qt::TopToolBarArea, dirBar);
    pane.addToolBarBreak(Qt::TopToolBarArea);

    QToolBar* encodingBar = NewToolBar(
        texts.source ? QT_TR_NOOP("Source Encoding Bar") : QT_TR_NOOP("Target Encoding Bar"), &pane);
    parts.encoding = EncodingCombo(side + QStringLiteral("Encodecbo"), texts.encodingHint,
                                   texts.source ? tr("Source Encoding") : tr("Target Encoding"), texts.source,
                                   encodingBar);
    encodingBar->addWidget(parts.encoding);
    encodingBar->addSeparator();
    parts.viewButtons = new QButtonGroup(this);
    QToolButton** views[] = {&parts.largeIcons, &parts.smallIcons, &parts.list, &parts.report};
    const QString names[] = {QStringLiteral("LargeIconBtn"), QStringLiteral("SmallIconBtn"),
                             QStringLiteral("ListBtn"), QStringLiteral("ReportBtn")};
    const QString pictures[] = {QStringLiteral("ViewLargeIcons"), QStringLiteral("ViewSmallIcons"),
                                QStringLiteral("ViewList"), QStringLiteral("ViewDetails")};
    for (int i = 0; i < 4; ++i) {
        *views[i] = NewViewButton(buttonPrefix + names[i], texts.viewHints[i], pictures[i], group, i + 1,
                                  parts.viewButtons);
        encodingBar->addWidget(*views[i]);
    }
    pane.addToolBar(Qt::TopToolBarArea, encodingBar);

    parts.splitter = new QSplitter(Qt::Horizontal, &pane);
    parts.splitter->setObjectName(side + QStringLiteral("Splitter"));
    parts.tree = new TZTDirTree(parts.splitter);
    parts.tree->setObjectName(side + QStringLiteral("DirTree"));
    parts.tree->setToolTip(texts.source ? tr("Source directory tree") : tr("Target directory tree"));
    parts.fileList = new TZTFilelistView(parts.splitter);
    parts.fileList->setObjectName(side + QStringLiteral("FileList"));
    parts.fileList->setToolTip(texts.source ? tr("Source file list") : tr("Target file list"));
    parts.splitter->addWidget(parts.tree);
    parts.splitter->addWidget(parts.fileList);
    parts.splitter->setStretchFactor(1, 1);
    pane.setCentralWidget(parts.splitter);

    parts.tree->SetFileList(parts.fileList);
    parts.fileList->SetDirTree(parts.tree);
}

TZTPanel* TMainForm::BuildSourcePane() {
    ConverisonLeftpanel = NewPanel(QStringLiteral("ConverisonLeftpanel"), nullptr);
    QMainWindow* pane = PaneWindow(ConverisonLeftpanel, QStringLiteral("SourcePane"));
    BuildPaneParts(*pane,
                   {true,
                    tr("Source Directory Path"),
                    tr("Source Encoding"),
                    {tr("Large Icon"), tr("Small Icon"), tr("List"), QString()}},
                   {SourceDirEdit, SourceEncodecbo, FSourceViewButtons, SrcLargeIconBtn, SrcSmallIconBtn,
                    SrcListBtn, SrcReportBtn, SourceSplitter, SourceDirTree, SourceFileList});
    SourceDirTree->SetBackPict(TreeTile());
    SourceDirTree->SetImageMode(imTiled);
    SourceFileList->SetColorBegin(RGBColor(255, 255, 255));
    SourceFileList->SetColorEnd(RGBColor(214, 228, 250));
    SourceFileList->SetBackEffect(gdTopToBottom);
    return ConverisonLeftpanel;
}

TZTPanel* TMainForm::BuildTargetPane() {
    RightPanel = NewPanel(QStringLiteral("RightPanel"), nullptr);
    QMainWindow* pane = PaneWindow(RightPanel, QStringLiteral("TargetPane"));

    QToolBar* buttonBar = NewToolBar(QT_TR_NOOP("Button Bar"), pane);
    buttonBar->setOrientation(Qt::Vertical);
    buttonBar->setIconSize(QSize(32, 32));
    buttonBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    CreatedirButton = NewLargeButton(QStringLiteral("CreatedirButton"), tr("Folder"),
                                     tr("Create new directory"), QStringLiteral("ToolFolder"));
    Conversebutton = NewLargeButton(QStringLiteral("Conversebutton"), tr("Convert"),
                                    tr("Converse to other font format"), QStringLiteral("ToolConvert"));
    ToolbarButton971 = NewLargeButton(QStringLiteral("ToolbarButton971"), tr("Replace"), tr("Relace text"),
                                      QStringLiteral("ToolReplace"));
    ReplaceButton = NewLargeButton(QStringLiteral("ReplaceButton"), tr("Help"), tr("Show help"),
                                   QStringLiteral("ToolHelp"));
    ExitButton =
        NewLargeButton(QStringLiteral("ExitButton"), tr("Exit"), tr("Exit"), QStringLiteral("ToolExit"));
    for (QToolButton* button : {CreatedirButton, Conversebutton, ToolbarButton971, ReplaceButton, ExitButton})
        buttonBar->addWidget(button);
    pane->addToolBar(Qt::LeftToolBarArea, buttonBar);

    BuildPaneParts(*pane, {false, tr("Target directory path"), tr("Target encoding"), {}},
                   {TargetDirEdit, TargetEncodecbo, FTargetViewButtons, TarLargeIconBtn, TarSmallIconBtn,
                    TarListBtn, TarReportBtn, TargetSplitter, TargetDirTree, TargetFileList});
    return RightPanel;
}

void TMainForm::BuildBottomRows(QMainWindow* page) {
    QToolBar* filterBar = NewToolBar(QT_TR_NOOP("Filter Bar"), page);
    filterBar->addWidget(new QLabel(tr("File Filter   "), filterBar));
    FilterCombo = new QComboBox(filterBar);
    FilterCombo->setObjectName(QStringLiteral("FilterCombo"));
    FilterCombo->setToolTip(tr("Filter"));
    FilterCombo->setEditable(true);
    FilterCombo->setInsertPolicy(QComboBox::NoInsert);
    FilterCombo->addItems(FilterItems());
    FilterCombo->setCurrentIndex(0);
    FilterCombo->setMinimumContentsLength(24);
    filterBar->addWidget(FilterCombo);
    ProgressBar = new QProgressBar(filterBar);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setToolTip(tr("Process status"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setMinimumWidth(160);
    filterBar->addWidget(ProgressBar);
    OverwriteChk = new QCheckBox(tr("Overwrite All"), filterBar);
    OverwriteChk->setObjectName(QStringLiteral("OverwriteChk"));
    filterBar->addWidget(OverwriteChk);
    HTMLCheck = new QCheckBox(tr("HTML Doc"), filterBar);
    HTMLCheck->setObjectName(QStringLiteral("HTMLCheck"));
    filterBar->addWidget(HTMLCheck);
    PreviewChk = new QCheckBox(tr("Preview"), filterBar);
    PreviewChk->setObjectName(QStringLiteral("PreviewChk"));
    PreviewChk->setToolTip(tr("Show the start of the chosen file before and after conversion"));
    filterBar->addWidget(PreviewChk);

    QToolBar* searchBar = NewToolBar(QT_TR_NOOP("Searched Text Bar"), page);
    searchBar->addWidget(new QLabel(tr("Searched Text  "), searchBar));
    FindstrEdit = new QLineEdit(searchBar);
    FindstrEdit->setObjectName(QStringLiteral("FindstrEdit"));
    FindstrEdit->setToolTip(tr("Searched text"));
    searchBar->addWidget(FindstrEdit);

    QToolBar* replaceBar = NewToolBar(QT_TR_NOOP("Replacing Text Bar"), page);
    replaceBar->addWidget(new QLabel(tr("Replacing Text "), replaceBar));
    ReplacestrEdit = new QLineEdit(replaceBar);
    ReplacestrEdit->setObjectName(QStringLiteral("ReplacestrEdit"));
    replaceBar->addWidget(ReplacestrEdit);

    // The bottom area stacks its lines upwards: the first one added is the lowest.
    page->addToolBar(Qt::BottomToolBarArea, replaceBar);
    page->addToolBarBreak(Qt::BottomToolBarArea);
    page->addToolBar(Qt::BottomToolBarArea, searchBar);
    page->addToolBarBreak(Qt::BottomToolBarArea);
    page->addToolBar(Qt::BottomToolBarArea, filterBar);
}

}  // namespace odz

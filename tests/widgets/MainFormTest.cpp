// The main window as a user meets it: converting and replacing from the window, the settings kept
// between runs, the screen adaptation, the panes' folders, the view buttons, the filter and Help; what
// it shows of detection before anything is written (the preview pane, the source list's Encoding column,
// "Detect automatically"); and the window in Vietnamese.

#include <csignal>
#include <cstdio>

#include "AtomicFile.h"
#include "DirTreeNavigation.h"
#include "EngineTexts.h"
#include "HelpWindow.h"
#include "KeySettingsPage.h"
#include "MainFormFixture.h"
#include "NamedDetector.h"
#include "PathRoutines.h"
#include "PreviewPane.h"
#include "QuitSignals.h"
#include "Translations.h"
#include "ZTDirTree.h"

using namespace odz;
using namespace odz::test;

namespace {

// Started by the test of quit signals as a program of its own: a window converting a file whose target
// exists, stopped at the overwrite question until a signal arrives. It prints the file the question
// names when it gets there.
[[noreturn]] void BatchUntilSignalled(const QString& folder) {
    int argc = 1;
    char name[] = "batch";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    TAtomicFile::AllowUnnamedFiles(!qEnvironmentVariableIsSet("ODZ_BATCH_NAMED_FILES"));
    TDirTreeModel::SetDriveSource([folder] {
        return QList<TDrive>{{folder + "/", "Fixed Disk", kDriveFixed}};
    });
    TScriptedMessages messages;
    TRaRaru engine((folder + "/settings/odizodoruz.ini").toStdString());
    engine.RaRaruCreate();
    TMainForm form(engine);
    form.SourceFileList->SetDirectory(folder + "/in");
    form.TargetFileList->SetDirectory(folder + "/out");
    form.SourceEncodecbo->setCurrentIndex(2);  // VISCII
    form.TargetEncodecbo->setCurrentIndex(8);  // Unicode UTF-8
    const TQuitSignals quitSignals([&form] { form.close(); }, [&form] { return form.Busy(); });
    messages.Expect(TAnswer::Yes);  // the conversion's confirmation; the overwrite question waits
    messages.probe = [&messages](const QString& question) {
        if (messages.asked.isEmpty()) return;
        std::fputs(qPrintable(question.section(QLatin1Char('\n'), 1) + QLatin1Char('\n')), stdout);
        std::fflush(stdout);
        for (;;) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    form.ConversebuttonClick();
    std::_Exit(3);  // the signal did not end the program
}

// What the user does in the target pane, and the folder then shown.
const struct {
    const char *name, *action, *shown;
} kPaneActions[] = {
    {"a click on a node", "click", "a/b"},        {"the list opens a folder", "open", "a/b"},
    {"End in the tree", "end", "work"},           {"Folder, then Enter", "folder", "a/New Folder"},
    {"Folder, then a name", "folder named", "a"}, {"Ctrl+N in the list", "new folder in the list", "a"},
    {"renaming the shown folder", "rename", "a"}, {"the shown folder deleted elsewhere", "deleted", "a"}};

// The folder named on the command line, the folder then shown and what is said ("@" stands for the
// sandbox).
const struct {
    const char *name, *argument, *folder, *said;
} kStartFolders[] = {{"a folder", "in", "in", ""},
                     {"a file stands for its folder", "in/a.txt", "in", ""},
                     {"nothing of that name", "no/such/folder", "work",
                      "warning: The folder \"@no/such/folder\" does not exist."}};

}  // namespace

class MainFormTest : public TMainFormFixture {
    Q_OBJECT

public:
    // The program of the quit signal test runs here, before the test's own application exists.
    static void initMain() {
        if (qEnvironmentVariableIsSet("ODZ_BATCH_FOLDER"))
            BatchUntilSignalled(qEnvironmentVariable("ODZ_BATCH_FOLDER"));
    }

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void adjustToScreenScalesTheWindowAndTheControls() {
        auto form = NewForm();
        form->resize(848, 551);
        QLineEdit* sac = form->KeySettingPanel->KeyEdit("Sac");
        const qreal keyFont = sac->font().pointSizeF();
        const qreal plainFont = form->FindstrEdit->font().pointSizeF();
        form->AdjustToScreen(QSize(1280, 1024));
        QCOMPARE(form->size(), QSize(1060, 734));
        // Controls with a font of their own grow with the screen's width; the others keep the desktop's.
        QCOMPARE(sac->font().pointSizeF(), keyFont * 1.25);
        QCOMPARE(form->FindstrEdit->font().pointSizeF(), plainFont);
        // The source pane keeps its designed share of the width (360 of 848).
        const QList<int> panes = form->PaneSplitter->sizes();
        QVERIFY2(qAbs(panes[0] * 848.0 / (panes[0] + panes[1]) - 360) < 4,
                 qPrintable(QString::number(panes[0])));

        // On a much wider screen the key boxes grow with their font, so the key stays readable.
        form->AdjustToScreen(QSize(2560, 1440));
        QCOMPARE(sac->font().pointSizeF(), keyFont * 1.25 * 2.5);
        QVERIFY(sac->width() >= sac->fontMetrics().horizontalAdvance(QLatin1Char('W')) + 8);

        form->resize(848, 551);
        form->AdjustToScreen(QSize(1024, 768));
        QCOMPARE(form->size(), QSize(848, 551));
        QCOMPARE(sac->font().pointSizeF(), keyFont * 1.25 * 2.5);
    }

    void panesShrinkInProportionWithTheWindow() {
        auto form = NewForm();
        form->resize(1400, 600);
        QVERIFY(Show(*form));
        const QList<int> wide = form->PaneSplitter->sizes();
        form->resize(900, 600);
        QTRY_VERIFY(form->PaneSplitter->sizes() != wide);
        const QList<int> narrow = form->PaneSplitter->sizes();
        const double source = double(narrow[0]) / wide[0], target = double(narrow[1]) / wide[1];
        QVERIFY2(source < 0.9 && qAbs(source - target) < 0.02,
                 qPrintable(QString("%1 %2").arg(source).arg(target)));
    }

    void viewButtonsSetTheirPanesViewStyle() {
        auto form = NewForm();
        QVERIFY(form->SrcReportBtn->isChecked() && form->TarReportBtn->isChecked());
        for (const auto& [buttons, list, other] :
             {std::tuple{QList<QToolButton*>{form->SrcLargeIconBtn, form->SrcSmallIconBtn, form->SrcListBtn,
                                             form->SrcReportBtn},
                         form->SourceFileList, form->TargetFileList},
              {QList<QToolButton*>{form->TarLargeIconBtn, form->TarSmallIconBtn, form->TarListBtn,
                                   form->TarReportBtn},
               form->TargetFileList, form->SourceFileList}})
            for (const TViewStyle style : {vsIcon, vsSmallIcon, vsList, vsReport}) {
                const TViewStyle otherStyle = other->ViewStyle();
                QTest::mouseClick(buttons[style], Qt::LeftButton);
                QCOMPARE(list->ViewStyle(), style);
                QCOMPARE(other->ViewStyle(), otherStyle);
                QVERIFY(buttons[style]->isChecked());
            }
    }

    void filterChoicesSetBothMasks() {
        for (const char* name : {"a.txt", "b.htm", "c.html", "d.asp", "e.rtf", "f.jsp"})
            Write(QString("work/") + name, "x");
        auto form = NewForm();
        form->SourceFileList->UpdateFileList();
        // The HTML filter ticks "HTML Doc"; the others leave it as it was.
        for (const auto& [index, mask, shown] :
             {std::tuple{2, "*.htm;*.shtm;*.asp;*jsp", QStringList{"b.htm", "c.html", "d.asp", "f.jsp"}},
              {1, "*.txt", {"a.txt"}},
              {0, "*.*", {"a.txt", "b.htm", "c.html", "d.asp", "e.rtf", "f.jsp"}}}) {
            form->FilterCombo->setCurrentIndex(index);
            QCOMPARE(form->TargetFileList->Mask(), QString(mask));
            QCOMPARE(Captions(*form->SourceFileList) + Captions(*form->TargetFileList), shown + shown);
            QVERIFY(form->HTMLCheck->isChecked());
        }
        // A mask typed by the user filters both lists at once.
        form->FilterCombo->lineEdit()->clear();
        QTest::keyClicks(form->FilterCombo->lineEdit(), "*.rtf");
        QCOMPARE(form->FilterIndex(), -1);
        QCOMPARE(Captions(*form->SourceFileList) + Captions(*form->TargetFileList), QStringList(2, "e.rtf"));
        // A typed mask at the last close (-1), an index beyond the items, or no number choose all files.
        for (const QByteArray index : {"-1", "7", "x"}) {
            form.reset();
            Write("settings/odizodoruz.ini", "[Filter]\nIndex=" + index + "\n");
            form = NewForm();
            QVERIFY(Show(*form));
            QCOMPARE(form->FilterCombo->currentText(), QString("All Files (*.*)"));
            QCOMPARE(form->SourceFileList->Mask(), QString("*.*"));
        }
    }

    void convertsChosenFilesFromTheWindow() {
        const QByteArray letter = Iconv(kLetterUtf8, "UTF-8", "VISCII");
        const QByteArray poem = Iconv(kPoemUtf8, "UTF-8", "VISCII");
        Write("in/letter.txt", letter);
        Write("in/skipped.txt", letter);
        Write("in/poems/kieu.txt", poem);
        Write("in/poems/deeper/kieu2.txt", poem);
        QDir().mkpath(Path("in/poems/without files"));  // the last folder walked lists no file
        auto form = NewForm();
        QVERIFY(Show(*form));
        Box().MakeFolders({"out"});
        form->SourceFileList->SetDirectory(Path("in"));
        form->TargetFileList->SetDirectory(Path("out"));
        form->SourceEncodecbo->setCurrentIndex(2);  // VISCII
        form->TargetEncodecbo->setCurrentIndex(8);  // Unicode UTF-8
        form->SourceFileList->SetSelected(RowOf(*form->SourceFileList, "letter.txt"), true);
        form->SourceFileList->SetSelected(RowOf(*form->SourceFileList, "poems"), true);

        QList<bool> enabledDuringRun;
        int questionsInside = -1;
        FMessages->probe = [&](const QString&) {
            enabledDuringRun << form->Conversebutton->isEnabled() << form->ToolbarButton971->isEnabled();
            // Pressing Convert again while the first one asks starts nothing.
            const qsizetype before = FMessages->asked.size();
            form->ConversebuttonClick();
            form->ReplaceButtonClick();
            questionsInside = static_cast<int>(FMessages->asked.size() - before);
            // Nor can the window be closed under the question.
            QVERIFY(!form->close());
        };
        QSignalSpy progress(form->ProgressBar, &QProgressBar::valueChanged);
        FMessages->Expect(TAnswer::Yes);
        QTest::mouseClick(form->Conversebutton, Qt::LeftButton);

        QCOMPARE(FMessages->asked,
                 QStringList{"Do you want to convert selected files with *.* in directory " + Folder("in") +
                             " from VISCII to files with *.* to directory " + Folder("out") +
                             " with Unicode UTF-8"});
        QCOMPARE(enabledDuringRun, (QList<bool>{false, false}));
        QCOMPARE(questionsInside, 0);
        QVERIFY(form->Conversebutton->isEnabled() && form->ToolbarButton971->isEnabled());
        QCOMPARE(Read("out/letter.txt") + Read("out/poems/kieu.txt") + Read("out/poems/deeper/kieu2.txt"),
                 kLetterUtf8 + kPoemUtf8 + kPoemUtf8);
        QVERIFY(!QFile::exists(Path("out/skipped.txt")));
        QCOMPARE(FMessages->shown,
                 QStringList{"information: Done\n3 files converted, 0 left alone, 0 failed."});
        // The bar rests at 0, without the busy animation of a bar whose maximum is 0.
        QVERIFY(form->ProgressBar->value() == 0 && form->ProgressBar->maximum() > 0 && progress.size() >= 2);
        QVERIFY(form->isVisible());
        QCOMPARE(form->TargetFileList->Directory() + form->TargetDirTree->SelectedPath(),
                 Folder("out").repeated(2));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void progressBarMovesDuringALongFile() {
        QByteArray big;
        while (big.size() < 4 * 1024 * 1024) big += Iconv(kLetterUtf8, "UTF-8", "VISCII");
        Write("in/big.txt", big);
        Box().MakeFolders({"out"});
        auto form = NewForm();
        form->SourceFileList->SetDirectory(Path("in"));
        form->TargetFileList->SetDirectory(Path("out"));
        form->SourceEncodecbo->setCurrentIndex(2);
        form->TargetEncodecbo->setCurrentIndex(8);
        QList<int> values;
        connect(form->ProgressBar, &QProgressBar::valueChanged, this, [&](int value) { values << value; });
        FMessages->Expect(TAnswer::Yes);
        form->ConversebuttonClick();
        // The bar moved forward in steps during the file, then went back to 0.
        const int max = form->ProgressBar->maximum();
        const auto between =
            std::count_if(values.begin(), values.end(), [max](int v) { return v > 0 && v < max; });
        QVERIFY2(between >= 2, qPrintable(QString::number(between)));
        QVERIFY(std::is_sorted(values.begin(), values.end() - 1));
        QCOMPARE(values.last(), 0);
    }

    void replacesFromTheWindow() {
        Write("in/a.txt", "the colour red\nno match here\ncolour, colour\n");
        Write("in/sub/b.txt", Iconv("colour Vi\xE1\xBB\x87t\n", "UTF-8", "VISCII"));
        Box().MakeFolders({"out"});
        auto form = NewForm();
        form->SourceFileList->SetDirectory(Path("in"));
        form->TargetFileList->SetDirectory(Path("out"));
        form->FindstrEdit->setText("colour");
        form->ReplacestrEdit->setText("color");
        FMessages->Expect(TAnswer::Yes);
        QTest::mouseClick(form->ToolbarButton971, Qt::LeftButton);
        QCOMPARE(FMessages->asked,
                 QStringList{"Do you want to replace all text:  colour in all files in directory " +
                             Folder("in") + " with text: color to directory " + Folder("out")});
        QCOMPARE(Read("out/a.txt"), QByteArray("the color red\r\nno match here\r\ncolor, color\r\n"));
        QCOMPARE(Read("out/sub/b.txt"), Iconv("color Vi\xE1\xBB\x87t\r\n", "UTF-8", "VISCII"));
        QCOMPARE(Read("in/a.txt"), QByteArray("the colour red\nno match here\ncolour, colour\n"));
        QCOMPARE(FMessages->shown,
                 QStringList{"information: Done\n2 files written, 0 left alone, 0 failed."});
        QVERIFY(form->ToolbarButton971->isEnabled());
    }

    // A quit signal during a batch, which the window cannot close under, ends the program at once: the
    // file being converted keeps its old content and no temporary file is left.
    void aQuitSignalDuringABatchEndsTheProgramAndLeavesTheTargetAsItWas_data() {
        QTest::addColumn<bool>("named");
        QTest::addColumn<int>("signal");
        QTest::newRow("unnamed file, SIGTERM") << false << int(SIGTERM);
        QTest::newRow("named file, SIGINT") << true << int(SIGINT);
        QTest::newRow("named file, SIGHUP") << true << int(SIGHUP);
    }
    void aQuitSignalDuringABatchEndsTheProgramAndLeavesTheTargetAsItWas() {
        QFETCH(bool, named);
        QFETCH(int, signal);
        Write("in/a.txt", Iconv(kLetterUtf8, "UTF-8", "VISCII"));
        Write("out/a.txt", "old");
        QProcess batch;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ODZ_BATCH_FOLDER", Path(""));
        if (named) environment.insert("ODZ_BATCH_NAMED_FILES", "1");
        batch.setProcessEnvironment(environment);
        batch.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(batch.waitForReadyRead(60000));
        QCOMPARE(QString::fromLocal8Bit(batch.readLine()), Path("out/a.txt") + "\n");
        const QDir out(Path("out"));
        const auto entries = [&out] { return out.entryList(QDir::Files | QDir::Hidden | QDir::System); };
        if (named) QCOMPARE(entries().size(), 2);  // the converted file waits beside the target
        ::kill(static_cast<pid_t>(batch.processId()), signal);
        QVERIFY(batch.waitForFinished(60000));
        QVERIFY(batch.exitStatus() == QProcess::CrashExit && batch.exitCode() == signal);
        QCOMPARE(entries(), QStringList{"a.txt"});
        QCOMPARE(Read("out/a.txt"), QByteArray("old"));
    }

    void settingsAreWrittenAtCloseAndAppliedAtTheNextStart() {
        Box().MakeFolders({"dst"});
        Write("src/a.txt", "x");
        Write("src/b.htm", "x");
        {
            auto form = NewForm();
            QVERIFY(Show(*form));
            form->SourceFileList->SetDirectory(Path("src"));
            form->TargetFileList->SetDirectory(Path("dst"));
            form->OverwriteChk->setChecked(true);
            form->PreviewChk->setChecked(true);
            form->FilterCombo->setCurrentIndex(1);
            form->move(30, 40);
            form->resize(700, 500);
            const QPoint placed = form->pos();
            QTest::mouseClick(form->ExitButton, Qt::LeftButton);
            QVERIFY(!form->isVisible());
            QCOMPARE(QString::fromUtf8(Read("settings/odizodoruz.ini")),
                     QString("[MainForm]\nLeft=%1\nTop=%2\nWidth=700\nHeight=500\n"
                             "\n[Directory]\nSource=%3\nTarget=%4\n"
                             "\n[Overwrite]\nValue=1\n\n[HTMLDoc]\nValue=0\n\n[Filter]\nIndex=1\n"
                             "\n[Preview]\nVisible=1\n")
                         .arg(placed.x())
                         .arg(placed.y())
                         .arg(Folder("src"), Folder("dst")));
        }
        auto form = NewForm();
        QVERIFY(Show(*form));
        QCOMPARE(QStringList({form->SourceFileList->Directory(), form->SourceDirEdit->text(),
                              form->SourceDirTree->SelectedPath()}),
                 QStringList(3, Folder("src")));
        QCOMPARE(QStringList({form->TargetFileList->Directory(), form->TargetDirEdit->text(),
                              form->TargetDirTree->SelectedPath()}),
                 QStringList(3, Folder("dst")));
        QVERIFY(form->OverwriteChk->isChecked() && !form->HTMLCheck->isChecked());
        QVERIFY(form->PreviewChk->isChecked() && form->PreviewDock->isVisible());
        QCOMPARE(form->SourceFileList->Mask(), QString("*.txt"));
        QCOMPARE(Captions(*form->SourceFileList), QStringList{"a.txt"});
        QCOMPARE(form->size(), QSize(700, 500));
        QCOMPARE(form->pos(), QPoint(30, 40));  // exactly where it was
        // The encodings, the texts and the view styles start afresh.
        QCOMPARE(form->SourceEncodecbo->currentIndex(), -1);
        QVERIFY(form->FindstrEdit->text().isEmpty());
    }

    void unusableSettingsAreCorrectedOrIgnored() {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        Write("settings/odizodoruz.ini",
              "[MainForm]\nLeft=-20\nTop=10\nWidth=99999\nHeight=abc\n"
              "[Directory]\nSource=" +
                  Path("gone").toUtf8() + "\nTarget=" + Path("work").toUtf8() +
                  "\n[HTMLDoc]\nValue=0\n[Filter]\nIndex=2\n[VN Key Current "
                  "Encode]\nConversion=*`?~.^(+Dd\\\n");
        auto form = NewForm();
        const int height = form->height();
        QVERIFY(Show(*form));
        // The whole window, its frame included, is on the screen: from the left edge to the right one.
        const QRect frame = form->frameGeometry();
        QCOMPARE(frame.topLeft(), QPoint(0, 10));
        QCOMPARE(frame.right(), screen.width() - 1);
        QVERIFY(QRect(QPoint(), screen).contains(frame));
        QCOMPARE(form->height(), std::min(height, screen.height() - 10 - (frame.height() - form->height())));
        // A folder that is gone is ignored: the list stays on the current folder.
        QCOMPARE(form->SourceFileList->Directory(), Folder("work"));
        // The HTML filter ticks "HTML Doc" whatever was saved for it.
        QVERIFY(form->HTMLCheck->isChecked());
        QCOMPARE(form->SourceFileList->Mask(), QString("*.htm;*.shtm;*.asp;*jsp"));
        // The keys in effect show in the key page.
        QCOMPARE(form->KeySettingPanel->KeyEdit("Sac")->text(), QString("*"));
    }

    void settingsThatCannotBeWrittenAreReportedAndTheWindowCloses() {
        Write("blocker", "a file where the settings folder should be");
        const QString settings = Path("blocker/odizodoruz.ini");
        auto form = NewForm(settings);
        QVERIFY(Show(*form));
        QVERIFY(form->close() && !form->isVisible());
        QCOMPARE(FMessages->shown, QStringList{"error: Unable to write to " + settings});
    }

    // The path box, the tree's selection and the list show one existing folder, the one Convert and
    // Replace use, whatever the user did in the pane.
    void pathBoxTreeAndListShowOneFolder_data() { test::AddRows(kPaneActions); }
    void pathBoxTreeAndListShowOneFolder() {
        QFETCH(int, row);
        const QString action = kPaneActions[row].action;
        QDir().mkpath(Path("a/b"));
        auto form = NewForm();
        QVERIFY(Show(*form));
        TZTDirTree& tree = *form->TargetDirTree;
        TZTFilelistView& list = *form->TargetFileList;
        const QString start = action == "rename" || action == "deleted" ? "a/b" : "a";
        list.SetDirectory(Path(start));
        tree.OpenPath(Folder(start));
        QCOMPARE(form->TargetDirEdit->text(), Folder(start));
        const auto treeEditor = [&] { return tree.viewport()->findChild<QLineEdit*>(); };
        if (action == "click") {
            const QModelIndex b = tree.Nodes()->index(0, 0, tree.currentIndex());
            QCOMPARE(b.data().toString(), QString("b"));
            QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, NodeLabelCenter(&tree, b));
        } else if (action == "open") {
            list.CurrentView()->clearSelection();
            list.SetSelected(RowOf(list, "b"), true);
            QTest::keyClick(list.CurrentView(), Qt::Key_Return);
        } else if (action == "end") {
            QTest::keyClick(&tree, Qt::Key_End);
        } else if (action.startsWith("folder")) {
            QTest::mouseClick(form->CreatedirButton, Qt::LeftButton);
            QVERIFY(treeEditor());
            if (action == "folder named") treeEditor()->setText("Docs");
            QTest::keyClick(treeEditor(), Qt::Key_Return);
            QTRY_VERIFY(!tree.Editing());
            QCoreApplication::sendPostedEvents();
        } else if (action == "new folder in the list") {
            QTest::keyClick(list.CurrentView(), Qt::Key_N, Qt::ControlModifier);
            QVERIFY(QFileInfo(Path("a/New Folder")).isDir());
        } else if (action == "rename") {
            QVERIFY(tree.EditSelected());
            treeEditor()->setText("renamed");
            FMessages->Expect(TAnswer::Yes);
            QTest::keyClick(treeEditor(), Qt::Key_Return);
            QTRY_VERIFY(QFileInfo(Path("a/renamed")).isDir());
        } else if (action == "deleted") {
            QVERIFY(QDir(Path("a/b")).removeRecursively());
            QTRY_COMPARE(list.Directory(), Folder("a"));
        }
        const QString folder = Folder(kPaneActions[row].shown);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(QStringList({list.Directory(), form->TargetDirEdit->text(),
                              AddSlash(tree.PathOfNode(tree.currentIndex())), AddSlash(tree.SelectedPath())}),
                 QStringList(4, folder));
        // The other pane is left alone, and typing into a box changes nothing.
        QCOMPARE(form->SourceFileList->Directory(), Folder("work"));
        QVERIFY(form->TargetDirEdit->isReadOnly());
    }

    void folderNamedAtStartOpensInTheSourcePane_data() { test::AddRows(kStartFolders); }
    void folderNamedAtStartOpensInTheSourcePane() {
        QFETCH(int, row);
        const auto& c = kStartFolders[row];
        Write("in/a.txt", "x");
        auto form = NewForm();
        QVERIFY(Show(*form));
        form->OpenSourceFolder(Path(c.argument));
        QCOMPARE(FMessages->shown.join('|'), QString(c.said).replace("@", Folder("")));
        QCOMPARE(QStringList({form->SourceFileList->Directory(), form->SourceDirEdit->text(),
                              form->SourceDirTree->SelectedPath()}),
                 QStringList(3, Folder(c.folder)));
    }

    void helpOpensTheContents() {
        auto form = NewForm();
        QVERIFY(Show(*form));
        QTest::mouseClick(form->ReplaceButton, Qt::LeftButton);
        QVERIFY(form->HelpWindow() && form->HelpWindow()->isVisible());
        QCOMPARE(form->HelpWindow()->Browser()->source(), form->HelpWindow()->ContentsUrl());
        // The key page's Help button opens the same window.
        form->HelpWindow()->close();
        form->GroupBar->setCurrentIndex(1);
        QTest::mouseClick(form->KeySettingPanel->findChild<QAbstractButton*>("KeyHelpButton"),
                          Qt::LeftButton);
        QVERIFY(form->HelpWindow()->isVisible());
        // Closing the main window closes the help too, so the program ends.
        QVERIFY(form->close());
        QVERIFY(!form->HelpWindow()->isVisible());
    }

    void previewFollowsTheSelectionAndTheEncodings() {
        Write("in/viscii-poem.txt", Iconv(kPoemUtf8, "UTF-8", "VISCII"));
        auto form = NewForm();
        form->SetFileDetector(test::NamedDetector());
        form->SourceFileList->SetDirectory(Path("in"));
        QVERIFY(form->PreviewDock->isHidden());
        form->PreviewChk->setChecked(true);
        const TPreviewPane& pane = *form->PreviewPane;
        QTRY_COMPARE(pane.MessageLabel->text(),
                     QString("Select a file in the source list to see its preview."));
        form->SourceFileList->SetSelected(RowOf(*form->SourceFileList, "viscii-poem.txt"), true);
        QTRY_COMPARE(pane.MessageLabel->text(),
                     QString("Choose the source and the target encoding to see the preview."));
        const int detect = form->SourceEncodecbo->count() - 1;
        QCOMPARE(form->SourceEncodecbo->itemText(detect), QString("Detect automatically"));
        QCOMPARE(form->TargetEncodecbo->findText("Detect automatically"), -1);
        form->SourceEncodecbo->setCurrentIndex(detect);
        form->TargetEncodecbo->setCurrentIndex(8);  // Unicode UTF-8
        const QString poem = QString::fromUtf8(kPoemUtf8).remove('\r').chopped(1);
        QTRY_COMPARE(pane.TargetView->toPlainText(), poem);
        QCOMPARE(pane.SourceCaption->text(), QString("Read as VISCII"));
        form->SourceEncodecbo->setCurrentIndex(4);  // VNI Wind: other letters
        QTRY_COMPARE(pane.SourceCaption->text(), QString("Read as VNI Wind"));
        QVERIFY(pane.TargetView->toPlainText() != poem);
        form->SourceEncodecbo->setCurrentIndex(detect);
        FMessages->Expect(TAnswer::No);
        form->ConversebuttonClick();
        QCOMPARE(FMessages->asked,
                 QStringList{"Do you want to convert selected files with *.* in directory " + Folder("in") +
                             " from detected per file to files with *.* to "
                             "directory " +
                             Folder("work") + " with Unicode UTF-8"});
    }

    // The source list's Encoding column fills on a worker while the window goes on handling events;
    // sorting by it groups the files. The target list has no such column.
    void encodingColumnFillsInTheBackground() {
        const QStringList names{"tcvn1-e.txt",  "unsure-g.txt", "utf8-c.txt", "viqr-d.txt",
                                "viscii-a.txt", "viscii-f.txt", "vni-b.txt"};
        for (const QString& name : names) Write("enc/" + name, "x");
        QDir().mkpath(Path("enc/folder"));
        for (int i = 0; i < 2000; ++i) Write(QString("big/viscii-%1.txt").arg(i), "x");
        auto form = NewForm();
        form->SetFileDetector(test::NamedDetector(std::chrono::milliseconds(1)));
        TZTFilelistView& list = *form->SourceFileList;
        const auto texts = [&list] {
            QStringList shown;
            for (int row = 0; row < list.Count(); ++row)
                if (!list.Item(row).isParent) shown << list.Model()->index(row, 5).data().toString();
            return shown;
        };
        list.SetDirectory(Path("enc"));
        QTRY_VERIFY(!form->EncodingScanRunning());
        QCOMPARE(list.Model()->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QString("Encoding"));
        QCOMPARE(form->TargetFileList->Model()->columnCount(), 5);
        QCOMPARE(Captions(list), QStringList{"folder"} + names);
        QCOMPARE(texts(), (QStringList{"", "tcvn1", "viscii?", "utf8", "viqr", "viscii", "viscii", "vni"}));
        list.ColumnClick(5);
        QCOMPARE(texts(), (QStringList{"vni", "viscii?", "viscii", "viscii", "viqr", "utf8", "tcvn1", ""}));

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(0);
        QSignalSpy batches(list.Model(), &QAbstractItemModel::dataChanged);
        list.SetDirectory(Path("big"));
        QCOMPARE(list.Count(), 2001);  // listed at once, the column still blank
        QVERIFY(form->EncodingScanRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!form->EncodingScanRunning(), 120000);
        QCOMPARE(texts(), QStringList(2000, "viscii"));
        QVERIFY2(batches.size() > 1 && ticks > batches.size(), qPrintable(QString::number(ticks)));
    }

    // With a Vietnamese locale the window, its questions, its boxes' buttons and the help book speak
    // Vietnamese; the English texts come back when the translation goes.
    void speaksVietnameseInAVietnameseLocale() {
        QVERIFY(InstallTranslations(*QCoreApplication::instance(),
                                    QLocale(QLocale::Vietnamese, QLocale::Vietnam)));
        const auto english = qScopeGuard([] {
            for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
                QCoreApplication::removeTranslator(translator);
                delete translator;
            }
        });
        Write("in/letter.txt", Iconv(kLetterUtf8, "UTF-8", "VISCII"));
        QDir().mkpath(Path("out"));
        auto form = NewForm();
        QVERIFY(Show(*form));
        QCOMPARE(
            QStringList({form->Conversebutton->text(), form->ExitButton->text(), form->OverwriteChk->text()}),
            QStringList({"Chuyển mã", "Thoát", "Ghi đè tất cả"}));
        form->SourceFileList->SetDirectory(Path("in"));
        form->TargetFileList->SetDirectory(Path("out"));
        QCOMPARE(form->SourceFileList->Item(0).caption, QString(" ^ Thư mục cha"));
        form->SourceEncodecbo->setCurrentIndex(2);  // VISCII
        form->TargetEncodecbo->setCurrentIndex(8);  // Unicode UTF-8
        FMessages->Expect(TAnswer::Yes);
        QTest::mouseClick(form->Conversebutton, Qt::LeftButton);
        QCOMPARE(FMessages->asked,
                 QStringList{"Bạn có muốn chuyển mã mọi tệp dạng *.* trong thư mục " + Folder("in") +
                             " từ bảng mã VISCII thành các tệp dạng *.* trong thư mục " + Folder("out") +
                             " với bảng mã Unicode UTF-8 không?"});
        QCOMPARE(FMessages->shown,
                 QStringList{"information: Xong\n1 tệp đã được chuyển mã, 0 tệp để nguyên, 0 tệp bị lỗi."});
        QCOMPARE(Read("out/letter.txt"), kLetterUtf8);
        // The engine's failures, shown in boxes and the preview, keep the file name as it is.
        QCOMPARE(EngineText("Cannot create file /a/Cannot open file", "Permission denied"),
                 QString("Không tạo được tệp /a/Cannot open file (Permission denied)"));
        QCOMPARE(EngineText("Cannot create /a/b"), QString("Không tạo được /a/b"));
        QMessageBox box(QMessageBox::Question, {}, {},
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(QStringList({box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::No)->text(),
                              box.button(QMessageBox::Cancel)->text()}),
                 QStringList({"&Có", "&Không", "Huỷ"}));
        QTest::mouseClick(form->ReplaceButton, Qt::LeftButton);
        QCOMPARE(form->HelpWindow()->Browser()->source(), QUrl("qrc:/help/vi/index.html"));
        QCOMPARE(form->HelpWindow()->findChild<QPushButton*>("ContentsButton")->text(), QString("&Mục lục"));
        QVERIFY(form->close());
    }
};

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"

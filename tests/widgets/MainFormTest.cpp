// The main window as a user meets it: converting and replacing from the window, the settings kept
// between runs, the screen adaptation, the view buttons, the filter and the small buttons.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>
#include <QtTest>
#include <csignal>
#include <cstdio>
#include <memory>

#include "AtomicFile.h"
#include "DirTreeModel.h"
#include "DirTreeNavigation.h"
#include "HelpWindow.h"
#include "IconvReference.h"
#include "KeySettingsPage.h"
#include "MainForm.h"
#include "PathRoutines.h"
#include "QuitSignals.h"
#include "ScriptedMessages.h"
#include "TRaRaru.h"
#include "ZTDirTree.h"
#include "ZTFilelistView.h"

using namespace odz;

namespace {

// The C library's conversion of bytes; a marker when it fails.
QByteArray Iconv(const QByteArray& bytes, const char* from, const char* to) {
    std::string output;
    if (!test::Iconv(to, from, std::string_view(bytes.constData(), bytes.size()), output)) return "<failed>";
    return QByteArray::fromStdString(output);
}

const QByteArray kLetterUtf8 =
    "Kính gửi anh Đức,\r\n"
    "Tôi đã nhận được thư của anh. Mọi việc ở đây đều ổn.\r\n"
    "Trăm năm trong cõi người ta, chữ tài chữ mệnh khéo là ghét nhau.\r\n";
const QByteArray kPoemUtf8 = "Ngẫm hay muôn sự tại trời,\r\nTrời kia đã bắt làm người có thân.\r\n";

// Records every box like the scripted messages, and runs a probe at each question, while the
// operation that asks is still running.
class TProbingMessages : public test::TScriptedMessages {
public:
    std::function<void()> probe;
    TAnswer Confirm(const QString& text, bool withCancel) override {
        if (probe) probe();
        return TScriptedMessages::Confirm(text, withCancel);
    }
};

// Started by the test of quit signals as a program of its own: a window converting a file whose target
// exists, stopped at the overwrite question until a signal arrives. It says "asking" when it gets there.
[[noreturn]] void BatchUntilSignalled(const QString& folder) {
    int argc = 1;
    char name[] = "batch";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    TAtomicFile::AllowUnnamedFiles(!qEnvironmentVariableIsSet("ODZ_BATCH_NAMED_FILES"));
    TDirTreeModel::SetDriveSource([folder] {
        return QList<TDrive>{{folder + "/", "Fixed Disk", kDriveFixed}};
    });
    TProbingMessages messages;
    TRaRaru engine((folder + "/settings/odizodoruz.ini").toStdString());
    engine.RaRaruCreate();
    TMainForm form(engine);
    form.SourceFileList->SetDirectory(folder + "/in");
    form.TargetFileList->SetDirectory(folder + "/out");
    form.SourceEncodecbo->setCurrentIndex(2);  // VISCII
    form.TargetEncodecbo->setCurrentIndex(8);  // Unicode UTF-8
    const TQuitSignals quitSignals([&form] { form.close(); }, [&form] { return form.Busy(); });
    messages.Expect(TAnswer::Yes);  // the conversion's confirmation; the overwrite question waits
    messages.probe = [&messages] {
        if (messages.asked.isEmpty()) return;
        std::fputs("asking\n", stdout);
        std::fflush(stdout);
        for (;;) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    form.ConversebuttonClick();
    std::_Exit(3);  // the signal did not end the program
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TProbingMessages> FMessages;
    std::unique_ptr<TRaRaru> FEngine;
    QString FCurrent;

    QString Path(const QString& relative) const { return FDir->path() + QLatin1Char('/') + relative; }
    QString Folder(const QString& relative) const { return Path(relative) + QLatin1Char('/'); }
    QString SettingsPath() const { return Path("settings/odizodoruz.ini"); }
    void Write(const QString& relative, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(Path(relative)).path());
        QFile file(Path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Read(const QString& relative) const {
        QFile file(Path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    std::unique_ptr<TMainForm> NewForm(const QString& settings = {}) {
        FEngine = std::make_unique<TRaRaru>((settings.isEmpty() ? SettingsPath() : settings).toStdString());
        FEngine->RaRaruCreate();
        return std::make_unique<TMainForm>(*FEngine);
    }
    static bool Show(QWidget& widget) {
        widget.show();
        return QTest::qWaitForWindowExposed(&widget);
    }
    static int Row(const TZTFilelistView& list, const QString& caption) {
        for (int row = 0; row < list.Count(); ++row)
            if (list.Item(row).caption == caption) return row;
        return -1;
    }
    static QStringList Captions(const TZTFilelistView& list) {
        QStringList captions;
        for (int row = 0; row < list.Count(); ++row)
            if (!list.Item(row).isParent) captions << list.Item(row).caption;
        return captions;
    }
    static void Choose(QComboBox& combo, int index) {
        combo.setCurrentIndex(index);
        QCOMPARE(combo.currentIndex(), index);
    }

public:
    // The program of the quit signal test runs here, before the test's own application exists.
    static void initMain() {
        if (qEnvironmentVariableIsSet("ODZ_BATCH_FOLDER"))
            BatchUntilSignalled(qEnvironmentVariable("ODZ_BATCH_FOLDER"));
    }

private slots:
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        QVERIFY(FDir->isValid());
        QDir().mkpath(Path("work"));
        QDir().mkpath(Path("settings"));
        FCurrent = QDir::currentPath();
        QDir::setCurrent(Path("work"));
        const QString root = FDir->path() + QLatin1Char('/');
        TDirTreeModel::SetDriveSource([root] { return QList<TDrive>{{root, "Fixed Disk", kDriveFixed}}; });
        FMessages = std::make_unique<TProbingMessages>();
    }
    void cleanup() {
        QDir::setCurrent(FCurrent);
        TDirTreeModel::SetDriveSource({});
        FMessages.reset();
        FEngine.reset();
        FDir.reset();
    }

    void adjustToScreenScalesTheWindowAndTheControls() {
        auto form = NewForm();
        form->resize(848, 551);
        QLineEdit* sac = form->KeySettingPanel->KeyEdit("Sac");
        QVERIFY(sac);
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

    void layoutAsDesigned() {
        auto form = NewForm();
        QCOMPARE(form->windowTitle(), QString("MainForm"));
        QCOMPARE(form->GroupBar->count(), 2);
        QCOMPARE(form->GroupBar->itemText(0), QString("Directory Search && Conversion"));
        QCOMPARE(form->GroupBar->itemText(1), QString("Key Settings"));
        QCOMPARE(form->GroupBar->currentIndex(), 0);
        const QList<std::tuple<QToolButton*, QString, QString>> buttons = {
            {form->CreatedirButton, "Folder", "Create new directory"},
            {form->Conversebutton, "Convert", "Converse to other font format"},
            {form->ToolbarButton971, "Replace", "Relace text"},
            {form->ReplaceButton, "Help", "Show help"},
            {form->ExitButton, "Exit", "Exit"}};
        for (const auto& [button, caption, hint] : buttons) {
            QCOMPARE(button->text(), caption);
            QCOMPARE(button->toolTip(), hint);
            QVERIFY2(!button->icon().isNull(), qPrintable(caption));
        }
        // The path boxes name the lists' folders from the start; their captions stand in while empty.
        QCOMPARE(form->SourceDirEdit->placeholderText(), QString("Source Directory"));
        QCOMPARE(form->TargetDirEdit->placeholderText(), QString("Target Directory"));
        QCOMPARE(form->SourceDirEdit->text(), Folder("work"));
        QCOMPARE(form->TargetDirEdit->text(), Folder("work"));
        QCOMPARE(form->SourceEncodecbo->currentIndex(), -1);
        QCOMPARE(form->SourceEncodecbo->placeholderText(), QString("Source Encoding"));
        QCOMPARE(form->TargetEncodecbo->placeholderText(), QString("Target Encoding"));
        QCOMPARE(form->SourceEncodecbo->itemText(9), QString("UTF-16 Unicode"));
        QCOMPARE(form->TargetEncodecbo->itemText(9), QString("Unicode UTF-16"));
        QCOMPARE(form->SourceEncodecbo->itemText(0), QString("7-bit/ VIQR"));
        QCOMPARE(form->FilterCombo->currentText(), QString("All Files (*.*)"));
        QCOMPARE(form->SourceFileList->Directory(), Folder("work"));
        QCOMPARE(form->TargetFileList->Directory(), Folder("work"));
        QCOMPARE(form->SourceFileList->Mask(), QString("*.*"));
        QVERIFY(!form->OverwriteChk->isChecked());
        QVERIFY(!form->HTMLCheck->isChecked());
    }

    void toolBarsDockAtEveryEdgeOrFloat() {
        auto form = NewForm();
        const auto* page = form->ConversionPage;
        const auto* sourcePane = form->ConverisonLeftpanel->findChild<QMainWindow*>();
        const auto* targetPane = form->RightPanel->findChild<QMainWindow*>();
        QVERIFY(sourcePane && targetPane);
        struct TCase {
            const char* name;
            const QMainWindow* window;
            Qt::ToolBarArea area;
        };
        const QList<TCase> cases = {{"SourceDirectoryBar", sourcePane, Qt::TopToolBarArea},
                                    {"SourceEncodingBar", sourcePane, Qt::TopToolBarArea},
                                    {"ButtonBar", targetPane, Qt::LeftToolBarArea},
                                    {"TargetDirectoryBar", targetPane, Qt::TopToolBarArea},
                                    {"TargetEncodingBar", targetPane, Qt::TopToolBarArea},
                                    {"FilterBar", page, Qt::BottomToolBarArea},
                                    {"SearchedTextBar", page, Qt::BottomToolBarArea},
                                    {"ReplacingTextBar", page, Qt::BottomToolBarArea}};
        QCOMPARE(form->findChildren<QToolBar*>().size(), cases.size());
        for (const TCase& c : cases) {
            auto* bar = form->findChild<QToolBar*>(c.name);
            QVERIFY2(bar, c.name);
            QCOMPARE(bar->parentWidget(), c.window);
            QCOMPARE(c.window->toolBarArea(bar), c.area);
            QVERIFY(bar->isMovable());
            QVERIFY(bar->isFloatable());
            QCOMPARE(bar->allowedAreas(), Qt::AllToolBarAreas);
            // Each pane and the page are children of the window, not windows of their own.
            QVERIFY(!c.window->isWindow());
        }
        // The three bottom rows from the top down: filter, searched text, replacing text.
        QVERIFY(Show(*form));
        const auto top = [&](const char* name) {
            return form->findChild<QToolBar*>(name)->mapTo(form.get(), QPoint()).y();
        };
        QVERIFY(top("FilterBar") < top("SearchedTextBar"));
        QVERIFY(top("SearchedTextBar") < top("ReplacingTextBar"));
        QVERIFY(form->SourceDirTree->isVisible());
        QVERIFY(form->TargetFileList->isVisible());
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
        QVERIFY(form->SrcReportBtn->isChecked());
        QVERIFY(form->TarReportBtn->isChecked());
        struct TCase {
            QToolButton* button;
            TZTFilelistView* list;
            TZTFilelistView* other;
            TViewStyle style;
        };
        const QList<TCase> cases = {
            {form->SrcLargeIconBtn, form->SourceFileList, form->TargetFileList, vsIcon},
            {form->SrcSmallIconBtn, form->SourceFileList, form->TargetFileList, vsSmallIcon},
            {form->SrcListBtn, form->SourceFileList, form->TargetFileList, vsList},
            {form->SrcReportBtn, form->SourceFileList, form->TargetFileList, vsReport},
            {form->TarLargeIconBtn, form->TargetFileList, form->SourceFileList, vsIcon},
            {form->TarSmallIconBtn, form->TargetFileList, form->SourceFileList, vsSmallIcon},
            {form->TarListBtn, form->TargetFileList, form->SourceFileList, vsList},
            {form->TarReportBtn, form->TargetFileList, form->SourceFileList, vsReport}};
        for (const TCase& c : cases) {
            const TViewStyle otherStyle = c.other->ViewStyle();
            QTest::mouseClick(c.button, Qt::LeftButton);
            QCOMPARE(c.list->ViewStyle(), c.style);
            QCOMPARE(c.other->ViewStyle(), otherStyle);
            QVERIFY(c.button->isChecked());
        }
        // A style changed elsewhere shows on the buttons once they are synchronised.
        form->SourceFileList->SetViewStyle(vsList);
        form->SyncViewButtons();
        QVERIFY(form->SrcListBtn->isChecked());
        QVERIFY(!form->SrcReportBtn->isChecked());
    }

    void filterChoicesSetBothMasks() {
        for (const char* name : {"a.txt", "b.htm", "c.html", "d.asp", "e.rtf", "f.jsp"})
            Write(QString("work/") + name, "x");
        auto form = NewForm();
        form->SourceFileList->UpdateFileList();
        struct TCase {
            int index;
            QString mask;
            QStringList shown;
        };
        const QList<TCase> cases = {
            {2, "*.htm;*.shtm;*.asp;*jsp", {"b.htm", "c.html", "d.asp", "f.jsp"}},
            {1, "*.txt", {"a.txt"}},
            {0, "*.*", {"a.txt", "b.htm", "c.html", "d.asp", "e.rtf", "f.jsp"}},
        };
        for (const TCase& c : cases) {
            Choose(*form->FilterCombo, c.index);
            QCOMPARE(form->FilterIndex(), c.index);
            QCOMPARE(form->SourceFileList->Mask(), c.mask);
            QCOMPARE(form->TargetFileList->Mask(), c.mask);
            QCOMPARE(Captions(*form->SourceFileList), c.shown);
            QCOMPARE(Captions(*form->TargetFileList), c.shown);
            // The HTML filter ticks "HTML Doc"; the others leave it as it was.
            QVERIFY(form->HTMLCheck->isChecked());
        }
        // A mask typed by the user filters both lists at once.
        form->FilterCombo->lineEdit()->clear();
        QTest::keyClicks(form->FilterCombo->lineEdit(), "*.rtf");
        QCOMPARE(form->FilterIndex(), -1);
        QCOMPARE(form->SourceFileList->Mask(), QString("*.rtf"));
        QCOMPARE(Captions(*form->SourceFileList), QStringList{"e.rtf"});
        QCOMPARE(Captions(*form->TargetFileList), QStringList{"e.rtf"});
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
        form->SourceFileList->SetDirectory(Path("in"));
        form->TargetFileList->SetDirectory(Path("out"));  // missing: made by the conversion
        QDir().mkpath(Path("out"));
        form->TargetFileList->SetDirectory(Path("out"));
        Choose(*form->SourceEncodecbo, 2);  // VISCII
        Choose(*form->TargetEncodecbo, 8);  // Unicode UTF-8
        form->SourceFileList->SetSelected(Row(*form->SourceFileList, "letter.txt"), true);
        form->SourceFileList->SetSelected(Row(*form->SourceFileList, "poems"), true);

        QList<bool> enabledDuringRun;
        int questionsInside = -1;
        FMessages->probe = [&] {
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
        QVERIFY(FMessages->unexpected.isEmpty());
        QCOMPARE(enabledDuringRun, (QList<bool>{false, false}));
        QCOMPARE(questionsInside, 0);
        QVERIFY(form->Conversebutton->isEnabled());
        QVERIFY(form->ToolbarButton971->isEnabled());
        QCOMPARE(Read("out/letter.txt"), kLetterUtf8);
        QCOMPARE(Read("out/poems/kieu.txt"), kPoemUtf8);
        QCOMPARE(Read("out/poems/deeper/kieu2.txt"), kPoemUtf8);
        QVERIFY(!QFile::exists(Path("out/skipped.txt")));
        QCOMPARE(FMessages->shown,
                 QStringList{"information: Done\n3 files converted, 0 left alone, 0 failed."});
        // The bar rests at 0, without the busy animation of a bar whose maximum is 0.
        QCOMPARE(form->ProgressBar->value(), 0);
        QVERIFY(form->ProgressBar->maximum() > 0);
        QVERIFY(progress.size() >= 2);
        QVERIFY(form->isVisible());
        QCOMPARE(form->TargetFileList->Directory(), Folder("out"));
        QCOMPARE(form->TargetDirTree->SelectedPath(), Folder("out"));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void progressBarMovesDuringALongFile() {
        QByteArray big;
        while (big.size() < 4 * 1024 * 1024) big += Iconv(kLetterUtf8, "UTF-8", "VISCII");
        Write("in/big.txt", big);
        QDir().mkpath(Path("out"));
        auto form = NewForm();
        form->SourceFileList->SetDirectory(Path("in"));
        form->TargetFileList->SetDirectory(Path("out"));
        Choose(*form->SourceEncodecbo, 2);
        Choose(*form->TargetEncodecbo, 8);
        QList<int> values;
        connect(form->ProgressBar, &QProgressBar::valueChanged, this, [&](int value) { values << value; });
        FMessages->Expect(TAnswer::Yes);
        form->ConversebuttonClick();
        QCOMPARE(FMessages->shown,
                 QStringList{"information: Done\n1 file converted, 0 left alone, 0 failed."});
        // The bar moved forward in steps during the file, then went back to 0.
        const int max = form->ProgressBar->maximum();
        const auto between =
            std::count_if(values.begin(), values.end(), [max](int v) { return v > 0 && v < max; });
        QVERIFY2(between >= 2, qPrintable(QString::number(between)));
        QVERIFY(std::is_sorted(values.begin(), values.end() - 1));
        QCOMPARE(values.last(), 0);
        QCOMPARE(Read("out/big.txt").size(), Iconv(big, "VISCII", "UTF-8").size());
    }

    void replacesFromTheWindow() {
        Write("in/a.txt", "the colour red\nno match here\ncolour, colour\n");
        Write("in/sub/b.txt", Iconv("colour Vi\xE1\xBB\x87t\n", "UTF-8", "VISCII"));
        QDir().mkpath(Path("out"));
        auto form = NewForm();
        form->SourceFileList->SetDirectory(Path("in"));
        form->TargetFileList->SetDirectory(Path("out"));
        form->FindstrEdit->setText("colour");
        form->ReplacestrEdit->setText("color");
        FMessages->Expect(TAnswer::Yes);
        QTest::mouseClick(form->ToolbarButton971, Qt::LeftButton);
        QCOMPARE(FMessages->asked,
                 QStringList{"Do you want to replace all text:  colour in all files in "
                             "directory " +
                             Folder("in") + " with text: color to directory " + Folder("out")});
        QCOMPARE(Read("out/a.txt"), QByteArray("the color red\r\nno match here\r\ncolor, color\r\n"));
        QCOMPARE(Read("out/sub/b.txt"), Iconv("color Vi\xE1\xBB\x87t\r\n", "UTF-8", "VISCII"));
        QCOMPARE(Read("in/a.txt"), QByteArray("the colour red\nno match here\ncolour, colour\n"));
        QCOMPARE(FMessages->shown,
                 QStringList{"information: Done\n2 files written, 0 left alone, 0 failed."});
        QVERIFY(form->ToolbarButton971->isEnabled());
        // With a source encoding chosen, a Vietnamese word is found in the files of that encoding.
        Choose(*form->SourceEncodecbo, 2);  // VISCII
        form->FindstrEdit->setText(QString::fromUtf8("Vi\xE1\xBB\x87t"));
        form->ReplacestrEdit->setText(
            QString::fromUtf8("\xC4\x90\xE1\xBB\xA9"
                              "c"));
        FMessages->Expect(TAnswer::Yes);
        QTest::mouseClick(form->ToolbarButton971, Qt::LeftButton);
        QCOMPARE(Read("out/sub/b.txt"), Iconv("colour \xC4\x90\xE1\xBB\xA9"
                                              "c\r\n",
                                              "UTF-8", "VISCII"));
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
        environment.insert("ODZ_BATCH_FOLDER", FDir->path());
        if (named) environment.insert("ODZ_BATCH_NAMED_FILES", "1");
        batch.setProcessEnvironment(environment);
        batch.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(batch.waitForReadyRead(60000));
        QCOMPARE(batch.readLine(), QByteArray("asking\n"));
        const QDir out(Path("out"));
        const auto entries = [&out] { return out.entryList(QDir::Files | QDir::Hidden | QDir::System); };
        if (named) QCOMPARE(entries().size(), 2);  // the converted file waits beside the target
        ::kill(static_cast<pid_t>(batch.processId()), signal);
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.exitStatus(), QProcess::CrashExit);
        QCOMPARE(batch.exitCode(), signal);
        QCOMPARE(entries(), QStringList{"a.txt"});
        QCOMPARE(Read("out/a.txt"), QByteArray("old"));
    }

    void settingsAreWrittenAtCloseAndAppliedAtTheNextStart() {
        QDir().mkpath(Path("src"));
        QDir().mkpath(Path("dst"));
        Write("src/a.txt", "x");
        Write("src/b.htm", "x");
        {
            auto form = NewForm();
            QVERIFY(Show(*form));
            form->SourceFileList->SetDirectory(Path("src"));
            form->TargetFileList->SetDirectory(Path("dst"));
            form->OverwriteChk->setChecked(true);
            Choose(*form->FilterCombo, 1);
            form->move(30, 40);
            form->resize(700, 500);
            const QPoint placed = form->pos();
            QVERIFY(form->close());
            QVERIFY(!form->isVisible());
            QCOMPARE(QString::fromUtf8(Read("settings/odizodoruz.ini")),
                     QString("[MainForm]\nLeft=%1\nTop=%2\nWidth=700\nHeight=500\n"
                             "\n[Directory]\nSource=%3\nTarget=%4\n"
                             "\n[Overwrite]\nValue=1\n\n[HTMLDoc]\nValue=0\n\n[Filter]\nIndex=1\n")
                         .arg(placed.x())
                         .arg(placed.y())
                         .arg(Folder("src"), Folder("dst")));
        }
        auto form = NewForm();
        QVERIFY(Show(*form));
        QCOMPARE(form->SourceFileList->Directory(), Folder("src"));
        QCOMPARE(form->SourceDirEdit->text(), Folder("src"));
        QCOMPARE(form->TargetFileList->Directory(), Folder("dst"));
        QCOMPARE(form->TargetDirEdit->text(), Folder("dst"));
        QVERIFY(form->OverwriteChk->isChecked());
        QVERIFY(!form->HTMLCheck->isChecked());
        QCOMPARE(form->FilterIndex(), 1);
        QCOMPARE(form->SourceFileList->Mask(), QString("*.txt"));
        QCOMPARE(Captions(*form->SourceFileList), QStringList{"a.txt"});
        QCOMPARE(form->size(), QSize(700, 500));
        QCOMPARE(form->pos(), QPoint(30, 40));  // exactly where it was
        QCOMPARE(form->SourceDirTree->SelectedPath(), Folder("src"));
        QCOMPARE(form->TargetDirTree->SelectedPath(), Folder("dst"));
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
                  "\n[HTMLDoc]\nValue=0\n[Filter]\nIndex=2\n");
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
    }

    void negativeOrUnknownFilterIndexChoosesAllFiles_data() {
        QTest::addColumn<QString>("index");
        QTest::newRow("typed mask at the last close") << "-1";
        QTest::newRow("beyond the items") << "7";
        QTest::newRow("not a number") << "x";
    }
    void negativeOrUnknownFilterIndexChoosesAllFiles() {
        QFETCH(QString, index);
        Write("settings/odizodoruz.ini", "[Filter]\nIndex=" + index.toUtf8() + "\n");
        auto form = NewForm();
        QVERIFY(Show(*form));
        QCOMPARE(form->FilterIndex(), 0);
        QCOMPARE(form->FilterCombo->currentText(), QString("All Files (*.*)"));
        QCOMPARE(form->SourceFileList->Mask(), QString("*.*"));
    }

    void settingsThatCannotBeWrittenAreReportedAndTheWindowCloses() {
        Write("blocker", "a file where the settings folder should be");
        const QString settings = Path("blocker/odizodoruz.ini");
        auto form = NewForm(settings);
        QVERIFY(Show(*form));
        QVERIFY(form->close());
        QVERIFY(!form->isVisible());
        QCOMPARE(FMessages->shown, QStringList{"error: Unable to write to " + settings});
    }

    void exitClosesAndSavesAllKeys() {
        auto form = NewForm();
        QVERIFY(Show(*form));
        QTest::mouseClick(form->ExitButton, Qt::LeftButton);
        QVERIFY(!form->isVisible());
        const QString ini = QString::fromUtf8(Read("settings/odizodoruz.ini"));
        for (const char* key : {"[MainForm]", "Left=", "Top=", "Width=", "Height=", "[Directory]",
                                "Source=", "Target=", "[Overwrite]", "[HTMLDoc]", "[Filter]", "Index=0"})
            QVERIFY2(ini.contains(key), key);
    }

    void keySettingsPageShowsAndChangesTheEnginesKeys() {
        Write("settings/odizodoruz.ini", "[VN Key Current Encode]\nConversion=*`?~.^(+Dd\\\n");
        auto form = NewForm();
        QVERIFY(Show(*form));
        QCOMPARE(form->KeySettingPanel->KeyEdit("Sac")->text(), QString("*"));
        form->KeySettingPanel->KeyEdit("Hoi")->setText("#");
        form->KeySettingPanel->KeyEdit("Nga")->setText(" ");
        form->OKSettingsButtonClick();
        QCOMPARE(QString::fromStdString(FEngine->GetTrans()), QString("*`#~.^(+Dd\\"));
        form->KeyVIQRButtonClick();
        QCOMPARE(QString::fromStdString(FEngine->GetTrans()), QString("'`?~.^(+Dd\\"));
        QCOMPARE(form->KeySettingPanel->KeyEdit("Sac")->text(), QString("'"));
    }

    void folderButtonMakesAFolderUnderTheTargetTreesFolder() {
        QDir().mkpath(Path("dst"));
        auto form = NewForm();
        QVERIFY(Show(*form));
        form->TargetDirTree->clearSelection();
        form->TargetDirTree->setCurrentIndex(QModelIndex());
        if (!form->TargetDirTree->SelectedNode().isValid()) {
            QTest::mouseClick(form->CreatedirButton, Qt::LeftButton);
            QVERIFY(!QFileInfo::exists(Path("work/New Folder")));
        }
        form->TargetDirTree->OpenPath(Folder("dst"));
        QTest::mouseClick(form->CreatedirButton, Qt::LeftButton);
        QVERIFY(QFileInfo(Path("dst/New Folder")).isDir());
        QVERIFY(FMessages->unexpected.isEmpty());
    }

    // The path box, the tree's selection and the list show one existing folder, the one Convert and
    // Replace use, whatever the user did in the pane.
    void pathBoxTreeAndListShowOneFolder_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a click on a node") << "click"
                                           << "a/b";
        QTest::newRow("the list opens a folder") << "open"
                                                 << "a/b";
        QTest::newRow("End in the tree") << "end"
                                         << "work";
        QTest::newRow("Folder, then Enter") << "folder"
                                            << "a/New Folder";
        QTest::newRow("Folder, then a name") << "folder named"
                                             << "a";
        QTest::newRow("Ctrl+N in the list") << "new folder in the list"
                                            << "a";
        QTest::newRow("renaming the shown folder") << "rename"
                                                   << "a";
    }
    void pathBoxTreeAndListShowOneFolder() {
        QFETCH(QString, action);
        QFETCH(QString, shown);
        QDir().mkpath(Path("a/b"));
        auto form = NewForm();
        QVERIFY(Show(*form));
        TZTDirTree& tree = *form->TargetDirTree;
        TZTFilelistView& list = *form->TargetFileList;
        const QString start = action == "rename" ? "a/b" : "a";
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
            list.SetSelected(Row(list, "b"), true);
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
        }
        const QString folder = Folder(shown);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(list.Directory(), folder);
        QCOMPARE(form->TargetDirEdit->text(), folder);
        QCOMPARE(AddSlash(tree.PathOfNode(tree.currentIndex())), folder);
        QCOMPARE(AddSlash(tree.SelectedPath()), folder);
        QVERIFY(FMessages->unexpected.isEmpty());
        // The other pane is left alone, and typing into a box changes nothing.
        QCOMPARE(form->SourceFileList->Directory(), Folder("work"));
        QVERIFY(form->TargetDirEdit->isReadOnly());
    }

    void folderNamedAtStartOpensInTheSourcePane_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("a folder") << "in"
                                  << "in" << QStringList();
        QTest::newRow("a file stands for its folder") << "in/a.txt"
                                                      << "in" << QStringList();
        QTest::newRow("nothing of that name")
            << "no/such/folder"
            << "work" << QStringList{"warning: The folder \"@no/such/folder\" does not exist."};
    }
    void folderNamedAtStartOpensInTheSourcePane() {
        QFETCH(QString, argument);
        QFETCH(QString, shown);
        QFETCH(QStringList, messages);
        Write("in/a.txt", "x");
        auto form = NewForm();
        QVERIFY(Show(*form));
        form->OpenSourceFolder(Path(argument));
        QCOMPARE(FMessages->shown, messages.replaceInStrings("@", FDir->path() + "/"));
        QCOMPARE(form->SourceFileList->Directory(), Folder(shown));
        QCOMPARE(form->SourceDirEdit->text(), Folder(shown));
        QCOMPARE(form->SourceDirTree->SelectedPath(), Folder(shown));
    }

    void helpOpensTheContents() {
        auto form = NewForm();
        QVERIFY(Show(*form));
        QTest::mouseClick(form->ReplaceButton, Qt::LeftButton);
        QVERIFY(form->HelpWindow());
        QVERIFY(form->HelpWindow()->isVisible());
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
};

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"

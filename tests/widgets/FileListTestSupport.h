#pragma once

// What the explorer's widget tests share: a sandbox folder that stands in for the user's home (so the
// trash, the SendTo folder and the desktop's programs are the sandbox's own) and holds the drives the
// trees show, dialogs answered by script, a recording tree or combo, and ways to find rows and nodes.

#include <QtTest>
#include <QtWidgets>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include "DirTreeModel.h"
#include "FileListDialogRunner.h"
#include "ScriptedMessages.h"
#include "ZTFilelistView.h"

namespace odz::test {

// HOME, the XDG folders and the current folder point into a temporary folder while it lives (PATH and the
// desktop's name are put back too), the trees show the drives it is given, and the clipboard starts and
// ends empty.
class TSandbox {
public:
    TSandbox() {
        for (const char* name : kVariables) {
            FSaved.push_back(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        }
        qputenv("HOME", Path("home").toLocal8Bit());
        qputenv("XDG_DATA_HOME", Path("home/.local/share").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", Path("home/.config").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", Path("system/share").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", Path("system/etc").toLocal8Bit());
        MakeFolders({"home", "work"});
        FCurrent = QDir::currentPath();
        QGuiApplication::clipboard()->clear();
    }
    ~TSandbox() {
        TDirTreeModel::SetDriveSource({});
        QGuiApplication::clipboard()->clear();
        QDir::setCurrent(FCurrent);
        for (std::size_t i = 0; i < std::size(kVariables); ++i)
            FSaved[i] ? qputenv(kVariables[i], *FSaved[i]) : qunsetenv(kVariables[i]);
    }
    QString Path(const QString& name = {}) const {
        return name.isEmpty() ? FDir.path() : FDir.filePath(name);
    }
    // A folder path as the list keeps it, with its trailing separator.
    QString Folder(const QString& name) const { return Path(name) + QLatin1Char('/'); }
    // A path inside the sandbox without the sandbox's own part; others as they are.
    QString Relative(const QString& path) const {
        return path.startsWith(Folder({})) ? path.mid(Folder({}).size()) : path;
    }
    QString Trash() const { return Path("home/.local/share/Trash/files"); }
    QString SendToFolder() const { return Path("home/.local/share/odizodoruz/SendTo"); }

    void Write(const QString& name, const QByteArray& bytes = "x") const {
        QDir().mkpath(QFileInfo(Path(name)).path());
        QFile file(Path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QByteArray Read(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void MakeFolders(const QStringList& names) const {
        for (const QString& name : names) QDir().mkpath(Path(name));
    }
    void Link(const QString& target, const QString& link) const {
        QDir().mkpath(QFileInfo(link).path());
        QFile::link(target, link);
    }
    // Names in a folder, hidden ones included, sorted.
    QStringList Names(const QString& folder) const {
        return QDir(Path(folder))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
    // The trees show these folders of the sandbox (made here) as their drives, in this order.
    void SetDrives(QList<TDrive> drives) const {
        for (TDrive& drive : drives) {
            QDir().mkpath(Path(drive.root));
            drive.root = Folder(drive.root);
        }
        TDirTreeModel::SetDriveSource([drives] { return drives; });
    }

private:
    static constexpr const char* kVariables[] = {"HOME",          "XDG_DATA_HOME",   "XDG_CONFIG_HOME",
                                                 "XDG_DATA_DIRS", "XDG_CONFIG_DIRS", "XDG_CURRENT_DESKTOP",
                                                 "PATH"};
    QTemporaryDir FDir;
    std::vector<std::optional<QByteArray>> FSaved;
    QString FCurrent;
};

// The file list's dialogs answered in turn by the scripted steps; a dialog nobody expected is
// cancelled and counted, so a test fails instead of waiting.
class TScriptedDialogs {
public:
    using TStep = std::function<int(QDialog&)>;
    TScriptedDialogs() {
        SetDialogRunner([this](QDialog& dialog) {
            titles << dialog.windowTitle();
            if (FSteps.empty()) {
                ++unexpected;
                return int(QDialog::Rejected);
            }
            const TStep step = FSteps.front();
            FSteps.pop_front();
            return step(dialog);
        });
    }
    ~TScriptedDialogs() { SetDialogRunner(nullptr); }
    TScriptedDialogs(const TScriptedDialogs&) = delete;
    TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

    void Expect(TStep step) { FSteps.push_back(std::move(step)); }
    bool AllShown() const { return FSteps.empty(); }

    QStringList titles;
    int unexpected = 0;

private:
    std::deque<TStep> FSteps;
};

// A tree or combo that records what the list asks of it.
class TRecordingLink : public QObject, public TFileListLink {
public:
    QStringList opened;
    TZTFilelistView* list = nullptr;
    bool dropped = false;
    void OpenPath(const QString& path) override { opened << path; }
    QString FirstNodeText() const override { return QStringLiteral("Drives"); }
    void LinkFileList(TZTFilelistView* linked) override { list = linked; }
    void ToggleDropDown() override { dropped = !dropped; }
    bool DroppedDown() const override { return dropped; }
    void CloseUp() override { dropped = false; }
};

inline QStringList Captions(const TZTFilelistView& list) {
    QStringList captions;
    for (int row = 0; row < list.Count(); ++row) captions << list.Item(row).caption;
    return captions;
}
inline int RowOf(const TZTFilelistView& list, const QString& caption) {
    return static_cast<int>(Captions(list).indexOf(caption));
}

// Selects exactly the rows of these captions.
inline void Select(TZTFilelistView& list, const QStringList& captions) {
    list.CurrentView()->clearSelection();
    for (const QString& caption : captions) list.SetSelected(RowOf(list, caption), true);
}

// The captions of a node's children, and the child of that caption (invalid when there is none).
inline QStringList Captions(const QAbstractItemModel* model, const QModelIndex& parent) {
    QStringList captions;
    for (int row = 0; row < model->rowCount(parent); ++row)
        captions << model->index(row, 0, parent).data().toString();
    return captions;
}
inline QModelIndex Child(const QAbstractItemModel* model, const QModelIndex& parent, const QString& caption) {
    return model->index(static_cast<int>(Captions(model, parent).indexOf(caption)), 0, parent);
}

// The rows of a table of cases (each with a `name`) as the rows of a data-driven test: its one column
// "row" is the index into the table.
template <class TCase, std::size_t N>
void AddRows(const TCase (&cases)[N]) {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < N; ++i) QTest::newRow(cases[i].name) << static_cast<int>(i);
}

inline bool Show(QWidget& widget, const QSize& size = {400, 300}) {
    widget.resize(size);
    widget.show();
    return QTest::qWaitForWindowExposed(&widget);
}

// What every explorer widget test holds: the sandbox, scripted messages (and dialogs, where a test
// uses them) and, for the file-list tests, the list itself.
class TExplorerFixture {
protected:
    std::unique_ptr<TSandbox> FBox;
    std::unique_ptr<TScriptedMessages> FMessages;
    std::unique_ptr<TScriptedDialogs> FDialogs;
    std::unique_ptr<TZTFilelistView> FList;

    TSandbox& Box() { return *FBox; }
    TZTFilelistView& List() { return *FList; }
    QString Path(const QString& name) const { return FBox->Path(name); }

    void Begin(bool dialogs = false) {
        FBox = std::make_unique<TSandbox>();
        FMessages = std::make_unique<TScriptedMessages>();
        if (dialogs) FDialogs = std::make_unique<TScriptedDialogs>();
    }
    // A list showing this folder of the sandbox.
    void OpenList(const QString& folder) {
        FList = std::make_unique<TZTFilelistView>();
        FList->SetDirectory(Path(folder));
    }
    // No question went unscripted and every scripted dialog was shown.
    void CheckAnswered() {
        QVERIFY2(FMessages->unexpected.isEmpty(), qPrintable(FMessages->unexpected.join('|')));
        if (FDialogs)
            QVERIFY2(FDialogs->unexpected == 0 && FDialogs->AllShown(),
                     qPrintable(FDialogs->titles.join('|')));
    }
    void Release() {
        FList.reset();
        FDialogs.reset();
        FMessages.reset();
        FBox.reset();
    }
};

}  // namespace odz::test

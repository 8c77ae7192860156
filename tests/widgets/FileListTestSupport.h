#pragma once

// What the file list's operation tests share: a sandbox folder that stands in for the user's home (so
// the trash, the SendTo folder and the desktop's programs are the sandbox's own), dialogs answered by
// script, and a recording tree or combo.

#include <QAbstractItemView>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include "FileListDialogRunner.h"
#include "ScriptedMessages.h"
#include "ZTFilelistView.h"

namespace odz::test {

// HOME, the XDG folders and the current folder point into a temporary folder while it lives, and the
// clipboard starts and ends empty.
class TFileListSandbox {
public:
    TFileListSandbox() {
        for (const char* name : kVariables) {
            FSaved.push_back(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        }
        qputenv("HOME", Path("home").toLocal8Bit());
        qputenv("XDG_DATA_HOME", Path("home/.local/share").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", Path("home/.config").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", Path("system/share").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", Path("system/etc").toLocal8Bit());
        QDir().mkpath(Path("home"));
        QDir().mkpath(Path("work"));
        FCurrent = QDir::currentPath();
        QGuiApplication::clipboard()->clear();
    }
    ~TFileListSandbox() {
        QGuiApplication::clipboard()->clear();
        QDir::setCurrent(FCurrent);
        for (std::size_t i = 0; i < std::size(kVariables); ++i) {
            if (FSaved[i])
                qputenv(kVariables[i], *FSaved[i]);
            else
                qunsetenv(kVariables[i]);
        }
    }
    TFileListSandbox(const TFileListSandbox&) = delete;
    TFileListSandbox& operator=(const TFileListSandbox&) = delete;

    QString Path(const QString& name = {}) const {
        return name.isEmpty() ? FDir.path() : FDir.filePath(name);
    }
    // A folder path as the list keeps it, with its trailing separator.
    QString Folder(const QString& name) const { return Path(name) + QLatin1Char('/'); }
    QString Trash() const { return Path("home/.local/share/Trash/files"); }
    QString SendToFolder() const { return Path("home/.local/share/odizodoruz/SendTo"); }

    void Write(const QString& name, const QByteArray& bytes = "x") const {
        QDir().mkpath(QFileInfo(Path(name)).path());
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    }
    QByteArray Read(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void MakeFolder(const QString& name) const { QDir().mkpath(Path(name)); }
    void Link(const QString& target, const QString& link) const {
        QDir().mkpath(QFileInfo(link).path());
        QFile::link(target, link);
    }
    // Names in a folder, hidden ones included, sorted.
    QStringList Names(const QString& folder) const {
        return QDir(Path(folder))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

private:
    static constexpr const char* kVariables[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS",
                                                 "XDG_CONFIG_DIRS"};
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

// A tree or combo that records the paths the list asks it to show.
class TRecordingLink : public QObject, public TFileListLink {
public:
    QStringList opened;
    void OpenPath(const QString& path) override { opened << path; }
    QString FirstNodeText() const override { return QStringLiteral("Drives"); }
    void LinkFileList(TZTFilelistView*) override {}
};

inline int RowOf(const TZTFilelistView& list, const QString& caption) {
    for (int row = 0; row < list.Count(); ++row) {
        if (list.Item(row).caption == caption) return row;
    }
    return -1;
}

// Selects exactly the rows of these captions.
inline void Select(TZTFilelistView& list, const QStringList& captions) {
    list.CurrentView()->clearSelection();
    for (const QString& caption : captions) list.SetSelected(RowOf(list, caption), true);
}

// What every file-list test holds: the sandbox, scripted messages (and dialogs, where a test uses
// them) and the list itself.
class TFileListFixture {
protected:
    std::unique_ptr<TFileListSandbox> FBox;
    std::unique_ptr<TScriptedMessages> FMessages;
    std::unique_ptr<TScriptedDialogs> FDialogs;
    std::unique_ptr<TZTFilelistView> FList;

    TFileListSandbox& Box() { return *FBox; }
    TZTFilelistView& List() { return *FList; }

    // No question went unscripted and every scripted dialog was shown.
    void CheckAnswered() {
        QVERIFY2(FMessages->unexpected.isEmpty(), qPrintable(FMessages->unexpected.join('|')));
        if (!FDialogs) return;
        QCOMPARE(FDialogs->unexpected, 0);
        QVERIFY(FDialogs->AllShown());
    }
    void Release() {
        FList.reset();
        FDialogs.reset();
        FMessages.reset();
        FBox.reset();
    }
};

}  // namespace odz::test

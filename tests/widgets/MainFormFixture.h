#pragma once

// What the tests of the main window share: a temporary folder that is the only drive, a settings file
// in it, scripted boxes and questions, and ways to build the window and look at its lists.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "DirTreeModel.h"
#include "IconvReference.h"
#include "MainForm.h"
#include "ScriptedMessages.h"
#include "TRaRaru.h"
#include "ZTFilelistView.h"

namespace odz::test {

// The C library's conversion of bytes; a marker when it fails.
inline QByteArray Iconv(const QByteArray& bytes, const char* from, const char* to) {
    std::string output;
    if (!test::Iconv(to, from, std::string_view(bytes.constData(), bytes.size()), output)) return "<failed>";
    return QByteArray::fromStdString(output);
}

inline const QByteArray kLetterUtf8 =
    "Kính gửi anh Đức,\r\n"
    "Tôi đã nhận được thư của anh. Mọi việc ở đây đều ổn.\r\n"
    "Trăm năm trong cõi người ta, chữ tài chữ mệnh khéo là ghét nhau.\r\n";
inline const QByteArray kPoemUtf8 = "Ngẫm hay muôn sự tại trời,\r\nTrời kia đã bắt làm người có thân.\r\n";

// Records every box like the scripted messages, and runs a probe at each question, while the
// operation that asks is still running.
class TProbingMessages : public test::TScriptedMessages {
public:
    std::function<void(const QString&)> probe;
    TAnswer Confirm(const QString& text, bool withCancel) override {
        if (probe) probe(text);
        return TScriptedMessages::Confirm(text, withCancel);
    }
};

class TMainFormFixture : public QObject {
protected:
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

    void SetUp() {
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
    void TearDown() {
        QDir::setCurrent(FCurrent);
        TDirTreeModel::SetDriveSource({});
        FMessages.reset();
        FEngine.reset();
        FDir.reset();
    }
};

}  // namespace odz::test

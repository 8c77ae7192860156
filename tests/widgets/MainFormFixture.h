#pragma once

// What the tests of the main window share: the explorer tests' sandbox, whose folder is the only drive,
// a settings file in it, scripted boxes and questions, and ways to build the window and look at its lists.

#include <QtTest>
#include <QtWidgets>
#include <memory>

#include "FileListTestSupport.h"
#include "IconvReference.h"
#include "MainForm.h"
#include "TRaRaru.h"

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

class TMainFormFixture : public QObject, protected TExplorerFixture {
protected:
    std::unique_ptr<TRaRaru> FEngine;

    QString Folder(const QString& relative) const { return FBox->Folder(relative); }
    QString SettingsPath() const { return Path("settings/odizodoruz.ini"); }
    void Write(const QString& relative, const QByteArray& bytes) const { FBox->Write(relative, bytes); }
    QByteArray Read(const QString& relative) const { return FBox->Read(relative); }
    std::unique_ptr<TMainForm> NewForm(const QString& settings = {}) {
        FEngine = std::make_unique<TRaRaru>((settings.isEmpty() ? SettingsPath() : settings).toStdString());
        FEngine->RaRaruCreate();
        return std::make_unique<TMainForm>(*FEngine);
    }
    static bool Show(QWidget& widget) {
        widget.show();
        return QTest::qWaitForWindowExposed(&widget);
    }
    // The captions of the list's rows, the parent row left out.
    static QStringList Captions(const TZTFilelistView& list) {
        QStringList captions;
        for (int row = 0; row < list.Count(); ++row)
            if (!list.Item(row).isParent) captions << list.Item(row).caption;
        return captions;
    }

    // The window starts in the folder "work"; the settings go to the folder "settings".
    void SetUp() {
        Begin();
        Box().MakeFolders({"settings"});
        Box().SetDrives({{"", "Fixed Disk", kDriveFixed}});
        QDir::setCurrent(Path("work"));
    }
    void TearDown() {
        CheckAnswered();
        FEngine.reset();
        Release();
    }
};

}  // namespace odz::test

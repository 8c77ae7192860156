// The program odizodoruz: the conversion engine, then the main window, until the window closes.
//
//   odizodoruz [FOLDER]
//
// FOLDER (or a file in it) opens in the source pane instead of the folder of the last run.

#include <QApplication>
#include <QIcon>
#include <QLocale>

#include "BoxMessages.h"
#include "MainForm.h"
#include "QuitSignals.h"
#include "SettingsPath.h"
#include "TRaRaru.h"
#include "Translations.h"
#include "WorkbenchResources.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("odizodoruz"));
    QApplication::setApplicationDisplayName(QStringLiteral("VE Rez Odizodoruz"));
    QApplication::setDesktopFileName(QStringLiteral("odizodoruz"));
    QApplication::setApplicationVersion(QStringLiteral(ODIZODORUZ_VERSION));
    // The window speaks the user's language (LANG=vi_VN.UTF-8: Vietnamese), English otherwise.
    odz::InstallTranslations(application, QLocale::system());
    odz::InitWorkbenchResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/workbench/odizodoruz")));

    odz::TBoxMessages messages;
    odz::SetMessages(&messages);
    // The engine outlives the window and saves its keys when it goes.
    odz::TRaRaruInstance engine(odz::SettingsFilePath(), true);
    int status = 0;
    {
        odz::TMainForm form(engine.Engine());
        messages.SetOwner(&form);
        form.show();
        const QStringList arguments = QApplication::arguments();
        if (arguments.size() > 1) form.OpenSourceFolder(arguments.at(1));
        // From here on a logout or Ctrl+C closes the window as the Exit button does, so nothing is
        // lost. Not earlier: a close inside the window's first showing would be undone by it. During a
        // batch, which the window cannot close under, the program ends at once without leaving a
        // temporary file, and the file being converted keeps its old content.
        const odz::TQuitSignals quitSignals([&form] { form.close(); }, [&form] { return form.Busy(); });
        status = QApplication::exec();
        messages.SetOwner(nullptr);
    }
    odz::SetMessages(nullptr);
    return status;
}

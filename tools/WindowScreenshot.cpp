// Renders the main window, as it first opens on a folder, into a PNG file (the README's picture):
//
//   QT_QPA_PLATFORM=offscreen odz_window_screenshot OUT.png SAMPLES [SETTINGS.ini] [--keys|--preview]
//
// SAMPLES is the samples folder: the source pane shows it, the target pane its utf8 folder. With
// --keys the Key Settings page is drawn instead; with --preview the source pane shows the samples'
// VISCII folder with a letter chosen, its encoding detected, and the preview pane open on it,
// converted to VPS.
//
// The settings file defaults to a fresh one in a temporary folder, so the picture never depends on
// the developer's own settings.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBox>
#include <cstdio>

#include "MainForm.h"
#include "TRaRaru.h"
#include "ZTDirTree.h"
#include "ZTFilelistView.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("VE Rez Odizodoruz"));
    QStringList arguments = QApplication::arguments();
    const bool keyPage = arguments.removeAll(QStringLiteral("--keys")) > 0;
    const bool preview = arguments.removeAll(QStringLiteral("--preview")) > 0;
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: odz_window_screenshot OUT.png SAMPLES [SETTINGS.ini] [--keys]\n");
        return 2;
    }
    QTemporaryDir scratch;
    const QString settings = arguments.size() > 3 ? arguments.at(3) : scratch.filePath("odizodoruz.ini");
    odz::TRaRaru engine(settings.toStdString());
    engine.RaRaruCreate();
    odz::TMainForm form(engine);
    // As on a 1280 x 1024 screen, whatever the screen of the machine that draws it.
    form.resize(848, 551);
    form.AdjustToScreen(QSize(1280, 1024));
    form.resize(1060, preview ? 860 : 700);
    form.show();
    form.OpenSourceFolder(arguments.at(2) + (preview ? QStringLiteral("/viscii") : QString()));
    form.TargetFileList->SetDirectory(arguments.at(2) +
                                      (preview ? QStringLiteral("/vps") : QStringLiteral("/utf8")));
    form.TargetDirTree->OpenPath(form.TargetFileList->Directory());
    form.TargetDirEdit->setText(form.TargetFileList->Directory());
    // "Detect automatically" (the last item) or VISCII.
    form.SourceEncodecbo->setCurrentIndex(preview ? form.SourceEncodecbo->count() - 1 : 2);
    form.TargetEncodecbo->setCurrentIndex(preview ? 3 : 8);  // VPS or Unicode UTF-8
    if (keyPage) form.GroupBar->setCurrentIndex(1);
    if (preview) {
        form.PreviewChk->setChecked(true);
        for (int row = 0; row < form.SourceFileList->Count(); ++row) {
            if (form.SourceFileList->Item(row).caption == QStringLiteral("thu-gui-ban.txt"))
                form.SourceFileList->SetSelected(row, true);
        }
    }
    QTimer::singleShot(300, &form, [&] {
        const bool saved = form.grab().save(arguments.at(1));
        if (!saved)
            std::fprintf(stderr, "odz_window_screenshot: cannot write %s\n", qPrintable(arguments.at(1)));
        QApplication::exit(saved ? 0 : 1);
    });
    return QApplication::exec();
}

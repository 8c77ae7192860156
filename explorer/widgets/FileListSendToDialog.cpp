#include "FileListSendToDialog.h"

#include <QCoreApplication>

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "FileListDialogRunner.h"
#include "ShellRoutines.h"

namespace odz {

TFileListSendToDialog::TFileListSendToDialog(QWidget* parent)
    : QDialog(parent),
      FPrompt(new QLabel(QCoreApplication::translate("FileList", "Please enter the send_to path"), this)),
      FPath(new QLineEdit(this)),
      FOk(new QPushButton(QCoreApplication::translate("FileList", "OK"), this)),
      FCancel(new QPushButton(QCoreApplication::translate("FileList", "Cancel"), this)),
      FBrowse(new QPushButton(QCoreApplication::translate("FileList", "Browse"), this)) {
    setWindowTitle(QCoreApplication::translate("FileList", "Send to any folder"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setMinimumWidth(333);
    FPath->setMaxLength(kMaxPathLength);
    FOk->setDefault(true);
    FOk->setAutoDefault(true);
    FCancel->setAutoDefault(false);
    FBrowse->setAutoDefault(false);
    connect(FOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects as well
    connect(FBrowse, &QPushButton::clicked, this, [this] { done(kBrowse); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {FOk, FCancel, FBrowse}) {
        button->setMinimumSize(75, 25);
        buttons->addWidget(button);
        buttons->addStretch();
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 12, 20, 12);
    layout->addWidget(FPrompt);
    layout->addWidget(FPath);
    layout->addSpacing(16);
    layout->addLayout(buttons);
}

QString TFileListSendToDialog::Path() const {
    return FPath->text();
}

void TFileListSendToDialog::SetPath(const QString& path) {
    FPath->setText(path);
    FPath->selectAll();
}

QString AskSendToFolder(QWidget* owner, const QString& initial) {
    QString path = initial;
    for (;;) {
        TFileListSendToDialog dialog(owner);
        dialog.SetPath(path);
        const int result = RunDialog(dialog);
        if (result == QDialog::Accepted) return dialog.Path();
        if (result != TFileListSendToDialog::kBrowse) return {};
        // The browser starts where the box points, when that is a folder.
        path = dialog.Path();
        if (!BrowseForFolder(owner, path)) return {};
    }
}

}  // namespace odz

#include "DirTreeNetworkDialogs.h"

#include <QCoreApplication>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "DirTreeGuards.h"
#include "Messages.h"
#include "OverrideCursor.h"
#include "ShellRoutines.h"

namespace odz {

namespace {

TConnectNetworkDialog& ConnectDialog() {
    static TConnectNetworkDialog dialog;
    return dialog;
}

TDisconnectNetworkDialog& DisconnectDialog() {
    static TDisconnectNetworkDialog dialog;
    return dialog;
}

QDialogButtonBox* Buttons(QDialog* dialog, const QString& okText, const std::function<void()>& apply) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(okText);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, apply);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

TDirTreeConnectDialog::TDirTreeConnectDialog(QWidget* owner)
    : QDialog(owner),
      FLocation(new QLineEdit(this)),
      FUser(new QLineEdit(this)),
      FPassword(new QLineEdit(this)) {
    setWindowTitle(QCoreApplication::translate("DirTree", "Map Network Drive"));
    FLocation->setPlaceholderText(QStringLiteral("smb://host/share"));
    FUser->setPlaceholderText(QCoreApplication::translate("DirTree", "only if the server asks for one"));
    FPassword->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow(QCoreApplication::translate("DirTree", "&Location:"), FLocation);
    form->addRow(QCoreApplication::translate("DirTree", "&User name:"), FUser);
    form->addRow(QCoreApplication::translate("DirTree", "&Password:"), FPassword);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QCoreApplication::translate(
            "DirTree",
            "Connect a shared network folder, for example smb://host/share or sftp://host/folder."),
        this));
    layout->addLayout(form);
    layout->addWidget(Buttons(this, QCoreApplication::translate("DirTree", "&Connect"), [this] { Apply(); }));
}

bool TDirTreeConnectDialog::Apply() {
    const QString typed = FLocation->text().trimmed();
    const QString location = NetworkLocation(typed);
    if (location.isEmpty()) {
        Messages().Error(QCoreApplication::translate(
                             "DirTree", "\"%1\" is not a network location.\nWrite it like smb://host/share")
                             .arg(typed));
        FLocation->setFocus();
        return false;
    }
    TNetworkBackend& backend = NetworkBackend();
    if (!backend.Available()) {
        Messages().Error(
            QCoreApplication::translate("DirTree",
                                        "ERROR - Can't connect to %1\nNetwork locations are connected with "
                                        "the \"gio\" program, which is not installed.")
                .arg(location));
        return false;
    }
    QString error;
    bool connected = false;
    {
        const TOverrideCursor busy;
        connected = backend.Mount(location, FUser->text(), FPassword->text(), FLocalPath, error);
    }
    FPassword->clear();
    if (!connected) {
        Messages().Error(QCoreApplication::translate("DirTree", "ERROR - Can't connect to %1").arg(location) +
                         QLatin1Char('\n') + error);
        return false;
    }
    Messages().Information(
        QCoreApplication::translate("DirTree", "Connected to %1").arg(location) +
        (FLocalPath.isEmpty()
             ? QString()
             : QLatin1Char('\n') +
                   QCoreApplication::translate("DirTree", "Its files are in %1").arg(FLocalPath)));
    accept();
    return true;
}

TDirTreeDisconnectDialog::TDirTreeDisconnectDialog(QWidget* owner, const QList<TNetworkMount>& mounts)
    : QDialog(owner), FMounts(mounts), FList(new QListWidget(this)) {
    setWindowTitle(QCoreApplication::translate("DirTree", "Disconnect Network Drive"));
    for (const TNetworkMount& mount : mounts) {
        auto* item =
            new QListWidgetItem(mount.name + QStringLiteral("   (") + mount.target + QLatin1Char(')'), FList);
        item->setToolTip(mount.target);
    }
    if (FList->count() > 0) FList->setCurrentRow(0);
    connect(FList, &QListWidget::itemDoubleClicked, this, [this] { Apply(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QCoreApplication::translate("DirTree", "&Network drives:"), this));
    layout->addWidget(FList);
    layout->addWidget(
        Buttons(this, QCoreApplication::translate("DirTree", "&Disconnect"), [this] { Apply(); }));
}

bool TDirTreeDisconnectDialog::Apply() {
    const int row = FList->currentRow();
    if (row < 0 || row >= FMounts.size() || !FList->item(row)->isSelected()) {
        Messages().Warning(QCoreApplication::translate("DirTree", "Choose the network drive to disconnect."));
        return false;
    }
    const TNetworkMount& mount = FMounts[row];
    QString error;
    bool done = false;
    {
        const TOverrideCursor busy;
        done = NetworkBackend().Unmount(mount, error);
    }
    if (!done) {
        Messages().Error(
            QCoreApplication::translate("DirTree", "ERROR - Can't disconnect %1").arg(mount.name) +
            QLatin1Char('\n') + error);
        return false;
    }
    Messages().Information(QCoreApplication::translate("DirTree", "Disconnected %1").arg(mount.name));
    accept();
    return true;
}

void SetConnectNetworkDialog(TConnectNetworkDialog dialog) {
    ConnectDialog() = std::move(dialog);
}

void SetDisconnectNetworkDialog(TDisconnectNetworkDialog dialog) {
    DisconnectDialog() = std::move(dialog);
}

bool RunConnectNetworkDialog(QWidget* owner, QString& localPath) {
    if (ConnectDialog()) return ConnectDialog()(owner, localPath);
    if (IsHeadlessPlatform()) return false;
    TDirTreeConnectDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted) return false;
    localPath = dialog.LocalPath();
    return true;
}

bool RunDisconnectNetworkDialog(QWidget* owner) {
    if (DisconnectDialog()) return DisconnectDialog()(owner);
    if (IsHeadlessPlatform()) return false;
    const QList<TNetworkMount> mounts = NetworkBackend().Mounts();
    if (mounts.isEmpty()) {
        Messages().Information(
            QCoreApplication::translate("DirTree", "There are no network drives to disconnect."));
        return false;
    }
    TDirTreeDisconnectDialog dialog(owner, mounts);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace odz

#pragma once

#include <QDialog>
#include <QList>
#include <functional>

#include "DirTreeNetwork.h"

class QLineEdit;
class QListWidget;

namespace odz {

// Asks for a network location ("smb://host/share"), with a user name and password for servers that
// want them, and connects it. Its Connect button stays open on failure so the user can correct the
// location; every outcome is told.
class TDirTreeConnectDialog : public QDialog {
    Q_OBJECT
public:
    explicit TDirTreeConnectDialog(QWidget* owner);

    QLineEdit* LocationEdit() const { return FLocation; }
    QLineEdit* UserEdit() const { return FUser; }
    QLineEdit* PasswordEdit() const { return FPassword; }
    // The folder the connected location's files appear in.
    QString LocalPath() const { return FLocalPath; }

    // The Connect button: true (and the dialog accepted) when the location is connected.
    bool Apply();

private:
    QLineEdit* FLocation;
    QLineEdit* FUser;
    QLineEdit* FPassword;
    QString FLocalPath;
};

// Lists the connected network locations; Disconnect unmounts the chosen one.
class TDirTreeDisconnectDialog : public QDialog {
    Q_OBJECT
public:
    TDirTreeDisconnectDialog(QWidget* owner, const QList<TNetworkMount>& mounts);

    QListWidget* List() const { return FList; }
    // The Disconnect button: true (and the dialog accepted) when the chosen one is disconnected.
    bool Apply();

private:
    QList<TNetworkMount> FMounts;
    QListWidget* FList;
};

// How the tree shows the two dialogs: modal, true when a location was connected (with the folder of
// its files) or disconnected. Tests install their own; an empty function restores the real dialogs,
// which are never shown on the off-screen platforms (there they answer as if cancelled).
using TConnectNetworkDialog = std::function<bool(QWidget* owner, QString& localPath)>;
using TDisconnectNetworkDialog = std::function<bool(QWidget* owner)>;
void SetConnectNetworkDialog(TConnectNetworkDialog dialog);
void SetDisconnectNetworkDialog(TDisconnectNetworkDialog dialog);
bool RunConnectNetworkDialog(QWidget* owner, QString& localPath);
bool RunDisconnectNetworkDialog(QWidget* owner);

}  // namespace odz

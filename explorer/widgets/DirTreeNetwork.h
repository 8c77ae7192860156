#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QString>

namespace odz {

// A connected network location as the disconnect dialog lists it.
struct TNetworkMount {
    QString name;    // what the user sees
    QString target;  // what is handed to the unmount: the location or the folder it is mounted on
    bool operator==(const TNetworkMount&) const = default;
};

// Connecting and disconnecting network locations. The desktop's is the "gio" program (the same service
// the file managers use); tests install their own.
class TNetworkBackend {
public:
    virtual ~TNetworkBackend() = default;
    // Whether locations can be connected at all here.
    virtual bool Available() const = 0;
    // Mounts the location. On success `localPath` is the folder its files appear in (empty when the
    // desktop gives it none); on failure `error` says why.
    virtual bool Mount(const QString& location, const QString& user, const QString& password,
                       QString& localPath, QString& error) = 0;
    virtual QList<TNetworkMount> Mounts() = 0;
    virtual bool Unmount(const TNetworkMount& mount, QString& error) = 0;
};

TNetworkBackend& NetworkBackend();
// Tests install their own; nullptr restores the desktop's.
void SetNetworkBackend(TNetworkBackend* backend);

// What gio writes is for: the program to read (so it must not be translated), or the user.
enum class TGioText { Read, Shown };
// The environment gio runs in: the user's, with UTF-8 characters, since in a locale without them
// every character beyond ASCII (such as the apostrophe of "doesn’t") comes out as "?". What the program
// reads is untranslated.
QProcessEnvironment GioEnvironment(QProcessEnvironment environment, TGioText text);

// A location as gio takes it ("smb://host/share"); "\\host\share" is taken as an SMB share. Empty when
// the text names no network location (no scheme, no host, or a local file URL).
QString NetworkLocation(const QString& text);

// The mounts of network locations in the output of "gio mount -l" (local disks left out).
QList<TNetworkMount> ParseGioMountList(const QString& output);
// The "local path:" of the output of "gio info"; empty when it has none.
QString ParseGioLocalPath(const QString& output);

// What "gio mount" waits for when its output so far ends with a question.
enum class TGioPrompt { None, User, Domain, Password, Other };
TGioPrompt GioPromptAt(const QString& output);

}  // namespace odz

#pragma once

// What the file list asks of the desktop: icons and type names, the drive list, opening files. Kept in one
// place so the list itself reads as list behaviour.

#include <QFileInfo>
#include <QIcon>
#include <QStringList>

#include "DateTexts.h"
#include "FileListModel.h"

namespace odz::listplatform {

QIcon Icon(const TListItem& item);
QString TypeName(const QFileInfo& info);
QList<TDriveRow> Drives();
// Whether the volume can be read; tells the user when it cannot.
bool DiskReady(const QString& root);
void Open(const QString& file);
void Find(const QString& folder);
QString TimeText(const QDateTime& time, TDTFormat format, const QString& timeFormat);
qint64 FreeKB(const QString& path);

}  // namespace odz::listplatform

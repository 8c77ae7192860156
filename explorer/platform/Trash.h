#pragma once

#include <QString>

namespace odz {

// Moves a file or folder to the desktop's trash (the freedesktop.org trash of its volume or of the
// user's home). On failure `error` says why and the entry stays where it was: there is no fallback
// that deletes for good.
bool MoveToTrash(const QString& path, QString& error);

}  // namespace odz

#pragma once

#include <QString>
#include <QStringList>

namespace odz {

// The shortcuts of a SendTo folder, as the "Send To" menu lists them: the symbolic links in it (to
// folders, to programs, dangling ones too), hidden names left out, ordered by name regardless of
// letter case. Full paths.
QStringList SendToShortcuts(const QString& folder);

// What a shortcut shows in the menu: its name, with "&" kept as a character rather than a mnemonic.
QString ShortcutCaption(const QString& shortcut);

// The folder a "Send To" path names: "~" stands for the home folder, a relative path is taken in
// `folder` (the list's own).
QString SendToTarget(const QString& typed, const QString& folder);

}  // namespace odz

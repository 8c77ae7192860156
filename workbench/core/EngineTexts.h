#pragma once

#include <QString>

namespace odz {

// The engine's failure texts in the user's language. The engine writes them in English, as fixed
// sentences or as fixed openings followed by a file name ("Cannot open file /path/name"); those are
// put through the translation with the name kept exactly as it is. A text of any other form (the
// system's own explanations among them) is returned unchanged, and without a translation every text
// stays the English one, as the command line prints it.
QString EngineText(const QString& text);

// A failure with its reason, "message (reason)", each part in the user's language.
QString EngineText(const QString& message, const QString& reason);

}  // namespace odz

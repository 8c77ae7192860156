#pragma once

class QCoreApplication;
class QLocale;

namespace odz {

// Gives the window the language of the locale: loads the program's translation (built into the
// program) and Qt's own, for the texts of its standard buttons and dialogs, when they exist for that
// language. English, the language of the sources, needs none. Call it before the window is built.
// Returns whether the program's translation was loaded.
bool InstallTranslations(QCoreApplication& application, const QLocale& locale);

}  // namespace odz

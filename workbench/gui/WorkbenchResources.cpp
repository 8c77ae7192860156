#include "WorkbenchResources.h"

#include <QtCore/qglobal.h>

// A static library's resources are linked in only when something asks for them by name; the names are
// declared outside any namespace.
static void InitWorkbenchAndHelp() {
    Q_INIT_RESOURCE(workbench);
    Q_INIT_RESOURCE(help);
    Q_INIT_RESOURCE(help_vi);
    Q_INIT_RESOURCE(translations);
}

void InitWorkbenchResources() {
    static const bool initialised = (InitWorkbenchAndHelp(), true);
    Q_UNUSED(initialised);
}

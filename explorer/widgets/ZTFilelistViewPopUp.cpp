#include "ZTFilelistViewPopUp.h"

#include <QCoreApplication>

#include "FileListSendTo.h"
#include "FileListViewers.h"
#include "ShellIcons.h"
#include "ShellRoutines.h"
#include "ZTFilelistView.h"

// The program's bitmaps live in the library; a static library's resources are linked in only when
// something asks for them by name.
static void InitBitmaps() {
    Q_INIT_RESOURCE(resources);
}

namespace odz {

namespace {

const QString kSendToPrefix = QStringLiteral("Send_To");

QIcon Bitmap(const char* resource) {
    return QIcon(QStringLiteral(":/") + QLatin1String(resource));
}

}  // namespace

TZTFilelistViewPopUp::TZTFilelistViewPopUp(TZTFilelistView* list)
    : QMenu(list),
      FList(list),
      FSendTo(new QMenu(QCoreApplication::translate("FileList", "Se&nd To"), this)) {
    static const bool initialised = (InitBitmaps(), true);
    Q_UNUSED(initialised);
    AddItem(this, QCoreApplication::translate("FileList", "&Open"), QStringLiteral("ItemOpen"),
            Bitmap("Open"));
    AddItem(this, QCoreApplication::translate("FileList", "&View"), QStringLiteral("ItemView"),
            Bitmap("View"));
    addSeparator();
    FSendTo->setIcon(Bitmap("SendTo"));
    addMenu(FSendTo)->setObjectName(QStringLiteral("SubMenuSend"));
    addSeparator();
    AddItem(this, QCoreApplication::translate("FileList", "Cu&t"), QStringLiteral("ItemOpCut"),
            Bitmap("Cut"));
    AddItem(this, QCoreApplication::translate("FileList", "&Copy"), QStringLiteral("ItemOpCopy"),
            Bitmap("Copy"));
    AddItem(this, QCoreApplication::translate("FileList", "&Paste"), QStringLiteral("ItemOpPaste"),
            Bitmap("Paste"));
    addSeparator();
    AddItem(this, QCoreApplication::translate("FileList", "&Rename"), QStringLiteral("ItemRename"),
            Bitmap("ReName"));
    AddItem(this, QCoreApplication::translate("FileList", "&Delete"), QStringLiteral("ItemDelete"),
            Bitmap("Delete"));
    addSeparator();
    AddItem(this, QCoreApplication::translate("FileList", "&Attributes ..."), QStringLiteral("ItemFileAttr"),
            Bitmap("Attributes"));
    addSeparator();
    AddItem(this, QCoreApplication::translate("FileList", "&New Folder ..."), QStringLiteral("ItemFolder"),
            Bitmap("NewFolder"));

    AddItem(FSendTo, QCoreApplication::translate("FileList", "Any Folder ..."),
            kSendToPrefix + QLatin1Char('0'), Bitmap("AnyFolder"));
    AddItem(FSendTo, QCoreApplication::translate("FileList", "Clipboard as Contents"),
            kSendToPrefix + QLatin1Char('1'), Bitmap("ClipBoard"));
    AddItem(FSendTo, QCoreApplication::translate("FileList", "Clipboard as FileName"),
            kSendToPrefix + QLatin1Char('2'), Bitmap("ClipBoard"));
    FSendTo->addSeparator();
}

QAction* TZTFilelistViewPopUp::AddItem(QMenu* menu, const QString& caption, const QString& name,
                                       const QIcon& icon) {
    QAction* item = menu->addAction(icon, caption);
    item->setObjectName(name);
    connect(item, &QAction::triggered, this, [this, name] { ItemClick(name); });
    return item;
}

QAction* TZTFilelistViewPopUp::Item(const QString& name) const {
    for (const QMenu* menu : {static_cast<const QMenu*>(this), static_cast<const QMenu*>(FSendTo)}) {
        for (QAction* item : menu->actions()) {
            if (item->objectName() == name) return item;
        }
    }
    return nullptr;
}

void TZTFilelistViewPopUp::ReadShortcuts() {
    qDeleteAll(FShortcutItems);
    FShortcutItems.clear();
    FShortcuts = SendToShortcuts(SendToFolder()).mid(0, kMaxShortcuts);
    for (qsizetype k = 0; k < FShortcuts.size(); ++k) {
        const QString& shortcut = FShortcuts[k];
        FShortcutItems << AddItem(FSendTo, ShortcutCaption(shortcut),
                                  kSendToPrefix + QString::number(kFirstShortcut + k),
                                  ShellIcon(SmallIconIndex(shortcut)));
    }
}

void TZTFilelistViewPopUp::Prepare() {
    ReadShortcuts();
    const QList<int> selected = FList->SelectedRows();
    const bool any = !selected.isEmpty();
    const TListItem* first = any ? &FList->Item(selected.first()) : nullptr;
    const bool firstIsFile = first && first->kind == QLatin1String("file");
    const QString extension = first ? UpperExtension(first->fullPath) : QString();
    // The parent row stands for the folder above and a drive row for a whole volume: the file
    // operations take only the entries of the folder shown.
    const QList<int> entries = FList->SelectedEntries();
    const bool anyEntry = !entries.isEmpty();
    const bool oneEntry = selected.size() == 1 && anyEntry;
    bool anyName = false;
    for (int row : selected) anyName = anyName || !FList->Item(row).isParent;

    Item(QStringLiteral("ItemOpen"))->setEnabled(any);
    Item(QStringLiteral("ItemView"))->setEnabled(firstIsFile && !ViewerProgram(extension).isEmpty());
    Item(QStringLiteral("SubMenuSend"))->setEnabled(anyName);
    Item(QStringLiteral("ItemOpCut"))->setEnabled(anyEntry);
    Item(QStringLiteral("ItemOpCopy"))->setEnabled(anyEntry);
    Item(QStringLiteral("ItemOpPaste"))->setEnabled(!FList->PendingFiles().isEmpty() && !FList->IsDrives());
    Item(QStringLiteral("ItemRename"))->setEnabled(oneEntry);
    Item(QStringLiteral("ItemDelete"))->setEnabled(anyEntry);
    Item(QStringLiteral("ItemFileAttr"))->setEnabled(oneEntry);
    Item(QStringLiteral("ItemFolder"))->setEnabled(!FList->IsDrives());

    Item(kSendToPrefix + QLatin1Char('0'))->setEnabled(anyEntry);
    Item(kSendToPrefix + QLatin1Char('1'))
        ->setEnabled(selected.size() == 1 && firstIsFile && IsContentExtension(extension));
    Item(kSendToPrefix + QLatin1Char('2'))->setEnabled(anyName);
    for (QAction* item : FShortcutItems) item->setEnabled(anyEntry);
}

void TZTFilelistViewPopUp::Open(const QPoint& globalPos) {
    Prepare();
    popup(globalPos + QPoint(10, 10));
}

void TZTFilelistViewPopUp::ItemClick(const QString& name) {
    if (name == QLatin1String("ItemOpen")) {
        FList->OpenSelected();
    } else if (name == QLatin1String("ItemView")) {
        FList->ViewFile();
    } else if (name == QLatin1String("ItemOpCut")) {
        FList->CutCopy(true);
    } else if (name == QLatin1String("ItemOpCopy")) {
        FList->CutCopy(false);
    } else if (name == QLatin1String("ItemOpPaste")) {
        FList->PasteFiles();
    } else if (name == QLatin1String("ItemRename")) {
        FList->RenameSelected();
    } else if (name == QLatin1String("ItemDelete")) {
        FList->DeleteSelected();
    } else if (name == QLatin1String("ItemFileAttr")) {
        FList->EditAttributes();
    } else if (name == QLatin1String("ItemFolder")) {
        FList->NewFolder();
    } else if (name.startsWith(kSendToPrefix)) {
        bool number = false;
        int n = name.mid(kSendToPrefix.size(), 2).toInt(&number);
        if (!number) n = -1;
        if (n >= 0 && n <= 2) {
            FList->SendTo(n);
        } else if (n >= kFirstShortcut && n - kFirstShortcut < FShortcuts.size()) {
            FList->SendToShortcut(FShortcuts[n - kFirstShortcut]);
        }
    }
}

}  // namespace odz

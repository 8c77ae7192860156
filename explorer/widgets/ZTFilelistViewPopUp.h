#pragma once

#include <QMenu>
#include <QStringList>

namespace odz {

class TZTFilelistView;

// The context menu of a file list: open and view, Send To (any folder, the clipboard, the shortcuts of
// the user's SendTo folder), cut, copy and paste, rename, delete, attributes and new folder. Every item
// carries its name as object name; one handler dispatches a click by that name to the list's operation.
class TZTFilelistViewPopUp : public QMenu {
    Q_OBJECT
public:
    // Shortcut items are named "Send_To4" to "Send_To99": two digits at most.
    static constexpr int kFirstShortcut = 4;
    static constexpr int kMaxShortcuts = 96;

    explicit TZTFilelistViewPopUp(TZTFilelistView* list);

    TZTFilelistView* ListView() const { return FList; }
    QMenu* SendToMenu() const { return FSendTo; }
    // The item of that name in the menu or its Send To submenu; nullptr when there is none.
    QAction* Item(const QString& name) const;
    // The shortcuts behind the items "Send_To4" on, in menu order.
    const QStringList& Shortcuts() const { return FShortcuts; }

    // Reads the SendTo folder again and enables the items that can act on the list's selection. Done
    // every time the menu opens.
    void Prepare();
    // Prepares the menu and shows it 10 pixels right of and below the point, without waiting.
    void Open(const QPoint& globalPos);
    // What a click on the item of that name does.
    void ItemClick(const QString& name);

private:
    QAction* AddItem(QMenu* menu, const QString& caption, const QString& name, const QIcon& icon);
    void ReadShortcuts();

    TZTFilelistView* FList;
    QMenu* FSendTo;
    QStringList FShortcuts;
    QList<QAction*> FShortcutItems;
};

}  // namespace odz

#include "ZTDirTreePopUp.h"

#include <QCoreApplication>

#include "DirTreeModel.h"
#include "ZTDirTree.h"

namespace odz {

namespace {

struct TItem {
    const char* caption;
    const char* name;
    const char* bitmap;
};

// In menu order; a null caption is a separator.
constexpr TItem kItems[] = {
    {QT_TRANSLATE_NOOP("DirTree", "&New Folder"), "AddNode", "NewFolder28"},
    {QT_TRANSLATE_NOOP("DirTree", "&Rename Folder"), "EditNode", "EditFolder28"},
    {QT_TRANSLATE_NOOP("DirTree", "&Delete Folder"), "DelNode", "DelFolder28"},
    {nullptr, nullptr, nullptr},
    {QT_TRANSLATE_NOOP("DirTree", "&Tree Size"), "GetTreeSize", "TreeSize28"},
    {QT_TRANSLATE_NOOP("DirTree", "&Folder Contents"), "ShowFolderContents", "DirContents28"},
    {nullptr, nullptr, nullptr},
    {QT_TRANSLATE_NOOP("DirTree", "&Map Network Drive"), "ConnectNetResource", "NetConnect28"},
    {QT_TRANSLATE_NOOP("DirTree", "Di&sConnect Network Drive"), "DisConnectNetResource", "NetDisConnect28"},
};

}  // namespace

TZTDirTreePopUp::TZTDirTreePopUp(TZTDirTree* tree) : QMenu(tree), FTree(tree) {
    setObjectName(QStringLiteral("DirTreePopUp"));
    for (const TItem& item : kItems) {
        if (!item.caption) {
            addSeparator();
            continue;
        }
        const QString name = QString::fromLatin1(item.name);
        QAction* action = addAction(QIcon(QStringLiteral(":/") + QLatin1String(item.bitmap)),
                                    QCoreApplication::translate("DirTree", item.caption));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, name] { ItemClick(name); });
    }
    connect(this, &QMenu::aboutToShow, this, &TZTDirTreePopUp::UpdateItems);
}

QAction* TZTDirTreePopUp::Item(const QString& name) const {
    for (QAction* action : actions()) {
        if (!action->isSeparator() && action->objectName() == name) return action;
    }
    return nullptr;
}

void TZTDirTreePopUp::UpdateItems() {
    const int level = FTree->Nodes()->Level(FTree->SelectedNode());
    Item(QStringLiteral("AddNode"))->setEnabled(level >= 1);
    Item(QStringLiteral("EditNode"))->setEnabled(level >= 2 && !FTree->ReadOnly());
    Item(QStringLiteral("DelNode"))->setEnabled(level >= 2);
    Item(QStringLiteral("GetTreeSize"))->setEnabled(level >= 1);
    Item(QStringLiteral("ShowFolderContents"))->setEnabled(level >= 1);
    Item(QStringLiteral("ConnectNetResource"))->setEnabled(true);
    Item(QStringLiteral("DisConnectNetResource"))->setEnabled(true);
}

void TZTDirTreePopUp::Popup(const QPoint& globalPos) {
    popup(globalPos + QPoint(10, 10));
}

void TZTDirTreePopUp::ItemClick(const QString& name) {
    const QModelIndex selected = FTree->SelectedNode();
    if (name == QLatin1String("AddNode")) {
        FTree->AddNewNode(selected, QString());
    } else if (name == QLatin1String("EditNode")) {
        FTree->EditSelected();
    } else if (name == QLatin1String("DelNode")) {
        if (selected.isValid()) FTree->DeleteNode(selected);
    } else if (name == QLatin1String("GetTreeSize")) {
        FTree->GetTreeSize();
    } else if (name == QLatin1String("ShowFolderContents")) {
        FTree->ShowFolderContents();
    } else if (name == QLatin1String("ConnectNetResource")) {
        FTree->ConnectNetResource();
    } else if (name == QLatin1String("DisConnectNetResource")) {
        FTree->DisConnectNetResource();
    }
}

}  // namespace odz

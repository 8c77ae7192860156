#include "DirChooser.h"

namespace odz {

TFileListLink* TDirChooser::LinkOf(const TZTFilelistView& list) const {
    return FKind == lkTree ? list.DirTree() : list.DirTreeCombo();
}

void TDirChooser::SetLinkOf(TZTFilelistView& list, TFileListLink* link) const {
    if (FKind == lkTree) {
        list.SetDirTree(link);
    } else {
        list.SetDirTreeCombo(link);
    }
}

void TDirChooser::Unlink(TZTFilelistView& list) {
    FUnlinking = true;
    SetLinkOf(list, nullptr);
    FUnlinking = false;
}

void TDirChooser::SetFileList(TZTFilelistView* list) {
    if (list == FFileList) {
        if (list && LinkOf(*list) != this) SetLinkOf(*list, this);
        return;
    }
    if (FFileList && LinkOf(*FFileList) == this) Unlink(*FFileList);
    FFileList = nullptr;
    if (!list) return;
    SetLinkOf(*list, this);
    if (FFileList != list) LinkFileList(list);
}

void TDirChooser::LinkFileList(TZTFilelistView* list) {
    if (FUnlinking || list == FFileList) return;
    const QPointer<TZTFilelistView> old = FFileList;
    FFileList = list;
    // A list that still names this tree or combo would otherwise keep asking it to open paths.
    if (old && LinkOf(*old) == this) Unlink(*old);
    if (list) ShowChosenIn(*list);
}

}  // namespace odz

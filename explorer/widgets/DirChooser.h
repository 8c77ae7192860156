#pragma once

#include <QPointer>

#include "ZTFilelistView.h"

namespace odz {

// What a directory tree and a directory combo share: the two-way link with a file list, which shows
// the folders chosen in them. A list has one link of each kind.
class TDirChooser : public TFileListLink {
public:
    // The linked list; setting it links the list back to this tree or combo (and a list linked before
    // no longer to it), and the list then shows the folder chosen here, when there is one.
    TZTFilelistView* FileList() const { return FFileList; }
    void SetFileList(TZTFilelistView* list);
    void LinkFileList(TZTFilelistView* list) override;

protected:
    enum TLinkKind { lkTree, lkCombo };
    explicit TDirChooser(TLinkKind kind) : FKind(kind) {}
    // Shows the folder chosen here in a list that has just been linked.
    virtual void ShowChosenIn(TZTFilelistView& list) = 0;

    QPointer<TZTFilelistView> FFileList;

private:
    // The list's link of this kind.
    TFileListLink* LinkOf(const TZTFilelistView& list) const;
    void SetLinkOf(TZTFilelistView& list, TFileListLink* link) const;
    // Ends the list's link of this kind without being told of it.
    void Unlink(TZTFilelistView& list);

    TLinkKind FKind;
    bool FUnlinking = false;
};

}  // namespace odz

#pragma once

#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "DirChooser.h"

class QLineEdit;
class QToolButton;

namespace odz {

class TZTDirTreeView;

// The directory combo: a read-only box with the current folder's icon and name, and a button that drops
// down a tree of the drives and folders in a window of its own. Choosing a node there shows it in the
// linked file list.
class TZTDirTreeCombo : public QWidget, public TDirChooser {
    Q_OBJECT
public:
    explicit TZTDirTreeCombo(QWidget* parent = nullptr);
    ~TZTDirTreeCombo() override;

    // The file list link; a list linked to this combo shows SelectedPath when there is one.
    void OpenPath(const QString& path) override;
    QString FirstNodeText() const override;
    void ToggleDropDown() override { DropDown(); }
    bool DroppedDown() const override;
    void CloseUp() override;
    void FocusDropDown() override;

    // The path chosen in the drop-down tree; writing it also shows it in the linked list.
    QString SelectedPath() const;
    void SetSelectedPath(const QString& path);
    bool ExpandRoot() const;
    void SetExpandRoot(bool expand);
    // Whether the drop-down tree hides its selection while it does not have the focus.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool hide);
    QPixmap Glyph() const { return FGlyph; }
    void SetGlyph(const QPixmap& glyph);
    int TreeHeight() const { return FTreeHeight; }
    void SetTreeHeight(int height) { FTreeHeight = height; }
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);

    QLineEdit* Edit() const { return FEdit; }
    QToolButton* Btn() const { return FBtn; }
    TZTDirTreeView* Tree() const { return FTree; }
    // The icon and the text shown in the box.
    QIcon Icon() const { return FIcon; }
    QString Text() const;

    void ReloadTree();
    // Opens the drop-down tree below the box, or closes it when it is open.
    void DropDown();
    // A node chosen in the drop-down tree (a click on it, or Enter).
    void ChooseNode(const QModelIndex& node);

signals:
    void OnPathChange(QObject* sender, const QString& selectedPath);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void ShowChosenIn(TZTFilelistView& list) override;

private:
    bool HandleKey(int key);
    void ShowNode(const QModelIndex& node);
    void SetIcon(const QIcon& icon);
    void PlaceParts();
    void CollapseBranch(const QModelIndex& node);

    QLineEdit* FEdit;
    QToolButton* FBtn;
    TZTDirTreeView* FTree;
    QIcon FIcon;
    QPixmap FGlyph;
    int FTreeHeight = 240;
    bool FHideSelection = true;
};

}  // namespace odz

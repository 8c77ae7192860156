#include "ZTDirTreeCombo.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>

#include "DirTreeModel.h"
#include "DirTreeNavigation.h"
#include "Drives.h"
#include "PathRoutines.h"
#include "ShellIcons.h"
#include "ZTDirTreeView.h"

namespace odz {

namespace {

constexpr int kButtonSize = 17;
constexpr int kEditFrame = 2;
constexpr int kIconLeft = 5;
constexpr int kTextLeftWithIcon = 23;

// The box: a line edit with the folder's icon drawn in front of the text.
class TComboEdit : public QLineEdit {
public:
    explicit TComboEdit(QWidget* parent) : QLineEdit(parent) {}
    QIcon icon;

protected:
    void paintEvent(QPaintEvent* event) override {
        QLineEdit::paintEvent(event);
        if (icon.isNull()) return;
        QPainter canvas(this);
        icon.paint(&canvas, QRect(kIconLeft, height() / 2 - 8, 16, 16));
    }
};

// The arrow the style draws on its own combo boxes.
QPixmap ComboArrow(const QWidget* widget) {
    const qreal ratio = widget->devicePixelRatioF();
    QPixmap arrow(QSize(9, 9) * ratio);
    arrow.setDevicePixelRatio(ratio);
    arrow.fill(Qt::transparent);
    QPainter canvas(&arrow);
    QStyleOption option;
    option.initFrom(widget);
    option.rect = QRect(0, 0, 9, 9);
    option.state |= QStyle::State_Enabled;
    widget->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &canvas, widget);
    return arrow;
}

QIcon NodeIcon(const TDirTreeModel* model, const QModelIndex& node) {
    const TDirTreeNode* data = model->Node(node);
    if (!data) return {};
    return data->Kind() == nkRoot ? TDirTreeModel::ComputerIcon() : ShellIcon(data->ImageIndex());
}

}  // namespace

TZTDirTreeCombo::TZTDirTreeCombo(QWidget* parent)
    : QWidget(parent),
      TDirChooser(lkCombo),
      FEdit(new TComboEdit(this)),
      FBtn(new QToolButton(FEdit)),
      FTree(nullptr) {
    FEdit->setObjectName(QStringLiteral("Edit"));
    FEdit->setReadOnly(true);
    FEdit->installEventFilter(this);
    setFocusProxy(FEdit);
    setFocusPolicy(Qt::StrongFocus);

    FBtn->setObjectName(QStringLiteral("Btn"));
    FBtn->setFocusPolicy(Qt::NoFocus);
    FBtn->setCursor(Qt::ArrowCursor);
    FBtn->setAutoRaise(false);
    FBtn->resize(kButtonSize, kButtonSize);
    FGlyph = ComboArrow(this);
    FBtn->setIcon(QIcon(FGlyph));
    connect(FBtn, &QToolButton::clicked, this, &TZTDirTreeCombo::DropDown);

    FTree = new TZTDirTreeView(this);
    FTree->setObjectName(QStringLiteral("Tree"));
    SetHideSelection(true);

    resize(216, 21);
    ShowNode(FTree->Nodes()->Root());
}

TZTDirTreeCombo::~TZTDirTreeCombo() = default;

QString TZTDirTreeCombo::FirstNodeText() const {
    return FTree->Nodes()->RootText();
}

QString TZTDirTreeCombo::Text() const {
    return FEdit->text();
}

QString TZTDirTreeCombo::SelectedPath() const {
    return FTree->ChosenPath();
}

void TZTDirTreeCombo::SetSelectedPath(const QString& path) {
    // Folder names differ by letter case here, so a different case is a different folder.
    if (path != FTree->ChosenPath()) FTree->SetChosenPath(path);
    if (FFileList && !path.isEmpty()) FFileList->SetDirectory(path);
}

void TZTDirTreeCombo::ShowChosenIn(TZTFilelistView& list) {
    if (SelectedPath().isEmpty()) return;
    list.SetDirectory(SelectedPath());
    list.UpdateFileList();
}

bool TZTDirTreeCombo::ExpandRoot() const {
    return FTree->ExpandRoot();
}

void TZTDirTreeCombo::SetExpandRoot(bool expand) {
    FTree->SetExpandRoot(expand);
}

void TZTDirTreeCombo::SetHideSelection(bool hide) {
    FHideSelection = hide;
    QPalette palette = FTree->palette();
    const QPalette standard = QApplication::palette(FTree);
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     hide ? standard.color(QPalette::Inactive, QPalette::Base)
                          : standard.color(QPalette::Inactive, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     hide ? standard.color(QPalette::Inactive, QPalette::Text)
                          : standard.color(QPalette::Inactive, QPalette::HighlightedText));
    FTree->setPalette(palette);
}

void TZTDirTreeCombo::SetGlyph(const QPixmap& glyph) {
    if (glyph.isNull()) return;
    FGlyph = glyph.copy();
    FBtn->setIcon(QIcon(FGlyph));
}

bool TZTDirTreeCombo::ReadOnly() const {
    return FEdit->isReadOnly();
}

void TZTDirTreeCombo::SetReadOnly(bool readOnly) {
    FEdit->setReadOnly(readOnly);
}

void TZTDirTreeCombo::SetIcon(const QIcon& icon) {
    FIcon = icon;
    static_cast<TComboEdit*>(FEdit)->icon = icon;
    PlaceParts();
    FEdit->update();
}

void TZTDirTreeCombo::ShowNode(const QModelIndex& node) {
    if (!FTree->Nodes()->Node(node)) return;
    SetIcon(NodeIcon(FTree->Nodes(), node));
    FEdit->setText(node.data(Qt::DisplayRole).toString());
    FEdit->setCursorPosition(0);
}

void TZTDirTreeCombo::PlaceParts() {
    FEdit->setGeometry(rect());
    // The text starts after the icon and ends before the button.
    FEdit->setTextMargins(FIcon.isNull() ? 0 : kTextLeftWithIcon - kEditFrame, 0, FBtn->width() + 2, 0);
    FBtn->setGeometry(width() - kEditFrame - FBtn->width(), kEditFrame, FBtn->width(),
                      std::max(height() - 2 * kEditFrame, 1));
}

void TZTDirTreeCombo::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceParts();
}

void TZTDirTreeCombo::ReloadTree() {
    FTree->ReloadTree();
}

bool TZTDirTreeCombo::DroppedDown() const {
    return FTree->isVisible() && FTree->isEnabled();
}

void TZTDirTreeCombo::CloseUp() {
    FTree->CloseUp();
}

void TZTDirTreeCombo::FocusDropDown() {
    if (FTree->isVisible()) FTree->setFocus();
}

void TZTDirTreeCombo::DropDown() {
    if (DroppedDown()) {
        FTree->CloseUp();
        return;
    }
    const QPoint bottomLeft = mapToGlobal(QPoint(0, height()));
    FTree->Open(QRect(bottomLeft, QSize(width(), FTreeHeight)));
}

void TZTDirTreeCombo::OpenPath(const QString& path) {
    if (!IsOpenablePath(path)) return;
    bool complete = false;
    const QModelIndex node = WalkToPath(FTree, FTree->Nodes(), path, false, complete);
    if (!complete) return;
    ShowNode(node);
    const QString slashed = AddSlash(QDir::cleanPath(path));
    if (FTree->ChosenPath() != slashed) FTree->SetChosenPath(slashed);
    emit OnPathChange(this, FTree->ChosenPath());
}

void TZTDirTreeCombo::ChooseNode(const QModelIndex& node) {
    const TDirTreeModel* model = FTree->Nodes();
    const TDirTreeNode* data = model->Node(node);
    if (!data) return;
    const QString chosen = data->Kind() == nkRoot ? kDrives : model->PathOfNode(node);
    FTree->CloseUp();
    FEdit->setFocus();
    // A drive without its medium is not shown: the box and the list keep what they show.
    if (data->Kind() == nkDrive &&
        (data->DriveType() == kDriveRemovable || data->DriveType() == kDriveCdRom) &&
        !DiskInDrive(chosen, true)) {
        return;
    }
    SetSelectedPath(chosen);
    ShowNode(node);
    emit OnPathChange(this, chosen);
}

void TZTDirTreeCombo::CollapseBranch(const QModelIndex& node) {
    const TDirTreeModel* model = FTree->Nodes();
    for (int row = 0; row < model->rowCount(node); ++row) {
        const QModelIndex child = model->index(row, 0, node);
        if (FTree->isExpanded(child)) CollapseBranch(child);
    }
    FTree->collapse(node);
}

bool TZTDirTreeCombo::HandleKey(int key) {
    TDirTreeModel* model = FTree->Nodes();
    const QModelIndex current = FTree->currentIndex();
    const QModelIndex root = model->Root();
    switch (key) {
        case Qt::Key_Down: {
            if (!current.isValid()) {
                FTree->setCurrentIndex(root);
                return true;
            }
            const QModelIndex below = FTree->indexBelow(current);
            if (below.isValid()) FTree->setCurrentIndex(below);
            return true;
        }
        case Qt::Key_Up:
            if (current.isValid() && current != root) {
                const QModelIndex above = FTree->indexAbove(current);
                if (above.isValid()) FTree->setCurrentIndex(above);
            }
            return true;
        case Qt::Key_Right:
            if (current.isValid()) ExpandNode(FTree, model, current);
            return false;
        case Qt::Key_Left:
            if (current.isValid()) {
                if (FTree->isExpanded(current)) CollapseBranch(current);
                const QModelIndex above = FTree->indexAbove(current);
                if (current != root && above.isValid() && above != root) FTree->setCurrentIndex(above);
            }
            return false;
        case Qt::Key_F4:
            DropDown();
            FocusDropDown();
            return true;
        case Qt::Key_Escape:
            if (!DroppedDown()) return false;
            FTree->CloseUp();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (current.isValid()) ChooseNode(current);
            return true;
        default:
            return false;
    }
}

bool TZTDirTreeCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FEdit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (modifiers == Qt::NoModifier && HandleKey(key->key())) return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace odz

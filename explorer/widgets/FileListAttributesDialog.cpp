#include "FileListAttributesDialog.h"

#include <QCoreApplication>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace odz {

TFileListAttributesDialog::TFileListAttributesDialog(const QString& fileName, QWidget* parent)
    : QDialog(parent),
      FName(new QLabel(fileName, this)),
      FReadOnly(new QCheckBox(QCoreApplication::translate("FileList", "ReadOnly"), this)),
      FArchive(new QCheckBox(QCoreApplication::translate("FileList", "Archive"), this)),
      FHidden(new QCheckBox(QCoreApplication::translate("FileList", "Hidden"), this)),
      FSystem(new QCheckBox(QCoreApplication::translate("FileList", "System"), this)) {
    setWindowTitle(QCoreApplication::translate("FileList", "Set Attributes"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setMinimumWidth(266);

    QFont nameFont = FName->font();
    nameFont.setPointSize(10);
    FName->setFont(nameFont);
    FName->setTextFormat(Qt::PlainText);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* boxes = new QGridLayout(panel);
    boxes->setContentsMargins(20, 12, 20, 12);
    boxes->setHorizontalSpacing(40);
    boxes->addWidget(FReadOnly, 0, 0);
    boxes->addWidget(FHidden, 0, 1);
    boxes->addWidget(FArchive, 1, 0);
    boxes->addWidget(FSystem, 1, 1);
    // Nothing on this platform stands for them; they could only pretend.
    FArchive->setEnabled(false);
    FSystem->setEnabled(false);
    FHidden->setToolTip(QCoreApplication::translate(
        "FileList", "Hidden names begin with \".\": changing this renames the entry."));
    FReadOnly->setToolTip(QCoreApplication::translate("FileList", "Read-only: the owner cannot write it."));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 12, 20, 12);
    layout->addWidget(FName);
    layout->addWidget(panel);
    layout->addWidget(buttons);
}

}  // namespace odz

#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;

namespace odz {

// "Set Attributes": the name of one file or folder above four check boxes. This platform keeps only
// read-only (the owner cannot write) and hidden (the name begins with "."); Archive and System are
// shown for what they are, never set and never changeable.
class TFileListAttributesDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFileListAttributesDialog(const QString& fileName, QWidget* parent = nullptr);

    QLabel* NameLabel() const { return FName; }
    QCheckBox* ReadOnlyBox() const { return FReadOnly; }
    QCheckBox* ArchiveBox() const { return FArchive; }
    QCheckBox* HiddenBox() const { return FHidden; }
    QCheckBox* SystemBox() const { return FSystem; }

private:
    QLabel* FName;
    QCheckBox* FReadOnly;
    QCheckBox* FArchive;
    QCheckBox* FHidden;
    QCheckBox* FSystem;
};

}  // namespace odz

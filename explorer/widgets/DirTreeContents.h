#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace odz {

// The small window that shows the files of one folder over the tree: a caption, the files as a list
// (a click selects, a double click opens), and "&OK", which closes it. It lives inside the tree and
// covers it, so it never waits for anybody the way a modal dialog would.
class TDirTreeContents : public QFrame {
    Q_OBJECT
public:
    TDirTreeContents(QWidget* tree, const QString& folder, const QString& caption);

    QString Folder() const { return FFolder; }
    QString Caption() const;
    QListWidget* List() const { return FList; }
    QPushButton* OkButton() const { return FOk; }
    // The full path of the selected file; empty when none is selected.
    QString SelectedFile() const;

    // Lists the files (not the folders) of the folder, sorted by name.
    void Fill();
    // The "&OK" button: hides the window and reports the selected file (or none).
    void Finish();

signals:
    void Finished(const QString& selectedFile);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Open(QListWidgetItem* item);

    QString FFolder;
    QLabel* FCaption;
    QListWidget* FList;
    QPushButton* FOk;
};

}  // namespace odz

#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace odz {

// "Send to any folder": the folder typed in, or chosen with "Browse".
class TFileListSendToDialog : public QDialog {
    Q_OBJECT
public:
    // The result of "Browse".
    static constexpr int kBrowse = 10;
    static constexpr int kMaxPathLength = 285;

    explicit TFileListSendToDialog(QWidget* parent = nullptr);

    QString Path() const;
    // Fills the box and selects all of it, so that typing replaces it.
    void SetPath(const QString& path);

    QLabel* Prompt() const { return FPrompt; }
    QLineEdit* PathBox() const { return FPath; }
    QPushButton* OkButton() const { return FOk; }
    QPushButton* CancelButton() const { return FCancel; }
    QPushButton* BrowseButton() const { return FBrowse; }

private:
    QLabel* FPrompt;
    QLineEdit* FPath;
    QPushButton* FOk;
    QPushButton* FCancel;
    QPushButton* FBrowse;
};

// Asks for the folder to send to, starting with `initial` in the box. "Browse" shows the folder browser
// and then asks again with the chosen folder. Empty when the user cancels either.
QString AskSendToFolder(QWidget* owner, const QString& initial);

}  // namespace odz

#pragma once

#include <QUrl>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace odz {

// The help command that opens the book at its contents.
constexpr int HELP_FINDER = 11;

// The window that shows the program's help book: its pages are HTML files in the resources under
// ":/help/", the contents page is index.html. Back, Forward and Contents buttons move through the pages
// read so far. It is a window of its own even when it has a parent, which only owns it.
class THelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // Carries out a help command: HELP_FINDER opens the contents page; every other command opens the
    // contents too, the book having no topics by number. The window comes to the front. Returns true
    // when a page was shown, false when the book is missing from the program.
    bool HelpCommand(int command, quintptr data);
    // Shows the contents page; the pages read before stay reachable with Back.
    void ShowContents();

    QTextBrowser* Browser() const { return FBrowser; }
    QUrl ContentsUrl() const;

private:
    bool ShowPage(const QUrl& url);

    QPushButton* FBack;
    QPushButton* FForward;
    QPushButton* FContents;
    QTextBrowser* FBrowser;
};

}  // namespace odz

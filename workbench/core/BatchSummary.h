#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

namespace odz {

// A file a batch did not convert (or a folder it did not walk), and why.
struct TNotConverted {
    enum TKind {
        LeftAlone,   // the target exists and was kept
        Failed,      // the file or its target could not be read or written
        Skipped,     // no regular file (fifo, socket, device), or gone before its turn
        Unreadable,  // a folder that cannot be read
        Link,        // a folder link that was not followed
        NotTried,    // after a failure that ended the batch, or below a target folder that cannot be made
    };
    TKind kind;
    QString path;    // as the user reads it (see DisplayPath)
    QString reason;  // for Failed: the error with the system's explanation
};

// What a batch did, summed up, with every file it did not convert.
struct TBatchSummary {
    int written = 0;
    int leftAlone = 0;
    int failed = 0;
    int skipped = 0;
    int notTried = 0;
    int links = 0;
    int unreadable = 0;
    QString failure;  // the first error, as the window reports it
    std::uint64_t references = 0;
    bool replacing = false;  // the search text was replaced in the files
    std::uint64_t replacements = 0;
    QList<TNotConverted> notConverted;  // in the order the walk met them
    // With the source detected per file: the files converted from each encoding, in the order met.
    QList<QPair<QString, int>> readAs;

    void Add(TNotConverted::TKind kind, const QString& path, const QString& reason);
    void CountReadAs(const QString& encoding);
    // Everything listed was done: no file left alone, failed, skipped or not tried, no folder unread.
    // (A link not followed leaves nothing undone: its folder is walked by its own name.)
    bool AllDone() const;
    // "12 files converted, 1 left alone, 0 failed." (verb "written" for Replace), with the files
    // skipped and not tried when there are any.
    QString CountsSentence(const QString& verb) const;
    // The sentences that follow the counts: the encodings detected, the references written, a
    // replacement that found nothing.
    QString Remarks() const;
    // "Not converted:" and one line per file or folder ("path: reason"), failures apart; empty when
    // there is none.
    QString NotConvertedList() const;
};

// A path for messages: its bytes read as UTF-8, each byte that is no valid UTF-8 (a name from an old
// archive) and each control character shown as \xNN, so that no two paths read alike.
QString DisplayPath(const QByteArray& native);

}  // namespace odz

#include "PreviewPane.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextBlock>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "EngineTexts.h"

namespace odz {

namespace {

QString ListText(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// An encoding by the name the encoding lists show, for a short name detection gives.
QString ShownName(const std::string& shortName) {
    if (const auto encoding = EncodingByName(shortName)) return ListText(EncodingInfo(*encoding).sourceText);
    return QString::fromStdString(shortName);
}

QString Joined(const std::vector<std::u32string>& lines) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::u32string& line : lines)
        texts << QString::fromUcs4(line.data(), static_cast<qsizetype>(line.size()));
    return texts.join(QLatin1Char('\n'));
}

// The marks as selections of the view's text; a mark counts characters, the view UTF-16 units.
void ShowMarks(QPlainTextEdit& view, const std::vector<std::u32string>& lines,
               const std::vector<TPreviewMark>& marks) {
    QTextCharFormat marked;
    marked.setBackground(QColor(255, 200, 120));
    marked.setForeground(QColor(120, 0, 0));
    QList<QTextEdit::ExtraSelection> selections;
    for (const TPreviewMark& mark : marks) {
        const std::u32string& line = lines[mark.line];
        const auto units = [&line](std::size_t count) {
            return QString::fromUcs4(line.data(), static_cast<qsizetype>(count)).size();
        };
        const int begin = view.document()->findBlockByNumber(static_cast<int>(mark.line)).position();
        QTextCursor cursor(view.document());
        cursor.setPosition(begin + static_cast<int>(units(mark.start)));
        cursor.setPosition(begin + static_cast<int>(units(mark.start + mark.length)),
                           QTextCursor::KeepAnchor);
        selections.append({cursor, marked});
    }
    view.setExtraSelections(selections);
}

QPlainTextEdit* NewColumn(const QString& name, QLabel*& caption, QSplitter* splitter) {
    auto* column = new QWidget(splitter);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    caption = new QLabel(column);
    caption->setObjectName(name + QStringLiteral("Caption"));
    auto* view = new QPlainTextEdit(column);
    view->setObjectName(name + QStringLiteral("View"));
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(caption);
    layout->addWidget(view);
    splitter->addWidget(column);
    return view;
}

}  // namespace

TPreviewPane::TPreviewPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PreviewPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    DetectionLabel = new QLabel(this);
    DetectionLabel->setObjectName(QStringLiteral("DetectionLabel"));
    layout->addWidget(DetectionLabel);
    FPages = new QStackedWidget(this);
    MessageLabel = new QLabel(FPages);
    MessageLabel->setObjectName(QStringLiteral("PreviewMessage"));
    MessageLabel->setAlignment(Qt::AlignCenter);
    MessageLabel->setWordWrap(true);
    FPages->addWidget(MessageLabel);
    auto* columns = new QSplitter(Qt::Horizontal, FPages);
    SourceView = NewColumn(QStringLiteral("PreviewSource"), SourceCaption, columns);
    TargetView = NewColumn(QStringLiteral("PreviewTarget"), TargetCaption, columns);
    FPages->addWidget(columns);
    layout->addWidget(FPages, 1);
    // The two columns show the same lines: they scroll together.
    for (auto [one, other] : {std::pair{SourceView, TargetView}, std::pair{TargetView, SourceView}}) {
        connect(one->verticalScrollBar(), &QScrollBar::valueChanged, other->verticalScrollBar(),
                &QScrollBar::setValue);
    }
    connect(&FWatcher, &QFutureWatcher<TPreview>::finished, this, &TPreviewPane::Finished);
    Show(TPreview{});
}

TPreviewPane::~TPreviewPane() {
    // The worker reads only the start of one file: waiting for it is short.
    FWatcher.waitForFinished();
}

void TPreviewPane::Preview(const TPreviewRequest& request) {
    if (FWatcher.isRunning()) {
        FPending = request;
        return;
    }
    Build(request);
}

void TPreviewPane::Build(const TPreviewRequest& request) {
    FBuilding = true;
    FWatcher.setFuture(QtConcurrent::run(BuildPreview, request, FDetector));
}

void TPreviewPane::Finished() {
    if (FPending) {
        // What was built has been asked for no longer.
        const TPreviewRequest next = *FPending;
        FPending.reset();
        Build(next);
        return;
    }
    FBuilding = false;
    Show(FWatcher.result());
}

void TPreviewPane::Show(const TPreview& preview) {
    DetectionLabel->setText(DetectionText(preview));
    if (preview.state != TPreviewState::Shown) {
        MessageLabel->setText(Sentence(preview));
        FPages->setCurrentWidget(MessageLabel);
        SourceView->clear();
        TargetView->clear();
        emit Shown();
        return;
    }
    const QString start = preview.cut ? tr(" (the start of the file)") : QString();
    SourceCaption->setText(tr("Read as %1").arg(ListText(EncodingInfo(*preview.readAs).sourceText)) + start);
    TargetCaption->setText(
        tr("After conversion to %1").arg(ListText(EncodingInfo(*preview.convertedTo).targetText)));
    SourceView->setPlainText(Joined(preview.sourceLines));
    TargetView->setPlainText(Joined(preview.targetLines));
    ShowMarks(*SourceView, preview.sourceLines, preview.sourceMarks);
    ShowMarks(*TargetView, preview.targetLines, preview.targetMarks);
    FPages->setCurrentIndex(1);
    emit Shown();
}

QString TPreviewPane::DetectionText(const TPreview& preview) const {
    if (!preview.detection || !preview.detection->problem.empty()) return {};
    const TFileDetection& found = *preview.detection;
    const int percent = qRound(found.confidence * 100);
    QString text;
    if (found.PlainAscii()) {
        text = tr("Detected: plain ASCII (every encoding reads it alike)");
    } else if (found.shortName.empty()) {
        text = tr("Detected: no encoding reads this file well");
    } else if (found.confident) {
        text = tr("Detected: %1 (confidence %2%)").arg(ShownName(found.shortName)).arg(percent);
    } else {
        text = tr("Detected: not sure, perhaps %1 (confidence %2%)")
                   .arg(ShownName(found.shortName))
                   .arg(percent);
    }
    if (!found.runnerUp.empty()) text += tr(", close to %1").arg(ShownName(found.runnerUp));
    return text;
}

QString TPreviewPane::Sentence(const TPreview& preview) const {
    switch (preview.state) {
        case TPreviewState::NoFile:
            return tr("Select a file in the source list to see its preview.");
        case TPreviewState::Folder:
            return tr("A folder is selected: select a file to see its preview.");
        case TPreviewState::NotAFile:
            return tr("This is not a regular file: it is not read.");
        case TPreviewState::Unreadable:
            return tr("The file cannot be read (%1).")
                .arg(EngineText(QString::fromStdString(preview.problem)));
        case TPreviewState::Binary:
            return tr("This file holds binary data, not text.");
        case TPreviewState::NoEncoding:
            return tr("Choose the source and the target encoding to see the preview.");
        case TPreviewState::Undetected:
            return tr("Detection cannot tell this file's encoding: choose its source encoding.");
        case TPreviewState::Shown:
            break;
    }
    return {};
}

QStringList TPreviewPane::MarkedTexts(const QPlainTextEdit& view) {
    QStringList texts;
    for (const QTextEdit::ExtraSelection& selection : view.extraSelections())
        texts << selection.cursor.selectedText();
    return texts;
}

}  // namespace odz

#pragma once

#include <QFutureWatcher>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "FileDetection.h"
#include "FilePreview.h"

class QLabel;
class QPlainTextEdit;
class QStackedWidget;

namespace odz {

// The preview pane under the file panes: what detection finds for the file chosen in the source list,
// then its first lines as the source encoding reads them beside the same lines as they read back after
// conversion to the target encoding, the characters the target cannot hold marked on both sides; or a
// plain sentence when there is nothing to show. The file is read and converted on a worker thread.
class TPreviewPane : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewPane(QWidget* parent = nullptr);
    ~TPreviewPane() override;

    void SetDetector(TFileDetector detector) { FDetector = std::move(detector); }
    // Shows the preview of the request once it is built. A request made while another is being built
    // replaces it: only the latest one is shown.
    void Preview(const TPreviewRequest& request);
    bool Building() const { return FBuilding; }

    // The texts marked in a column (characters the target cannot hold, or their references).
    static QStringList MarkedTexts(const QPlainTextEdit& view);

    QLabel* DetectionLabel = nullptr;
    QLabel* MessageLabel = nullptr;
    QLabel* SourceCaption = nullptr;
    QLabel* TargetCaption = nullptr;
    QPlainTextEdit* SourceView = nullptr;
    QPlainTextEdit* TargetView = nullptr;

signals:
    // A preview or a sentence is on show for the latest request.
    void Shown();

private:
    void Build(const TPreviewRequest& request);
    void Finished();
    void Show(const TPreview& preview);
    QString DetectionText(const TPreview& preview) const;
    QString Sentence(const TPreview& preview) const;

    QStackedWidget* FPages = nullptr;
    TFileDetector FDetector;
    QFutureWatcher<TPreview> FWatcher;
    std::optional<TPreviewRequest> FPending;
    bool FBuilding = false;
};

}  // namespace odz

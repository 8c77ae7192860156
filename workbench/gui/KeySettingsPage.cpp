#include "KeySettingsPage.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "KeyPictures.h"
#include "TRaRaru.h"

namespace odz {

namespace {

constexpr int kPictureSize = 40;
constexpr int kTileSize = kPictureSize + 12;  // the picture with the frame round it
constexpr int kLineCount = 3;

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A one-character box that stays wide enough for its character when its font grows (the window
// scales the fonts of its controls with the screen's width).
class TKeyEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    void FitWidth() { setFixedWidth(std::max(kTileSize, fontMetrics().height() + 12)); }

protected:
    void changeEvent(QEvent* event) override {
        QLineEdit::changeEvent(event);
        if (event->type() == QEvent::FontChange) FitWidth();
    }
};

QLineEdit* MakeKeyEdit(const TKeySettingRow& row, QWidget* parent) {
    auto* edit = new TKeyEdit(parent);
    edit->setObjectName(Text(row.editName));
    edit->setToolTip(row.hint.empty() ? QString() : TKeySettingsPage::tr(row.hint.data()));
    edit->setMaxLength(1);
    edit->setAlignment(Qt::AlignCenter);
    QFont font = edit->font();
    font.setPointSize(20);
    font.setBold(true);
    edit->setFont(font);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, Qt::red);
    edit->setPalette(palette);
    edit->FitWidth();
    return edit;
}

QLabel* MakePicture(const TKeySettingRow& row, QWidget* parent) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(Text(row.pictureName));
    picture->setPixmap(KeyPicture(row.keyName, kPictureSize, parent->devicePixelRatioF()));
    picture->setAlignment(Qt::AlignCenter);
    picture->setFixedSize(kTileSize, kTileSize);
    // A light tile, so that the dark letter stands out on the panel's dark gradient.
    picture->setStyleSheet(QStringLiteral(
        "QLabel { background-color: #EEF2FF; border: 1px solid #9FB0E0; border-radius: 6px; }"));
    return picture;
}

QPushButton* MakeButton(const char* name, const char* text, const char* hint, QWidget* parent) {
    auto* button = new QPushButton(TKeySettingsPage::tr(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(TKeySettingsPage::tr(hint));
    button->setMinimumWidth(100);
    return button;
}

// A box holds one character, so typing into a full box would do nothing: a click into a box selects
// its character, and the next key typed replaces it (focus by Tab selects on its own).
class TSelectOnClick : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn &&
            static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) {
            // The click itself places the cursor after focus arrives; select once it is handled.
            auto* edit = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        }
        return false;
    }
};

}  // namespace

TKeySettingsPage::TKeySettingsPage(TRaRaru& engine, QWidget* parent) : TZTPanel(parent), FEngine(engine) {
    setObjectName(QStringLiteral("KeySettingPanel"));
    SetColor(clNavy);
    SetColorEnd(clBlue);
    SetGradient(gdTopToBottom);

    auto* selectOnClick = new TSelectOnClick(this);
    std::array<QHBoxLayout*, kLineCount> lines{};
    for (QHBoxLayout*& line : lines) {
        line = new QHBoxLayout;
        line->setSpacing(24);
        line->addStretch();
    }
    for (std::size_t k = 0; k < kKeySettingRows.size(); ++k) {
        const TKeySettingRow& row = kKeySettingRows[k];
        auto* column = new QVBoxLayout;
        column->setSpacing(6);
        if (row.pictureName.empty()) {
            // An empty place of a picture's size keeps the box level with its neighbours.
            auto* place = new QWidget(this);
            place->setFixedSize(kTileSize, kTileSize);
            column->addWidget(place, 0, Qt::AlignHCenter);
        } else {
            column->addWidget(MakePicture(row, this), 0, Qt::AlignHCenter);
        }
        FEdits[k] = MakeKeyEdit(row, this);
        FEdits[k]->installEventFilter(selectOnClick);
        column->addWidget(FEdits[k], 0, Qt::AlignHCenter);
        lines[row.line]->addLayout(column);
    }

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(16);
    buttons->addStretch();
    QPushButton* ok =
        MakeButton("OKSettingsButton", QT_TR_NOOP("OK"), QT_TR_NOOP("Use current settings"), this);
    QPushButton* viqr =
        MakeButton("KeyVIQRButton", QT_TR_NOOP("Set VIQR"), QT_TR_NOOP("set VIQR sstandard"), this);
    QPushButton* help = MakeButton("KeyHelpButton", QT_TR_NOOP("Help"), QT_TR_NOOP("Show help"), this);
    for (QPushButton* button : {ok, viqr, help}) buttons->addWidget(button);
    buttons->addStretch();
    connect(ok, &QPushButton::clicked, this, &TKeySettingsPage::OKSettingsButtonClick);
    connect(viqr, &QPushButton::clicked, this, &TKeySettingsPage::KeyVIQRButtonClick);
    connect(help, &QPushButton::clicked, this, &TKeySettingsPage::HelpRequested);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 12, 16, 12);
    page->setSpacing(14);
    page->addStretch(1);
    for (QHBoxLayout* line : lines) {
        line->addStretch();
        page->addLayout(line);
    }
    page->addStretch(1);
    page->addLayout(buttons);

    ShowKeySettings();
}

void TKeySettingsPage::ShowKeySettings() {
    for (std::size_t k = 0; k < kKeySettingRows.size(); ++k) {
        const char key = FEngine.GetTransKey(kKeySettingRows[k].keyName);
        // The key is one byte of the settings file; an engine without keys yet shows empty boxes.
        FEdits[k]->setText(key == '\0' ? QString() : QString(QChar(static_cast<unsigned char>(key))));
    }
}

void TKeySettingsPage::OKSettingsButtonClick() {
    for (std::size_t k = 0; k < kKeySettingRows.size(); ++k) {
        const QString text = FEdits[k]->text();
        if (text.isEmpty()) continue;
        const char16_t c = text.front().unicode();
        if (c >= 33 && c <= 126) FEngine.SetTrans(static_cast<char>(c), kKeySettingRows[k].keyName);
    }
    // A box the engine did not take would otherwise go on showing a key that is not in effect.
    ShowKeySettings();
}

void TKeySettingsPage::KeyVIQRButtonClick() {
    FEngine.SetTransDau("");
    ShowKeySettings();
}

QLineEdit* TKeySettingsPage::KeyEdit(std::string_view keyName) const {
    for (std::size_t k = 0; k < kKeySettingRows.size(); ++k) {
        if (kKeySettingRows[k].keyName == keyName) return FEdits[k];
    }
    return nullptr;
}

}  // namespace odz

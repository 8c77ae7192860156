#include "KeyPictures.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>

namespace odz {

namespace {

// The marks are drawn with paths rather than taken from precomposed glyphs: every font has the plain
// letters, not every font has the Vietnamese ones, and the mark gets a colour of its own.
enum class TMark { Acute, Grave, HookAbove, Tilde, DotBelow, Circumflex, Breve, Horn, CapitalBar, SmallBar };

struct TPictureRecipe {
    std::string_view keyName;
    char letter;
    TMark mark;
};

constexpr std::array<TPictureRecipe, 10> kRecipes = {{
    {"Sac", 'a', TMark::Acute},
    {"Huyen", 'a', TMark::Grave},
    {"Hoi", 'a', TMark::HookAbove},
    {"Nga", 'a', TMark::Tilde},
    {"Nang", 'a', TMark::DotBelow},
    {"Mu", 'a', TMark::Circumflex},
    {"AA", 'a', TMark::Breve},
    {"OO", 'o', TMark::Horn},
    {"DHoa", 'D', TMark::CapitalBar},
    {"dTh", 'd', TMark::SmallBar},
}};

// Everything is drawn on a square of kUnits by kUnits and scaled to the picture's size.
constexpr qreal kUnits = 100;

// Where the letter goes: small letters sit low enough to leave room for a mark above and a dot below;
// the tall letters fill more of the height, their bars cross them.
QRectF LetterBox(const TPictureRecipe& recipe) {
    const qreal centre = recipe.mark == TMark::Horn ? 44 : 50;  // the horn needs room on the right
    if (recipe.letter == 'D' || recipe.letter == 'd') return {centre - 25, 20, 50, 66};
    return {centre - 20, 36, 40, 44};
}

// The letter's outline fitted into the box: scaled to the box's height, centred across it.
QPainterPath LetterPath(char letter, const QRectF& box) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setPixelSize(100);
    QPainterPath glyph;
    glyph.addText(0, 0, font, QString(QLatin1Char(letter)));
    const QRectF bounds = glyph.boundingRect();
    if (glyph.isEmpty() || bounds.height() <= 0) return {};
    const qreal scale = box.height() / bounds.height();
    QTransform fit;
    fit.translate(box.center().x() - bounds.center().x() * scale, box.bottom() - bounds.bottom() * scale);
    fit.scale(scale, scale);
    return fit.map(glyph);
}

QPainterPath MarkPath(TMark mark, const QRectF& letter) {
    const qreal cx = letter.center().x();
    QPainterPath path;
    switch (mark) {
        case TMark::Acute:
            path.moveTo(cx - 6, 30);
            path.lineTo(cx + 8, 10);
            break;
        case TMark::Grave:
            path.moveTo(cx + 6, 30);
            path.lineTo(cx - 8, 10);
            break;
        case TMark::HookAbove:
            path.moveTo(cx - 8, 13);
            path.cubicTo(cx - 6, 4, cx + 9, 4, cx + 8, 13);
            path.cubicTo(cx + 7, 19, cx, 19, cx, 24);
            path.lineTo(cx, 30);
            break;
        case TMark::Tilde:
            path.moveTo(cx - 15, 26);
            path.cubicTo(cx - 11, 12, cx - 4, 13, cx, 19);
            path.cubicTo(cx + 4, 25, cx + 11, 26, cx + 15, 12);
            break;
        case TMark::DotBelow:
            path.addEllipse(QPointF(cx, letter.bottom() + 10), 6, 6);
            break;
        case TMark::Circumflex:
            path.moveTo(cx - 14, 30);
            path.lineTo(cx, 13);
            path.lineTo(cx + 14, 30);
            break;
        case TMark::Breve:
            path.moveTo(cx - 14, 12);
            path.cubicTo(cx - 12, 34, cx + 12, 34, cx + 14, 12);
            break;
        case TMark::Horn: {
            const qreal right = letter.right();
            const qreal top = letter.top();
            path.moveTo(right - 7, top + 9);
            path.cubicTo(right + 4, top + 7, right + 11, top, right + 9, top - 10);
            break;
        }
        case TMark::CapitalBar: {
            // Across the stem of D, half-way up.
            const qreal y = letter.top() + letter.height() / 2;
            path.moveTo(letter.left() - 5, y);
            path.lineTo(letter.left() + 26, y);
            break;
        }
        case TMark::SmallBar: {
            // Across the ascender of d, above the bowl.
            const qreal y = letter.top() + letter.height() * 0.26;
            path.moveTo(letter.right() - 30, y);
            path.lineTo(letter.right() + 3, y);
            break;
        }
    }
    return path;
}

}  // namespace

QPixmap KeyPicture(std::string_view keyName, int size, qreal pixelRatio) {
    const TPictureRecipe* recipe = nullptr;
    for (const TPictureRecipe& candidate : kRecipes) {
        if (candidate.keyName == keyName) recipe = &candidate;
    }
    if (recipe == nullptr || size < 8) return {};
    if (!(pixelRatio > 0)) pixelRatio = 1.0;

    const int pixels = static_cast<int>(std::lround(size * pixelRatio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter canvas(&image);
        canvas.setRenderHint(QPainter::Antialiasing);
        canvas.scale(pixels / kUnits, pixels / kUnits);

        const QRectF box = LetterBox(*recipe);
        const QPainterPath letter = LetterPath(recipe->letter, box);
        // Without a usable font the mark is still drawn where the letter would be.
        const QRectF placed = letter.isEmpty() ? box : letter.boundingRect();
        canvas.fillPath(letter, QColor::fromRgb(kKeyPictureLetterColor));

        const QColor markColor = QColor::fromRgb(kKeyPictureMarkColor);
        const QPainterPath mark = MarkPath(recipe->mark, placed);
        if (recipe->mark == TMark::DotBelow) {
            canvas.fillPath(mark, markColor);
        } else {
            const bool bar = recipe->mark == TMark::CapitalBar || recipe->mark == TMark::SmallBar;
            canvas.strokePath(mark, QPen(markColor, bar ? 8 : 7, Qt::SolidLine,
                                         bar ? Qt::FlatCap : Qt::RoundCap, Qt::RoundJoin));
        }
    }
    QPixmap picture = QPixmap::fromImage(image);
    picture.setDevicePixelRatio(pixelRatio);
    return picture;
}

}  // namespace odz

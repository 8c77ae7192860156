#include "EngineTexts.h"

#include <QCoreApplication>

namespace odz {

namespace {

// The openings the engine puts before a name, longest first so that "Cannot create file " is not
// taken for "Cannot create ".
struct TPattern {
    const char* opening;
    const char* text;
};
constexpr TPattern kPatterns[] = {
    {"Cannot create file ", QT_TRANSLATE_NOOP("Engine", "Cannot create file %1")},
    {"Cannot write file ", QT_TRANSLATE_NOOP("Engine", "Cannot write file %1")},
    {"Cannot open file ", QT_TRANSLATE_NOOP("Engine", "Cannot open file %1")},
    {"Cannot read file ", QT_TRANSLATE_NOOP("Engine", "Cannot read file %1")},
    {"Cannot create ", QT_TRANSLATE_NOOP("Engine", "Cannot create %1")},
    {"Cannot write ", QT_TRANSLATE_NOOP("Engine", "Cannot write %1")},
    {"Cannot read ", QT_TRANSLATE_NOOP("Engine", "Cannot read %1")},
};

// Whole sentences of the engine and of the conversion around it.
constexpr const char* kSentences[] = {
    QT_TRANSLATE_NOOP("Engine", "Another program replaced the temporary file"),
    QT_TRANSLATE_NOOP("Engine", "Not a regular file"),
    QT_TRANSLATE_NOOP("Engine", "The source and target encodings are the same"),
    QT_TRANSLATE_NOOP("Engine", "No such file or directory"),
};

}  // namespace

QString EngineText(const QString& text) {
    for (const char* sentence : kSentences) {
        if (text == QLatin1String(sentence)) return QCoreApplication::translate("Engine", sentence);
    }
    for (const TPattern& pattern : kPatterns) {
        const QLatin1String opening(pattern.opening);
        if (text.size() > opening.size() && text.startsWith(opening)) {
            return QCoreApplication::translate("Engine", pattern.text).arg(text.mid(opening.size()));
        }
    }
    return text;
}

QString EngineText(const QString& message, const QString& reason) {
    if (reason.isEmpty()) return EngineText(message);
    return EngineText(message) + QStringLiteral(" (") + EngineText(reason) + QLatin1Char(')');
}

}  // namespace odz

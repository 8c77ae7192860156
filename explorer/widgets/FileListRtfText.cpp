#include "FileListRtfText.h"

#include <QList>
#include <cctype>

#include "Windows1252.h"

namespace odz {

namespace {

// Groups whose text is never shown: the document's tables, its information, pictures and objects.
bool IsHiddenDestination(const QByteArray& word) {
    static const char* const kHidden[] = {
        "fonttbl",   "colortbl",     "stylesheet", "info",      "pict",      "object",
        "fldinst",   "header",       "headerl",    "headerr",   "headerf",   "footer",
        "footerl",   "footerr",      "footerf",    "filetbl",   "listtable", "listoverridetable",
        "revtbl",    "rsidtbl",      "generator",  "xmlnstbl",  "themedata", "colorschememapping",
        "datastore", "latentstyles", "pgdsctbl",   "bkmkstart", "bkmkend",   "annotation",
        "atnid",     "atnauthor",    "ftnsep",     "ftnsepc",   "ftncn",     "aftnsep",
        "aftnsepc",  "aftncn",       "mmathPr",    "userprops", "docvar",    "template"};
    for (const char* hidden : kHidden) {
        if (word == hidden) return true;
    }
    return false;
}

struct TGroupState {
    bool hidden = false;
    int unicodeSkip = 1;  // characters that follow a \u value in place of it for older readers
};

class TRtfReader {
public:
    explicit TRtfReader(const QByteArray& rtf) : FRtf(rtf) {}

    QString Read() {
        FStates.append(TGroupState());
        while (FPos < FRtf.size()) {
            const char c = FRtf[FPos++];
            switch (c) {
                case '{':
                    FStates.append(FStates.last());
                    break;
                case '}':
                    if (FStates.size() > 1) FStates.removeLast();
                    break;
                case '\\':
                    ControlSymbolOrWord();
                    break;
                case '\r':
                case '\n':
                    break;
                default:
                    Emit(QChar::fromLatin1(c), static_cast<unsigned char>(c));
            }
        }
        return FText;
    }

private:
    TGroupState& State() { return FStates.last(); }

    // A character of the text, unless it stands in for the \u value just read.
    void Emit(QChar c, unsigned char byte, bool fromByte = false) {
        if (FSkip > 0) {
            --FSkip;
            return;
        }
        if (State().hidden) return;
        FText += fromByte ? QChar(static_cast<char16_t>(Windows1252ToUnicode(byte))) : c;
    }

    void Text(const QString& text) {
        if (FSkip > 0) {
            --FSkip;
            return;
        }
        if (!State().hidden) FText += text;
    }

    void ControlSymbolOrWord() {
        if (FPos >= FRtf.size()) return;
        const char c = FRtf[FPos];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++FPos;
            ControlSymbol(c);
            return;
        }
        const qsizetype start = FPos;
        while (FPos < FRtf.size() && std::isalpha(static_cast<unsigned char>(FRtf[FPos]))) ++FPos;
        const QByteArray word = FRtf.mid(start, FPos - start);
        bool hasValue = false;
        long value = 0;
        const qsizetype numberStart = FPos;
        if (FPos < FRtf.size() && FRtf[FPos] == '-') ++FPos;
        while (FPos < FRtf.size() && std::isdigit(static_cast<unsigned char>(FRtf[FPos]))) ++FPos;
        if (FPos > numberStart && !(FPos == numberStart + 1 && FRtf[numberStart] == '-')) {
            hasValue = true;
            value = FRtf.mid(numberStart, FPos - numberStart).toLong();
        } else {
            FPos = numberStart;
        }
        if (FPos < FRtf.size() && FRtf[FPos] == ' ') ++FPos;  // the delimiter belongs to the word
        ControlWord(word, hasValue, value);
    }

    void ControlSymbol(char c) {
        switch (c) {
            case '\\':
            case '{':
            case '}':
                Emit(QChar::fromLatin1(c), static_cast<unsigned char>(c));
                break;
            case '~':
                Emit(QChar(0x00A0), 0xA0);
                break;
            case '_':
                Emit(QChar(0x2011), '-');
                break;
            case '*':
                State().hidden = true;  // an optional destination this reader does not know
                break;
            case '\'': {
                const QByteArray hex = FRtf.mid(FPos, 2);
                FPos += hex.size();
                bool ok = false;
                const int byte = hex.toInt(&ok, 16);
                if (ok) Emit(QChar(), static_cast<unsigned char>(byte), true);
                break;
            }
            case '\r':
            case '\n':
                Text(QStringLiteral("\n"));
                break;
            default:
                break;  // "\-" optional hyphen and the formula character show nothing
        }
    }

    void ControlWord(const QByteArray& word, bool hasValue, long value) {
        if (IsHiddenDestination(word)) {
            State().hidden = true;
        } else if (word == "par" || word == "line" || word == "sect" || word == "row") {
            Text(QStringLiteral("\n"));
        } else if (word == "tab" || word == "cell") {
            Text(QStringLiteral("\t"));
        } else if (word == "uc" && hasValue) {
            State().unicodeSkip = static_cast<int>(value);
        } else if (word == "u" && hasValue) {
            if (!State().hidden) FText += QChar(static_cast<char16_t>(value < 0 ? value + 65536 : value));
            FSkip = State().unicodeSkip;
        } else if (word == "emdash") {
            Text(QString(QChar(0x2014)));
        } else if (word == "endash") {
            Text(QString(QChar(0x2013)));
        } else if (word == "bullet") {
            Text(QString(QChar(0x2022)));
        } else if (word == "lquote") {
            Text(QString(QChar(0x2018)));
        } else if (word == "rquote") {
            Text(QString(QChar(0x2019)));
        } else if (word == "ldblquote") {
            Text(QString(QChar(0x201C)));
        } else if (word == "rdblquote") {
            Text(QString(QChar(0x201D)));
        } else if (FSkip > 0) {
            --FSkip;  // a control word also counts as one character in place of a \u value
        }
    }

    const QByteArray& FRtf;
    qsizetype FPos = 0;
    QList<TGroupState> FStates;
    int FSkip = 0;
    QString FText;
};

}  // namespace

bool IsRichText(const QByteArray& bytes) {
    return bytes.startsWith("{\\rtf");
}

QString RichTextPlainText(const QByteArray& rtf) {
    return TRtfReader(rtf).Read();
}

}  // namespace odz

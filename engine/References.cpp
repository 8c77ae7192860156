#include "References.h"

#include <string_view>

#include "Composition.h"
#include "TextDecoders.h"

namespace odz {

int LetterOfAsciiReference(std::uint32_t value) {
    for (int k = 1; k <= kLastLetter; ++k) {
        if (UnicodeTable[k] == value) return k;
    }
    return -1;
}

namespace {

bool IsDigit(std::uint8_t b) {
    return static_cast<unsigned>(b - '0') <= 9u;
}

// A byte no reference and no UTF-8 sequence holds but at its start: ASCII other than "#", ";" and the
// digits ("&" starts what it starts), and the lead bytes.
bool AlwaysStartsCharacter(std::uint8_t b) {
    return b >= 0xC0 || (b < 0x80 && b != '#' && b != ';' && !IsDigit(b));
}

// Whether the "&" at p may still begin a reference with what comes after `stop`: only "#" and digits
// follow it.
bool MayGoOn(const std::uint8_t* p, const std::uint8_t* stop) {
    const std::uint8_t* j = p + 1;
    if (j < stop && *j == '#') {
        for (++j; j < stop && IsDigit(*j);) ++j;
    }
    return j == stop;
}

}  // namespace

std::size_t ReferenceSafeEnd(const std::uint8_t* text, std::size_t end, bool compose) {
    if (end == 0) return 0;
    const std::uint8_t* const stop = text + end;
    if (!compose) {
        // Before the last "&" when what follows it may still become a reference.
        const std::size_t floor = end > kMaxReferenceLength + 1 ? end - (kMaxReferenceLength + 1) : 0;
        for (std::size_t a = end; a-- > floor;) {
            if (text[a] == '&') return MayGoOn(text + a, stop) ? a : end;
        }
        return end;
    }

    // The characters of the last few references' worth of text are read from one that surely starts a
    // character. A vowel and its two marks, each a reference at the longest, and one reference still
    // open: a cut that is safe is always among them.
    constexpr std::size_t kWindow = 4 * kMaxReferenceLength + 8;
    std::size_t from = end > kWindow ? end - kWindow : 0;
    for (std::size_t b = from;; --b) {
        // Where no such byte comes for longer than a reference, digits, "#", ";" and continuation
        // bytes are characters of their own: any of them starts one.
        if (AlwaysStartsCharacter(text[b]) || b == 0) {
            from = b;
            break;
        }
        if (from - b > kMaxReferenceLength + 4) break;
    }
    // The last start of a character that is no mark, or that follows two marks (a vowel takes no
    // more): the text before it reads the same whatever comes after.
    std::size_t cut = from;
    bool markBefore = false;      // the character before was a mark
    bool twoMarksBefore = false;  // and so was the one before that
    for (const std::uint8_t* p = text + from; p < stop;) {
        bool mark = false;  // a joining mark, or what may still become one
        const std::uint8_t* next = p + 1;
        if (*p == '&') {
            if (MayGoOn(p, stop)) {
                mark = true;
                next = stop;
            } else if (p[1] == '#') {
                const TReference reference = ReadReference(p, stop);
                if (reference.end != nullptr) {
                    next = reference.end;
                    mark = reference.mark != 0;
                }
            }
        } else if (*p >= 0x80) {
            char32_t code = 0;
            const std::size_t length = DecodeUtf8At(
                std::string_view(reinterpret_cast<const char*>(p), static_cast<std::size_t>(stop - p)), 0,
                code);
            next = p + (length == 0 ? 1 : length);
            mark = Utf8MarkAt(p, stop) != 0;
        }
        if (!mark || twoMarksBefore) cut = static_cast<std::size_t>(p - text);
        twoMarksBefore = markBefore && mark;
        markBefore = mark;
        p = next;
    }
    return cut;
}

}  // namespace odz
